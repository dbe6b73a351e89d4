#include "core/platform/linux/PppdLink.h"

#include "core/FileList.h"
#include "core/TextFile.h"
#include "core/platform/linux/LinuxPhoneBook.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <optional>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A /proc file reports size 0: only a read to its end sees its bytes.
QByteArray wholeFile(const QString& path)
{
    QByteArray bytes;
    return ReadFileBytes(path, &bytes) == FileRead::Ok ? bytes : QByteArray();
}

// A lock file holds the pid in ten digits and a line end: anything longer is no lock.
constexpr qint64 LOCK_FILE_CAP = 64;

qint64 pidOnLine(const QByteArray& text, int line)
{
    bool ok = false;
    const qint64 pid = text.split('\n').value(line).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

// Options whose value is free text: a login named "lock" is no lock option.
bool takesText(const QString& option)
{
    static const QSet<QString> options{"user",    "name",    "remotename", "password", "connect",  "disconnect",
                                       "init",    "welcome", "pty",        "socket",   "linkname", "ipparam",
                                       "logfile", "record",  "file",       "plugin",   "call"};
    return options.contains(option);
}

// pppd reads the files that `file` and `call` name where they stand, nested to any depth; a file that names
// itself makes pppd fail, and must not hang this.
constexpr int OPTION_FILE_DEPTH = 8;
constexpr int OPTION_FILES = 64;

// The option words of pppd's sources with the files they name read in their place.
class OptionWords {
public:
    explicit OptionWords(const PppdFiles& files) : m_files(files) {}

    QStringList ofFile(const QString& path, int depth = 0)
    {
        QByteArray text;
        if (depth > OPTION_FILE_DEPTH || ++m_read > OPTION_FILES || ReadFileBytes(path, &text) != FileRead::Ok)
            return {};
        return expanded(SplitOptionWords(text), depth);
    }

    QStringList expanded(const QStringList& words, int depth = 0)
    {
        QStringList out;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString& w = words[i];
            if (i + 1 >= words.size() || !takesText(w)) {
                out << w;
                continue;
            }
            const QString& value = words[++i];
            // a relative name is one in the folder pppd started in, unknown once it runs in the background
            if (w == QLatin1String("file")) {
                if (QDir::isAbsolutePath(value)) out << ofFile(value, depth + 1);
            } else if (w == QLatin1String("call")) {
                if (IsValidEntryName(value)) out << ofFile(m_files.peersDir + "/" + value, depth + 1);
            } else {
                out << w << value;
            }
        }
        return out;
    }

private:
    const PppdFiles& m_files;
    int m_read = 0;
};

// The user who started a process (its real uid): pppd reads that user's ~/.ppprc, also when it runs
// setuid root.
std::optional<uint> realUid(const QString& procDir, qint64 pid)
{
    QByteArray status;
    if (ReadFileBytes(procDir + "/" + QString::number(pid) + "/status", &status) != FileRead::Ok) return {};
    for (const QByteArray& line : status.split('\n')) {
        if (!line.startsWith("Uid:")) continue;
        bool ok = false;
        const uint uid = line.mid(4).simplified().split(' ').value(0).toUInt(&ok);
        if (ok) return uid;
    }
    return {};
}

// Words pppd knows as its own options: one of them is that option even where /dev holds a device by its
// name (pppd takes "modem" for its modem control lines, never /dev/modem).
bool isOptionName(const QString& word)
{
    static const QSet<QString> options{"modem",     "local",   "lock", "nolock",       "demand",  "crtscts",
                                       "nocrtscts", "xonxoff", "sync", "persist",      "debug",   "nodetach",
                                       "updetach",  "noauth",  "auth", "defaultroute", "passive", "silent"};
    return options.contains(word);
}

// pppd names a line given without a leading "/" below /dev, and takes any word that is no option of its
// own as its line when it names a character device there (links followed). The line keeps the name pppd
// gives it, whatever folder the fixture's devices lie in. Empty when the word names no line.
QString deviceNamed(const QString& word, const QString& devDir)
{
    if (word.isEmpty()) return {};
    const bool absolute = word.startsWith('/');
    if (word.startsWith(QLatin1String("/dev/"))) return word;
    if (word.startsWith(QLatin1String("tty"))) return QStringLiteral("/dev/") + word;
    if (isOptionName(word)) return {};
    struct stat st {};
    const QString path = absolute ? word : devDir + "/" + word;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode)) return {};
    return absolute ? word : QStringLiteral("/dev/") + word;
}

// The last line named in `words`: pppd takes the last device it is given.
QString lastDevice(const QStringList& words, const QString& devDir)
{
    QString device;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (takesText(words[i])) {
            ++i;
        } else if (const QString named = deviceNamed(words[i], devDir); !named.isEmpty()) {
            device = named;
        }
    }
    return device;
}

// The name pppd gives the options file of a line: "/dev/" dropped, the other slashes made dots.
QString ttyOptionsName(const QString& device)
{
    const qsizetype dev = device.indexOf(QLatin1String("/dev/"));
    QString tty = dev >= 0 ? device.mid(dev + 5) : device;
    tty.replace('/', '.');
    return tty == QLatin1String("tty") ? QString() : tty;
}

// pppd's lock of a line: what follows the first "dev/" of its name with every further "/" made "_"
// ("/dev/serial/by-id/usb-x" is "LCK..serial_by-id_usb-x"), else the name's last part. A link is locked by
// its own name, not by the device it leads to.
QString lockName(const QString& device)
{
    const qsizetype dev = device.indexOf(QLatin1String("dev/"));
    QString name = dev >= 0 ? device.mid(dev + 4) : device.mid(device.lastIndexOf('/') + 1);
    name.replace('/', '_');
    return name.isEmpty() ? QString() : QStringLiteral("LCK..") + name;
}

