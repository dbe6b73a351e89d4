#include "PathGuard.h"

#include <QDir>
#include <QFileInfo>

bool HasParentStep(const QString& Path)
{
    return Path.split(u'/').contains(QLatin1String(".."));
}

bool IsMask(const QString& Path)
{
    const QString name = Path.mid(Path.lastIndexOf(u'/') + 1);
    return name.contains(u'*') || name.contains(u'?');
}

QString ResolvedPath(const QString& Path)
{
    QString existing = QDir::cleanPath(QFileInfo(Path).absoluteFilePath());
    QString rest;
    while (existing != QLatin1String("/") && !QFileInfo::exists(existing)) {
        const qsizetype slash = existing.lastIndexOf(u'/');
        rest = existing.mid(slash) + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
    const QString real = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((real.isEmpty() ? existing : real) + rest);
}

bool LiesWithin(const QString& Path, const QString& Folder)
{
    const QString path = ResolvedPath(Path);
    const QString folder = ResolvedPath(Folder);
    return path == folder || path.startsWith(folder == QLatin1String("/") ? folder : folder + u'/');
}
