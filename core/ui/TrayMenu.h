#pragma once
// The tray icon's pop-up menu: quit, automatic detection, start or stop a recording by hand, dial a
// phone-book entry, hang up. Built afresh from the current state; the chosen command runs at once.
#include <QString>
#include <QStringList>

class QMenu;

// What the menu asks of the windows of the live recording; the main window implements it, so that
// core links no recording code.
class TrayCommands {
public:
    virtual ~TrayCommands() = default;
    virtual bool counterPageOpen() const = 0;   // the counter page "Connection" is loaded
    virtual bool stopButtonEnabled() const = 0; // the counter page's stop button
    virtual void stopRecording() = 0;           // the counter page's cmdStop_Click
    virtual void startConnection() = 0;         // the main window's StartConnection
    virtual void closeMainWindow() = 0;         // the ordinary close, which may refuse or ask
    // The detection switch after it was inverted: the overview page's box when that page is open,
    // else Config/Monitoring.cfg directly.
    virtual void storeMonitoring(bool on) = 0;
    virtual bool isBudgetExceeded() = 0;        // the overview page's answer (page open or not)
};

// Menu item ids.
enum TrayMenuId : int {
    TRAY_HANGUP = 256,
    TRAY_RECORD = 405,
    TRAY_QUIT = 406,
    TRAY_SEPARATOR1 = 407,
    TRAY_MONITORING = 408,
    TRAY_SEPARATOR2 = 409,
    TRAY_ENTRY0 = 512,
};

// Clears `menu` and fills it from the current state; each action carries its id as data, each entry
// item the entry name it shows. Returns the entry names shown.
QStringList BuildTrayMenu(QMenu& menu, const TrayCommands& commands);
// Carries out the chosen id; `entries` are the names the menu showed. 0 does nothing.
void RunTrayCommand(int id, const QStringList& entries, TrayCommands& commands);
// Builds, shows at the cursor and carries out (the original's one routine).
void ShowTrayMenu(TrayCommands& commands);
