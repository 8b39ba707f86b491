#include "TqCallText.h"

#include "TqCallCodes.h"

using namespace TqCallCode;

QString TqCallText::duration(qint64 ms)
{
    const qint64 total = ms > 0 ? ms / 1000 : 0;
    const qint64 hours = total / 3600;
    const qint64 minutes = (total / 60) % 60;
    const qint64 seconds = total % 60;
    const QChar zero(QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, zero)
            .arg(seconds, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, zero).arg(seconds, 2, 10, zero);
}

QString TqCallText::phase(const TqCallState &state)
{
    switch (state.phase()) {
    case TqCallState::Phase::Idle:
        return tr("No call");
    case TqCallState::Phase::Dialing:
        return tr("Calling…");
    case TqCallState::Phase::Proceeding:
        return tr("Connecting…");
    case TqCallState::Phase::Alerting:
        return tr("Ringing…");
    case TqCallState::Phase::Incoming:
        return state.isAccepting() ? tr("Answering…") : tr("Incoming call");
    case TqCallState::Phase::InCall:
        return tr("In call");
    case TqCallState::Phase::Ended:
        return endReason(state.endReason());
    }
    return QString();
}

QString TqCallText::endReason(int reason)
{
    switch (reason) {
    case 0:
    case ReasonNormal:
        return tr("Call ended");
    case ReasonNotFound:
        return tr("Call ended: the number was not found");
    case ReasonTimeout:
        return tr("Call ended: no answer");
    case ReasonBusy:
        return tr("Call ended: busy");
    case ReasonDeclined:
        return tr("Call ended: declined");
    case ReasonNotPlaced:
        return tr("The call could not be placed");
    default:
        return tr("Call ended (code %1)").arg(reason);
    }
}

QString TqCallText::media(bool video)
{
    return video ? tr("Video call") : tr("Voice call");
}

QString TqCallText::outcome(const TqCallRecord &record)
{
    switch (record.outcome) {
    case TqCallRecord::Outcome::Answered:
        return record.outgoing ? tr("Outgoing, %1").arg(duration(record.durationMs))
                               : tr("Incoming, %1").arg(duration(record.durationMs));
    case TqCallRecord::Outcome::Unanswered:
        return tr("Outgoing, not answered");
    case TqCallRecord::Outcome::Declined:
        return tr("Incoming, declined");
    case TqCallRecord::Outcome::Missed:
        return tr("Missed");
    }
    return QString();
}

QString TqCallText::peerLabel(const QString &name, const QString &id)
{
    if (name.isEmpty() || name == id)
        return id;
    return tr("%1 (%2)").arg(name, id);
}
