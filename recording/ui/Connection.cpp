#include "recording/ui/Connection.h"

#include "core/Globals.h"
#include "core/InternetFunctions.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/ShutOut.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/SmallWindow.h"
#include "tariffs/ui/Autoupdate.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

namespace {
// A job that finds the web waited for (a synchronisation by hand, the tariff browser's check, the update
// window's download) comes after it: beside it, every download of the job would fail.
constexpr int JOB_RETRY_MS = 1000;

void showText(QLabel* label, const QString& text)
{
    // a field the recording has not filled yet leaves the design caption
    if (!text.isEmpty() && label->text() != text) label->setText(text);
}

void showBox(QCheckBox* box, int value)
{
    const QSignalBlocker blocker(box);
    box->setChecked(value != 0);
}
} // namespace

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
    connect(&Timer1, &QTimer::timeout, this, &Connection::runJob);
    buildControls();
    RegisterForm(this);
}

// The floating window repeats this recording's figures: it goes with the page.
Connection::~Connection() { UnloadSmallWindow(); }

void Connection::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    wndConnection = new QFrame(this);
    wndConnection->setObjectName("wndConnection");
    outer->addWidget(wndConnection);
    auto* page = new QGridLayout(wndConnection);
    page->setContentsMargins(8, 8, 8, 8);
    page->setHorizontalSpacing(10);
    page->setVerticalSpacing(6);

    auto caption = [this](int index, const char* text, QWidget* parent) {
        Label3[index] = new QLabel(QString::fromUtf8(text), parent);
        Label3[index]->setObjectName(QString("Label3_%1").arg(index));
        return Label3[index];
    };
    // names (entry, device, user, tariff) may be longer than the page has room for: they end in "…"
    auto value = [](const char* name, const char* text, QWidget* parent, bool isName = false) {
        QLabel* label =
            isName ? new ElidedLabel(QString::fromUtf8(text), parent) : new QLabel(QString::fromUtf8(text), parent);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    auto group = [](const char* title, QWidget* parent) {
        auto* box = new QGroupBox(QString::fromUtf8(title), parent);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(6, 4, 6, 4);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(2);
        grid->setColumnStretch(1, 1);
        return std::make_pair(box, grid);
    };

    auto [line, lineGrid] = group("Verbindung", wndConnection);
    const char* lineCaptions[7] = {"Verbindung:", "Gerät:", "Benutzer:", "Tarif:", "Startzeit:", "Takt:", "Preis:"};
    lblConnectionName = value("lblConnectionName", "unbekannt", line, true);
    lblConnectionSpeed = value("lblConnectionSpeed", "unbekannt", line, true);
    lblBenutzer = value("lblBenutzer", "", line, true);
    lblTarifname = value("lblTarifname", "", line, true);
    lblStartzeit = value("lblStartzeit", "", line);
    lblEinheit = value("lblEinheit", "", line);
    lblEuroProMinute = value("lblEuroProMinute", "", line);
    QLabel* lineValues[7] = {lblConnectionName, lblConnectionSpeed, lblBenutzer,     lblTarifname,
                             lblStartzeit,      lblEinheit,         lblEuroProMinute};
    for (int i = 0; i < 7; ++i) {
        lineGrid->addWidget(caption(i, lineCaptions[i], line), i, 0);
        lineGrid->addWidget(lineValues[i], i, 1);
    }
    page->addWidget(line, 0, 0, 2, 1);

    auto [cost, costGrid] = group("Kosten", wndConnection);
    lblDauer = value("lblDauer", "00:00:00", cost);
    lblKosten = value("lblKosten", "", cost);
    for (QLabel* big : {lblDauer, lblKosten}) {
        QFont font = big->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        big->setFont(font);
    }
    lblEinheiten = value("lblEinheiten", "", cost);
    lblRestFrei = value("lblRestFrei", "", cost);
    costGrid->addWidget(caption(7, "Dauer:", cost), 0, 0);
    costGrid->addWidget(lblDauer, 0, 1);
    costGrid->addWidget(caption(8, "Kosten:", cost), 1, 0);
    costGrid->addWidget(lblKosten, 1, 1);
    costGrid->addWidget(caption(9, "Einheit:", cost), 2, 0);
    costGrid->addWidget(lblEinheiten, 2, 1);
    costGrid->addWidget(caption(26, "Restfreizeit:", cost), 3, 0);
    costGrid->addWidget(lblRestFrei, 3, 1);
    page->addWidget(cost, 0, 1);

    auto [budget, budgetGrid] = group("Restbudget", wndConnection);
    lblRestTag = value("lblRestTag", "nicht festgelegt", budget);
    lblRestMonat = value("lblRestMonat", "nicht festgelegt", budget);
    lblRestDefiniert = value("lblRestDefiniert", "nicht festgelegt", budget);
    const char* budgetCaptions[3] = {"Heute:", "Monat:", "Zeitraum:"};
    QLabel* budgetValues[3] = {lblRestTag, lblRestMonat, lblRestDefiniert};
    for (int i = 0; i < 3; ++i) {
        budgetGrid->addWidget(caption(10 + i, budgetCaptions[i], budget), i, 0);
        budgetGrid->addWidget(budgetValues[i], i, 1);
    }
    page->addWidget(budget, 1, 1);

    auto [bytes, bytesGrid] = group("Datentransfer", wndConnection);
    const char* byteCaptions[3] = {"Empfangen:", "Gesendet:", "Gesamt:"};
    lblBytesIn = value("lblBytesIn", "unbekannt", bytes);
    lblBytesOut = value("lblBytesOut", "unbekannt", bytes);
    lblBytesInOut = value("lblBytesInOut", "unbekannt", bytes);
    lblBytesInPerSecond = value("lblBytesInPerSecond", "0.0", bytes);
    lblBytesOutPerSecond = value("lblBytesOutPerSecond", "0.0", bytes);
    lblBytesInOutPerSecond = value("lblBytesInOutPerSecond", "0.0", bytes);
    QLabel* counts[3] = {lblBytesIn, lblBytesOut, lblBytesInOut};
    QLabel* rates[3] = {lblBytesInPerSecond, lblBytesOutPerSecond, lblBytesInOutPerSecond};
    for (int i = 0; i < 3; ++i) {
        bytesGrid->addWidget(caption(13 + i, byteCaptions[i], bytes), i, 0);
        counts[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bytesGrid->addWidget(counts[i], i, 1);
        rates[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rates[i]->setMinimumWidth(40);
        bytesGrid->addWidget(rates[i], i, 2);
        bytesGrid->addWidget(caption(16 + i, "KB/s", bytes), i, 3);
    }
    page->addWidget(bytes, 2, 0, 1, 2);

    auto [options, optionsGrid] = group("Optionen", wndConnection);
    Check1 = new QCheckBox(QStringLiteral("Uhrzeit synchronisieren"), options);
    Check2 = new QCheckBox(QStringLiteral("Überwachung"), options);
    Check3 = new QCheckBox(QStringLiteral("Kleines Fenster anzeigen"), options);
    chkKanalbuendelung = new QCheckBox(QStringLiteral("Kanalbündelung"), options);
    Check1->setObjectName("Check1");
    Check2->setObjectName("Check2");
    Check3->setObjectName("Check3");
    chkKanalbuendelung->setObjectName("chkKanalbuendelung");
    optionsGrid->addWidget(Check1, 0, 0);
    optionsGrid->addWidget(Check2, 0, 1);
    optionsGrid->addWidget(Check3, 1, 0);
    optionsGrid->addWidget(chkKanalbuendelung, 1, 1);
    Label1 = value("Label1", "Uhrzeit jetzt synchronisieren", options);
    SetLinkLook(Label1, true);
    lblTimeSync = value("lblTimeSync", "", options);
    optionsGrid->addWidget(Label1, 2, 0);
    optionsGrid->addWidget(lblTimeSync, 2, 1);
    page->addWidget(options, 3, 0, 1, 2);

    lblProgrammupdates = value("lblProgrammupdates", "", wndConnection);
    lblTarifupdates = value("lblTarifupdates", "", wndConnection);
    cmdStop = new QPushButton(QStringLiteral("Aufzeichnung stoppen"), wndConnection);
    cmdStop->setObjectName("cmdStop");
    // the two notices one above the other: side by side they would run into each other and the button
    auto* notices = new QVBoxLayout;
    notices->setSpacing(2);
    notices->addWidget(lblProgrammupdates);
    notices->addWidget(lblTarifupdates);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(notices);
    bottom->addStretch(1);
    bottom->addWidget(cmdStop);
    page->addLayout(bottom, 4, 0, 1, 2);
    page->setRowStretch(5, 1);
    page->setColumnStretch(0, 1);
    page->setColumnStretch(1, 1);

    // Boxes run their handlers on every change of value, as a click would; the page's own fills are blocked.
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { run([&] { m_engine.setCheck1(on ? 1 : 0); }); });
    connect(Check2, &QCheckBox::toggled, this, [this](bool on) { run([&] { m_engine.setCheck2(on ? 1 : 0); }); });
    connect(Check3, &QCheckBox::toggled, this, [this](bool on) { run([&] { m_engine.setCheck3(on ? 1 : 0); }); });
    connect(chkKanalbuendelung, &QCheckBox::toggled, this,
            [this](bool on) { run([&] { m_engine.setChannelBundling(on ? 1 : 0); }); });
    connect(cmdStop, &QPushButton::clicked, this, &Connection::cmdStop_Click);
    for (QLabel* link : {Label1, lblProgrammupdates, lblTarifupdates}) link->installEventFilter(this);
    ShutOutDuring(Label1, Wait::Web);
}

bool Connection::eventFilter(QObject* watched, QEvent* event)
{
    // a disabled label still shows its clicks to its filter
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->isEnabled()) {
        if (watched == Label1 && HasLinkLook(Label1)) Label1_Click();
        else if (watched == lblProgrammupdates && HasLinkLook(lblProgrammupdates)) lblProgrammupdates_Click();
        else if (watched == lblTarifupdates && HasLinkLook(lblTarifupdates)) lblTarifupdates_Click();
    }
    return QWidget::eventFilter(watched, event);
}

