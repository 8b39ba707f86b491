#pragma once

#include "ConferenceDirectory.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;
class TqConfListModel;

// The conferences page: the current, scheduled and history lists a page at a time, and the
// way to create, join, change and cancel conferences. A banner tells of invitations,
// schedule changes and ends.
class TqConfListWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqConfListWindow(TqConfDirectory *directory, QWidget *parent = nullptr);

    TqConfDirectory::List currentList() const;
    void showList(TqConfDirectory::List list);
    // The selected conference of the list shown; empty when none.
    QString selectedId() const;
    void showBanner(const QString &text);

signals:
    void createRequested();
    void joinRequested(const QString &confId);
    void editRequested(const QString &confId);

private:
    void refreshList(TqConfDirectory::List list);
    void refreshControls();
    QTreeView *view(TqConfDirectory::List list) const;
    TqConfListModel *model(TqConfDirectory::List list) const;

    TqConfDirectory *m_directory;
    QLabel *m_banner;
    QTabWidget *m_tabs;
    QTreeView *m_views[3];
    TqConfListModel *m_models[3];
    QLabel *m_empty;
    QLabel *m_page;
    QPushButton *m_previous;
    QPushButton *m_next;
    QPushButton *m_refresh;
    QPushButton *m_create;
    QPushButton *m_join;
    QPushButton *m_edit;
    QPushButton *m_cancel;
};
