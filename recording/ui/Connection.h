#pragma once
// The counter page: exists exactly while one connection is recorded. It owns the live recording and
// runs its timers; what the recording asks of the main window goes on to Form1. Its controls show the
// recording's fields after every call into it.
#include "recording/CounterEngine.h"
#include "recording/CounterEvents.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

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
    // The budgets were saved while the page is open: reload them and redraw the remainders.
    void GetBudget();
    void Label1_Click();            // synchronise the clock now
    void lblProgrammupdates_Click(); // the maker's update page
    void lblTarifupdates_Click();    // shows the update window with the tariffs found
    // What the update window reports to the page.
    void showProgramUpdate();
    void showTarifUpdateDone(bool complete);

    // One second-exact timer per billing kind and the two one-shot jobs, following the engine's flags.
    QTimer RSTimer1, RSTimer2, TimerStarter, Timer1;

    // Controls
    QFrame* wndConnection = nullptr;
    QLabel* Label3[27] = {}; // design captions; item 26 is that of the free allowance
    QLabel *lblConnectionName = nullptr, *lblConnectionSpeed = nullptr, *lblBenutzer = nullptr,
           *lblTarifname = nullptr, *lblStartzeit = nullptr, *lblEinheit = nullptr, *lblEuroProMinute = nullptr;
    QLabel *lblDauer = nullptr, *lblKosten = nullptr, *lblEinheiten = nullptr, *lblRestFrei = nullptr;
    QLabel *lblBytesIn = nullptr, *lblBytesOut = nullptr, *lblBytesInOut = nullptr, *lblBytesInPerSecond = nullptr,
           *lblBytesOutPerSecond = nullptr, *lblBytesInOutPerSecond = nullptr;
    QLabel *lblRestTag = nullptr, *lblRestMonat = nullptr, *lblRestDefiniert = nullptr;
    QLabel *lblTimeSync = nullptr, *Label1 = nullptr, *lblProgrammupdates = nullptr, *lblTarifupdates = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *chkKanalbuendelung = nullptr;
    QPushButton* cmdStop = nullptr;

    // CounterEvents: the floating window is the page's own; the main window's share goes on to it.
    void showSmallWindow(bool show) override;
    void setMainCaption(const QString& text) override;
    void setMainStatus(int item, const QString& text) override;
    void setNavigationItem0(const QString& text) override;
    void setDetectionTimer(bool enabled) override;
    void armCounterStopper() override;
    void startRefused() override;
    void showCountdown() override;
    void showNotice(int kind, const QString& text) override;
    void playSound(const QString& path) override;
    int checkForUpdates() override;
    void releaseUpdateWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every engine call goes through here, so the timers and the controls follow it in one place.
    template <typename F> void run(F&& call);
    void syncTimers();
    void showFields();
    void showSmallWindowFields();
    void buildControls();
    void runJob(); // Timer1

    CounterEvents& m_main;
    CounterEngine m_engine;
    int m_busy = 0;
    bool m_stopping = false; // the stop question is open
    bool m_flags[4] = {false, false, false, false};
};
