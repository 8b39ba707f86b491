// The group pictures: the create dialog, then a group's chat with its members panel (roles, a
// muted member), the lines the group's events leave in the chat, and an invitation waiting.

#include "Tour.h"

#include <ChatState.h>
#include <ChatWindow.h>
#include <GroupState.h>
#include <GroupWindows.h>
#include <MainWindow.h>
#include <MessageListModel.h>
#include <TQ_MainUI.h>
#include <ZSsdkControl.h>

#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

namespace {

using namespace tour;

void groupsTour()
{
    TQ_MainUI *ui = TQ_MainUI::instances().isEmpty() ? nullptr : TQ_MainUI::instances().first();
    MainWindow *main = ui ? ui->window() : nullptr;
    if (!main || !main->groupsPanel()) {
        std::fprintf(stderr, "client_tour: no groups\n");
        ++g_failures;
        return;
    }
    GroupState *groups = ui->groups();
    ChatState *chat = ui->chat();
    zssim::Control::withServer([](zssim::ServerModel &s) {
        s.groups.answers = {{QStringLiteral("bob"), GroupModel::Accept},
                            {QStringLiteral("carol"), GroupModel::Accept}};
        s.messages.echoContact.clear();
    });
    if (auto *tabs = child<QTabWidget>("mainWindow", "sideTabs"))
        tabs->setCurrentWidget(main->groupsPanel());

    click("mainWindow", "createGroupButton");
    waitFor([] { return window("groupCreateDialog") != nullptr; }, "the create dialog");
    GroupCreateDialog *create = main->groupsPanel()->createDialog();
    if (!create)
        return;
    type("groupCreateDialog", "groupNameEdit", QStringLiteral("Launch team"));
    if (auto *d = child<QPlainTextEdit>("groupCreateDialog", "groupDescriptionEdit"))
        d->setPlainText(QStringLiteral("Everything about shipping 2.0"));
    create->people()->setChosen(QStringLiteral("bob"), true);
    create->people()->setChosen(QStringLiteral("carol"), true);
    shot("groupCreateDialog", "16-group-create");
    click("groupCreateDialog", "createGroupConfirmButton");

    QString id;
    waitFor(
        [&] {
            for (int row = 0; row < groups->groups()->rowCount(); ++row)
                if (groups->groups()->at(row).name == QLatin1String("Launch team"))
                    id = groups->groups()->at(row).id;
            return !id.isEmpty();
        },
        "the new group");
    if (id.isEmpty())
        return;
    main->openChat(id);
    GroupMembersModel *members = groups->members(id);
    waitFor([&] { return members->rowCount() == 3; }, "bob and carol in the group");
    MessageListModel *thread = chat->messages(id);

    auto *input = child<QPlainTextEdit>("mainWindow", "messageInput");
    if (input) {
        input->setFocus();
        QTest::keyClicks(input, QStringLiteral("Welcome! The 2.0 build is ready for testing."));
        QTest::keyClick(input, Qt::Key_Return);
    }
    const int afterOwn = thread->rowCount();
    MessageModel::Message m;
    m.sender = QStringLiteral("bob");
    m.receiver = id;
    m.msgContent = QStringLiteral("Great, I'll take the installer and the updater.");
    zssim::injectMessage(zssim::Inbound::Message, m);
    m.sender = QStringLiteral("carol");
    m.msgContent = QStringLiteral("I'm on the new icons. Screenshots by Friday!");
    zssim::injectMessage(zssim::Inbound::Message, m);
    waitFor([&] { return thread->rowCount() >= afterOwn + 2; }, "bob's and carol's messages");

    // carol is muted.
    groups->setMuted(id, QStringLiteral("carol"), true);
    waitFor(
        [&] {
            const GroupMemberInfo *c = members->find(QStringLiteral("carol"));
            return c && c->muted;
        },
        "carol muted");
    // bob's invitation into his club waits in the Groups tab.
    zssim::injectGroupInvitation(QStringLiteral("group-900"), QStringLiteral("bob"));
    waitFor([&] { return groups->pending()->rowCount() == 1; }, "bob's invitation");
    if (QListView *list = main->membersPanel()->memberList())
        list->setCurrentIndex(members->index(members->rowOf(QStringLiteral("carol"))));
    main->resize(main->fontMetrics().averageCharWidth() * 160, main->height());
    shot("mainWindow", "15-groups");
}

} // namespace

TQ_TOUR_STEP(15, groupsTour);
