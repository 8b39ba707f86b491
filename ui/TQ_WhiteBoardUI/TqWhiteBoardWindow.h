#pragma once

#include "TqBoardState.h"
#include "tq_whiteboardui_export.h"

#include <QWidget>

#include <functional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;
class TqBoardSurface;

// The whiteboard window: a room to create or join with its members and their rights,
// documents to upload and share, the shared page with its paging and zoom, and the drawing
// tools over the surface the library draws into. Everything it shows comes from its state.
class TQ_WHITEBOARDUI_EXPORT TqWhiteBoardWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqWhiteBoardWindow(TqBoardState *state, QWidget *parent = nullptr);

    // Chooses the file to upload (a file dialog unless replaced, e.g. by tests).
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

    TqBoardSurface *surface() const { return m_surface; }
    // The colours offered, in order.
    static QList<QColor> palette();

private:
    void refresh();
    void showProblem(TqBoardState::Problem problem);
    void upload();
    void share();
    void toggleDrawing();
    QToolButton *toolButton(const QString &text, TqBoardState::Tool tool, const char *name);

    TqBoardState *m_state;
    std::function<QString()> m_chooseFile;
    QLabel *m_status;
    QLineEdit *m_roomNumber;
    QLineEdit *m_password;
    QPushButton *m_join;
    QPushButton *m_create;
    QPushButton *m_leave;
    QLabel *m_problem;
    QButtonGroup *m_tools;
    QButtonGroup *m_colors;
    QSpinBox *m_width;
    QPushButton *m_undo;
    QPushButton *m_redo;
    QPushButton *m_clear;
    QPushButton *m_zoomOut;
    QLabel *m_zoom;
    QPushButton *m_zoomIn;
    QPushButton *m_fit;
    TqBoardSurface *m_surface;
    QListWidget *m_members;
    QPushButton *m_drawRight;
    QListWidget *m_documents;
    QPushButton *m_upload;
    QProgressBar *m_progress;
    QPushButton *m_share;
    QPushButton *m_prev;
    QLabel *m_page;
    QPushButton *m_next;
};
