#include "recording/ui/Connection.h"

#include "core/Globals.h"
#include "core/ui/WindowUtils.h"

#include <QPointer>

Connection::Connection(CounterEvents& mainWindow, QWidget* parent)
    : QWidget(parent), m_main(mainWindow), m_engine(*this)
{
    setObjectName("Connection");
    setAttribute(Qt::WA_DeleteOnClose);
    for (QTimer* t : {&RSTimer1, &RSTimer2}) {
        t->setInterval(1000);
        t->setTimerType(Qt::PreciseTimer);
    }
    TimerStarter.setSingleShot(true);
    TimerStarter.setInterval(0);
    Timer1.setSingleShot(true);
    Timer1.setInterval(30000);
    connect(&RSTimer1, &QTimer::timeout, this, [this] { run([this] { m_engine.RSTimer1_Timer(); }); });
    connect(&RSTimer2, &QTimer::timeout, this, [this] { run([this] { m_engine.RSTimer2_Timer(); }); });
    connect(&TimerStarter, &QTimer::timeout, this, [this] { run([this] { m_engine.TimerStarter_Timer(); }); });
    connect(&Timer1, &QTimer::timeout, this, [this] { run([this] { m_engine.Timer1_Timer(); }); });
    RegisterForm(this);
}

Connection::~Connection() = default;

template <typename F> void Connection::run(F&& call)
{
    QPointer<Connection> self(this);
    ++m_busy;
    call();
    if (!self) return;
    --m_busy;
    syncTimers();
}

// A timer starts only when its flag turns on: restarted on every tick, the 30-second job would never
// come, and a billing timer would drift by the tick's own length.
void Connection::syncTimers()
{
    const bool flags[4] = {m_engine.RSTimer1, m_engine.RSTimer2, m_engine.TimerStarter, m_engine.Timer1};
    QTimer* timers[4] = {&RSTimer1, &RSTimer2, &TimerStarter, &Timer1};
    for (int i = 0; i < 4; ++i) {
        if (flags[i] && !m_flags[i]) timers[i]->start();
        else if (!flags[i] && m_flags[i]) timers[i]->stop();
        m_flags[i] = flags[i];
    }
}

bool Connection::Form_Load()
{
    bool started = false;
    run([&] { started = m_engine.Form_Load(); });
    return started;
}

void Connection::Counter_Stop()
{
    // a recording already stopped (while a question was open) is not stored twice
    if (!G_Recording) return;
    run([this] { m_engine.Counter_Stop(); });
}

void Connection::cmdStop_Click()
{
    if (!m_engine.cmdStopEnabled || !G_Recording) return;
    run([this] { m_engine.cmdStop_Click(); });
}

void Connection::GetTimeLimit() { run([this] { m_engine.GetTimeLimit(); }); }

void Connection::Form_Activate() { run([this] { m_engine.Form_Activate(); }); }

void Connection::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_engine.visible = true;
    Form_Activate();
}

void Connection::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_engine.visible = false;
}

void Connection::setMainCaption(const QString& text) { m_main.setMainCaption(text); }
void Connection::setMainStatus(int item, const QString& text) { m_main.setMainStatus(item, text); }
void Connection::setNavigationItem0(const QString& text) { m_main.setNavigationItem0(text); }
void Connection::setDetectionTimer(bool enabled) { m_main.setDetectionTimer(enabled); }
void Connection::armCounterStopper() { m_main.armCounterStopper(); }
void Connection::startRefused() { m_main.startRefused(); }
void Connection::showCountdown() { m_main.showCountdown(); }
void Connection::showNotice(int kind, const QString& text) { m_main.showNotice(kind, text); }
