#include "ServerUnreg.h"

#include "znFileUtils.h"

#include <QFileInfo>

bool CallDllUnregisterServer(TUninstallSystem& System, const QString& File)
{
    const std::optional<qint32> result = System.CallUnregisterExport(File);
    return result && *result >= 0;
}

bool RunUnregServer(TUninstallSystem& System, const QString& File)
{
    // One argument to the program itself: a path with blanks cannot split into others.
    return System.StartHidden(File, {QStringLiteral("/UNREGSERVER")});
}

bool UnregisterServer(TUninstallSystem& System, const QString& File)
{
    if (CallDllUnregisterServer(System, File)) return true;
    return QFileInfo(File).suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0 &&
           RunUnregServer(System, File);
}

bool UnregisterTypeLibrary(TUninstallSystem& System, const QString& File)
{
    return System.UnregisterTypeLib(QFileInfo(File).absoluteFilePath());
}

bool UnregisterOleFile(TUninstallSystem& System, const QString& File)
{
    return UnregisterServer(System, File) || UnregisterTypeLibrary(System, File);
}

bool MoveFileOnReboot(TUninstallSystem& System, const QString& Source, const QString& Target)
{
    const QString source = QFileInfo(Source).absoluteFilePath();
    const QString target = Target.isEmpty() ? QString() : QFileInfo(Target).absoluteFilePath();
    if (!FileExistsEx(source)) return true; // nothing left to schedule
    return System.ScheduleOnReboot(source, target);
}

bool DeleteFileOnReboot(TUninstallSystem& System, const QString& Path)
{
    return MoveFileOnReboot(System, Path, QString());
}

void DeleteSelf(TUninstallSystem& System, bool RemoveFolder)
{
    const QString programFile = System.AppFileName();
    const QString folder = RemoveBackslash(ExtractFolderPart(programFile));
    System.DeleteFile(programFile);
    if (RemoveFolder && !folder.isEmpty()) System.RemoveDirectory(folder);
}
