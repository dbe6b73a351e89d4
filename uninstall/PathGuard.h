#pragma once

#include <QString>

// Log entries are whole paths: these tests keep a damaged log from reaching what the installation never made.

// True when a component of the path is "..".
bool HasParentStep(const QString& Path);
bool IsMask(const QString& Path);
// The absolute path with the links of its existing part resolved; the missing rest follows as written.
QString ResolvedPath(const QString& Path);
// True when Path, links resolved, is Folder or lies below it, by whole components.
bool LiesWithin(const QString& Path, const QString& Folder);
