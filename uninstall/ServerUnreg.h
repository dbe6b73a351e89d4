#pragma once

#include "UninstallSystem.h"

#include <QString>

// Server unregistration, the restart schedule and the program's own removal, through the system layer.

bool CallDllUnregisterServer(TUninstallSystem& System, const QString& File);
bool RunUnregServer(TUninstallSystem& System, const QString& File);
bool UnregisterServer(TUninstallSystem& System, const QString& File);
bool UnregisterTypeLibrary(TUninstallSystem& System, const QString& File);
bool UnregisterOleFile(TUninstallSystem& System, const QString& File);

// True when the file is gone or its deletion is scheduled.
bool MoveFileOnReboot(TUninstallSystem& System, const QString& Source, const QString& Target);
bool DeleteFileOnReboot(TUninstallSystem& System, const QString& Path);

// Removes the running program's file and then, when asked to and it is empty, its folder.
void DeleteSelf(TUninstallSystem& System, bool RemoveFolder);
