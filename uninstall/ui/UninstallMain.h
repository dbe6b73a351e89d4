#pragma once

#include "UninstallSystem.h"
#include "znUtils.h"

#include <QStringList>

// The program: makes the application when there is none yet, shows boxes through Answerer and works
// on the system through System. Returns the exit code.
int UninstallMain(int& Argc, char** Argv, TMsgBoxAnswerer Answerer, TUninstallSystem& System);

// The main body; Arguments as the command line gives them, the program's name first.
void RunUninstall(const QStringList& Arguments, TUninstallSystem& System);
