#include "recording/DetectionLoop.h"

#include "core/Clock.h"
#include "core/Detection.h"
#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/TimeLimit.h"
#include "core/VB.h"
#include "core/platform/ConnectedState.h"
#include "core/platform/HostAddresses.h"
#include "recording/MainWindowFiles.h"

void LoadMonitoringConfig()
{
    const QString folder = ProgramPath("Config");
    const QString found = FindFileNoCase(folder, "Monitoring.cfg");
    if (found.isEmpty()) {
        G_MonitoringOn = true;
        return;
    }
    const LineReader f(folder + "/" + found);
    G_MonitoringOn = f.count() > 0 && f.number(0) == 1;
}

void DetectionLoop::OnlineCheck_Timer()
{
    if (m_inTick) return;
    // a connection found now is recorded from now on: what the tick has to say comes afterwards
    const TickMessages messages;
    m_inTick = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{m_inTick};

    const int hour = TimeNow().hour();
    if (hour != lastHour) {
        lastHour = hour;
        m_host.hourChanged();
    }
    m_host.setStatusTime(StatusDateText());
    if (!G_MonitoringOn) return;
    if (G_WatchWininet || G_WatchLan) {
        if (CheckWininetConnection() && !G_Recording) {
            G_DetectSource = 1;
            StartConnection();
        }
    }
    if (G_WatchTapi && !G_Recording && G_TapiCallConnected) {
        G_DetectSource = 2;
        StartConnection();
    }
    if (G_WatchIP) {
        if (CheckIPConnection() && !G_Recording) {
            G_DetectSource = 3;
            StartConnection();
        }
    }
}

void DetectionLoop::StartConnection()
{
    if (IsDeniedConnection()) return;
    // a page that refused the start has unloaded itself: nothing of it is left to place
    if (!m_host.loadCounterPage()) return;
    if (G_DayLimitOn || G_MonthLimitOn) IsTimeLimitReached();
    m_host.placeCounterPage();
}

void DetectionLoop::CounterStopper_Timer()
{
    const TickMessages messages;
    auto step = [](int subcode, auto&& body) {
        try {
            body();
            return true;
        } catch (...) {
            MsgBox(QStringLiteral("Fehler beim Widerherstellen der Übersicht. Subcode %1.").arg(subcode),
                   vbOKOnly + vbCritical);
            return false;
        }
    };
    if (!step(1, [&] { m_host.setCounterStopper(false); })) return;
    // A handler of the page still waits (a hang-up, a download): tear it down once it has returned.
    if (m_host.counterPageBusy()) {
        m_host.setCounterStopper(true);
        return;
    }
    if (!step(2, [&] { m_host.unloadSmallWindow(); })) return;
    if (!step(3, [&] { m_host.unloadCounterPage(); })) return;
    step(4, [&] {
        m_host.setDetectionTimer(true);
        if (!m_host.anyChildFormLoaded()) m_host.showOverview();
    });
}

bool IsDeniedConnection()
{
    if (!G_DialerProtection) return false;
    QList<RasConnInfo> connections;
    QString name;
    quint32 handle = 0;
    if (EnumRasConnections(connections) > 0 && !connections.isEmpty()) {
        name = connections.last().szEntryName;
        handle = connections.last().hrasconn;
    }
    if (name == QLatin1String("unbekannt")) return false;

    const QString folder = ProgramPath("DialUp");
    const QString found = FindFileNoCase(folder, "Deny.sec");
    if (!found.isEmpty()) {
        const QStringList lines = ReadTextLines(folder + "/" + found);
        // a name without its flag line allows nothing
        for (int i = 0; i + 1 < lines.size(); i += 2)
            if (lines[i].toLower() == name.toLower() && Val(lines[i + 1]) == 1) return false;
    }
    // one that could not be ended is recorded like any other: it stays up and costs money
    return handle == 0 || HangUpConnection(handle);
}

void CheckMonitoringLibraries()
{
    if ((G_WatchWininet || G_WatchLan) && !TheConnectedState().isAvailable()) {
        G_WatchWininet = false;
        G_WatchLan = false;
        MsgBox(WININET_MISSING_MESSAGE, vbExclamation);
    }
    if (G_WatchIP && !TheHostAddresses().isAvailable()) {
        G_WatchIP = false;
        MsgBox(WSOCK_MISSING_MESSAGE, vbExclamation);
    }
}
