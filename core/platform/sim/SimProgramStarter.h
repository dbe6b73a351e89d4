#pragma once
#include "core/platform/ProgramStarter.h"

#include <QStringList>

// Records the command lines it is asked to start; those listed in `failing` cannot be started.
class SimProgramStarter : public ProgramStarter {
public:
    bool start(const QString& commandLine) override
    {
        if (failing.contains(commandLine)) return false;
        started << commandLine;
        return true;
    }
    QStringList started;
    QStringList failing;
};
