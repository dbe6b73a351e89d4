#pragma once
// A page whose handler waits in a message box or dialog must not be deleted under it: the main window's
// deleteLater is delivered by the nested event loop while the handler's frames still use the page. The
// page runs such waits through its guard and holds the deletion back until the last wait has ended.
#include <QEvent>
#include <QWidget>

class WaitGuard {
public:
    explicit WaitGuard(QWidget* page) : m_page(page) {}

    template <typename F> void run(F&& call)
    {
        ++m_waiting;
        call();
        --m_waiting;
        if (m_waiting == 0 && m_deleteAsked) m_page->deleteLater();
    }
    // For the page's event(): true when the event was a deletion held back for a wait under way.
    bool holdBack(const QEvent* event)
    {
        if (event->type() != QEvent::DeferredDelete || m_waiting == 0) return false;
        m_deleteAsked = true;
        return true;
    }
    bool deleteAsked() const { return m_deleteAsked; }

private:
    QWidget* m_page;
    int m_waiting = 0;
    bool m_deleteAsked = false;
};
