#include "core/RecordFiles.h"

#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/Win1252.h"

#include <QFile>
#include <QVarLengthArray>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

// Every reader of every record goes through here, and five years of use are some 20,000 files, so this
// file talks to the system directly: one directory read for the names, one open and read per record,
// and the line cipher undone on the bytes.

QString RecordLines::line(int number) const
{
    return number >= 1 && number <= lines.size() ? lines[number - 1] : QString();
}

void RecordLines::clear()
{
    stored.clear();
    lines.clear();
}

QString RecordFolderPath() { return ProgramPath(RECORD_FOLDER); }

QString DecryptStoredLine(const QByteArray& stored)
{
    if (stored.isEmpty()) return {};
    const qsizetype n = stored.size();
    for (char ch : stored) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 100 || b > 199) return DecryptString(Win1252::decode(stored)); // damaged: the cipher's own way
    }
    static const int key = CipherKeyValue(PROGRAM_KEY);
    // Each byte stands for two digits, the last one for one or two; every three digits are one character.
    QVarLengthArray<char, 512> digits;
    for (qsizetype i = 0; i < n; ++i) {
        const int v = static_cast<unsigned char>(stored[i]) - 100;
        if (i < n - 1 || v >= 10) digits.append(char(v / 10));
        digits.append(char(v % 10));
    }
    QVarLengthArray<QChar, 256> chars;
    for (qsizetype i = 0; i < digits.size(); i += 3) {
        const qsizetype rest = digits.size() - i;
        // a final pair lost the zero between its digits when it was written
        const int group = rest >= 3   ? digits[i] * 100 + digits[i + 1] * 10 + digits[i + 2]
                          : rest == 2 ? digits[i] * 100 + digits[i + 1]
                                      : digits[i];
        const int c = group - key;
        if (c < 0 || c > 255) return {};
        chars.append(Win1252::charFromByte(static_cast<unsigned char>(c)));
    }
    // InterleaveJoin: the first half holds the characters of the even positions.
    const qsizetype half = chars.size() / 2;
    QString out(chars.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (qsizetype i = half; i < chars.size(); ++i) {
        *o++ = chars[i];
        if (i - half < half) *o++ = chars[i - half];
    }
    return out;
}

namespace {
// Splits a record file's bytes into its lines and deciphers them.
void splitRecord(const QByteArray& data, RecordLines& record, int maxLines)
{
    // CRLF or LF; a final line end makes no extra line.
    qsizetype start = 0;
    while (start < data.size() && record.stored.size() < maxLines) {
        qsizetype end = data.indexOf('\n', start);
        const qsizetype next = end < 0 ? data.size() : end + 1;
        if (end < 0) end = data.size();
        if (end > start && data[end - 1] == '\r') --end;
        record.stored << data.mid(start, end - start);
        start = next;
    }
    record.lines.reserve(record.stored.size());
    for (const QByteArray& raw : std::as_const(record.stored)) record.lines << DecryptStoredLine(raw);
}
} // namespace

bool ReadRecordFile(const QString& path, RecordLines& record, int maxLines)
{
    // A record is a few hundred bytes; a file over the cap is damaged and is not read whole.
    record.clear();
    QByteArray data;
    if (ReadFileBytes(path, &data, DATA_FILE_CAP) != FileRead::Ok) return false;
    splitRecord(data, record, maxLines);
    return true;
}

bool ReadRecord(const QString& fileName, RecordLines& record, int maxLines)
{
    if (!IsSafeName(fileName)) {
        record.clear();
        return false;
    }
    return ReadRecordFile(RecordFolderPath() + "/" + fileName, record, maxLines);
}

QStringList ListRecordFiles()
{
    const QString folder = RecordFolderPath();
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = ::opendir(encoded.constData());
    if (!dir) return {};
    struct Entry {
        QString folded; // the order key: names compared without regard to case, ties by code
        QString name;
    };
    std::vector<Entry> entries;
    while (const dirent* e = ::readdir(dir)) {
        const qsizetype len = qsizetype(strlen(e->d_name));
        if (len < 4) continue;
        const char* ext = e->d_name + len - 4;
        if (ext[0] != '.' || (ext[1] | 0x20) != 'c' || (ext[2] | 0x20) != 'o' || (ext[3] | 0x20) != 'n') continue;
        if (e->d_type != DT_REG) {
            // links and file systems that do not tell the type: only what leads to a file counts
            struct stat st {};
            if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) continue;
            if (::stat((encoded + '/' + e->d_name).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        }
        const QString name = QFile::decodeName(e->d_name);
        entries.push_back({name.toCaseFolded(), name});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
    });
    QStringList names;
    names.reserve(qsizetype(entries.size()));
    for (Entry& e : entries) names << std::move(e.name);
    return names;
}

namespace {
// Closes the record folder and stops the readers however the walk ends.
struct WalkState {
    int dirFd = -1;
    std::mutex mutex;
    std::condition_variable readable; // readers wait for room ahead of the visitor
    std::condition_variable arrived;  // the visitor waits for its next block
    std::vector<std::vector<std::optional<std::any>>> blocks; // a block's records, once read and prepared
    std::vector<bool> ready;
    size_t claimed = 0;  // blocks handed to a reader
    size_t consumed = 0; // blocks visited and released
    bool stop = false;
    std::vector<std::thread> readers;

    ~WalkState()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        readable.notify_all();
        for (std::thread& t : readers) t.join();
        if (dirFd >= 0) ::close(dirFd);
    }
};

