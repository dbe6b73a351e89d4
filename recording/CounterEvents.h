#pragma once
// What the live recording asks of the windows around it. The counter page and the main window
// implement it; tests record the calls.
#include <QString>

class CounterEvents {
public:
    virtual ~CounterEvents() = default;
    // main window
    virtual void setMainCaption(const QString&) {}
    virtual void setMainStatus(int /*item*/, const QString&) {}
    virtual void setNavigationItem0(const QString&) {}
    virtual void setDetectionTimer(bool /*enabled*/) {}
    virtual void armCounterStopper() {} // tears the counter page down after a stop
    // a refused start: show the overview page maximised, clear its monitoring box, unload the counter
    virtual void startRefused() {}
    // side windows
    virtual void showCountdown() {} // the 120-second countdown that hangs up
    virtual void showNotice(int /*kind*/, const QString& /*text*/) {} // the 30-second budget notice
    virtual void showSmallWindow(bool /*show*/) {}
    virtual void playSound(const QString& /*path*/) {}
    // deferred jobs: the update check gives the number of tariffs found
    virtual int checkForUpdates() { return 0; }
    virtual void releaseUpdateWindow() {}
};
