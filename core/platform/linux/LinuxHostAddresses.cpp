#include "core/platform/linux/LinuxHostAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

QStringList Ipv4Addresses(const ifaddrs* list)
{
    QStringList out;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
        if (!(a->ifa_flags & IFF_UP) || (a->ifa_flags & IFF_LOOPBACK)) continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) out << QString::fromLatin1(text);
    }
    return out;
}

bool LinuxHostAddresses::addresses(QStringList* out)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    *out = Ipv4Addresses(list);
    freeifaddrs(list);
    return true;
}
