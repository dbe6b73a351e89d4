#include "core/TextFile.h"

#include "core/VB.h"
#include "core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == '\n') {
            qsizetype end = i;
            if (end > start && data[end - 1] == '\r') --end;
            lines << data.mid(start, end - start);
            start = i + 1;
        }
    }
    if (start < n) {
        QByteArray last = data.mid(start);
        if (last.endsWith('\r')) last.chop(1);
        lines << last;
    }
    return lines;
}
} // namespace

FileRead ReadOpenFile(int fd, QByteArray* data, qint64 cap)
{
    data->clear();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return FileRead::Unreadable;
    if (st.st_size > cap) return FileRead::TooLarge;
    const qint64 limit = cap + 1;
    qint64 got = 0;
    for (;;) {
        // One read takes a file of known size whole; the byte beyond it tells whether the file grew.
        const qint64 want = std::min(limit - got, st.st_size > got ? st.st_size + 1 - got : qint64(16384));
        data->resize(got + want);
        const ssize_t n = ::read(fd, data->data() + got, size_t(want));
        if (n < 0) {
            if (errno == EINTR) continue;
            data->clear();
            return FileRead::Unreadable;
        }
        got += n;
        if (got > cap) {
            data->clear();
            return FileRead::TooLarge;
        }
        // A regular file reads short only at its end, unless it reports no size (as /proc files do).
        if (n == 0 || (st.st_size > 0 && got >= st.st_size && n < want)) break;
    }
    data->resize(got);
    return FileRead::Ok;
}

FileRead ReadFileBytes(const QString& path, QByteArray* data, qint64 cap, FileLinks links, struct stat* status)
{
    data->clear();
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == FileLinks::Refuse ? O_NOFOLLOW : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    const FileRead state = ReadOpenFile(fd, data, cap);
    if (status && ::fstat(fd, status) != 0) *status = {};
    ::close(fd);
    return state;
}

QList<QByteArray> ReadByteLines(const QString& path, bool* ok, qint64 cap)
{
    QByteArray data;
    const FileRead state = ReadFileBytes(path, &data, cap);
    if (ok) *ok = state == FileRead::Ok || state == FileRead::TooLarge;
    return splitLines(data);
}

namespace {
QStringList decodeLines(const QList<QByteArray>& lines)
{
    QStringList out;
    out.reserve(lines.size());
    for (const QByteArray& l : lines) out << Win1252::decode(l);
    return out;
}
} // namespace

QStringList ReadTextLines(const QString& path, FileRead* state, qint64 cap)
{
    QByteArray data;
    const FileRead found = ReadFileBytes(path, &data, cap);
    if (state) *state = found;
    return decodeLines(splitLines(data));
}

QStringList ReadTextLines(const QString& path, bool* ok, qint64 cap)
{
    return decodeLines(ReadByteLines(path, ok, cap));
}

namespace {
std::function<bool(const QString&)>& folderSyncer()
{
    static std::function<bool(const QString&)> syncer = SyncFolder;
    return syncer;
}
} // namespace

bool OpenSaveFile(QSaveFile& f, FileAccess access, FileLinks links)
{
    const QByteArray name = QFile::encodeName(f.fileName());
    struct stat st {};
    if (links == FileLinks::Refuse && ::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)) return false;
    QDir().mkpath(QFileInfo(f.fileName()).absolutePath());
    if (!f.open(QIODevice::WriteOnly)) return false;
    // set before any byte is written, so that a secret is never readable by others, not even for a moment
    if (access == FileAccess::OwnerOnly && !f.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        f.cancelWriting();
        return false;
    }
    return true;
}

bool CommitSaveFile(QSaveFile& f)
{
    // QSaveFile::commit() renames the new copy into place even when flushing its buffer failed, which left
    // an empty file in place of the old one on a full disk; and some file systems report a lost write
    // only at the sync (EINVAL: one that cannot sync at all).
    const bool flushed = f.flush();
    int synced = 0;
    do synced = ::fsync(f.handle());
    while (synced != 0 && errno == EINTR);
    if (!flushed || (synced != 0 && errno != EINVAL)) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes, FileAccess access, FileSync sync, FileLinks links)
{
    if (path.isEmpty()) return false; // the path of a refused name
    QSaveFile f(path);
    if (!OpenSaveFile(f, access, links)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    if (!CommitSaveFile(f)) return false;
    // The file is in place and its bytes are on the disk. A failing folder sync is ignored: the write
    // succeeded, only its survival of a power cut is unsure.
    if (sync == FileSync::Durable) folderSyncer()(QFileInfo(path).absolutePath());
    return true;
}

bool CopyFileBytes(const QString& from, const QString& to, FileAccess access)
{
    QFile in(from);
    if (to.isEmpty() || !QFileInfo(from).isFile() || !in.open(QIODevice::ReadOnly)) return false;
    QSaveFile out(to);
    if (!OpenSaveFile(out, access)) return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return CommitSaveFile(out);
}

bool SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int result = 0;
    do result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    // a file system that cannot sync a folder (EINVAL) keeps nothing more by trying again
    const bool ok = result == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

void SetFolderSyncer(std::function<bool(const QString& folder)> syncer)
{
    folderSyncer() = syncer ? std::move(syncer) : SyncFolder;
}

bool WriteByteLines(const QString& path, const QList<QByteArray>& lines, FileAccess access, FileSync sync,
                    FileLinks links)
{
    QByteArray data;
    for (const QByteArray& l : lines) {
        data += l;
        data += "\r\n";
    }
    return WriteFileBytes(path, data, access, sync, links);
}

bool WriteTextLines(const QString& path, const QStringList& lines, FileAccess access, FileSync sync, FileLinks links)
{
    QList<QByteArray> bytes;
    bytes.reserve(lines.size());
    for (const QString& l : lines) {
        // a "?" in place of a character would be stored as if it had been typed
        const auto encoded = Win1252::encodeStrict(l);
        if (!encoded) return false;
        bytes << *encoded;
    }
    return WriteByteLines(path, bytes, access, sync, links);
}

LineReader::LineReader(const QString& path, qint64 cap) { m_lines = ReadTextLines(path, &m_ok, cap); }

QString LineReader::line(int index) const
{
    return index >= 0 && index < m_lines.size() ? m_lines[index] : QString();
}

QString LineReader::next() { return m_pos < m_lines.size() ? m_lines[m_pos++] : QString(); }

double LineReader::number(int index) const { return Val(line(index)); }
