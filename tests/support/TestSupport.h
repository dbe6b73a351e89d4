#pragma once
// Shared helpers of the test suites: a temporary program folder, a fake clock, scripted dialogs.
#include "core/Clock.h"
#include "core/Dialogs.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <utility>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '{' << l.join("|").toStdString() << '}'; }

// A clock that stands still until told to move. Time that passes moves the wall time and the monotonic
// clock together; setting the wall time, as the clock synchronisation does, leaves the monotonic clock.
class FakeClock : public Clock {
public:
    explicit FakeClock(const QDateTime& start = QDateTime(QDate(2001, 1, 17), QTime(12, 0, 0))) : m_now(start) {}
    QDateTime now() const override { return m_now; }
    qint64 elapsedMs() const override { return m_elapsedMs; }
    void set(const QDateTime& t) { m_now = t; }
    void advance(int seconds) { advanceMs(qint64(seconds) * 1000); }
    void advanceMs(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_elapsedMs += ms;
    }
private:
    QDateTime m_now;
    qint64 m_elapsedMs = 0;
};

// Answers message and input boxes from queues and records every box shown.
class ScriptedDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override;
    QString inputBox(const InputRequest& request) override;
    QStringList openFiles(const OpenFileRequest& request) override; // Cancel when nothing is queued
    QString saveFile(const SaveFileRequest& request) override;      // Cancel when nothing is queued

    void answerMessage(int answer) { m_messageAnswers.push_back(answer); }
    void answerInput(const QString& text) { m_inputAnswers.push_back(text); }
    void answerFiles(const QStringList& paths) { m_fileAnswers.push_back(paths); }
    void answerSaveFile(const QString& path) { m_saveAnswers.push_back(path); }

    QList<MessageRequest> messages;
    QList<InputRequest> inputs;
    QList<OpenFileRequest> fileRequests;
    QList<SaveFileRequest> saveRequests;
    QStringList texts() const; // the texts of the message boxes shown, in order
private:
    std::deque<int> m_messageAnswers;
    std::deque<QString> m_inputAnswers;
    std::deque<QStringList> m_fileAnswers;
    std::deque<QString> m_saveAnswers;
};

// A disk that stalls: while held, every folder sync waits, on whichever thread it runs, until released.
class FolderSyncHold {
public:
    // Releases the hold when it goes, at the latest: a test that fails while the disk holds leaves no write
    // waiting, so the join of its writer in the tear-down returns instead of hanging.
    class [[nodiscard]] Held {
    public:
        Held() = default;
        explicit Held(FolderSyncHold& hold) : m_hold(&hold) {}
        Held(Held&& other) noexcept : m_hold(std::exchange(other.m_hold, nullptr)) {}
        Held& operator=(Held&& other) noexcept
        {
            std::swap(m_hold, other.m_hold);
            return *this;
        }
        ~Held()
        {
            if (m_hold) m_hold->release();
        }

    private:
        FolderSyncHold* m_hold = nullptr;
    };
    Held hold();
    void release(); // from any thread
    // True once a sync waits (false after 10 s).
    bool waitUntilHeld();
    void pass(); // the folder syncer's side

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    int m_waiting = 0;
};

// Base fixture: a fresh program folder, a fake clock, scripted dialogs, reset globals and the German
// decimal comma; everything is put back afterwards.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& relative) const; // below the program folder
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;
    bool exists(const QString& relative) const;
    void writeCipher(const QString& relative, const QStringList& plain) const; // each line enciphered
    QStringList deciphered(const QString& relative) const;

    QTemporaryDir dir;
    FakeClock clock;
    ScriptedDialogs dialogs;
    QStringList syncedFolders; // the folders that durable writes synced, relative to the program folder
    FolderSyncHold syncHold;   // the syncs of those writes wait while it is held
    std::mutex syncedMutex;    // the running record's writer syncs on a thread of its own
};

// The bytes this process has read so far (rchar of /proc/self/io); -1 where the kernel does not count them.
qint64 BytesReadSoFar();

// Bytes from a hex text ("99 c3 7b").
QByteArray FromHex(const char* hex);

// One file of the hostile corpus tests/data/corpus/<reader>/.
struct CorpusFile {
    QString name;
    QByteArray bytes;
};
// Every file of a corpus folder in name order, less those named in `knownFaults`; fails the calling test
// when the folder holds none, so a corpus that went missing cannot pass unnoticed.
QList<CorpusFile> CorpusFiles(const QString& reader, const QStringList& knownFaults = {});
