#pragma once
// Running byte totals of one network interface.
#include <QString>
#include <QtGlobal>

class TrafficCounters {
public:
    virtual ~TrafficCounters() = default;
    virtual bool isAvailable() const = 0;
    // Received and sent bytes since the interface came up; false when they cannot be read.
    virtual bool read(const QString& interfaceName, quint64* received, quint64* sent) = 0;
};

TrafficCounters& TheTrafficCounters();
void SetTrafficCounters(TrafficCounters* counters); // nullptr restores the system's; the caller keeps ownership
