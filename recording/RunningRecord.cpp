#include "recording/RunningRecord.h"

#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pthread.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>

QString RunningRecordPath() { return ProgramPath(RUNNING_RECORD_FILE); }

namespace {
QString runningBase() { return QFileInfo(RUNNING_RECORD_FILE).fileName(); } // "Recording.run"

// The entry itself, a symbolic link not followed; false when there is none.
bool entryOf(const QString& path, struct stat& st) { return ::lstat(QFile::encodeName(path).constData(), &st) == 0; }

bool isEmptyFile(const QString& path)
{
    struct stat st {};
    return entryOf(path, st) && S_ISREG(st.st_mode) && st.st_size == 0;
}

// The lines of an ordinary file (never one reached through a link) read as a record.
bool readOwnFile(const QString& path, RecordLines& record)
{
    struct stat st {};
    return entryOf(path, st) && S_ISREG(st.st_mode) && ReadRecordFile(path, record);
}

// The record's file name from its lines "S<DD.MM.YYYY>" and the start time; empty when the file holds no
// record of a started recording.
QString recordNameOf(const RecordLines& record)
{
    if (record.count() != 11) return {};
    const QString date = record.line(1);
    if (date.size() != 11 || !date.startsWith('S') || !QDate::fromString(date.mid(1), "dd.MM.yyyy").isValid())
        return {};
    return RecordFileNameOf(date.mid(1, 2) + date.mid(4, 2) + date.mid(7, 4), record.line(2));
}

QString heldRecordName(const QString& path)
{
    RecordLines record;
    return readOwnFile(path, record) ? recordNameOf(record) : QString();
}

// Renamed to the first of names(1), names(2), ... that nothing in its folder holds; an earlier file under
// such a name is kept. The entry itself moves, a link is not followed.
bool moveToFreeName(const QString& path, const std::function<QString(int)>& names)
{
    const QString folder = QFileInfo(path).absolutePath();
    for (int n = 1; n < 1000; ++n) {
        const QString name = names(n);
        if (FindFileNoCase(folder, name).isEmpty())
            return std::rename(QFile::encodeName(path).constData(),
                               QFile::encodeName(folder + "/" + name).constData()) == 0;
    }
    return false;
}

QString runningName(int n) { return runningBase() + "." + QString::number(n); }

// Left for the next start; Recording.run under a free name, out of the next recording's way.
RunningRecovery keep(const QString& path)
{
    if (QFileInfo(path).fileName().compare(runningBase(), Qt::CaseInsensitive) == 0) moveToFreeName(path, runningName);
    return RunningRecovery::Kept;
}

RunningRecovery recover(const QString& path)
{
    QByteArray bytes;
    const QString name = heldRecordName(path);
    if (name.isEmpty() || ReadFileBytes(path, &bytes) != FileRead::Ok) {
        const QString damaged = QFileInfo(path).fileName() + ".damaged";
        return moveToFreeName(path, [&](int n) { return n == 1 ? damaged : damaged + "." + QString::number(n); })
                   ? RunningRecovery::SetAside
                   : RunningRecovery::Kept;
    }
    const QString folder = RecordFolderPath();
    if (!QDir().mkpath(folder)) return keep(path);
    // The name is the connection's identity: the running file becomes that record or nothing.
    const QString found = FindFileNoCase(folder, name);
    if (!found.isEmpty()) {
        RecordLines stored;
        // Only a crash between the stop's save and its removal of the running file leaves both.
        if (readOwnFile(folder + "/" + found, stored) && stored.count() >= 11) {
            QFile::remove(path);
            return RunningRecovery::Dropped;
        }
        // a later write replaces an empty file; a folder, a link or another file keeps its place
        if (!isEmptyFile(folder + "/" + found)) return keep(path);
    }
    if (!WriteFileBytes(folder + "/" + (found.isEmpty() ? name : found), bytes, FileAccess::Default, FileSync::Durable))
        return keep(path);
    QFile::remove(path);
    return RunningRecovery::Stored;
}
} // namespace

bool WriteRunningLines(const QString& path, const StoredRecord& record)
{
    struct stat st {};
    const bool another = entryOf(path, st) && !isEmptyFile(path) && heldRecordName(path) != record.fileName;
    if (another && !moveToFreeName(path, runningName)) return false;
    return WriteTextLines(path, record.lines, FileAccess::Default, FileSync::Durable);
}

void RemoveRunningRecord(const QString& recordName)
{
    const QString path = RunningRecordPath();
    if (!recordName.isEmpty() && heldRecordName(path) == recordName) QFile::remove(path);
}

RunningRecordWriter::~RunningRecordWriter()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void RunningRecordWriter::hand(const QString& path, StoredRecord record)
{
    std::optional<Minute> dropped;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed) return;
        dropped.swap(m_waiting); // freed outside the lock
        m_waiting = Minute{path, std::move(record)};
    }
    m_changed.notify_all();
    if (m_thread.joinable()) return;
    // started at the first minute: the start's recovery of old running files has long run by then
    try {
        m_thread = std::thread([this] { run(); });
    } catch (...) {
        // no thread to be had: this minute is lost as a failed write is, and flush does not wait for it
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.reset();
    }
}

void RunningRecordWriter::flush()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting && !m_writing; });
}

void RunningRecordWriter::close()
{
    flush();
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
}

void RunningRecordWriter::run()
{
    // recognisable in ps and strace
    pthread_setname_np(pthread_self(), "zumbrel-run");
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_waiting || m_ending; });
        if (!m_waiting) return;
        std::optional<Minute> minute;
        minute.swap(m_waiting);
        m_writing = true;
        lock.unlock();
        try {
            WriteRunningLines(minute->path, minute->record);
        } catch (...) {
            // as a failed write: the last good minute stays
        }
        minute.reset();
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}

QList<RunningRecovery> RecoverRunningRecord()
{
    const QString folder = QFileInfo(RunningRecordPath()).absolutePath();
    const QRegularExpression running(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(runningBase()) + "(\\.[0-9]{1,9})?"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                      QDir::NoDotAndDotDot))
        if (running.match(name).hasMatch()) names << name;
    // Recording.run first, then by number
    const auto number = [](const QString& name) { return name.section('.', 2).toLongLong(); };
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return number(a) < number(b); });
    QList<RunningRecovery> done;
    for (const QString& name : names) done << recover(folder + "/" + name);
    return done;
}
