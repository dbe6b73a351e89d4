#pragma once
// The counter page: exists exactly while one connection is recorded. It owns the live recording and
// runs its timers; what the recording asks of the main window goes on to Form1.
#include "recording/CounterEngine.h"
#include "recording/CounterEvents.h"

#include <QTimer>
#include <QWidget>

class Connection : public QWidget, public CounterEvents {
    Q_OBJECT
public:
    // `mainWindow` receives the main window's share of the events.
    Connection(CounterEvents& mainWindow, QWidget* parent = nullptr);
    ~Connection() override;

    CounterEngine& engine() { return m_engine; }
    // True while one of its handlers runs (it may wait and let timers run meanwhile).
    bool busy() const { return m_busy > 0; }

    bool Form_Load(); // false when the start was refused
    void Counter_Stop();
    void cmdStop_Click();
    void GetTimeLimit();
    void Form_Activate();

    // One second-exact timer per billing kind and the two one-shot jobs, following the engine's flags.
    QTimer RSTimer1, RSTimer2, TimerStarter, Timer1;

    // CounterEvents: the main window's share goes on to it.
    void setMainCaption(const QString& text) override;
    void setMainStatus(int item, const QString& text) override;
    void setNavigationItem0(const QString& text) override;
    void setDetectionTimer(bool enabled) override;
    void armCounterStopper() override;
    void startRefused() override;
    void showCountdown() override;
    void showNotice(int kind, const QString& text) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Every engine call goes through here, so the timers follow its flags in one place.
    template <typename F> void run(F&& call);
    void syncTimers();

    CounterEvents& m_main;
    CounterEngine m_engine;
    int m_busy = 0;
    bool m_flags[4] = {false, false, false, false};
};
