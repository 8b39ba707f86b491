// The conference pictures: the conferences page, the create dialog, a conference in progress
// with a muted member and a recording, and an invitation.

#include "Tour.h"

#include <ConferenceRoom.h>
#include <ConferenceUi.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>
#include <ZSsdkControl.h>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <cstdio>

namespace {

using namespace tour;

TqConfRoom *room()
{
    TQ_MediaConfUI *ui = TQ_MediaConfUI::instance();
    return ui && ui->conferences() ? ui->conferences()->room() : nullptr;
}

bool memberIn(const QString &id)
{
    return room() && room()->member(id).isIn();
}

void selectMember(const QString &prefix)
{
    auto *tree = child<QTreeView>("conferenceWindow", "memberList");
    QAbstractItemModel *model = tree ? tree->model() : nullptr;
    for (int row = 0; model && row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString().startsWith(prefix))
            tree->setCurrentIndex(model->index(row, 0));
}

void conferenceTour()
{
    if (!room()) {
        std::fprintf(stderr, "client_tour: no conferences\n");
        ++g_failures;
        return;
    }
    // A clock the tour moves, so that the recording lasts a while.
    zssim::setConferenceClock(QDateTime::currentDateTime());
    zssim::Control::withServer([](zssim::ServerModel &s) {
        s.conferences.answers = {{QStringLiteral("bob"), ConferenceModel::Accept},
                                 {QStringLiteral("carol"), ConferenceModel::Accept}};
    });
    const QDateTime tomorrow = QDateTime::currentDateTime().addDays(1);
    const QDateTime nine(tomorrow.date(), QTime(9, 30));
    zssim::injectConferenceAppointment(QStringLiteral("bob"), QStringLiteral("Sprint planning"),
                                       nine, 60, 10, 5);
    zssim::injectConferenceAppointment(QStringLiteral("carol"), QStringLiteral("Design review"),
                                       nine.addSecs(5 * 3600), 45, 10, 5);

    // An invitation from carol, then her conference ends and goes to the history.
    const QString past
        = zssim::injectConferenceInvitation(QStringLiteral("carol"), QStringLiteral("Icon review"));
    shot("conferenceInvitePrompt", "23-conference-invitation");
    click("conferenceInvitePrompt", "rejectButton");
    zssim::endConferenceNow(past);

    TqClientContext::instance()->requestFeature(TqFeature::conferences());
    waitFor(
        [] {
            auto *list = child<QTreeView>("conferenceListWindow", "currentList");
            // The two appointments; carol's ended conference gone from it.
            return list && list->model()->rowCount() == 2;
        },
        "the conference list");
    if (auto *list = child<QTreeView>("conferenceListWindow", "currentList"))
        list->setCurrentIndex(list->model()->index(0, 0));
    waitFor(
        [] {
            auto *join = child<QPushButton>("conferenceListWindow", "joinButton");
            return join && join->isEnabled();
        },
        "a selected conference");
    shot("conferenceListWindow", "20-conferences");

    click("conferenceListWindow", "newConferenceButton");
    type("conferenceEditDialog", "nameEdit", QStringLiteral("Release 2.1 go/no-go"));
    type("conferenceEditDialog", "topicEdit", QStringLiteral("Open bugs and the release date"));
    type("conferenceEditDialog", "passwordEdit", QStringLiteral("2.1"));
    if (auto *picker = child<QListWidget>("conferenceEditDialog", "memberPicker"))
        for (int i = 0; i < picker->count(); ++i)
            picker->item(i)->setCheckState(Qt::Checked);
    shot("conferenceEditDialog", "21-conference-create");
    click("conferenceEditDialog", "okButton");

    waitFor([] { return memberIn(QStringLiteral("bob")) && memberIn(QStringLiteral("carol")); },
            "the members");
    selectMember(QStringLiteral("Bob"));
    click("conferenceWindow", "microphoneButton");
    waitFor([] { return room()->member(QStringLiteral("bob")).flags & 2; }, "bob muted");
    click("conferenceWindow", "recordButton");
    waitFor([] { return room()->isRecording(); }, "the recording");
    zssim::advanceConferenceClock(12 * 60 + 34);
    click("conferenceWindow", "recordButton");
    waitFor([] { return !room()->records().isEmpty(); }, "the record file");
    click("conferenceWindow", "recordButton");
    waitFor([] { return room()->isRecording(); }, "the second recording");
    click("conferenceWindow", "screenButton");
    waitFor([] { return room()->isSharingScreen(); }, "the screen sharing");
    selectMember(QStringLiteral("Carol"));
    shot("conferenceWindow", "22-conference");

    click("conferenceWindow", "endButton");
    waitFor([] { return room()->phase() == TqConfRoom::Phase::Ended; }, "the end");
    closeWindow("conferenceWindow");
    closeWindow("conferenceListWindow");
    zssim::setConferenceClock(QDateTime());
}

} // namespace

TQ_TOUR_STEP(20, conferenceTour);
