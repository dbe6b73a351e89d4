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

bool InstanceLock::tryLockFolder(const QString& folder)
{
    if (m_folderLock >= 0) return true;
    const QString found = FindFileNoCase(folder, FOLDER_LOCK_FILE);
    const QByteArray path = QFile::encodeName(folder + '/' + (found.isEmpty() ? FOLDER_LOCK_FILE : found));
    // Never through a link, never waiting on a pipe of that name, and no started program inherits it (it
    // would hold the folder after Zumbrel's end). flock needs no write access: every account that shares the
    // folder may read the file and so lock it.
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.constData(), flags | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) ::fchmod(fd, 0644);
    else if (errno == EEXIST) fd = ::open(path.constData(), flags);
    struct stat info = {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) return true;
    int rc = 0;
    do rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        m_folderLock = fd;
        return true;
    }
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return !busy;
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
