#pragma once
// Starting the program with the user's desktop session.
#include <QString>

class SessionAutostart {
public:
    virtual ~SessionAutostart() = default;
    // Makes the session start `program` (its full path) on the data folder `dataFolder`, or on its default
    // one when that is empty; false when that cannot be recorded.
    virtual bool enable(const QString& program, const QString& dataFolder) = 0;
    // Stops the session starting the program; an entry already gone counts as removed.
    virtual bool disable() = 0;
};

SessionAutostart& TheSessionAutostart();
void SetSessionAutostart(SessionAutostart* autostart); // nullptr restores the real one; the caller keeps ownership
