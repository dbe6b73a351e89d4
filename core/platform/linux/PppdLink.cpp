#include "core/platform/linux/PppdLink.h"

#include "core/FileList.h"
#include "core/TextFile.h"
#include "core/platform/linux/LinuxPhoneBook.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sys/stat.h>

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

} // namespace

qint64 PppdPidOf(const QString& runDir, const QString& iface)
{
    if (const qint64 pid = pidOnLine(wholeFile(runDir + "/" + iface + ".pid"), 0)) return pid;
    for (const QString& file : ListFolder(runDir, QStringLiteral("ppp-*.pid"))) {
        const QByteArray text = wholeFile(runDir + "/" + file);
        if (text.split('\n').value(1).trimmed() == iface.toUtf8()) return pidOnLine(text, 0);
    }
    return 0;
}

bool SerialLockHeldBy(const QString& lockDir, qint64 pid, const QString& procDir)
{
    if (pid <= 0) return false;
    struct stat process {};
    if (::stat(QFile::encodeName(procDir + "/" + QString::number(pid)).constData(), &process) != 0) return false;
    // Every account may write to the lock folder: only an ordinary file of pppd's own owner, not a link to
    // one, is pppd's lock, and a pipe, a huge file or a forged lock costs one small read at most.
    const QStringList names = QDir(lockDir).entryList({QStringLiteral("LCK..*")}, QDir::Files);
    for (const QString& name : names) {
        QByteArray text;
        uint owner = 0;
        if (ReadFileBytes(lockDir + "/" + name, &text, LOCK_FILE_CAP, FileLinks::Refuse, &owner) == FileRead::Ok &&
            owner == process.st_uid && pidOnLine(text, 0) == pid)
            return true;
    }
    return false;
}

bool PppdLinkDialled(const PppdFiles& files, qint64 pid)
{
    if (pid <= 0) return true;
    const QList<QByteArray> argv = wholeFile(files.procDir + "/" + QString::number(pid) + "/cmdline").split('\0');
    if (argv.size() < 2) return true; // no such process: a pid file left behind

    // pppd reads its options file first, then its command line, where "call" reads the peer file in place.
    QStringList words = SplitOptionWords(wholeFile(files.options));
    for (qsizetype i = 1; i < argv.size(); ++i) {
        const QString arg = QString::fromUtf8(argv[i]);
        if (arg != QLatin1String("call") || i + 1 >= argv.size()) {
            words << arg;
            continue;
        }
        const QString peer = QString::fromUtf8(argv[++i]);
        if (IsValidEntryName(peer)) words << SplitOptionWords(wholeFile(files.peersDir + "/" + peer));
    }
    bool demand = false, lock = false, serial = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (takesText(w))
            ++i;
        else if (w == QLatin1String("demand"))
            demand = true;
        else if (w == QLatin1String("lock"))
            lock = true;
        else if (w == QLatin1String("nolock"))
            lock = false;
        else if (w.startsWith(QLatin1String("/dev/")) || w.startsWith(QLatin1String("tty")))
            serial = true;
    }
    // pppd locks only a serial line, and only when told to: without that lock nothing tells the two apart.
    return !(demand && lock && serial) || SerialLockHeldBy(files.lockDir, pid, files.procDir);
}
