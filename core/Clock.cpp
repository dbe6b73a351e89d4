#include "core/Clock.h"

#include <QElapsedTimer>

namespace {
Clock* g_clock = nullptr;

// CLOCK_MONOTONIC on Linux: the clock synchronisation cannot move it, and a suspend does not count.
qint64 SystemElapsedMs()
{
    static const QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}
} // namespace

void SetClock(Clock* clock) { g_clock = clock; }

QDateTime Now() { return g_clock ? g_clock->now() : QDateTime::currentDateTime(); }

QDate Today() { return Now().date(); }

QTime TimeNow()
{
    const QTime t = Now().time();
    return QTime(t.hour(), t.minute(), t.second());
}

qint64 ElapsedMs() { return g_clock ? g_clock->elapsedMs() : SystemElapsedMs(); }
