#pragma once

// The whiteboard library's codes as the window uses them: results, roles, rights, tools,
// zoom modes and the window messages of the drawing surface (Windows numbers; lParam holds x
// in its low 16 bits and y in the next 16).
namespace TqBoardCode {
constexpr int ResultOk = 200;
constexpr int UploadRefused = 201; // the agent's own answer to a refused upload

constexpr int RoomTypeBoard = 1;
constexpr int RoleHost = 1;
constexpr int RolePresenter = 2;
constexpr int RoleViewer = 3;
constexpr unsigned AuthRole = 1;
constexpr unsigned AuthDraw = 2;

constexpr int ShapeFree = 0;
constexpr int ShapeLine = 1;
constexpr int ShapeRect = 2;
constexpr int ShapeEllipse = 3;
constexpr int PenPencil = 0;
constexpr int PenMarker = 1;
constexpr int UndoOwn = 0;

constexpr int ZoomFitPage = 0;
constexpr int ScaleIn = 1;
constexpr int ScaleOut = 2;

constexpr int FileAuto = 0;

constexpr unsigned MsgMouseMove = 0x0200;
constexpr unsigned MsgLeftDown = 0x0201;
constexpr unsigned MsgLeftUp = 0x0202;
constexpr unsigned MsgLeftButton = 0x0001; // wParam: the left button is down

inline unsigned packPoint(int x, int y)
{
    return (unsigned(y & 0xFFFF) << 16) | unsigned(x & 0xFFFF);
}
} // namespace TqBoardCode
