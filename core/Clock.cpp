#include "core/Clock.h"

namespace {
Clock* g_clock = nullptr;
}

void SetClock(Clock* clock) { g_clock = clock; }

QDateTime Now() { return g_clock ? g_clock->now() : QDateTime::currentDateTime(); }

QDate Today() { return Now().date(); }

QTime TimeNow()
{
    const QTime t = Now().time();
    return QTime(t.hour(), t.minute(), t.second());
}
