#include "znFileUtils.h"

#include "znStrUtils.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray SystemName(const QString& Path)
{
    return QFile::encodeName(Path);
}

} // namespace

TFileHandle FileOpenEx(const QString& Name, quint32 Access, quint32 /*ShareMode*/, quint32 Disposition,
                       quint32 /*Flags*/)
{
    int flags = O_CLOEXEC;
    if ((Access & GENERIC_READ) && (Access & GENERIC_WRITE))
        flags |= O_RDWR;
    else if (Access & GENERIC_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (Disposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        break;
    }
    // Only an ordinary file, links followed, is read and written: a pipe would block the open or every read, and
    // a device may never end. Not blocking lets the open return so that the kind can be asked.
    flags |= O_NONBLOCK;
    TFileHandle handle;
    do
        handle.fd = ::open(SystemName(Name).constData(), flags, 0666);
    while (handle.fd < 0 && errno == EINTR);
    struct stat st {};
    if (handle.IsOpen() && (::fstat(handle.fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(handle.fd);
        handle.fd = -1;
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    return handle;
}

void FileCloseEx(TFileHandle& Handle)
{
    if (Handle.IsOpen()) ::close(Handle.fd);
    Handle.fd = -1;
}

qint64 FilePosition(TFileHandle Handle)
{
    return ::lseek(Handle.fd, 0, SEEK_CUR);
}

bool FileEofEx(TFileHandle Handle)
{
    struct stat st;
    if (::fstat(Handle.fd, &st) != 0) return true;
    return FilePosition(Handle) >= st.st_size;
}

void FileReadLn(TFileHandle Handle, QByteArray& Line)
{
    // A line ends at CR LF, at a bare LF (as Linux writes) or at a lone CR; the file stands behind that end.
    Line.clear();
    char chunk[100];
    for (;;) {
        const ssize_t got = ::read(Handle.fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return; // end of file, or a read error that retrying would only repeat
        const char* end = std::find_if(chunk, chunk + got, [](char c) { return c == '\r' || c == '\n'; });
        const ssize_t part = end - chunk;
        Line.append(chunk, part);
        if (part == got) continue;
        ssize_t used = part + 1;
        if (*end == '\r' && used < got) {
            if (chunk[used] == '\n') ++used;
        } else if (*end == '\r') {
            // The CR ended this read: its LF, if any, begins the next.
            char next = 0;
            if (::read(Handle.fd, &next, 1) == 1 && next != '\n') ::lseek(Handle.fd, -1, SEEK_CUR);
        }
        ::lseek(Handle.fd, used - got, SEEK_CUR);
        return;
    }
}

void FileWriteLn(TFileHandle Handle, const QByteArray& Line)
{
    FileWriteEx(Handle, Line + "\r\n");
}

bool FileWriteEx(TFileHandle Handle, const QByteArray& Bytes)
{
    qsizetype done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Handle.fd, Bytes.constData() + done, size_t(Bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool FileSeekEx(TFileHandle Handle, qint64 Offset)
{
    return ::lseek(Handle.fd, Offset, SEEK_SET) == Offset;
}

bool FileTruncate(TFileHandle Handle)
{
    const qint64 at = FilePosition(Handle);
    return at >= 0 && ::ftruncate(Handle.fd, at) == 0;
}

bool FileReadAll(TFileHandle Handle, QByteArray& Bytes)
{
    Bytes.clear();
    char buffer[65536];
    for (qint64 at = 0;;) {
        const ssize_t n = ::pread(Handle.fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        Bytes.append(buffer, n);
        at += n;
    }
}

QString GetUniqueFileName(const QString& Folder, QString Prefix, const QString& Extension, bool ShortForm,
                          const TClock& Now)
{
    static const int monthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const QString folder = AddBackslash(Folder);
    if (ShortForm) Prefix = Prefix.left(4);
    for (;;) {
        const QDateTime now = Now();
        const QDate date = now.date();
        const QTime time = now.time();
        int days = date.day();
        for (int m = 1; m < date.month(); ++m)
            days += monthDays[m - 1] + (m == 2 && QDate::isLeapYear(date.year()) ? 1 : 0);
        const int y = date.year() % 10;
        const qint32 dayCount = y * 365 + y / 4 + days;
        const qint32 timeCount = time.msec() / 10 + time.hour() * 360000 + time.minute() * 6000 + time.second() * 100;
        QString stamp = QString::fromLatin1(IntToBase(dayCount, 3, 32) + IntToBase(timeCount, 5, 32));
        if (ShortForm) stamp.remove(0, Prefix.size());
        const QString name = Prefix + stamp + Extension;
        if (!FileExistsEx(folder + name)) return name;
    }
}

bool FileExistsEx(const QString& Path)
{
    struct stat st;
    return ::lstat(SystemName(Path).constData(), &st) == 0;
}

bool DirExists(const QString& Path)
{
    struct stat st;
    return ::stat(SystemName(Path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString AddBackslash(const QString& Path)
{
    return Path.isEmpty() || Path.endsWith(u'/') ? Path : Path + u'/';
}

QString RemoveBackslash(const QString& Path)
{
    return Path.size() > 1 && Path.endsWith(u'/') ? Path.chopped(1) : Path;
}

QString ExtractFolderPart(const QString& Path)
{
    return Path.left(Path.lastIndexOf(u'/') + 1);
}

void ForceDirs(const QString& Path)
{
    if (Path.isEmpty()) return;
    const QString path = RemoveBackslash(Path);
    // "Longer than 2 characters" stood for a drive letter and colon; here only the root needs no making.
    if (path != QLatin1String("/") && !DirExists(path)) {
        const QString parent = ExtractFolderPart(path);
        if (parent != path) ForceDirs(parent);
        ::mkdir(SystemName(path).constData(), 0777);
    }
}

QString GetShortName(const QString& Path)
{
    return Path;
}

bool DeleteFileForce(const QString& Path)
{
    // Unlinking needs no write bit on the file; a chmod would follow a link to someone else's file.
    return ::unlink(SystemName(Path).constData()) == 0;
}
