#pragma once
// The one source of the current date and time; tests replace it with a fake clock.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // local time
    // Milliseconds on a clock that only runs forward: setting the wall clock does not move it, and
    // suspended time does not count. Only differences mean anything.
    virtual qint64 elapsedMs() const = 0;
};

void SetClock(Clock* clock); // nullptr restores the system clock; the caller keeps ownership
QDateTime Now();
QDate Today();
QTime TimeNow(); // whole seconds
qint64 ElapsedMs(); // the monotonic clock, for measuring how long something took
