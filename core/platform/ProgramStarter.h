#pragma once
// Starts the user's programs when a connection comes up.
#include <QString>

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the command line as a new process without waiting; false when it cannot be started.
    virtual bool start(const QString& commandLine) = 0;
};

ProgramStarter& TheProgramStarter();
void SetProgramStarter(ProgramStarter* starter); // nullptr restores the real one; the caller keeps ownership
