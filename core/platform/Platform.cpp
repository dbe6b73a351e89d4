// The process-wide facilities: the Linux implementation unless a test has put another in place.
#include "core/platform/ConnectedState.h"
#include "core/platform/Downloader.h"
#include "core/platform/HostAddresses.h"
#include "core/platform/LineMonitor.h"
#include "core/platform/SessionAutostart.h"
#include "core/platform/SystemClock.h"
#include "core/platform/TaskList.h"
#include "core/platform/TrafficCounters.h"
#include "core/platform/linux/LinuxConnectedState.h"
#include "core/platform/linux/LinuxHostAddresses.h"
#include "core/platform/linux/LinuxLineMonitor.h"
#include "core/platform/linux/LinuxSessionAutostart.h"
#include "core/platform/linux/LinuxSystemClock.h"
#include "core/platform/linux/LinuxTrafficCounters.h"
#include "core/platform/linux/QtDownloader.h"
#include "core/platform/linux/XcbTaskList.h"

namespace {
ConnectedState* g_connectedState = nullptr;
LineMonitor* g_lineMonitor = nullptr;
HostAddresses* g_hostAddresses = nullptr;
TrafficCounters* g_trafficCounters = nullptr;
Downloader* g_downloader = nullptr;
SystemClock* g_systemClock = nullptr;
SessionAutostart* g_autostart = nullptr;
TaskList* g_taskList = nullptr;
} // namespace

ConnectedState& TheConnectedState()
{
    static LinuxConnectedState system;
    return g_connectedState ? *g_connectedState : system;
}
void SetConnectedState(ConnectedState* state) { g_connectedState = state; }

LineMonitor& TheLineMonitor()
{
    static LinuxLineMonitor system;
    return g_lineMonitor ? *g_lineMonitor : system;
}
void SetLineMonitor(LineMonitor* monitor) { g_lineMonitor = monitor; }

HostAddresses& TheHostAddresses()
{
    static LinuxHostAddresses system;
    return g_hostAddresses ? *g_hostAddresses : system;
}
void SetHostAddresses(HostAddresses* addresses) { g_hostAddresses = addresses; }

TrafficCounters& TheTrafficCounters()
{
    static LinuxTrafficCounters system;
    return g_trafficCounters ? *g_trafficCounters : system;
}
void SetTrafficCounters(TrafficCounters* counters) { g_trafficCounters = counters; }

Downloader& TheDownloader()
{
    static QtDownloader system;
    return g_downloader ? *g_downloader : system;
}
void SetDownloader(Downloader* downloader) { g_downloader = downloader; }

SystemClock& TheSystemClock()
{
    static LinuxSystemClock system;
    return g_systemClock ? *g_systemClock : system;
}
void SetSystemClock(SystemClock* clock) { g_systemClock = clock; }

SessionAutostart& TheSessionAutostart()
{
    static LinuxSessionAutostart system;
    return g_autostart ? *g_autostart : system;
}
void SetSessionAutostart(SessionAutostart* autostart) { g_autostart = autostart; }

TaskList& TheTaskList()
{
    static XcbTaskList system;
    return g_taskList ? *g_taskList : system;
}
void SetTaskList(TaskList* taskList) { g_taskList = taskList; }
