#pragma once
#include "core/platform/ProgramStarter.h"

class LinuxProgramStarter : public ProgramStarter {
public:
    bool start(const QString& commandLine) override;
};
