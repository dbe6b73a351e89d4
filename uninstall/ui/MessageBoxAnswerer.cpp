#include "MessageBoxAnswerer.h"

#include "DialogUnits.h"
#include "znUtils.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace {

// Moves a box once it has its size, as the centring hook does on activation.
class TCenterOnShow : public QObject {
public:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::Show) CenterWindow(static_cast<QWidget*>(Watched));
        return false;
    }
};

} // namespace

void CenterWindow(QWidget* Window)
{
    const QRect frame = Window->frameGeometry();
    const TRect placed = CenterWindowRect(MakeRect(frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1),
                                          GetWorkArea(), GetScreenSize());
    Window->move(placed.Left, placed.Top);
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* Owner, const QString& Caption, const QString& Text, quint32 Flags)
{
    QString text = Text;
    text.replace(u'\r', u'\n');
    auto box = std::make_unique<QMessageBox>(Owner);
    box->setWindowTitle(Caption);
    box->setText(text);
    if (Flags & MB_ICONERROR) box->setIcon(QMessageBox::Critical);
    if (Flags & MB_ICONQUESTION) box->setIcon(QMessageBox::Question);
    box->setStandardButtons((Flags & MB_YESNO) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    if (Flags & MB_TASKMODAL) box->setWindowModality(Qt::ApplicationModal);
    // Window managers centre the caption, often in bold, between the window's icon and three buttons of
    // about a line and a third each: the box is as wide as the caption with the buttons' room on both sides.
    QFont bold = box->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = metrics.horizontalAdvance(Caption) + 8 * metrics.height() - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    return box;
}

int QMessageBoxAnswerer(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags)
{
    QWidget* owner = qobject_cast<QWidget*>(Owner);
    if (QWidget* popup = QApplication::activeModalWidget()) owner = owner ? popup : owner;
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(owner, Caption, Text, Flags);
    TCenterOnShow centring;
    box->installEventFilter(&centring);
    if (Flags & MB_SETFOREGROUND) {
        box->show();
        box->raise();
        box->activateWindow();
    }
    switch (box->exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return 0;
    }
}
