#pragma once

#include <QRect>

// The dialogs keep their templates' layout in dialog units of an 8-point face: 3/2 pixel across, 13/8 down.
inline QRect DluRect(int X, int Y, int W, int H)
{
    auto across = [](int v) { return (v * 3 + (v >= 0 ? 1 : -1)) / 2; };
    auto down = [](int v) { return (v * 13 + (v >= 0 ? 4 : -4)) / 8; };
    return QRect(across(X), down(Y), across(W), down(H));
}

class QWidget;
// Places a window in the middle of the screen's work area.
void CenterWindow(QWidget* Window);
