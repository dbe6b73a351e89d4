#pragma once
// Every data and settings file is read and written here: Windows-1252 bytes, CRLF line ends on write,
// CRLF or LF accepted on read, whole-file atomic writes.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QSaveFile;
struct stat;

// One damaged or hostile file must stay cheap to read: a file longer than its reader's cap is damaged and
// never read whole.
inline constexpr qint64 DATA_FILE_CAP = 64 * 1024;            // records, users, budgets, settings
inline constexpr qint64 TARIFF_FILE_CAP = 1024 * 1024;        // tariff files
inline constexpr qint64 DOWNLOAD_FILE_CAP = 16 * 1024 * 1024; // pages fetched from the web

// How a reader found a file.
enum class FileRead {
    Ok,
    Missing,    // nothing of that name (or its folder is missing)
    Unreadable, // it exists but cannot be read: no permission, a folder or other non-file in its place
    TooLarge,   // longer than the cap; not read
};

// Whether a file's own name may be a symbolic link. Readers follow one unless the name lies in a folder
// that other accounts write to; writers refuse one in the data folder, where another account or a
// program's mistake could send a write out of it, and follow one where the user chose the place.
enum class FileLinks { Follow, Refuse };

// Reads an open file, asking for at most cap + 1 bytes, and leaves it open. Files of /proc report the
// size 0, so the size only rules out a file known to be too long; the read goes on to the end.
FileRead ReadOpenFile(int fd, QByteArray* data, qint64 cap);
// Opens the file (a pipe or device in its place is not waited for) and reads it as ReadOpenFile does.
// A refused link reads as Unreadable. *status, when asked for, is that of the file read.
FileRead ReadFileBytes(const QString& path, QByteArray* data, qint64 cap = DATA_FILE_CAP,
                       FileLinks links = FileLinks::Follow, struct stat* status = nullptr);

// The lines of a text file. A final line end does not make an extra empty line. *state tells how the
// file was found; anything but Ok gives no lines.
QStringList ReadTextLines(const QString& path, FileRead* state, qint64 cap = DATA_FILE_CAP);
// The same for lenient readers: false in *ok (and no lines) when the file is missing or cannot be
// read; a file over the cap reads as one without lines, so every such reader takes it as damaged.
QStringList ReadTextLines(const QString& path, bool* ok = nullptr, qint64 cap = DATA_FILE_CAP);

// The same for raw bytes (the line cipher works on bytes).
QList<QByteArray> ReadByteLines(const QString& path, bool* ok = nullptr, qint64 cap = DATA_FILE_CAP);

// Who may read a written file. Files holding passwords under the reversible line cipher are the
// owner's alone, whatever the umask and whatever mode an older copy had.
enum class FileAccess { Default, OwnerOnly };

// Whether a written file must outlive a power cut right after the write. Atomic: the new file replaces the
// old whole, but its name may not be on the disk yet. Durable: its folder is synced after the rename too,
// for the files whose loss costs money or an account (records, users, budgets), not for settings written often.
enum class FileSync { Atomic, Durable };

// Writes the lines, each ended by CRLF, atomically; missing folders are created. False on failure, and
// false without touching the file when a line holds a character outside the code page.
bool WriteTextLines(const QString& path, const QStringList& lines, FileAccess access = FileAccess::Default,
                    FileSync sync = FileSync::Atomic, FileLinks links = FileLinks::Refuse);
bool WriteByteLines(const QString& path, const QList<QByteArray>& lines, FileAccess access = FileAccess::Default,
                    FileSync sync = FileSync::Atomic, FileLinks links = FileLinks::Refuse);
bool WriteFileBytes(const QString& path, const QByteArray& bytes, FileAccess access = FileAccess::Default,
                    FileSync sync = FileSync::Atomic, FileLinks links = FileLinks::Refuse);
// Copies an ordinary file of any length atomically over `to`; false, and `to` as it was, on failure.
bool CopyFileBytes(const QString& from, const QString& to, FileAccess access = FileAccess::Default);

// Every whole-file write goes through these two. OpenSaveFile starts the new copy beside the file, its folder
// created when missing; with FileLinks::Refuse a name that is itself a symbolic link (dangling or not) is
// refused, so no write follows a link out of the data folder; with Follow the copy replaces the link's
// target. CommitSaveFile puts the copy in place only once its bytes are on the disk; on failure (a full disk)
// the old file stays and the copy is gone when `file` is.
bool OpenSaveFile(QSaveFile& file, FileAccess access = FileAccess::Default, FileLinks links = FileLinks::Refuse);
bool CommitSaveFile(QSaveFile& file);

// Puts a folder's entries on the disk, so that a file just renamed into it is still there after a power cut.
// False when the folder cannot be opened or synced.
bool SyncFolder(const QString& folder);
// Tests replace the folder sync to see which writes are durable; an empty function puts the real one back.
// The running record's writer calls it on its own thread: set it before a recording starts and put it back
// only once that recording's engine (and so its writer, which it joins) is gone; the function itself must
// bear being called from that thread and the caller's at once.
void SetFolderSyncer(std::function<bool(const QString& folder)> syncer);

// Lenient line reader: a missing line reads as empty text, a missing file as no lines.
class LineReader {
public:
    explicit LineReader(const QString& path, qint64 cap = DATA_FILE_CAP);
    bool exists() const { return m_ok; }
    int count() const { return int(m_lines.size()); }
    QString line(int index) const; // 0-based; empty past the end
    bool atEnd() const { return m_pos >= m_lines.size(); }
    QString next(); // the next line, or empty text past the end
    double number(int index) const; // Val of the line
private:
    QStringList m_lines;
    qsizetype m_pos = 0;
    bool m_ok = false;
};
