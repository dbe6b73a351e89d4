#pragma once
// The record of the recording that runs, stored about once a minute as Config/Recording.run, so that a crash,
// a kill or a power cut loses at most the last minute of a connection. The file holds the record's own bytes;
// the record's name comes from its start date and time (lines 1 and 2). The record walks read Verbindungen
// only, so the running file is never counted beside its record.
#include "recording/ConnectionRecord.h"

#include <QList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

inline const QString RUNNING_RECORD_FILE = QStringLiteral("Config/Recording.run");

// Where Recording.run lies; read from the program folder, so only on the thread that owns the program's state.
QString RunningRecordPath();
// Stores a record formed from what the display would give if the recording stopped now, at a path already
// resolved. A running file of another recording (one the start could not store, or one a failed stop left) is
// the only copy of that connection: it is first moved to the first free "Recording.run.<n>", and nothing is
// written when it cannot be. False when nothing was stored; nothing is said, the next minute tries again. Reads
// no program-wide state and shows nothing, so it may run on any thread.
bool WriteRunningLines(const QString& path, const StoredRecord& record);
// After a stop has stored the record, or when the recording is dropped: removes the running file only while
// it holds the record of that name. Another recording's file (one a failed stop left) stays for the next start.
void RemoveRunningRecord(const QString& recordName);

// The minute's write runs on a thread of its own: a disk that holds a write for seconds (fsync behind a large
// copy) must not hold the billing tick and every window with it. Only the newest minute matters, so a minute
// still waiting when the next comes is dropped. A failure is silent and leaves the last good minute; the next
// minute tries again. One thread (the recording's) hands, flushes and closes; the destructor writes what is
// waiting and joins, so no write outlives the recording's owner (nor the folder lock behind it).
class RunningRecordWriter {
public:
    RunningRecordWriter() = default;
    ~RunningRecordWriter();
    RunningRecordWriter(const RunningRecordWriter&) = delete;
    RunningRecordWriter& operator=(const RunningRecordWriter&) = delete;

    // Never waits for a write: the lock is held only to take the minute over.
    void hand(const QString& path, StoredRecord record);
    // Waits, without an event loop, until every minute handed over is on the disk or has failed.
    void flush();
    // As flush, and no minute is taken after it.
    void close();

private:
    struct Minute {
        QString path;
        StoredRecord record;
    };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Minute> m_waiting;
    bool m_writing = false, m_ending = false, m_closed = false;
    std::thread m_thread;
};

enum class RunningRecovery {
    Stored,   // it became its record in Verbindungen (in place of an empty file of that name)
    Dropped,  // a whole record of that name exists already: the stop had stored it, the running file was left over
    SetAside, // damaged: renamed to "<its name>.damaged" (or .damaged.<n>, the first free name)
    Kept,     // it cannot be stored now (a folder not writable; something else than a record or an empty file
              // holds the record's name): left in Config, Recording.run under the first free "Recording.run.<n>"
};
// At the start, before anything reads the records: each running file that a crash or a failed stop left,
// Recording.run and every Recording.run.<n>, becomes its record. Gives what became of each, in the order
// handled (none: no running file). Never stops the start.
QList<RunningRecovery> RecoverRunningRecord();
