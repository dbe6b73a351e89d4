#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

// The uninstaller's file layer on POSIX descriptors. Paths are text and use "/" alone.

// An open state of its own: 0 is a valid descriptor.
struct TFileHandle {
    int fd = -1;
    bool IsOpen() const { return fd >= 0; }
};

enum : quint32 {
    GENERIC_READ = 0x80000000u,
    GENERIC_WRITE = 0x40000000u,
    FILE_SHARE_READ = 1,
    FILE_SHARE_WRITE = 2,
    CREATE_NEW = 1,
    CREATE_ALWAYS = 2,
    OPEN_EXISTING = 3,
    OPEN_ALWAYS = 4,
    TRUNCATE_EXISTING = 5,
    FILE_ATTRIBUTE_NORMAL = 0x80,
};

// Share modes and attributes have no counterpart here and are ignored; only an ordinary file opens.
TFileHandle FileOpenEx(const QString& Name, quint32 Access, quint32 ShareMode, quint32 Disposition, quint32 Flags);
void FileCloseEx(TFileHandle& Handle);
qint64 FilePosition(TFileHandle Handle);
bool FileEofEx(TFileHandle Handle);
void FileReadLn(TFileHandle Handle, QByteArray& Line);
void FileWriteLn(TFileHandle Handle, const QByteArray& Line);
// Writes all of Bytes at the current position; false when the system refuses part of it.
bool FileWriteEx(TFileHandle Handle, const QByteArray& Bytes);
bool FileSeekEx(TFileHandle Handle, qint64 Offset);
// Cuts the file off at the current position.
bool FileTruncate(TFileHandle Handle);
// The whole file, read from offset 0 without moving the position; false on a read error.
bool FileReadAll(TFileHandle Handle, QByteArray& Bytes);

using TClock = std::function<QDateTime()>;
QString GetUniqueFileName(const QString& Folder, QString Prefix, const QString& Extension, bool ShortForm,
                          const TClock& Now = &QDateTime::currentDateTime);
bool FileExistsEx(const QString& Path);
bool DirExists(const QString& Path);
QString AddBackslash(const QString& Path);
QString RemoveBackslash(const QString& Path);
QString ExtractFolderPart(const QString& Path);
void ForceDirs(const QString& Path);
QString GetShortName(const QString& Path);
bool DeleteFileForce(const QString& Path);