std::optional<RecordLines> readAt(int dirFd, const QString& name)
{
    const int fd = ::openat(dirFd, QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt; // removed in the meantime
    QByteArray data;
    const FileRead state = ReadOpenFile(fd, &data, DATA_FILE_CAP);
    ::close(fd);
    if (state != FileRead::Ok) return std::nullopt;
    RecordLines record;
    splitRecord(data, record, RECORD_MAX_LINES);
    return record;
}
} // namespace

void WalkRecords(const RecordSelector& select, const RecordVisitor& visit)
{
    // the record itself is what the visitor gets
    WalkRecords(
        select, [](const QString&, const RecordLines& record) { return std::any(record); },
        [&visit](const QString& name, std::any& record) { visit(name, std::any_cast<const RecordLines&>(record)); });
}

void WalkRecords(const RecordSelector& select, const RecordPreparer& prepare, const PreparedVisitor& visit)
{
    // a record that cannot be read is passed over
    const auto readAndPrepare = [&prepare](int dirFd, const QString& name) -> std::optional<std::any> {
        const std::optional<RecordLines> record = readAt(dirFd, name);
        if (!record) return std::nullopt;
        return prepare(name, *record);
    };
    QStringList chosen;
    for (QString& name : ListRecordFiles())
        if (!select || select(name)) chosen << std::move(name);
    if (chosen.isEmpty()) return;
    const QStringList& names = chosen; // shared read-only with the readers
    WalkState state;
    // The folder is opened once and each record relative to it, so no record's path is looked up again.
    state.dirFd = ::open(QFile::encodeName(RecordFolderPath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.dirFd < 0) return;

    // Opening a file costs more than everything done with a record, so a few readers open records ahead
    // of the visitor, which still sees them one by one in listing order, on the caller's thread. They stay
    // a bounded number of blocks ahead, so memory does not grow with the number of records.
    constexpr qsizetype blockSize = 128;
    const size_t blockCount = size_t((names.size() + blockSize - 1) / blockSize);
    const size_t readerCount = std::min<size_t>({std::max(1u, std::thread::hardware_concurrency()), 8, blockCount});
    const size_t window = readerCount + 2;
    state.blocks.resize(blockCount);
    state.ready.resize(blockCount);
    const auto reader = [&state, &names, &readAndPrepare, blockCount, window] {
        for (;;) {
            size_t b;
            {
                std::unique_lock<std::mutex> lock(state.mutex);
                state.readable.wait(lock, [&] {
                    return state.stop || state.claimed >= blockCount || state.claimed < state.consumed + window;
                });
                if (state.stop || state.claimed >= blockCount) return;
                b = state.claimed++;
            }
            std::vector<std::optional<std::any>> block;
            const qsizetype first = qsizetype(b) * blockSize;
            const qsizetype last = std::min(first + blockSize, names.size());
            block.reserve(size_t(last - first));
            for (qsizetype i = first; i < last; ++i) block.push_back(readAndPrepare(state.dirFd, names[i]));
            {
                std::lock_guard<std::mutex> lock(state.mutex);
                state.blocks[b] = std::move(block);
                state.ready[b] = true;
            }
            state.arrived.notify_one();
        }
    };
    for (size_t r = 0; r < readerCount && readerCount > 1; ++r) {
        try {
            state.readers.emplace_back(reader);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the readers started so far do the work
        }
    }
    if (state.readers.empty()) {
        for (const QString& name : names)
            if (auto prepared = readAndPrepare(state.dirFd, name)) visit(name, *prepared);
        return;
    }
    for (size_t b = 0; b < blockCount; ++b) {
        std::vector<std::optional<std::any>> block;
        {
            std::unique_lock<std::mutex> lock(state.mutex);
            state.arrived.wait(lock, [&] { return bool(state.ready[b]); });
            block = std::move(state.blocks[b]);
        }
        const qsizetype first = qsizetype(b) * blockSize;
        for (size_t i = 0; i < block.size(); ++i)
            if (block[i]) visit(names[first + qsizetype(i)], *block[i]);
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            state.consumed = b + 1;
        }
        state.readable.notify_one();
    }
}

namespace {
// The number of a date field, as a 16-bit whole number; false when it does not fit.
bool dateField(const QString& text, int& value)
{
    const double v = std::nearbyint(Val(text));
    if (v < -32768 || v > 32767) return false;
    value = int(v);
    return true;
}
} // namespace

QDate GetDateFromFileName(const QString& fileName)
{
    const QDate fallback(2000, 1, 1);
    const qsizetype dash = fileName.indexOf('-');
    if (dash < 0) return fallback;
    const QString s = fileName.left(dash);
    int day, month, year;
    if (!dateField(s.mid(0, 2), day) || !dateField(s.mid(2, 2), month) || !dateField(s.mid(4), year)) return fallback;
    if (year < 0) return fallback;
    const QDate date = RollOverDate(year, month, day);
    return date.isValid() ? date : fallback;
}

QDate RollOverDate(qint64 year, qint64 month, qint64 day)
{
    year = WindowedYear(year);
    // Months, then days, roll over into the neighbouring months and years.
    const qint64 months = year * 12 + (month - 1);
    const qint64 y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    if (y < 100 || y > 9999) return {};
    const QDate date = QDate(int(y), int(months - y * 12 + 1), 1).addDays(day - 1);
    return date.isValid() && date.year() >= 100 && date.year() <= 9999 ? date : QDate();
}
