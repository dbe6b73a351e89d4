#pragma once
// The waits during which the windows go on serving clicks, and what each shuts out. While a dial or a wait
// for the web runs, no second one of its kind can run beside it: the controls that would start one are
// disabled for that time (core/ui/ShutOut), so a click is refused where it is seen, never answered as if it
// had been tried. A tick never waits for a person: its own boxes with only OK wait until it has returned,
// while a click served inside its wait is answered at once.
#include <QObject>

enum class Wait {
    // A dial, from its start until its progress window closes. Shuts out the overview's dial button and
    // the tray menu's entries.
    Dial,
    // A download, an update check, the download of the tariffs found. Shuts out ">>> jetzt prüfen",
    // "Jetzt herunterladen" and "Uhrzeit jetzt synchronisieren"; the counter page's 30-second job waits
    // until it has ended.
    Web,
    // A timer's tick: the detection, the billing, the deferred jobs, a countdown's end. Its own boxes with
    // only OK wait until it has returned (core/Dialogs).
    Tick,
};

// Marks a wait as running for the object's life.
class WaitUnderWay {
public:
    explicit WaitUnderWay(Wait kind);
    ~WaitUnderWay();
    WaitUnderWay(const WaitUnderWay&) = delete;
    WaitUnderWay& operator=(const WaitUnderWay&) = delete;

private:
    Wait m_kind;
};

bool WaitRunning(Wait kind);

// The level of the event loop that runs now; a wait's clicks are served one level above its code.
int CurrentLoopLevel();
// A tick's own code runs at `level`: not a click served in a loop that a tick waits in.
bool TickCodeRunsAt(int level);
// A tick runs at `level` or one below it: a box raised at `level` would be shown inside that tick's wait.
bool TickRunsAtOrBelow(int level);

// Says when the first wait of a kind begins and when the last one ends.
class WaitNotifier : public QObject {
    Q_OBJECT
signals:
    void changed(Wait kind, bool running);
};
WaitNotifier& Waits();
