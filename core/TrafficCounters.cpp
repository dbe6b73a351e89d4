#include "core/TrafficCounters.h"

#include "core/Globals.h"
#include "core/VB.h"
#include "core/platform/PhoneBook.h"
#include "core/platform/TrafficCounters.h"

namespace {
ConnectionInterfaceFn g_resolver;
bool g_freshStart = true;

float Rate(quint64 now, double previous, bool fresh)
{
    if (fresh) return 0;
    const double prev = previous < 0 ? 0 : previous;
    const double current = double(now);
    // a total below the last one belongs to a new link: it counts from 0 again
    return float(current >= prev ? current - prev : current);
}
} // namespace

void SetConnectionInterfaceResolver(ConnectionInterfaceFn resolver) { g_resolver = std::move(resolver); }

QString ConnectionInterface(quint32 hRasConn)
{
    if (hRasConn == 0) return {};
    return g_resolver ? g_resolver(hRasConn) : ThePhoneBook().interfaceName(hRasConn);
}

bool InitRasCounters()
{
    g_freshStart = true;
    return TheTrafficCounters().isAvailable();
}

void UpdateTrafficCounters(const QString& winver, quint32 hRasConn)
{
    const double v = Val(winver);
    const bool newer = winver.contains(QLatin1String("2000")) || winver.contains(QLatin1String("XP")) || v >= 5;
    const bool nineX = winver.contains(QLatin1Char('9')) || winver.contains(QLatin1String("ME"));
    if (!newer && v < 3 && !nineX) return; // a version with no byte source keeps the values as they are

    // Every version with a source reads the recorded connection's own interface: the older systems'
    // adapter-wide sources do not exist here.
    quint64 received = 0, sent = 0;
    if (hRasConn != 0) {
        const QString iface = ConnectionInterface(hRasConn);
        if (iface.isEmpty() || !TheTrafficCounters().read(iface, &received, &sent)) {
            G_RateIn = G_RateOut = G_RateTotal = 0;
            return;
        }
        // the connection's own bytes, not those of an earlier connection on the same interface
        quint64 baseIn = 0, baseOut = 0;
        ThePhoneBook().byteBaseline(hRasConn, &baseIn, &baseOut);
        if (received >= baseIn && sent >= baseOut) {
            received -= baseIn;
            sent -= baseOut;
        }
    }
    const bool fresh = g_freshStart;
    g_freshStart = false;
    G_RateIn = Rate(received, G_BytesIn, fresh);
    G_RateOut = Rate(sent, G_BytesOut, fresh);
    G_RateTotal = G_RateOut + G_RateIn;
    G_BytesIn = double(received);
    G_BytesOut = double(sent);
    G_BytesTotal = double(sent) + double(received);
}
