#pragma once
// While the program waits for the web or a link, its windows go on serving clicks; the busy cursor
// tells that an answer is still to come.
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

class BusyCursor {
public:
    BusyCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    {
        if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    }
    ~BusyCursor()
    {
        if (m_shown) QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_shown;
};
