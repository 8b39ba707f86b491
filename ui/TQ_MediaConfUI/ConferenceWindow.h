#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeView;
class TqConfMemberModel;
class TqConfRoom;

// The conference the user is in: its name and state, a banner for reminders and the end, the
// members with their roles and media; for the selected member the microphone, camera,
// removal and the chair; the user's screen sharing; recording with the record files; leave
// and (for the host) end.
class TqConfWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqConfWindow(TqConfRoom *room, QWidget *parent = nullptr);

    // The member selected in the list; empty when none.
    QString selectedMember() const;
    void selectMember(const QString &id);
    void showBanner(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    TqConfRoom *m_room;
    TqConfMemberModel *m_model;
    QLabel *m_name;
    QLabel *m_status;
    QLabel *m_banner;
    QTreeView *m_members;
    QPushButton *m_microphone;
    QPushButton *m_camera;
    QPushButton *m_kick;
    QPushButton *m_chair;
    QPushButton *m_screen;
    QPushButton *m_record;
    QListWidget *m_records;
    QLabel *m_noRecords;
    QPushButton *m_leave;
    QPushButton *m_end;
};
