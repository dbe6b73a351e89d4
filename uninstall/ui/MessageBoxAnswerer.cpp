#include "MessageBoxAnswerer.h"

#include "DialogUnits.h"
#include "znUtils.h"

#include <QApplication>
#include <QEvent>
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

int QMessageBoxAnswerer(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags)
{
    QWidget* owner = qobject_cast<QWidget*>(Owner);
    if (QWidget* popup = QApplication::activeModalWidget()) owner = owner ? popup : owner;
    QString text = Text;
    text.replace(u'\r', u'\n');
    QMessageBox box(owner);
    box.setWindowTitle(Caption);
    box.setText(text);
    if (Flags & MB_ICONERROR) box.setIcon(QMessageBox::Critical);
    if (Flags & MB_ICONQUESTION) box.setIcon(QMessageBox::Question);
    box.setStandardButtons((Flags & MB_YESNO) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    if (Flags & MB_TASKMODAL) box.setWindowModality(Qt::ApplicationModal);
    TCenterOnShow centring;
    box.installEventFilter(&centring);
    if (Flags & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    switch (box.exec()) {
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
