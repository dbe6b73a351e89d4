#include "core/SystemUtils.h"

#include <pwd.h>
#include <unistd.h>

QString GetWindowsVersion() { return WINDOWS_VERSION; }

QString GetWindowsUserName()
{
    const passwd* pw = getpwuid(getuid());
    if (!pw || !pw->pw_name) return {};
    const QString name = QString::fromLocal8Bit(pw->pw_name);
    // the original's buffer held 24 characters and its NUL
    return name.size() > 24 ? QString() : name;
}

QString GetSystemDirectoryPath() { return {}; }

bool IsValidFileName(const QString& name)
{
    bool valid = true;
    if (name.size() > 255) valid = false;
    for (QChar c : QStringLiteral("\\/:*?\"<>|"))
        if (name.contains(c)) valid = false;
    if (name.contains(QChar(0))) valid = false; // the system's file name would end there: another file
    return valid;
}

bool IsSafeName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name)
        if (c == '/' || c == '\\' || c.isNull()) return false;
    return true;
}

QString TrimAtNull(const QString& text)
{
    const qsizetype p = text.indexOf(QChar(0));
    return p < 0 ? text : text.left(p);
}

namespace {
void exitProcess() { ::_exit(0); }
void (*s_endProgram)() = exitProcess;
} // namespace

void EndProgram() { s_endProgram(); }

void SetEndProgramRoutine(void (*routine)()) { s_endProgram = routine ? routine : exitProcess; }
