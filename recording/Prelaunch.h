#pragma once
// Start-up: single instance and program options; the main window follows (recording/ui/Startup).
#include <QLockFile>
#include <QString>

// Sets G_Currency from the currency list index (anything not 1 to 11 gives "€").
void SetCurrency(double index);
// Reads Config/Options.cfg into the program-wide options.
void LoadOptions();

// The lock file of the data folder; it stays in the folder.
inline const QString FOLDER_LOCK_FILE = QStringLiteral("Zumbrel.lock");

// The running-instance test, held by the first copy for as long as it runs: one copy on this account (a lock
// in the user's runtime folder) and one on its data folder, whoever and wherever started it. The folder's is
// the kernel's lock on its lock file, which ends with its process however that ends: a file left by a crash
// or by another machine holds nothing. Where something other than a file bears the lock file's name, the
// folder itself is locked.
class InstanceLock {
public:
    explicit InstanceLock(const QString& lockFile = defaultPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    bool tryLock() { return m_lock.tryLock(0); }
    // False only when another copy holds the folder. A folder that cannot hold the lock (read-only, full)
    // gives true without it, said on standard error: the program then runs there without holding it.
    bool tryLockFolder(const QString& folder);
    bool holdsFolder() const { return m_folderLock >= 0; }
    static QString defaultPath();

private:
    QLockFile m_lock;
    int m_folderLock = -1;
};

// The start-up before the main window: the recording a crash ended becomes its record, the options are
// read. False when another copy runs on this account or this data folder (after telling the user so;
// nothing is touched then).
bool Prelaunch_Start(InstanceLock& lock);