template <typename F> void Connection::run(F&& call)
{
    QPointer<Connection> self(this);
    ++m_busy;
    call();
    if (!self) return;
    --m_busy;
    syncTimers();
    showFields();
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

void Connection::showFields()
{
    const CounterEngine& e = m_engine;
    const std::pair<QLabel*, const QString*> fields[] = {
        {lblConnectionName, &e.lblConnectionName},
        {lblConnectionSpeed, &e.lblConnectionSpeed},
        {lblBenutzer, &e.lblBenutzer},
        {lblTarifname, &e.lblTarifname},
        {lblStartzeit, &e.lblStartzeit},
        {lblEinheit, &e.lblEinheit},
        {lblEuroProMinute, &e.lblEuroProMinute},
        {lblDauer, &e.lblDauer},
        {lblKosten, &e.lblKosten},
        {lblEinheiten, &e.lblEinheiten},
        {lblRestFrei, &e.lblRestFrei},
        {Label3[26], &e.lblFreeCaption},
        {lblBytesIn, &e.lblBytesIn},
        {lblBytesOut, &e.lblBytesOut},
        {lblBytesInOut, &e.lblBytesInOut},
        {lblBytesInPerSecond, &e.lblBytesInPerSecond},
        {lblBytesOutPerSecond, &e.lblBytesOutPerSecond},
        {lblBytesInOutPerSecond, &e.lblBytesInOutPerSecond},
        {lblTimeSync, &e.lblTimeSync},
    };
    for (const auto& [label, text] : fields) showText(label, *text);
    const std::tuple<QLabel*, const QString*, bool> notices[] = {
        {lblTarifupdates, &e.lblTarifupdates, e.lblTarifupdatesLink},
        {lblProgrammupdates, &e.lblProgrammupdates, e.lblProgrammupdatesLink},
    };
    for (const auto& [label, text, link] : notices) {
        if (text->isEmpty()) continue;
        showText(label, *text);
        if (HasLinkLook(label) != link) SetLinkLook(label, link);
    }
    const RecordingBudgets::Label* budgets[3] = {&e.budgets.lblRestTag, &e.budgets.lblRestMonat,
                                                 &e.budgets.lblRestDefiniert};
    QLabel* budgetLabels[3] = {lblRestTag, lblRestMonat, lblRestDefiniert};
    for (int i = 0; i < 3; ++i) {
        showText(budgetLabels[i], budgets[i]->text);
        if (budgetLabels[i]->palette().color(QPalette::WindowText) != VbColor(budgets[i]->colour))
            SetLabelColor(budgetLabels[i], budgets[i]->colour);
    }
    showBox(Check1, e.Check1);
    showBox(Check2, e.Check2);
    showBox(Check3, e.Check3);
    showBox(chkKanalbuendelung, e.chkKanalbuendelung);
    Check2->setEnabled(e.Check2Enabled);
    cmdStop->setEnabled(e.cmdStopEnabled);
    showSmallWindowFields();
}

void Connection::showSmallWindowFields()
{
    SmallWindow* small = SmallWindowInstance();
    if (!small) return;
    for (int i = 0; i < 4; ++i) showText(small->Label2[i], m_engine.smallWindow[i]);
}

bool Connection::Form_Load()
{
    SetFlatBorder(wndConnection, true);
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
    if (!m_engine.cmdStopEnabled || !G_Recording || m_stopping) return;
    QPointer<Connection> self(this);
    m_stopping = true;
    run([this] { m_engine.cmdStop_Click(); });
    if (self) m_stopping = false;
}

void Connection::GetTimeLimit() { run([this] { m_engine.GetTimeLimit(); }); }

void Connection::Form_Activate() { run([this] { m_engine.Form_Activate(); }); }

void Connection::GetBudget() { run([this] { m_engine.budgets.GetBudget(); }); }

// Waits for the time service with the timers running; the link is greyed while the web is waited for.
void Connection::Label1_Click()
{
    if (WaitRunning(Wait::Web)) return;
    run([this] { m_engine.Label1_Click(); });
}

void Connection::runJob()
{
    if (WaitRunning(Wait::Web)) {
        Timer1.start(JOB_RETRY_MS);
        return;
    }
    run([this] { m_engine.Timer1_Timer(); });
}

void Connection::lblProgrammupdates_Click() { QDesktopServices::openUrl(QUrl(MAKER_SITE_HOST + PROGRAM_UPDATES_PAGE)); }

// Shown beside the page, which goes on counting.
void Connection::lblTarifupdates_Click()
{
    Autoupdate* window = Autoupdate::instance();
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

void Connection::showProgramUpdate() { run([this] { m_engine.ProgramUpdateFound(); }); }

void Connection::showTarifUpdateDone(bool complete) { run([&] { m_engine.TarifUpdateDone(complete); }); }

// The one update window is created hidden and checked; a window busy with another check or a download
// is left to it, and nothing counts as found.
int Connection::checkForUpdates()
{
    QPointer<Autoupdate> window = Autoupdate::load();
    if (!window->CheckForUpdates() || !window) return 0;
    return window->List2->count();
}

void Connection::releaseUpdateWindow()
{
    Autoupdate* window = Autoupdate::instance();
    if (window && !window->busy()) window->close();
}

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

void Connection::showSmallWindow(bool show)
{
    if (!show) {
        UnloadSmallWindow();
        return;
    }
    ShowSmallWindow();
    showSmallWindowFields();
}

void Connection::setMainCaption(const QString& text) { m_main.setMainCaption(text); }
void Connection::setMainStatus(int item, const QString& text) { m_main.setMainStatus(item, text); }
void Connection::setNavigationItem0(const QString& text) { m_main.setNavigationItem0(text); }
void Connection::setDetectionTimer(bool enabled) { m_main.setDetectionTimer(enabled); }
void Connection::armCounterStopper() { m_main.armCounterStopper(); }
void Connection::startRefused() { m_main.startRefused(); }
void Connection::showCountdown() { m_main.showCountdown(); }
void Connection::showNotice(int kind, const QString& text) { m_main.showNotice(kind, text); }
void Connection::playSound(const QString& path) { PlaySoundFile(path); }
