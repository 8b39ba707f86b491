#pragma once

#include "tq_appcenter_export.h"

#include <QObject>

class AppCatalog;
class QListView;
class QWidget;

// The application centre: a window listing the suite's features, those this build has
// enabled. It opens when a window asks for TqFeature::appCenter() through the context;
// choosing a feature asks for that feature in turn.
class TQ_APPCENTER_EXPORT TQ_AppCenter : public QObject
{
    Q_OBJECT
public:
    // Creates the application centre on first use; user-interface thread only.
    static TQ_AppCenter *instance();

    QWidget *window() const { return m_window; }
    AppCatalog *catalog() const { return m_catalog; }

    void show();

private:
    TQ_AppCenter();
    void open(const QModelIndex &index);

    static TQ_AppCenter *ins;
    AppCatalog *m_catalog;
    QWidget *m_window;
    QListView *m_list;
};
