#pragma once
#include "core/platform/ProgramStarter.h"

#include <QStringList>

class LinuxProgramStarter : public ProgramStarter {
public:
    bool start(const QString& commandLine) override;
    // The program and its arguments: a line naming an existing file is that program alone, any other
    // is split at blanks outside quotes.
    static QStringList SplitCommand(const QString& commandLine);
};
