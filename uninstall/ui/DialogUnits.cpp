#include "DialogUnits.h"

#include "UninstallTexts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

TDialogUnits TDialogUnits::OfFont(const QFont& Font)
{
    // as the system measures a dialog's font: the alphabet's width over 52, rounded, and the line height
    const QFontMetrics metrics(Font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return TDialogUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect TDialogUnits::Rect(int X, int Y, int W, int H) const
{
    return QRect(MulDiv(X, BaseX, 4), MulDiv(Y, BaseY, 8), MulDiv(W, BaseX, 4), MulDiv(H, BaseY, 8));
}

namespace {

template <typename TControl> void ShowElided(TControl* Control, const QString& Text, int Room)
{
    const QString shown = Control->fontMetrics().elidedText(Text, Qt::ElideRight, Room);
    Control->setText(shown);
    Control->setToolTip(shown == Text ? QString() : Text);
}

} // namespace

void SetCaption(QLabel* Label, const QString& Text)
{
    ShowElided(Label, Text, Label->contentsRect().width());
}

void SetCaption(QPushButton* Button, const QString& Text)
{
    QStyleOptionButton option;
    option.initFrom(Button);
    option.text = Text;
    option.rect = Button->rect();
    if (Button->isDefault() || Button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    ShowElided(Button, Text, Button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, Button).width());
}
