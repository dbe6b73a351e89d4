#include "core/FileList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/stat.h>

#include <algorithm>

QStringList ListFolder(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    if (!dir.exists()) return {};
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    const QStringList all = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : all)
        if (re.match(name).hasMatch()) out << name;
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

QString FindFileNoCase(const QString& folder, const QString& name)
{
    if (name.isEmpty()) return {};
    // a symbolic link is an entry of its own, also when it leads nowhere (QFileInfo::exists and QDir's
    // listing without System pass over a dangling one)
    struct stat st {};
    if (::lstat(QFile::encodeName(folder + "/" + name).constData(), &st) == 0) return name;
    QDir dir(folder);
    if (!dir.exists()) return {};
    const QStringList all =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : all)
        if (QString::compare(entry, name, Qt::CaseInsensitive) == 0) return entry;
    return {};
}
