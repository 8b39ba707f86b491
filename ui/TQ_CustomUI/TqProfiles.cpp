#include "TqProfiles.h"

#include "TqClientContext.h"

#include <SDK_Agent.h>

namespace {
constexpr int kSuccess = 200;
}

TqPersonProfile TqPersonProfile::fromRecord(const QString &user, const Agent_PersonInfo &record)
{
    TqPersonProfile profile;
    profile.user = user;
    profile.displayName = record.text1;
    profile.shortNumber = record.text2;
    profile.signature = record.text3;
    profile.number1 = record.number1;
    profile.number2 = record.number2;
    profile.number3 = record.number3;
    return profile;
}

Agent_PersonInfo TqPersonProfile::toRecord() const
{
    Agent_PersonInfo record;
    record.text1 = displayName;
    record.text2 = shortNumber;
    record.text3 = signature;
    record.number1 = number1;
    record.number2 = number2;
    record.number3 = number3;
    return record;
}

bool TqPersonProfile::operator==(const TqPersonProfile &o) const
{
    return user == o.user && displayName == o.displayName && shortNumber == o.shortNumber
        && signature == o.signature && number1 == o.number1 && number2 == o.number2
        && number3 == o.number3;
}

// ---- TqProfiles -------------------------------------------------------------------------------

TqProfiles *TqProfiles::instance()
{
    // Never deleted: windows may still read it while the process ends.
    static TqProfiles *const profiles = [] {
        auto *created = new TqProfiles;
        created->bind(SDK_Agent::instance(), TqClientContext::instance());
        return created;
    }();
    return profiles;
}

TqProfiles::TqProfiles(QObject *parent)
    : QObject(parent)
{ }

void TqProfiles::bind(SDK_Agent *agent, TqClientContext *context)
{
    connect(this, &TqProfiles::requestGetPersonInfo, agent, &SDK_Agent::sig_getPersonInfo);
    connect(this, &TqProfiles::requestSetPersonInfo, agent, &SDK_Agent::sig_setPersonInfo);
    connect(agent, &SDK_Agent::sig_onGetPersonInfo, this, &TqProfiles::onGetPersonInfo);
    connect(agent, &SDK_Agent::sig_onSetPersonInfo, this, &TqProfiles::onSetPersonInfo);

    connect(context, &TqClientContext::loggedIn, this, &TqProfiles::setAccount);
    connect(context, &TqClientContext::loggedOut, this, &TqProfiles::clear);
    connect(this, &TqProfiles::profileChanged, context, [this, context](const QString &user) {
        const TqPersonProfile known = profile(user);
        if (!known.displayName.isEmpty())
            context->setDisplayName(user, known.displayName);
    });
}

void TqProfiles::setAccount(const QString &account)
{
    m_account = account;
}

TqPersonProfile TqProfiles::profile(const QString &user) const
{
    const auto found = m_profiles.constFind(user);
    if (found != m_profiles.constEnd())
        return *found;
    TqPersonProfile unknown;
    unknown.user = user;
    return unknown;
}

void TqProfiles::request(const QString &user)
{
    if (user.isEmpty() || m_asked.contains(user))
        return;
    m_asked.append(user);
    emit requestGetPersonInfo(user);
}

bool TqProfiles::saveOwn(const TqPersonProfile &edited)
{
    if (m_account.isEmpty())
        return false;
    TqPersonProfile own = edited;
    own.user = m_account;
    m_saving.append(own);
    emit requestSetPersonInfo(own.toRecord());
    return true;
}

void TqProfiles::clear()
{
    m_account.clear();
    m_profiles.clear();
    m_ownVersion = 0;
}

void TqProfiles::onGetPersonInfo(int reason, const Agent_PersonInfo &record)
{
    if (m_asked.isEmpty())
        return; // nobody here asked
    const QString user = m_asked.takeFirst();
    if (reason != kSuccess) {
        emit profileUnavailable(user, reason);
        return;
    }
    m_profiles.insert(user, TqPersonProfile::fromRecord(user, record));
    emit profileChanged(user);
}

void TqProfiles::onSetPersonInfo(int reason, qulonglong version)
{
    if (m_saving.isEmpty())
        return;
    const TqPersonProfile edited = m_saving.takeFirst();
    if (reason != kSuccess) {
        emit ownSaveFailed(reason);
        return;
    }
    // An answer for an account since logged out changes nothing here.
    if (edited.user != m_account)
        return;
    m_ownVersion = version;
    m_profiles.insert(edited.user, edited);
    emit ownSaved(version);
    emit profileChanged(edited.user);
}

// ---- TqProfile --------------------------------------------------------------------------------

TqProfile::TqProfile(const QString &user, TqProfiles *store, QObject *parent)
    : QObject(parent)
    , m_user(user)
    , m_store(store)
{
    if (store->contains(user))
        m_status = Status::Ready;
    connect(store, &TqProfiles::profileChanged, this, &TqProfile::onProfileChanged);
    connect(store, &TqProfiles::profileUnavailable, this, &TqProfile::onUnavailable);
}

TqPersonProfile TqProfile::data() const
{
    return m_store->profile(m_user);
}

void TqProfile::load()
{
    if (!m_store->contains(m_user) && m_status != Status::Loading) {
        m_status = Status::Loading;
        emit changed();
    }
    m_store->request(m_user);
}

void TqProfile::onProfileChanged(const QString &user)
{
    if (user != m_user)
        return;
    m_status = Status::Ready;
    m_reason = 0;
    emit changed();
}

void TqProfile::onUnavailable(const QString &user, int reason)
{
    if (user != m_user)
        return;
    // A profile known before stays shown.
    if (!m_store->contains(m_user))
        m_status = Status::Unavailable;
    m_reason = reason;
    emit changed();
}