// With the pid, the start time (field 22 of its stat file) names one process: a pid alone is taken by
// another once pppd ends. Empty when no such process runs.
QByteArray startTime(const QString& procDir, qint64 pid)
{
    const QByteArray stat = wholeFile(procDir + "/" + QString::number(pid) + "/stat");
    // The command name in parentheses may hold blanks: the fields are counted after its end.
    const qsizetype end = stat.lastIndexOf(')');
    return end < 0 ? QByteArray() : stat.mid(end + 2).split(' ').value(19); // [0] is field 3
}

// `settled` is false when a source could not be asked (the password database did not answer): a later look
// reads them again.
std::optional<PppdOptions> readOptions(const PppdFiles& files, qint64 pid, bool* settled)
{
    *settled = true;
    const QList<QByteArray> argv = wholeFile(files.procDir + "/" + QString::number(pid) + "/cmdline").split('\0');
    if (argv.size() < 2) return {}; // no such process: a pid file left behind

    // pppd reads /etc/ppp/options, the ~/.ppprc of its user, then its command line, where `file` and
    // `call` read their files in place. Its line's options file comes last, but a lock or nolock from the
    // command line outranks it: it counts as read before the command line.
    OptionWords reader(files);
    QStringList words = reader.ofFile(files.options);
    if (const std::optional<uint> uid = realUid(files.procDir, pid); uid && files.homeOf) {
        const std::optional<QString> home = files.homeOf(*uid);
        *settled = home.has_value();
        if (home && !home->isEmpty()) words << reader.ofFile(*home + "/.ppprc");
    }
    QStringList args;
    for (qsizetype i = 1; i < argv.size(); ++i)
        if (i + 1 < argv.size() || !argv[i].isEmpty()) args << QString::fromUtf8(argv[i]); // each ends in a NUL
    const QStringList commandLine = reader.expanded(args);
    PppdOptions options;
    // pppd refuses a line named in the line's own file
    options.device = lastDevice(words + commandLine, files.devDir);
    const QString tty = ttyOptionsName(options.device);
    if (!tty.isEmpty()) words << reader.ofFile(files.options + "." + tty);
    words << commandLine;

    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (takesText(w)) {
            const QString value = words.value(++i);
            if (w == QLatin1String("plugin") && value.contains(QLatin1String("pppoe"))) options.pppoe = true;
            if (w == QLatin1String("connect")) options.connect = value;
        } else if (w == QLatin1String("demand")) {
            options.demand = true;
        } else if (w == QLatin1String("lock")) {
            options.lock = true;
        } else if (w == QLatin1String("nolock")) {
            options.lock = false;
        }
    }
    return options;
}

} // namespace

std::optional<QString> UserHome(uint uid)
{
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0) return std::nullopt;
    return found && found->pw_dir ? QFile::decodeName(found->pw_dir) : QString();
}

qint64 PppdPidOf(const QString& runDir, const QString& iface)
{
    if (const qint64 pid = pidOnLine(wholeFile(runDir + "/" + iface + ".pid"), 0)) return pid;
    for (const QString& file : ListFolder(runDir, QStringLiteral("ppp-*.pid"))) {
        const QByteArray text = wholeFile(runDir + "/" + file);
        if (text.split('\n').value(1).trimmed() == iface.toUtf8()) return pidOnLine(text, 0);
    }
    return 0;
}

std::optional<PppdOptions> PppdOptionCache::of(const PppdFiles& files, qint64 pid)
{
    if (pid <= 0) return {};
    // Taken before the options: a process that took the pid meanwhile is read again at the next look.
    const QByteArray start = startTime(files.procDir, pid);
    bool settled = false;
    if (start.isEmpty()) return readOptions(files, pid, &settled);
    if (const auto found = m_read.constFind(pid); found != m_read.cend() && found->start == start)
        return found->options;
    const std::optional<PppdOptions> options = readOptions(files, pid, &settled);
    for (auto i = m_read.begin(); i != m_read.end();)
        i = startTime(files.procDir, i.key()) == i->start ? std::next(i) : m_read.erase(i);
    if (options && settled) m_read.insert(pid, {start, *options});
    return options;
}

bool SerialLockHeldBy(const QString& lockDir, const QString& device, qint64 pid, const QString& procDir)
{
    const QString name = lockName(device);
    if (pid <= 0 || name.isEmpty()) return false;
    struct stat process {};
    if (::stat(QFile::encodeName(procDir + "/" + QString::number(pid)).constData(), &process) != 0) return false;
    // Every account may write to the lock folder: only an ordinary file of pppd's own owner, not a link to
    // one nor a second name of one, is pppd's lock, and a pipe, a huge file or a forged lock costs one small
    // read at most.
    QByteArray text;
    struct stat lock {};
    return ReadFileBytes(lockDir + "/" + name, &text, LOCK_FILE_CAP, FileLinks::Refuse, &lock) == FileRead::Ok &&
           lock.st_uid == process.st_uid && lock.st_nlink == 1 && pidOnLine(text, 0) == pid;
}

bool PppdLinkDialled(const PppdFiles& files, qint64 pid, PppdOptionCache& options)
{
    const std::optional<PppdOptions> o = options.of(files, pid);
    // pppd locks only a serial line, and only when told to: without that lock nothing tells the two apart.
    if (!o || !o->demand || !o->lock || o->device.isEmpty()) return true;
    return SerialLockHeldBy(files.lockDir, o->device, pid, files.procDir);
}

bool PppdLineLocked(const PppdFiles& files, qint64 pid, PppdOptionCache& options)
{
    const std::optional<PppdOptions> o = options.of(files, pid);
    return o && SerialLockHeldBy(files.lockDir, o->device, pid, files.procDir);
}
