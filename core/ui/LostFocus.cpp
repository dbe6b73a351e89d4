#include "core/ui/LostFocus.h"

#include "core/Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace {
const char* const TEXT_BEFORE_EDIT = "textBeforeEdit";
int g_refusals = 0; // edits refused so far, so a flush can tell whether its box refused one

// A text the program puts in leaves the box unmodified; the person's typing modifies it.
void rememberProgramTexts(QLineEdit* box)
{
    box->setProperty(TEXT_BEFORE_EDIT, box->text());
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
        if (!box->isModified()) box->setProperty(TEXT_BEFORE_EDIT, text);
    });
}

class LostFocusFilter : public QObject {
public:
    LostFocusFilter(QWidget* control, std::function<void()> saver) : QObject(control), m_saver(std::move(saver))
    {
        setObjectName("LostFocusFilter");
        control->installEventFilter(this);
        for (QWidget* child : control->findChildren<QWidget*>()) child->installEventFilter(this);
    }
    void flush()
    {
        if (m_flushed) return;
        m_flushed = true;
        m_saver();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            m_flushed = false;
        } else if (event->type() == QEvent::FocusOut) {
            // The window went inactive: another window took the focus, or this one is being destroyed,
            // its own part already gone. The leave comes once the event has returned, and only while
            // the control still exists.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason)
                QTimer::singleShot(0, this, [this] { leaveUnlessBack(); });
            else
                leaveUnlessBack();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // focus moving between the control and its own edit part is no leave
    void leaveUnlessBack()
    {
        auto* control = static_cast<QWidget*>(parent());
        QWidget* now = QApplication::focusWidget();
        if (!(now && (now == control || control->isAncestorOf(now)))) flush();
    }

    std::function<void()> m_saver;
    bool m_flushed = false;
};

LostFocusFilter* filterOf(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* f = w->findChild<LostFocusFilter*>("LostFocusFilter", Qt::FindDirectChildrenOnly)) return f;
    return nullptr;
}
} // namespace

void OnLostFocus(QWidget* control, std::function<void()> saver)
{
    if (!control) return;
    new LostFocusFilter(control, std::move(saver));
    if (auto* box = qobject_cast<QLineEdit*>(control)) rememberProgramTexts(box);
}

bool TakeCheckedInput(QLineEdit* box, const CheckedInput& input)
{
    if (input.refused()) {
        ++g_refusals;
        MsgBox(input.refusal, vbOKOnly + vbExclamation);
        box->setText(box->property(TEXT_BEFORE_EDIT).toString());
        return false;
    }
    box->setText(input.text);
    box->setProperty(TEXT_BEFORE_EDIT, input.text); // also when the text was already there
    return true;
}

bool FlushLostFocus(QWidget* page)
{
    QWidget* focus = QApplication::focusWidget();
    if (!page || !focus || !(focus == page || page->isAncestorOf(focus))) return true;
    const int refusals = g_refusals;
    if (LostFocusFilter* f = filterOf(focus)) f->flush();
    return g_refusals == refusals;
}
