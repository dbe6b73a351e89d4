#pragma once
#include "core/platform/TrafficCounters.h"

// Byte totals from /sys/class/net/<interface>/statistics/{rx,tx}_bytes (64-bit).
class LinuxTrafficCounters : public TrafficCounters {
public:
    explicit LinuxTrafficCounters(const QString& sysClassNet = QStringLiteral("/sys/class/net"));
    bool isAvailable() const override;
    bool read(const QString& interfaceName, quint64* received, quint64* sent) override;

private:
    QString m_root;
};

// False for a name that could leave the folder it is looked up in.
bool IsPlainInterfaceName(const QString& name);
