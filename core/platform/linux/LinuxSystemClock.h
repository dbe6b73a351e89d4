#pragma once
#include "core/platform/SystemClock.h"

// The local time zone from the system's zone data; the clock is set with clock_settime, which needs
// the privilege to set the time (normally only root has it).
class LinuxSystemClock : public SystemClock {
public:
    bool isAvailable() const override { return true; }
    qint32 timeZoneOffset(QString* zoneName) override;
    bool setLocalTime(const QDate& date, const QTime& time) override;
};
