#include "core/ui/DeletionGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {
bool nested() { return QThread::currentThread()->loopLevel() > MAIN_LOOP_LEVEL; }
} // namespace

DeletionGuard::DeletionGuard()
{
    m_retry.setInterval(50);
    connect(&m_retry, &QTimer::timeout, this, &DeletionGuard::retry);
    QCoreApplication::instance()->installEventFilter(this);
}

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
    if (!m_retry.isActive()) m_retry.start();
    return true;
}

// Asked again from the main loop, the deletion comes when that loop has finished the current event.
void DeletionGuard::retry()
{
    if (nested()) return;
    m_retry.stop();
    const QList<QPointer<QObject>> held = m_held;
    m_held.clear();
    for (const QPointer<QObject>& object : held)
        if (object) object->deleteLater();
}
