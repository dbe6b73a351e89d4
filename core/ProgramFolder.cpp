#include "core/ProgramFolder.h"

#include "core/FileList.h"
#include "core/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_folder;
QString g_installation;

// The folders of the installation that a user's data folder takes over; the user may edit or delete
// what was copied, and an upgrade adds only what is new.
const char* const COPIED_FOLDERS[] = {"Tarife", "Sounds"};

QString exeFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

bool holdsInstallationFiles(const QString& folder)
{
    for (const char* name : {"Revision.dat", "Servers.dat", "Tarife", "Sounds"})
        if (!FindFileNoCase(folder, QLatin1String(name)).isEmpty()) return true;
    return false;
}

void copyMissingFiles(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QFileInfo& file : source.entryInfoList(QDir::Files | QDir::Hidden | QDir::Readable)) {
        // only data: never a program, and nothing that is not an ordinary file
        if (!file.isFile() || file.isExecutable()) continue;
        if (!FindFileNoCase(to, file.fileName()).isEmpty()) continue;
        const QString target = to + QLatin1Char('/') + file.fileName();
        if (CopyFileBytes(file.filePath(), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}
} // namespace

QString DataFolderFor(const QProcessEnvironment& env)
{
    const QString chosen = env.value(QStringLiteral("ZUMBREL_FOLDER"));
    if (!chosen.isEmpty()) return QDir::cleanPath(QDir(chosen).absolutePath());
    QString data = env.value(QStringLiteral("XDG_DATA_HOME"));
    // a relative XDG_DATA_HOME is invalid and ignored
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        const QString home = env.value(QStringLiteral("HOME"), QDir::homePath());
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/Zumbrel"));
}

QString FindInstallationFolder(const QString& exeDir)
{
    if (holdsInstallationFiles(exeDir)) return exeDir;
    const QString shared = QDir::cleanPath(exeDir + QStringLiteral("/../share/zumbrel"));
    return QFileInfo(shared).isDir() ? shared : exeDir;
}

namespace {
bool makeFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir()) return true;
    return QDir().mkpath(QFileInfo(folder).absolutePath()) &&
           QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

bool PrepareProgramFolder(const QString& folder, const QString& installation)
{
    if (!makeFolder(folder)) return false;
    for (const char* name : COPIED_FOLDERS) {
        const QString found = FindFileNoCase(installation, QLatin1String(name));
        if (found.isEmpty() || QDir(installation) == QDir(folder)) continue;
        const QString existing = FindFileNoCase(folder, QLatin1String(name));
        copyMissingFiles(installation + QLatin1Char('/') + found,
                         folder + QLatin1Char('/') + (existing.isEmpty() ? QLatin1String(name) : existing));
    }
    return true;
}

QString InstallationFolder()
{
    if (g_installation.isEmpty()) g_installation = FindInstallationFolder(exeFolder());
    return g_installation;
}

void SetInstallationFolder(const QString& folder) { g_installation = folder; }

QString ProgramFolder()
{
    if (g_folder.isEmpty()) {
        g_folder = DataFolderFor(QProcessEnvironment::systemEnvironment());
        PrepareProgramFolder(g_folder, InstallationFolder());
    }
    return g_folder;
}

void SetProgramFolder(const QString& folder) { g_folder = folder; }

QString CreateProgramFolder()
{
    const QString folder = g_folder.isEmpty() ? DataFolderFor(QProcessEnvironment::systemEnvironment()) : g_folder;
    makeFolder(folder);
    return folder;
}

QString ChosenProgramFolder()
{
    return qEnvironmentVariableIsEmpty("ZUMBREL_FOLDER") ? QString() : ProgramFolder();
}

namespace {
QString pathBelow(QString path, const QString& relative)
{
    const QStringList parts = relative.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString found = FindFileNoCase(path, part);
        path += "/" + (found.isEmpty() ? part : found);
    }
    return path;
}
} // namespace

QString ProgramPath(const QString& relative) { return pathBelow(ProgramFolder(), relative); }

QString InstallationPath(const QString& relative) { return pathBelow(InstallationFolder(), relative); }
