#include "core/ProgramFolder.h"

#include "core/FileList.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_folder;

void seedFrom(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + "/" + QDir(from).relativeFilePath(src);
        if (QFileInfo::exists(dst)) continue;
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
        QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

QString chooseFolder()
{
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (QFileInfo(exeDir).isWritable()) return exeDir;
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty()) data = QDir::homePath() + "/.zumbrel";
    QDir().mkpath(data);
    seedFrom(exeDir, data);
    return data;
}
} // namespace

QString ProgramFolder()
{
    if (g_folder.isEmpty()) g_folder = chooseFolder();
    return g_folder;
}

void SetProgramFolder(const QString& folder) { g_folder = folder; }

QString ProgramPath(const QString& relative)
{
    QString path = ProgramFolder();
    const QStringList parts = relative.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString found = FindFileNoCase(path, part);
        path += "/" + (found.isEmpty() ? part : found);
    }
    return path;
}
