#include "core/ui/LostFocus.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {
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
            // focus moving between the control and its own edit part is no leave
            auto* control = static_cast<QWidget*>(parent());
            QWidget* now = QApplication::focusWidget();
            if (!(now && (now == control || control->isAncestorOf(now)))) flush();
        }
        return QObject::eventFilter(watched, event);
    }

private:
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
    if (control) new LostFocusFilter(control, std::move(saver));
}

void FlushLostFocus(QWidget* page)
{
    QWidget* focus = QApplication::focusWidget();
    if (!page || !focus || !(focus == page || page->isAncestorOf(focus))) return;
    if (LostFocusFilter* f = filterOf(focus)) f->flush();
}
