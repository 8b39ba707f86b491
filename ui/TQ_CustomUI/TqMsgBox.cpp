#include "TqMsgBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TqMsgBox::TqMsgBox(QWidget *parent)
    : QDialog(parent)
    , m_title(new QLabel(this))
    , m_text(new QLabel(this))
    , m_accept(new QPushButton(tr("OK"), this))
    , m_reject(new QPushButton(tr("Cancel"), this))
{
    m_title->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_text->setObjectName(QStringLiteral("textLabel"));
    m_text->setWordWrap(true);
    m_accept->setObjectName(QStringLiteral("acceptButton"));
    m_accept->setDefault(true);
    m_reject->setObjectName(QStringLiteral("rejectButton"));
    connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_reject, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_accept);
    buttons->addWidget(m_reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

void TqMsgBox::setMultimediaTip(int tip)
{
    m_tip = tip;
}

void TqMsgBox::setMessageTitle(const QString &title)
{
    m_title->setText(title);
    setWindowTitle(title);
}

void TqMsgBox::setMessageText(const QString &text)
{
    m_text->setText(text);
}

void TqMsgBox::setIsInMask(bool inMask, int popupMode)
{
    m_inMask = inMask;
    m_popupMode = popupMode;
}

QString TqMsgBox::messageTitle() const
{
    return m_title->text();
}

QString TqMsgBox::messageText() const
{
    return m_text->text();
}

void TqMsgBox::done(int result)
{
    QDialog::done(result);
    if (result == QDialog::Accepted)
        emit signal_Accept(m_tip);
    else
        emit signal_Reject(m_tip);
}
