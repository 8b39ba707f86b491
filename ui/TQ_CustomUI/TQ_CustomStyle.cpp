#include "TQ_CustomStyle.h"

#include "TqCallLog.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

// Q_INIT_RESOURCE cannot be used inside a namespace.
static void initStyleResources()
{
    Q_INIT_RESOURCE(tq_customui);
}

QString TQ_CustomStyle::styleSheet()
{
    initStyleResources();
    QFile file(QStringLiteral(":/tq/style/tq.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TQ_CustomStyle::initGlobalStyle()
{
    TqCallLog::add(QStringLiteral("TQ_CustomStyle::initGlobalStyle"));
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style); // the application takes ownership

    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(0xf4, 0xf6, 0xf9));
    palette.setColor(QPalette::Highlight, QColor(0x1e, 0x88, 0xe5));
    palette.setColor(QPalette::Link, QColor(0x1e, 0x88, 0xe5));
    QApplication::setPalette(palette);
    qApp->setStyleSheet(styleSheet());
}
