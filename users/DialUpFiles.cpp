#include "users/DialUpFiles.h"

#include "core/Dialing.h"
#include "core/FileList.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/Win1252.h"

namespace {
// The entry's file; empty when the name cannot be a file name.
QString entryFile(const QString& entry, const QString& extension)
{
    return IsSafeName(entry) ? ProgramPath(QStringLiteral("DialUp/") + entry + extension) : QString();
}

bool inCodePage(const QString& text)
{
    for (QChar c : text)
        if (Win1252::byteFromChar(c) < 0) return false;
    return true;
}
} // namespace

std::optional<bool> ReadDialUpConfig()
{
    const QString folder = ProgramPath(QStringLiteral("DialUp"));
    const QString found = FindFileNoCase(folder, QStringLiteral("DialUp.cfg"));
    if (found.isEmpty()) return true;
    const QString line = LineReader(folder + "/" + found).line(0);
    return ReadBooleanLine(line);
}

bool SaveDialUpConfig(bool systemData)
{
    return WriteTextLines(ProgramPath(QStringLiteral("DialUp/DialUp.cfg")),
                          {systemData ? QStringLiteral("Wahr") : QStringLiteral("Falsch")});
}

bool ReadEntryCredentials(const QString& entry, EntryCredentials* data)
{
    const QString path = entryFile(entry, QStringLiteral(".dat"));
    if (path.isEmpty()) return false;
    const LineReader dat(path);
    if (!dat.exists()) return false;
    data->number = dat.line(0);
    // the marker letter in front of each value is dropped unseen
    data->user = dat.line(1).isEmpty() ? QString() : DecryptString(dat.line(1)).mid(1);
    data->password = dat.line(2).isEmpty() ? QString() : DecryptString(dat.line(2)).mid(1);
    return true;
}

EntrySaved SaveEntryCredentials(const QString& entry, const EntryCredentials& data)
{
    if (!inCodePage(data.number) || !inCodePage(data.user) || !inCodePage(data.password))
        return EntrySaved::NotInCodePage;
    const QString path = entryFile(entry, QStringLiteral(".dat"));
    if (path.isEmpty()) return EntrySaved::Failed;
    const bool ok = WriteTextLines(path, {data.number, EncryptString(QStringLiteral("U") + data.user),
                                          EncryptString(QStringLiteral("P") + data.password)},
                                   FileAccess::OwnerOnly);
    return ok ? EntrySaved::Saved : EntrySaved::Failed;
}

bool ReadEntryTarif(const QString& entry, QString* provider, QString* item)
{
    const QString path = entryFile(entry, QStringLiteral(".trf"));
    if (path.isEmpty()) return false;
    const LineReader trf(path);
    if (!trf.exists()) return false;
    *provider = trf.line(0);
    *item = trf.line(1);
    return true;
}

bool SaveEntryTarif(const QString& entry, const QString& provider, const QString& item)
{
    const QString path = entryFile(entry, QStringLiteral(".trf"));
    return !path.isEmpty() && WriteTextLines(path, {provider, item});
}
