#include "core/Detection.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/platform/ConnectedState.h"
#include "core/platform/HostAddresses.h"
#include "core/platform/LineMonitor.h"

namespace {
quint32 G_hLineApp = 0;
quint32 G_hLine = 0;

constexpr quint32 TAPI_VERSION_LOW = 0x10000;
constexpr quint32 TAPI_VERSION_HIGH = 0x10004;

void ShutDownLineApp(LineMonitor& monitor)
{
    monitor.shutdown(G_hLineApp);
    G_hLineApp = 0;
    G_hLine = 0;
}
} // namespace

bool CheckWininetConnection()
{
    const quint32 flags = TheConnectedState().flags();
    bool result = false;
    if (G_WatchWininet && (flags & INTERNET_CONNECTION_MODEM)) result = true;
    if (G_WatchLan) {
        if (flags & INTERNET_CONNECTION_LAN) result = true;
        if (flags & INTERNET_CONNECTION_PROXY) result = true;
    }
    return result;
}

void InitTapiMonitoring()
{
    LineMonitor& monitor = TheLineMonitor();
    // Switching the method on again must not leave a second open line behind.
    if (G_hLineApp != 0) ShutdownTapiMonitoring();

    quint32 devices = 0;
    if (monitor.initialize(LineCallback, &G_hLineApp, &devices) < 0) {
        G_hLineApp = 0;
    } else if (devices == 0) {
        ShutDownLineApp(monitor);
    } else {
        quint32 version = 0;
        if (monitor.negotiateApiVersion(G_hLineApp, 0, TAPI_VERSION_LOW, TAPI_VERSION_HIGH, &version) < 0)
            ShutDownLineApp(monitor);
        else if (monitor.open(G_hLineApp, 0, &G_hLine, version, LINECALLPRIVILEGE_MONITOR, LINEMEDIAMODE_DATAMODEM) < 0)
            ShutDownLineApp(monitor);
    }
    if (G_hLineApp == 0) {
        // Off before the box: a detection tick during the modal box must not raise it again.
        G_WatchTapi = false;
        MsgBox(TAPI_INIT_ERROR_TEXT, vbOKOnly + vbExclamation);
    }
}

void ShutdownTapiMonitoring()
{
    LineMonitor& monitor = TheLineMonitor();
    if (G_hLine != 0) monitor.close(G_hLine);
    if (G_hLineApp != 0) monitor.shutdown(G_hLineApp);
    G_hLine = 0;
    G_hLineApp = 0;
}

void LineCallback(quint32 hDevice, quint32 dwMessage, quint32, quint32 dwParam1, quint32, quint32)
{
    if (dwMessage != LINE_CALLSTATE) return;
    const quint32 call = hDevice;
    switch (dwParam1) {
    case LINECALLSTATE_CONNECTED:
        if (call != 0) G_TapiCallConnected = true;
        break;
    case LINECALLSTATE_IDLE:
        if (call != 0) {
            TheLineMonitor().deallocateCall(call);
            G_TapiCallConnected = false;
        }
        break;
    case LINECALLSTATE_BUSY:
    case LINECALLSTATE_DISCONNECTED:
        G_TapiCallConnected = false;
        break;
    default:
        break;
    }
}

void InitWinsock()
{
    if (!TheHostAddresses().startup()) {
        G_WatchIP = false;
        MsgBox(IP_WATCH_ERROR_TEXT, vbOKOnly + vbExclamation);
    }
}

void CleanupWinsock() { TheHostAddresses().cleanup(); }

bool HasInternetIP()
{
    QStringList addresses;
    if (!TheHostAddresses().addresses(&addresses)) {
        G_WatchIP = false; // before the box, so the next tick does not stack another one
        MsgBox(IP_WATCH_ERROR_TEXT, vbOKOnly + vbExclamation);
        return false;
    }
    const QStringList patterns = IgnoredIPPatterns(G_IgnoredIPs);
    bool result = false;
    for (const QString& address : addresses) {
        if (!address.isEmpty() && !IsIgnoredIP(address, patterns)) result = true;
    }
    return result;
}

bool CheckIPConnection() { return HasInternetIP(); }

QStringList IgnoredIPPatterns(const QString& line)
{
    QStringList patterns;
    for (const QString& piece : line.split(QLatin1Char(','))) patterns << piece.trimmed();
    return patterns;
}

bool IsIgnoredIP(const QString& address) { return IsIgnoredIP(address, IgnoredIPPatterns(G_IgnoredIPs)); }

bool IsIgnoredIP(const QString& address, const QStringList& patterns)
{
    const QStringList octets = address.split(QLatin1Char('.'));
    for (const QString& pattern : patterns) {
        if (address == pattern) return true;
        const QStringList parts = pattern.split(QLatin1Char('.'));
        if (parts.size() != 4 || octets.size() != 4) continue;
        bool match = true;
        for (int i = 0; i < 4 && match; ++i) {
            if (parts[i].isEmpty())
                match = false; // malformed: passed over
            else if (!parts[i].startsWith(QLatin1Char('*')) && parts[i] != octets[i])
                match = false;
        }
        if (match) return true;
    }
    return false;
}
