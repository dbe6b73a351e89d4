#pragma once
// Small system queries shared by the windows.
#include <QString>

// The version text the version readers branch on. Fixed: the readers then take their newest path.
inline const QString WINDOWS_VERSION = QStringLiteral("6.1");

QString GetWindowsVersion();
// The logon name; empty when it cannot be read or does not fit 24 characters.
QString GetWindowsUserName();
// No system folder of Windows libraries here: the detection facilities answer for themselves.
QString GetSystemDirectoryPath();
// False when the name is longer than 255 characters or holds one of \ / : * ? " < > | or a NUL character.
bool IsValidFileName(const QString& name);
// True when a name from a file, a list or the user stays in the folder it is joined to: one path
// component, not empty, without "/", "\" or NUL, and neither "." nor "..".
bool IsSafeName(const QString& name);
// The text up to its first NUL character.
QString TrimAtNull(const QString& text);

// Ends the program at once, with no further step and nothing saved (a cancelled login, no user at all).
// Before the event loop runs, quitting the application would not end it, so this leaves the process.
// Tests replace the routine; nullptr restores the default.
void EndProgram();
void SetEndProgramRoutine(void (*routine)());
