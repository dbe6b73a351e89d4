#include "core/ui/DeletionGuard.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {
bool nested() { return QThread::currentThread()->loopLevel() > MAIN_LOOP_LEVEL; }
} // namespace

DeletionGuard::DeletionGuard() { QCoreApplication::instance()->installEventFilter(this); }

DeletionGuard::~DeletionGuard()
{
    QCoreApplication::instance()->removeEventFilter(this);
    const QList<QPointer<QObject>> held = m_held;
    m_held.clear();
    for (const QPointer<QObject>& object : held) delete object.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool DeletionGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::DeferredDelete || !watched->isWidgetType() || !nested()) return false;
    if (!m_held.contains(watched)) m_held << watched;
    // Every loop says when it has run out of events; the first time the main loop says so, the nested
    // loops have ended. Nothing wakes the program meanwhile.
    if (!m_loopsIdle)
        m_loopsIdle = connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                              &DeletionGuard::release);
    return true;
}

// Asked again from the main loop, the deletion comes when that loop has finished the current event.
void DeletionGuard::release()
{
    if (nested()) return;
    disconnect(m_loopsIdle);
    m_loopsIdle = {};
    const QList<QPointer<QObject>> held = m_held;
    m_held.clear();
    for (const QPointer<QObject>& object : held)
        if (object) object->deleteLater();
}
