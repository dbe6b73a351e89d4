#pragma once

#include <QByteArray>
#include <QString>

#include <dirent.h>

// A search over one folder and one mask with "*" and "?", filtered by attributes on both sides.

enum : quint32 {
    faReadOnly = 1,
    faHidden = 2,
    faSysFile = 4,
    faVolumeID = 8,
    faDirectory = 16,
    faArchive = 32,
    faAnyFile = 63,
};
enum : quint32 {
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_ACCESS_DENIED = 5,
    ERROR_NO_MORE_FILES = 18,
};

struct TSearchRecEx {
    quint32 Time = 0; // local time of the last write, DOS date in the high half
    quint32 Size = 0; // low 32 bits
    quint32 Attr = 0;
    QString Path;
    QString Name;
    QString FullName;
    quint32 IncludeAttr = 0;
    quint32 ExcludeAttr = 0;
    // The open search: a folder stream, or the one entry of a mask without wildcards.
    DIR* FindHandle = nullptr;
    bool SingleEntry = false;
    QString Pattern;
    QByteArray EntryName; // the current entry as the folder gave it
};

quint32 FindFirstEx(const QString& Mask, quint32 IncludeAttr, quint32 ExcludeAttr, TSearchRecEx& Rec);
quint32 FindNextEx(TSearchRecEx& Rec);
void FindCloseEx(TSearchRecEx& Rec);
quint32 FindMatchingFile(TSearchRecEx& Rec);

// "*" any run of characters, "?" one; a trailing ".*" also matches a name without a dot. Case-sensitive.
bool MatchesMask(const QString& Name, const QString& Pattern);
