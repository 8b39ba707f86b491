#pragma once

#include "tq_customui_export.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The suite's message box. Every way of closing it answers: the accept button with
// signal_Accept, the reject button, Escape and the window's close button with signal_Reject.
// Both carry the tip value.
class TQ_CUSTOMUI_EXPORT TqMsgBox : public QDialog
{
    Q_OBJECT
public:
    explicit TqMsgBox(QWidget *parent = nullptr);

    void setMultimediaTip(int tip);
    void setMessageTitle(const QString &title);
    void setMessageText(const QString &text);
    void setIsInMask(bool inMask, int popupMode);

    int multimediaTip() const { return m_tip; }
    QString messageTitle() const;
    QString messageText() const;
    bool isInMask() const { return m_inMask; }
    int popupMode() const { return m_popupMode; }

    void done(int result) override;

signals:
    void signal_Accept(int tip);
    void signal_Reject(int tip);

private:
    QLabel *m_title;
    QLabel *m_text;
    QPushButton *m_accept;
    QPushButton *m_reject;
    int m_tip = 0;
    bool m_inMask = true;
    int m_popupMode = 0;
};
