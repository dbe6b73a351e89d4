#include "znFileFind.h"

#include <QFile>

#include <cerrno>
#include <ctime>
#include <sys/stat.h>

namespace {

bool Wild(const QList<uint>& name, const QList<uint>& pattern)
{
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

QByteArray FolderBytes(const TSearchRecEx& Rec)
{
    return QFile::encodeName(Rec.Path.isEmpty() ? QStringLiteral("./") : Rec.Path);
}

quint32 MissingEntryError(const TSearchRecEx& Rec, int Error)
{
    if (Error == EACCES) return ERROR_ACCESS_DENIED;
    struct stat st;
    if (::stat(FolderBytes(Rec).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

// Advances the folder stream to the next name the mask matches ("." and ".." included).
bool NextMatchingName(TSearchRecEx& Rec)
{
    while (dirent* entry = ::readdir(Rec.FindHandle)) {
        if (MatchesMask(QFile::decodeName(entry->d_name), Rec.Pattern)) {
            Rec.EntryName = entry->d_name;
            return true;
        }
    }
    return false;
}

quint32 DosDateTime(time_t Time)
{
    struct tm local;
    if (!::localtime_r(&Time, &local) || local.tm_year < 80 || local.tm_year > 207) return 0;
    const quint32 date = quint32(local.tm_year - 80) << 9 | quint32(local.tm_mon + 1) << 5 | quint32(local.tm_mday);
    const quint32 time = quint32(local.tm_hour) << 11 | quint32(local.tm_min) << 5 | quint32(local.tm_sec / 2);
    return date << 16 | time;
}

} // namespace

bool MatchesMask(const QString& Name, const QString& Pattern)
{
    const QList<uint> name = Name.toUcs4();
    if (Wild(name, Pattern.toUcs4())) return true;
    return Pattern.endsWith(QLatin1String(".*")) && Wild(name, Pattern.chopped(2).toUcs4());
}

quint32 FindFirstEx(const QString& Mask, quint32 IncludeAttr, quint32 ExcludeAttr, TSearchRecEx& Rec)
{
    FindCloseEx(Rec);
    Rec.IncludeAttr = IncludeAttr == 0 ? faAnyFile : IncludeAttr;
    Rec.ExcludeAttr = ExcludeAttr;
    const qsizetype slash = Mask.lastIndexOf(u'/');
    Rec.Path = Mask.left(slash + 1);
    Rec.Pattern = Mask.mid(slash + 1);
    if (Rec.Pattern.isEmpty()) return ERROR_FILE_NOT_FOUND;

    if (!Rec.Pattern.contains(u'*') && !Rec.Pattern.contains(u'?')) {
        // A plain name is looked up, not searched for.
        Rec.EntryName = QFile::encodeName(Rec.Pattern);
        struct stat st;
        if (::lstat((FolderBytes(Rec) + Rec.EntryName).constData(), &st) != 0) return MissingEntryError(Rec, errno);
        Rec.SingleEntry = true;
    } else {
        Rec.FindHandle = ::opendir(FolderBytes(Rec).constData());
        if (!Rec.FindHandle) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
        if (!NextMatchingName(Rec)) {
            FindCloseEx(Rec);
            return ERROR_FILE_NOT_FOUND;
        }
    }
    const quint32 result = FindMatchingFile(Rec);
    if (result != 0) FindCloseEx(Rec);
    return result;
}

quint32 FindNextEx(TSearchRecEx& Rec)
{
    if (!Rec.FindHandle || !NextMatchingName(Rec)) return ERROR_NO_MORE_FILES;
    return FindMatchingFile(Rec);
}

void FindCloseEx(TSearchRecEx& Rec)
{
    // The stream is gone after closedir: forget it, so that a second close cannot free it again.
    if (Rec.FindHandle) ::closedir(Rec.FindHandle);
    Rec.FindHandle = nullptr;
    Rec.SingleEntry = false;
}

quint32 FindMatchingFile(TSearchRecEx& Rec)
{
    const QByteArray folder = FolderBytes(Rec);
    for (;;) {
        struct stat st;
        if (Rec.EntryName != "." && Rec.EntryName != ".." && ::lstat((folder + Rec.EntryName).constData(), &st) == 0) {
            quint32 attr = 0;
            if (S_ISDIR(st.st_mode)) attr |= faDirectory;
            if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
            if (Rec.EntryName.startsWith('.')) attr |= faHidden;
            const bool included = Rec.IncludeAttr == faAnyFile || (attr & Rec.IncludeAttr) != 0;
            if (included && (attr & Rec.ExcludeAttr) == 0) {
                Rec.Time = DosDateTime(st.st_mtime);
                Rec.Size = quint32(quint64(st.st_size));
                Rec.Attr = attr;
                Rec.Name = QFile::decodeName(Rec.EntryName);
                Rec.FullName = Rec.Path + Rec.Name;
                return 0;
            }
        }
        if (!Rec.FindHandle || !NextMatchingName(Rec)) return ERROR_NO_MORE_FILES;
    }
}
