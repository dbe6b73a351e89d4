#include "recording/Prelaunch.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "recording/RunningRecord.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void SetCurrency(double index)
{
    static const char* symbols[] = {"€", "sFr", "$", "£", "F", "trL", "dkK", "noK", "plZ", "seK", "zaR", "chK"};
    G_Currency = QStringLiteral("€");
    for (int i = 1; i <= 11; ++i)
        if (index == i) G_Currency = QString::fromUtf8(symbols[i]);
}

void LoadOptions()
{
    const QString config = ProgramPath("Config");
    if (FindFileNoCase(config, "Options.cfg").isEmpty()) {
        if (G_Currency.isEmpty()) G_Currency = QStringLiteral("€");
        return;
    }
    const LineReader f(config + "/" + FindFileNoCase(config, "Options.cfg"));
    SetCurrency(f.number(0));
    if (f.number(1) == 1) G_SameProgramsForAll = true;
    if (f.number(2) == 1) G_TrayWhenMinimized = true;
    if (f.number(3) == 1) G_StartMinimized = true;
    // line 5, start with the desktop session, is the options page's business alone
    if (f.number(5) == 1) G_DialerProtection = true;
    if (G_Currency.isEmpty()) G_Currency = QStringLiteral("€");
}

InstanceLock::InstanceLock(const QString& lockFile) : m_lock(lockFile) { m_lock.setStaleLockTime(0); }

InstanceLock::~InstanceLock()
{
    if (m_folderLock >= 0) ::close(m_folderLock);
}

QString InstanceLock::defaultPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QString("/zumbrel-%1.lock").arg(getuid());
}

namespace {
// 1 when the lock is taken, 0 when another holds it, -1 when it cannot be had here.
int lockExclusively(int fd)
{
    int rc = 0;
    do rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? 1 : errno == EWOULDBLOCK ? 0 : -1;
}

void startsWithoutLock(const QString& folder, const char* why)
{
    std::fprintf(stderr, "Zumbrel: %s: ohne Sperre gestartet (%s)\n", qPrintable(folder), why);
}
} // namespace

bool InstanceLock::tryLockFolder(const QString& folder)
{
    if (m_folderLock >= 0) return true;
    const QString found = FindFileNoCase(folder, FOLDER_LOCK_FILE);
    const QByteArray path = QFile::encodeName(folder + '/' + (found.isEmpty() ? FOLDER_LOCK_FILE : found));
    // Never through a link, never waiting on a pipe of that name, and no started program inherits it (it
    // would hold the folder after Zumbrel's end). Open for writing: NFS grants an exclusive flock only on a
    // file open for writing. Another account's lock file (0644) or a read-only mount still lock for reading.
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const auto readOnlyWillDo = [] { return errno == EACCES || errno == EROFS; };
    int fd = ::open(path.constData(), O_RDWR | flags | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) {
        ::fchmod(fd, 0644);
    } else if (errno == EEXIST) {
        fd = ::open(path.constData(), O_RDWR | flags);
        if (fd < 0 && readOnlyWillDo()) fd = ::open(path.constData(), O_RDONLY | flags);
    } else if (readOnlyWillDo()) {
        fd = ::open(path.constData(), O_RDONLY | flags); // a folder we may not write to may hold one
    }
    struct stat info = {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        // Something other than a file by that name (a link, pipe or folder) is never removed or replaced:
        // removing it by name could take away the file a second start has just locked. Every start finds
        // it alike and locks the folder itself instead.
        struct stat odd = {};
        if (::lstat(path.constData(), &odd) != 0) {
            startsWithoutLock(folder, "keine Sperrdatei");
            return true;
        }
        fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            startsWithoutLock(folder, "Ordner nicht lesbar");
            return true;
        }
    }
    const int locked = lockExclusively(fd);
    if (locked == 1) {
        m_folderLock = fd;
        return true;
    }
    ::close(fd);
    if (locked < 0) startsWithoutLock(folder, "keine Sperre möglich");
    return locked < 0;
}

bool Prelaunch_Start(InstanceLock& lock)
{
    // The folder is locked before the first ProgramFolder() copies the installation's files into it.
    if (!lock.tryLock() || !lock.tryLockFolder(CreateProgramFolder())) {
        MsgBox("Zumbrel wurde bereits gestartet.", vbOKOnly + vbInformation, APP_TITLE);
        return false;
    }
    // Only the copy that holds the data folder may take over the running file: another copy's recording may be
    // live. Before the main window, whose budgets and limits walk the records.
    if (lock.holdsFolder()) RecoverRunningRecord();
    // The original registered five outside components here; Qt's own widgets take their place.
    LoadOptions();
    return true;
}
