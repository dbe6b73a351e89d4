#include "UninstallSystem.h"

#include "znFileUtils.h"
#include "znUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <dlfcn.h>
#include <unistd.h>

namespace {

QString Absolute(const QString& Path)
{
    return QFileInfo(Path).absoluteFilePath();
}

// A program file is started itself whatever its name; anything else goes to the desktop's opener.
bool IsProgram(const QFileInfo& Info)
{
    return Info.isFile() && Info.isExecutable();
}

// Waits as the message loop of a window would: in short slices, serving the calling thread's events.
qint32 WaitForExit(QProcess& Process)
{
    if (!Process.waitForStarted(-1)) return -1;
    while (!Process.waitForFinished(100)) {
        if (Process.state() == QProcess::NotRunning) break;
        ProcessMessages();
    }
    if (Process.exitStatus() == QProcess::CrashExit) return -1;
    return Process.exitCode();
}

} // namespace

TLinuxSystem::TLinuxSystem(QString ProgramFile, QString Opener)
    : programFile(std::move(ProgramFile)), opener(std::move(Opener))
{
}

QString TLinuxSystem::AppFileName()
{
    return programFile.isEmpty() ? GetAppFileName() : programFile;
}

bool TLinuxSystem::DeleteFile(const QString& Path)
{
    return DeleteFileForce(Path);
}

bool TLinuxSystem::RemoveDirectory(const QString& Path)
{
    return ::rmdir(QFile::encodeName(Path).constData()) == 0;
}

bool TLinuxSystem::ScheduleOnReboot(const QString&, const QString&)
{
    // Linux removes a file that is in use at once; what it refuses now it refuses after a restart too.
    return false;
}

std::optional<qint32> TLinuxSystem::CallUnregisterExport(const QString& Library)
{
    void* module = SafeLoadLibrary(Library);
    if (!module) return std::nullopt;
    std::optional<qint32> result;
    if (void* symbol = ::dlsym(module, "DllUnregisterServer"))
        result = reinterpret_cast<qint32 (*)()>(symbol)();
    ::dlclose(module);
    return result;
}

bool TLinuxSystem::UnregisterTypeLib(const QString&)
{
    return false; // there are no type libraries to unregister
}

bool TLinuxSystem::StartHidden(const QString& Program, const QStringList& Arguments)
{
    return QProcess::startDetached(Absolute(Program), Arguments);
}

qint32 TLinuxSystem::ExecAndWait(const QString& File, const QString& Parameters, const QString& Folder, int)
{
    const QFileInfo info(File);
    QProcess process;
    if (IsProgram(info)) {
        process.setProgram(info.absoluteFilePath());
        process.setArguments(QProcess::splitCommand(Parameters));
        if (!Folder.trimmed().isEmpty()) process.setWorkingDirectory(Folder.trimmed());
        process.start();
        return WaitForExit(process);
    }
    process.setProgram(opener);
    process.setArguments({info.absoluteFilePath()});
    process.start();
    return WaitForExit(process) == 0 ? 0 : -1;
}

qint32 TLinuxSystem::ShellStart(const QString& File, const QString& Parameters, const QString& Folder, int)
{
    const QFileInfo info(File);
    const bool started =
        IsProgram(info)
            ? QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(Parameters), Folder.trimmed())
            : QProcess::startDetached(opener, {info.absoluteFilePath()});
    return started ? 33 : 2;
}

bool TSimSystem::DeleteFile(const QString& Path)
{
    if (RefusedPaths.contains(Absolute(Path))) return false;
    return DeleteFileForce(Path);
}

bool TSimSystem::RemoveDirectory(const QString& Path)
{
    if (RefusedPaths.contains(Absolute(Path))) return false;
    return ::rmdir(QFile::encodeName(Path).constData()) == 0;
}

bool TSimSystem::ScheduleOnReboot(const QString& Source, const QString& Target)
{
    Calls << QStringLiteral("reboot %1 -> %2").arg(Source, Target);
    return ScheduleWorks;
}

std::optional<qint32> TSimSystem::CallUnregisterExport(const QString& Library)
{
    Calls << QStringLiteral("export ") + Library;
    const auto found = UnregisterExports.constFind(Absolute(Library));
    if (found == UnregisterExports.cend()) return std::nullopt;
    return found.value();
}

bool TSimSystem::UnregisterTypeLib(const QString& File)
{
    Calls << QStringLiteral("typelib ") + File;
    return TypeLibResult;
}

bool TSimSystem::StartHidden(const QString& Program, const QStringList& Arguments)
{
    Calls << QStringLiteral("start ") + Program + u' ' + Arguments.join(u'|');
    return StartWorks;
}

qint32 TSimSystem::ExecAndWait(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode)
{
    Calls << QStringLiteral("exec %1 [%2] [%3] %4").arg(File, Parameters, Folder).arg(ShowMode);
    return OnExec ? OnExec(File, Parameters) : 0;
}

qint32 TSimSystem::ShellStart(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode)
{
    Calls << QStringLiteral("shell %1 [%2] [%3] %4").arg(File, Parameters, Folder).arg(ShowMode);
    return ShellResult;
}
