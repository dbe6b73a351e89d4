#pragma once
// The machine's time zone and its real-time clock.
#include <QDate>
#include <QString>
#include <QTime>

class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual bool isAvailable() const = 0;
    // Seconds to add to GMT for local time now (east positive); the zone's current name into *zoneName.
    virtual qint32 timeZoneOffset(QString* zoneName) = 0;
    // Sets the clock to a local wall-clock time; false when the system refuses (no privilege).
    virtual bool setLocalTime(const QDate& date, const QTime& time) = 0;
};

SystemClock& TheSystemClock();
void SetSystemClock(SystemClock* clock); // nullptr restores the system's; the caller keeps ownership
