#pragma once
// Automatic detection: the main window's tick that polls the detection methods and starts a recording,
// the dialer protection, and the tear-down of the counter page after a stop. The main window
// implements DetectionHost; tests fake it.
#include <QString>

class DetectionHost {
public:
    virtual ~DetectionHost() = default;
    virtual void setStatusTime(const QString& text) = 0; // status item 0
    virtual void hourChanged() = 0; // the overview page re-prices its tariff, when it is open
    // Creates the counter page, maximised and hidden, and runs its load; false when it refused and
    // unloaded itself.
    virtual bool loadCounterPage() = 0;
    // The counter page takes the overview page's place when that is open; else it stays hidden.
    virtual void placeCounterPage() = 0;
    // The tear-down's steps.
    virtual void setCounterStopper(bool enabled) = 0;
    virtual bool counterPageBusy() = 0; // a handler of the counter page waits: it must not go now
    virtual void unloadSmallWindow() = 0;
    virtual void unloadCounterPage() = 0;
    virtual void setDetectionTimer(bool enabled) = 0;
    virtual bool anyChildFormLoaded() = 0;
    virtual void showOverview() = 0;
};

class DetectionLoop {
public:
    explicit DetectionLoop(DetectionHost& host) : m_host(host) {}

    int lastHour = 0; // the hour of the last tick

    // One tick. A tick that arrives while one is running (from a message box or a wait inside it)
    // returns at once.
    void OnlineCheck_Timer();
    // Starts a recording unless dialer protection refuses it; callers set G_DetectSource first.
    void StartConnection();
    void CounterStopper_Timer();

private:
    DetectionHost& m_host;
    bool m_inTick = false;
};

// Config/Monitoring.cfg into G_MonitoringOn: a missing file means on, anything but 1 off.
void LoadMonitoringConfig();

// Dialer protection: true when the last phone-book connection is not allowed by DialUp/Deny.sec; it
// has then been hung up.
bool IsDeniedConnection();

// Switches off the methods whose facility this machine lacks, with the original's messages.
void CheckMonitoringLibraries();

inline const QString WININET_MISSING_MESSAGE = QStringLiteral(
    "Bitte deaktivieren Sie die Internet Explorer Überwachung in den Überwachungseinstellungen. Ein überwachen "
    "des Internet Explorers ist nicht möglich, da die Datei 'wininet.dll' nicht im Windows System Verzeichnis "
    "gefunden wurde. Diese wird bei der Internet Explorer Installation dort angelegt.");
inline const QString WSOCK_MISSING_MESSAGE = QStringLiteral(
    "Bitte deaktivieren Sie die IP Überwachung in den Überwachungseinstellungen. Ein überwachen der IP Zuordnung "
    "ist nicht möglich, da die Datei 'wsock32.dll' nicht im Windows System Verzeichnis gefunden wurde. Diese wird "
    "von vielen Anwendungen benötigt und wird bei der Windows Installation normalerweise angelegt.");
