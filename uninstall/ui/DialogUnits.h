#pragma once

#include <QRect>

class QFont;
class QLabel;
class QPushButton;
class QString;
class QWidget;

// The dialogs keep their templates' layout in dialog units: a quarter of the dialog font's average letter
// width across, an eighth of its line height down. The templates' 8-point face gives 6 by 13 pixels.
struct TDialogUnits {
    int BaseX = 6;
    int BaseY = 13;

    static TDialogUnits OfFont(const QFont& Font);
    QRect Rect(int X, int Y, int W, int H) const;
};

// A rectangle in dialog units of the templates' 8-point face.
inline QRect DluRect(int X, int Y, int W, int H)
{
    return TDialogUnits().Rect(X, Y, W, H);
}

// A caption wider than its control's room ends in an ellipsis; the whole text is then the control's tip.
// Call it once the control has its size.
void SetCaption(QLabel* Label, const QString& Text);
void SetCaption(QPushButton* Button, const QString& Text);

// Places a window in the middle of the screen's work area.
void CenterWindow(QWidget* Window);
