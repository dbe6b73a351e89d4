#pragma once
// Start-up: single instance and program options; the main window follows (recording/ui/Startup).
#include <QLockFile>
#include <QString>

// Sets G_Currency from the currency list index (anything not 1 to 11 gives "€").
void SetCurrency(double index);
// Reads Config/Options.cfg into the program-wide options.
void LoadOptions();

// The running-instance test: held by the first copy for as long as it runs.
class InstanceLock {
public:
    explicit InstanceLock(const QString& lockFile = defaultPath());
    bool tryLock() { return m_lock.tryLock(0); }
    static QString defaultPath();
private:
    QLockFile m_lock;
};

// The start-up before the main window: the recording a crash ended becomes its record, the options are
// read. False when another copy runs (after telling the user so; nothing is touched then).
bool Prelaunch_Start(InstanceLock& lock);
