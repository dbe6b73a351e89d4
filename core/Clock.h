#pragma once
// The one source of the current date and time; tests replace it with a fake clock.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // local time
};

void SetClock(Clock* clock); // nullptr restores the system clock; the caller keeps ownership
QDateTime Now();
QDate Today();
QTime TimeNow(); // whole seconds
