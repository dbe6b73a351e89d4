#pragma once
// Start-up: single instance, program options, then the main window.
#include <QLockFile>
#include <QString>

class Form1;

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

// The start-up in its order. Returns the shown main window, or nullptr when another copy runs
// (after telling the user so).
Form1* Prelaunch_Form_Load(InstanceLock& lock);
