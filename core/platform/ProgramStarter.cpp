#include "core/platform/ProgramStarter.h"

#include "core/platform/linux/LinuxProgramStarter.h"

namespace {
ProgramStarter* g_starter = nullptr;
}

ProgramStarter& TheProgramStarter()
{
    static LinuxProgramStarter real;
    return g_starter ? *g_starter : real;
}

void SetProgramStarter(ProgramStarter* starter) { g_starter = starter; }
