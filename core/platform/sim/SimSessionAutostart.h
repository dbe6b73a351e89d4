#pragma once
#include "core/platform/SessionAutostart.h"

// Keeps the autostart entry in memory and records the calls; `failing` refuses both.
class SimSessionAutostart : public SessionAutostart {
public:
    bool enable(const QString& path, const QString& dataFolder) override
    {
        ++enables;
        if (failing) return false;
        program = path;
        folder = dataFolder;
        return true;
    }
    bool disable() override
    {
        ++disables;
        if (failing) return false;
        program.clear();
        return true;
    }
    QString program; // empty while no entry exists
    QString folder;
    bool failing = false;
    int enables = 0;
    int disables = 0;
};
