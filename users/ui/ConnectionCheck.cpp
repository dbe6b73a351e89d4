#include "users/ui/ConnectionCheck.h"

#include "core/Detection.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/VB.h"
#include "core/platform/ConnectedState.h"
#include "core/platform/HostAddresses.h"
#include "core/platform/LineMonitor.h"
#include "core/ui/FlatControl.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"

#include "users/MonitoringFiles.h"
#include <QStackedWidget>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString DEFAULT_IGNORED_IPS = QStringLiteral("192.168.*.*, 10.*.*.*");
} // namespace

QWidget* CreateConnectionCheckPage(Form1& mainWindow)
{
    auto* page = new ConnectionCheck(mainWindow, mainWindow.pages);
    page->Form_Load();
    return page;
}

ConnectionCheck::ConnectionCheck(Form1& mainWindow, QWidget* parent) : QWidget(parent), m_main(mainWindow)
{
    setObjectName("ConnectionCheck");
    setWindowTitle("Überwachungsmethoden");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void ConnectionCheck::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndUeberwachung = new QFrame(this);
    wndUeberwachung->setObjectName("wndÜberwachung");
    outer->addWidget(wndUeberwachung);
    // the page's texts are long for the main window's fixed frame: a size smaller, as the original's
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.82);
    wndUeberwachung->setFont(small);

    auto label = [this](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), wndUeberwachung);
        WrapLabel(l);
        return l;
    };
    auto check = [this](const char* text, int index) {
        auto* c = new QCheckBox(QString::fromUtf8(text), wndUeberwachung);
        c->setObjectName(QString("Check1_%1").arg(index));
        Check1[index] = c;
        return c;
    };

    auto* box = new QVBoxLayout(wndUeberwachung);
    box->setContentsMargins(6, 6, 6, 6);
    box->setSpacing(2);
    box->addWidget(label("Zumbrel kann Internet Verbindungen auf folgende 3 Arten automatisch erkennen und den "
                         "Zählvorgang starten. Sie können alle 3 gleichzeitig aktivieren, aber um die Resourcen Ihres "
                         "Computers zu schonen, sollte(n) nur die nötige(n) aktiviert sein."));
    box->addSpacing(4);
    box->addWidget(check("IP Methode (erkennt Verbindungen, die per Modem (incl. DSL) aufgebaut werden)", 0));
    box->addWidget(label("Beim Zustandekommen einer Internetverbindung wird Ihrem Computer automatisch vom Anbieter "
                         "eine IP Nummer zugewiesen, sozusagen die Empfängeradresse Ihres Computers. Bei dieser "
                         "Methode beginnt der Zählvorgang sobald eine IP Nummer zugewiesen wurde."));
    auto* ignoredCaption = new QHBoxLayout;
    for (const char* text : {"Zu ignorierende IPs (z.B. im LAN zugewiesene IPs):", "Änderung erfordert Zumbrel-Neustart!"}) {
        auto* label = new QLabel(QString::fromUtf8(text), wndUeberwachung);
        KeepRoomForUmlauts(label);
        ignoredCaption->addWidget(label, ignoredCaption->count() == 0 ? 1 : 0);
    }
    box->addLayout(ignoredCaption);
    auto* ignored = new QHBoxLayout;
    IgnoredIPs = new QLineEdit(DEFAULT_IGNORED_IPS, wndUeberwachung);
    IgnoredIPs->setObjectName("IgnoredIPs");
    Command1 = new QPushButton("Hinweise...", wndUeberwachung);
    ignored->addWidget(IgnoredIPs, 1);
    ignored->addWidget(Command1);
    box->addLayout(ignored);
    box->addSpacing(4);
    auto* wininet = new QHBoxLayout;
    wininet->addWidget(check("Internet Explorer Methode (Modem/DSL)", 1));
    wininet->addWidget(check("LAN und Proxy Verbindungen erkennen.", 3));
    wininet->addStretch(1);
    box->addLayout(wininet);
    Check1[1]->setChecked(true);
    box->addWidget(label("Nutzt die Verbindungserkennung des Internet Explorers. Dazu muß dieser natürlich auf dem "
                         "System installiert sein. Die LAN/Proxy Variante erkennt manche LAN und Proxy Internet "
                         "Verbindungen, sollte allerdings nicht auf Computern mit direkter Internetverbindung "
                         "eingesetzt werden. ES IST IMMER NUR EINE VON BEIDEN METHODEN ZU AKTIVIEREN!"));
    box->addSpacing(4);
    box->addWidget(check("TAPI Methode (erkennt Verbindungen, die per Modem (incl. DSL) aufgebaut werden)", 2));
    box->addWidget(label("Nutzt die Windows TAPI Schnittstelle zur Verbindungserkennung. Das DFÜ-Netzwerk sowie "
                         "spezielle Terminal/Fax Software macht von dieser Schnittstelle gebrauch."));
    box->addSpacing(4);
    auto* interval = new QHBoxLayout;
    comInterval = new QComboBox(wndUeberwachung);
    comInterval->setObjectName("comInterval");
    for (int i = 1; i <= 10; ++i)
        comInterval->addItem(QString::number(i));
    comInterval->setCurrentIndex(-1);
    interval->addWidget(new QLabel("Alle", wndUeberwachung));
    interval->addWidget(comInterval);
    interval->addWidget(new QLabel("Sekunden überprüfen ob eine Internetverbindung gestartet wurde.", wndUeberwachung),
                        1);
    box->addLayout(interval);
    box->addWidget(label("WICHTIG: Zumbrel muss vor Verbindungsaufbau gestartet werden."));
    box->addStretch(1);

    // Setting a value from code runs its handler as a user's click does.
    for (int i = 0; i < 4; ++i)
        connect(Check1[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    connect(comInterval, &QComboBox::currentIndexChanged, this, [this] { comInterval_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    OnLostFocus(IgnoredIPs, [this] { IgnoredIPs_LostFocus(); });
}

void ConnectionCheck::Form_Load()
{
    m_loading = true;
    (new cFlatControl(this))->Attach(comInterval);
    (new cFlatControl(this))->Attach(IgnoredIPs);
    SetFlatBorder(wndUeberwachung, true);
    LoadConCheck();
    m_loading = false;
    if (comInterval->currentIndex() < 0) comInterval->setCurrentIndex(1);
}

void ConnectionCheck::LoadConCheck()
{
    if (const std::optional<ConCheckValues> v = ReadConCheckValues()) {
        Check1[0]->setChecked(v->ip == 1);
        Check1[1]->setChecked(v->wininet == 1);
        Check1[3]->setChecked(v->lan == 1);
        Check1[2]->setChecked(v->tapi == 1);
        comInterval->setCurrentIndex(v->intervalIndex);
    }
    if (const std::optional<QString> line = ReadIgnoredIPsLine()) IgnoredIPs->setText(*line);
}

void ConnectionCheck::Check1_Click(int index)
{
    if (m_loading || m_ended) return;
    SaveConCheck();
    if (index != 2 || m_ended) return;
    if (Check1[2]->isChecked())
        InitTapiMonitoring();
    else
        ShutdownTapiMonitoring();
}

void ConnectionCheck::comInterval_Click()
{
    if (!m_loading && !m_ended) SaveConCheck();
}

void ConnectionCheck::applySwitches()
{
    G_WatchIP = Check1[0]->isChecked();
    G_WatchWininet = Check1[1]->isChecked();
    G_WatchLan = Check1[3]->isChecked();
    G_WatchTapi = Check1[2]->isChecked();
    if (comInterval->currentText().isEmpty()) return;
    G_CheckIntervalSec = int(Val(comInterval->currentText()));
    m_main.OnlineCheck.setInterval(G_CheckIntervalSec * 1000);
}

void ConnectionCheck::SaveConCheck()
{
    if (!CheckMonitoringPrerequisites()) return;
    applySwitches();
    auto value = [this](int index) { return Check1[index]->isChecked() ? 1 : 0; };
    if (WriteConCheckValues({value(0), value(1), value(3), value(2)}, comInterval->currentText())) return;
    // the boxes and the running detection go back to what the next start reads
    MsgBox(QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE), vbOKOnly + vbExclamation);
    m_loading = true;
    LoadConCheck();
    m_loading = false;
    applySwitches();
}

bool ConnectionCheck::CheckMonitoringPrerequisites()
{
    if (Check1[1]->isChecked() || Check1[3]->isChecked()) {
        if (!TheConnectedState().isAvailable()) {
            Check1[1]->setChecked(false);
            if (m_ended) return false;
            Check1[3]->setChecked(false);
            if (m_ended) return false;
            MsgBox(WININET_CANNOT_ACTIVATE, vbOKOnly + vbExclamation);
        }
        // the probe: a state that cannot be asked at all resets the monitoring
        if (!TheConnectedState().isAvailable()) {
            resetMonitoring();
            return false;
        }
    }
    if (Check1[0]->isChecked() && !TheHostAddresses().isAvailable()) {
        Check1[0]->setChecked(false);
        if (m_ended) return false;
        MsgBox(WSOCK_CANNOT_ACTIVATE, vbOKOnly + vbExclamation);
    }
    if (Check1[2]->isChecked() && !TheLineMonitor().isAvailable()) {
        Check1[2]->setChecked(false);
        if (m_ended) return false;
        MsgBox(TAPI_CANNOT_ACTIVATE, vbOKOnly + vbExclamation);
    }
    return !m_ended;
}

// All methods off and 2 seconds for the next start, then the program ends. A running recording is stored
// first, and the end asks nothing and cannot be refused.
void ConnectionCheck::resetMonitoring()
{
    m_ended = true;
    WriteConCheckReset();
    MsgBox(MONITORING_RESET_MESSAGE, vbOKOnly + vbExclamation);
    m_main.commitData();
    EndProgram();
}

void ConnectionCheck::IgnoredIPs_LostFocus()
{
    if (m_ended || WriteIgnoredIPsLine(IgnoredIPs->text())) return;
    MsgBox(QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE), vbOKOnly + vbExclamation);
    IgnoredIPs->setText(ReadIgnoredIPsLine().value_or(DEFAULT_IGNORED_IPS));
}

void ConnectionCheck::Command1_Click()
{
    MsgBox(
        QStringLiteral("Sie können das * Symbol verwenden, um nur einen bestimmten Teil der IP zu definieren. Die IP "
                       "muss dann nur diesen Teil erfüllen um ignoriert zu werden. Bitte beachten Sie dabei dennoch "
                       "alle 3 Punkte anzugeben, also nich \"192.168.*\" sondern \"192.168.*.*\". Trennen Sie "
                       "mehrere IPs durch das Komma Zeichen."),
        vbOKOnly + vbInformation);
}
