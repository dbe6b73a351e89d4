#pragma once
#include "core/platform/HostAddresses.h"

struct ifaddrs;

// The IPv4 addresses of the interfaces that are up, from getifaddrs. Looking up the host's own name
// is no use here: Debian maps it to 127.0.1.1, which would always look like a connection.
class LinuxHostAddresses : public HostAddresses {
public:
    bool isAvailable() const override { return true; }
    bool startup() override { return true; }
    void cleanup() override {}
    bool addresses(QStringList* out) override;
};

// The dotted IPv4 addresses of a getifaddrs list: interfaces that are up, loopback left out.
QStringList Ipv4Addresses(const ifaddrs* list);
