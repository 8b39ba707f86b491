#include "TQ_CustomStyle.h"

#include "TqCallLog.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

void TQ_CustomStyle::initGlobalStyle()
{
    TqCallLog::add(QStringLiteral("TQ_CustomStyle::initGlobalStyle"));
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style); // the application takes ownership

    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Highlight, QColor(0x1e, 0x88, 0xe5));
    palette.setColor(QPalette::Link, QColor(0x1e, 0x88, 0xe5));
    QApplication::setPalette(palette);
}
