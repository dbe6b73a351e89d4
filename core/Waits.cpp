#include "core/Waits.h"

#include <QList>
#include <QThread>

namespace {
struct Running {
    const WaitUnderWay* wait;
    Wait kind;
    int level;
};
QList<Running> g_running; // a dial's progress window ends its wait out of order: not a stack

int countOf(Wait kind)
{
    int n = 0;
    for (const Running& r : g_running) n += r.kind == kind;
    return n;
}
} // namespace

WaitUnderWay::WaitUnderWay(Wait kind) : m_kind(kind)
{
    g_running.append({this, kind, CurrentLoopLevel()});
    if (countOf(kind) == 1) emit Waits().changed(kind, true);
}

WaitUnderWay::~WaitUnderWay()
{
    for (qsizetype i = 0; i < g_running.size(); ++i)
        if (g_running[i].wait == this) {
            g_running.removeAt(i);
            break;
        }
    if (countOf(m_kind) == 0) emit Waits().changed(m_kind, false);
}

bool WaitRunning(Wait kind) { return countOf(kind) > 0; }

int CurrentLoopLevel() { return QThread::currentThread()->loopLevel(); }

bool TickCodeRunsAt(int level)
{
    for (const Running& r : g_running)
        if (r.kind == Wait::Tick && r.level == level) return true;
    return false;
}

bool TickRunsAtOrBelow(int level)
{
    for (const Running& r : g_running)
        if (r.kind == Wait::Tick && r.level <= level) return true;
    return false;
}

WaitNotifier& Waits()
{
    static WaitNotifier notifier;
    return notifier;
}
