// The meeting pictures: a new meeting with members from the contacts, a video meeting with
// the members' pictures, an interphone while bob talks, and an invitation.

#include "Tour.h"

#include <InterphoneState.h>
#include <MeetingMembers.h>
#include <MeetingState.h>
#include <MeetingUi.h>
#include <MeetingWindow.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>
#include <ZSsdkControl.h>

#include <QComboBox>
#include <QListWidget>

#include <cstdio>

namespace {

using namespace tour;

TqMeetingUi *meetings()
{
    TQ_MediaConfUI *ui = TQ_MediaConfUI::instance();
    return ui ? ui->meetings() : nullptr;
}

// The new-meeting window with `kind` (its combo's data) chosen and bob and carol ticked.
void openNew(int kind)
{
    TqClientContext::instance()->requestFeature(TqFeature::meetings());
    if (!waitFor([] { return window("meetingCreateWindow") != nullptr; }, "the new meeting"))
        return;
    auto *kinds = child<QComboBox>("meetingCreateWindow", "kindCombo");
    kinds->setCurrentIndex(kinds->findData(kind));
    auto *people = child<QListWidget>("meetingCreateWindow", "peopleList");
    for (int i = 0; i < people->count(); ++i)
        people->item(i)->setCheckState(Qt::Checked);
}

void meetingTour()
{
    if (!meetings()) {
        std::fprintf(stderr, "client_tour: no meetings\n");
        ++g_failures;
        return;
    }
    TqMeetingState *meeting = meetings()->meeting();
    TqInterphoneState *interphone = meetings()->interphone();
    zssim::Control::withServer([](zssim::ServerModel &s) {
        s.meetings.answers = {{QStringLiteral("bob"), MeetingModel::Accept},
                              {QStringLiteral("carol"), MeetingModel::Accept}};
    });

    // A video meeting with both contacts; carol keeps her camera off.
    openNew(1);
    type("meetingCreateWindow", "nameEdit", QStringLiteral("Design review"));
    shot("meetingCreateWindow", "33-meeting-new");
    click("meetingCreateWindow", "startButton");
    waitFor([&] { return meeting->members()->joinedCount() == 3; }, "the meeting's members");
    zssim::injectMemberVideo(meeting->meetingId(), QStringLiteral("carol"), false);
    waitFor(
        [] {
            auto *w = static_cast<TqMeetingWindow *>(window("meetingWindow"));
            return w && w->videoTiles().size() == 1
                && meetings()->meeting()->memberVideos().value(QStringLiteral("bob")).isValid();
        },
        "bob's picture");
    click("meetingWindow", "cameraButton");
    waitFor([&] { return meeting->isPublishingVideo(); }, "the own camera");
    shot("meetingWindow", "30-meeting");
    click("meetingWindow", "dismissButton");
    waitFor([&] { return meeting->phase() == TqMeetingState::Phase::Ended; }, "the meeting's end");
    click("meetingWindow", "leaveButton");

    // An interphone: bob has the microphone.
    openNew(2);
    click("meetingCreateWindow", "startButton");
    waitFor([&] { return interphone->members()->joinedCount() == 3; }, "the interphone's members");
    zssim::injectInterphoneMic(interphone->interphoneId(), QStringLiteral("bob"), true);
    waitFor([&] { return interphone->speaker() == QLatin1String("bob"); }, "bob talking");
    shot("interphoneWindow", "31-interphone");
    zssim::injectInterphoneMic(interphone->interphoneId(), QStringLiteral("bob"), false);
    click("interphoneWindow", "leaveButton");

    // carol invites the user to her meeting.
    zssim::injectMeetingInvitation(QStringLiteral("carol"), MeetingModel::VideoMeeting,
                                   QStringLiteral("Weekly sync"));
    shot("meetingInvitationWindow", "32-meeting-invitation");
    click("meetingInvitationWindow", "refuseButton");
}

} // namespace

TQ_TOUR_STEP(30, meetingTour);
