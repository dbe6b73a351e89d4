#pragma once
#include <QString>

// The folder below which every data and settings file lives. It is the executable's folder when that is
// writable (a portable install), otherwise the per-user data folder, seeded from the installation.
QString ProgramFolder();
void SetProgramFolder(const QString& folder); // tests point it at a temporary folder

// The path of a file or folder below the program folder, given with '/' ("Config/Options.cfg").
// Each component that already exists in another letter case is taken as it exists, so no second
// file differing only in case is ever created.
QString ProgramPath(const QString& relative);
