#pragma once
// The host's own IPv4 addresses, loopback left out.
#include <QStringList>

class HostAddresses {
public:
    virtual ~HostAddresses() = default;
    virtual bool isAvailable() const = 0;
    virtual bool startup() = 0; // false: the address watch cannot run on this machine
    virtual void cleanup() = 0;
    // Dotted addresses in the system's order; false when they cannot be looked up.
    virtual bool addresses(QStringList* out) = 0;
};

HostAddresses& TheHostAddresses();
void SetHostAddresses(HostAddresses* addresses); // nullptr restores the system's; the caller keeps ownership
