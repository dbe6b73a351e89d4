#include "recording/ui/Form1.h"

#include "analysis/ui/Chart.h"
#include "analysis/ui/Printing.h"
#include "analysis/ui/Report.h"
#include "core/Clock.h"
#include "core/Detection.h"
#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/LostFocus.h"
#include "core/ProgramIcon.h"
#include "core/ui/WindowUtils.h"
#include "recording/CounterSettings.h"
#include "recording/MainWindowFiles.h"
#include "recording/OverviewValues.h"
#include "recording/RunningRecord.h"
#include "recording/UserRights.h"
#include "recording/ui/Connection.h"
#include "records/PrintWindow.h"
#include "records/ExportCharts.h"
#include "records/ui/List.h"
#include "recording/ui/Overview.h"
#include "recording/ui/SideWindows.h"
#include "recording/ui/SmallWindow.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarife.h"
#include "users/ui/Budget.h"
#include "users/ui/ConnectionCheck.h"
#include "users/ui/DialUp.h"
#include "users/ui/Login.h"
#include "users/ui/Options.h"
#include "users/ui/User.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

namespace {
// The navigation items: caption, the window its page is, and the group that holds it.
struct NavigationItem {
    const char* caption;
    const char* window;
    int group;
};
const NavigationItem NAVIGATION[10] = {
    {"Übersicht", "Overview", 0},      {"Verbindungsliste", "List", 0},    {"Tarife", "Tarife", 0},
    {"DFÜ", "DialUp", 1},              {"Budget", "Budget", 1},            {"Benutzer", "User", 1},
    {"Überwachung", "ConnectionCheck", 1}, {"Sonstiges", "Options", 1},  {"Monatsdiagramm", "Chart", 2},
    {"Analyse", "Report", 2},
};
const char* const GROUP_NAMES[3] = {"Verbindungen", "Einstellungen", "Auswertung"};
// Group button -> group it shows. Each group carries the buttons of the groups above it and its own
// at its top, those below it at its bottom.
const int GROUP_OF_BUTTON[9] = {0, 1, 2, 2, 1, 0, 0, 1, 2};
const int GROUP_HOLDING_BUTTON[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};

// The pages HideWindows unloads, in its order.
const char* const CHILD_PAGES[10] = {"Budget", "Options", "Overview", "Tarife", "User",
                                     "List",   "DialUp",  "Chart",    "Report", "ConnectionCheck"};

// The page loads before it is shown, so that its user choice asks no password meanwhile.
QWidget* createOverview(Form1& form)
{
    QPointer<Overview> page = new Overview(form, form.pages);
    page->Form_Load();
    return page.data();
}

QHash<QString, Form1::PageFactory>& pageTable()
{
    static QHash<QString, Form1::PageFactory> table{{QStringLiteral("Overview"), createOverview},
                                                    {QStringLiteral("Tarife"), CreateTarifePage},
                                                    {QStringLiteral("Budget"), CreateBudgetPage},
                                                    {QStringLiteral("User"), CreateUserPage},
                                                    {QStringLiteral("DialUp"), CreateDialUpPage},
                                                    {QStringLiteral("ConnectionCheck"), CreateConnectionCheckPage},
                                                    {QStringLiteral("Options"), CreateOptionsPage},
                                                    {QStringLiteral("List"), CreateListPage},
                                                    {QStringLiteral("Chart"), CreateChartPage},
                                                    {QStringLiteral("Report"), CreateReportPage}};
    return table;
}

QString windowOfCaption(const QString& caption)
{
    for (const NavigationItem& item : NAVIGATION)
        if (caption == QString::fromUtf8(item.caption)) return QString::fromUtf8(item.window);
    return {};
}

const QStyle::StandardPixmap ITEM_ICONS[10] = {
    QStyle::SP_ComputerIcon,       QStyle::SP_FileDialogDetailedView, QStyle::SP_FileDialogContentsView,
    QStyle::SP_DriveNetIcon,       QStyle::SP_DialogSaveButton,       QStyle::SP_DirHomeIcon,
    QStyle::SP_FileDialogInfoView, QStyle::SP_FileDialogListView,     QStyle::SP_FileDialogStart,
    QStyle::SP_FileDialogNewFolder,
};

// Every item of the bar has an icon of one size; a theme icon that comes only smaller is scaled up.
QPixmap navigationIcon(const QIcon& icon)
{
    const QSize size(32, 32);
    const QPixmap pixmap = icon.pixmap(size);
    if (pixmap.deviceIndependentSize().toSize() == size) return pixmap;
    QPixmap square(size);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize scaled = pixmap.deviceIndependentSize().toSize().scaled(size, Qt::KeepAspectRatio);
    painter.drawPixmap(
        QRect(QPoint((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2), scaled), pixmap);
    return square;
}
} // namespace

Form1* Form1::s_instance = nullptr;

Form1* Form1::instance()
{
    if (!s_instance) s_instance = new Form1;
    return s_instance;
}

bool Form1::exists() { return s_instance != nullptr; }

Form1::PageFactory Form1::RegisterPage(const QString& objectName, PageFactory factory)
{
    PageFactory replaced = pageTable().take(objectName);
    // an empty factory is no page: one left in the table would be called and throw
    if (factory) pageTable().insert(objectName, std::move(factory));
    return replaced;
}

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    // Not deleted on close: the program's run deletes it once its main loop has ended, so that a close
    // from inside a message box or a wait frees nothing that the waiting handler still uses.
    setObjectName("Form1");
    setWindowTitle(MAIN_CAPTION);
    setWindowIcon(ProgramIcon());
    SetPrintWindow(ShowPrinting); // the list's toolbar reaches the print window of the analysis
    // the HTML export of the connection list draws its month charts with the diagram page
    SetExportCharts(DrawExportCharts);
    // 8865 x 6735 twips at the screen's logical resolution
    setFixedSize(qRound(8865.0 * logicalDpiX() / 1440.0), qRound(6735.0 * logicalDpiY() / 1440.0));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    outer->addLayout(middle, 1);

    auto* bar = new QWidget(this);
    bar->setObjectName("Navigation");
    bar->setFixedWidth(qRound(1800.0 * logicalDpiX() / 1440.0));
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(0x5a, 0x6e, 0x8c));
    palette.setColor(QPalette::WindowText, Qt::white);
    bar->setPalette(palette);
    buildNavigation(bar);
    middle->addWidget(bar);

    pages = new QStackedWidget(this);
    m_blank = new QWidget(pages);
    pages->addWidget(m_blank);
    middle->addWidget(pages, 1);

    auto* status = new QHBoxLayout;
    status->setContentsMargins(2, 2, 2, 2);
    status->setSpacing(2);
    for (int i = 0; i < 3; ++i) {
        // the active user's name may be long: it ends in "…" where the line has no room for it
        lblStatus[i] = i == 2 ? new ElidedLabel(this) : new QLabel(this);
        lblStatus[i]->setFrameShape(QFrame::Panel);
        lblStatus[i]->setFrameShadow(QFrame::Sunken);
        status->addWidget(lblStatus[i], i == 2 ? 0 : 1);
    }
    static_cast<ElidedLabel*>(lblStatus[2])->setPreferredCharacters(0);
    lblStatus[1]->setText("Aufzeichnung ist nicht aktiv");
    outer->addLayout(status);

    OnlineCheck.setInterval(3000);
    connect(&OnlineCheck, &QTimer::timeout, this, [this] {
        detection.OnlineCheck_Timer();
        rebuildTrayMenu();
    });
    CounterStopper.setSingleShot(true);
    CounterStopper.setInterval(1);
    connect(&CounterStopper, &QTimer::timeout, this, [this] {
        detection.CounterStopper_Timer();
        rebuildTrayMenu();
    });

    m_trayMenu = new QMenu(this);
    connect(m_trayMenu, &QMenu::aboutToShow, this, &Form1::rebuildTrayMenu);
    connect(m_trayMenu, &QMenu::triggered, this, [this](QAction* action) {
        const int id = action->data().toInt();
        const QStringList entries = m_trayEntries;
        // carried out once the menu has closed: a command may wait or close the window
        QTimer::singleShot(0, this, [this, id, entries] {
            QPointer<Form1> self(this);
            RunTrayCommand(id, entries, *this);
            if (self) rebuildTrayMenu();
        });
    });
    rebuildTrayMenu();
    RegisterForm(this);
}

Form1::~Form1()
{
    delete m_tray;
    SetExportCharts(nullptr);
    s_instance = nullptr;
}

void Form1::buildNavigation(QWidget* bar)
{
    auto* barLayout = new QVBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(0);
    for (int g = 0; g < 3; ++g) {
        Picture3[g] = new QWidget(bar);
        Picture3[g]->setObjectName(QString("Picture3_%1").arg(g));
        barLayout->addWidget(Picture3[g]);
    }
    QVBoxLayout* groupLayout[3];
    for (int g = 0; g < 3; ++g) {
        groupLayout[g] = new QVBoxLayout(Picture3[g]);
        groupLayout[g]->setContentsMargins(0, 0, 0, 0);
        groupLayout[g]->setSpacing(0);
    }
    auto addButton = [&](int b) {
        Picture4[b] = new QPushButton(QString::fromUtf8(GROUP_NAMES[GROUP_OF_BUTTON[b]]), Picture3[GROUP_HOLDING_BUTTON[b]]);
        Picture4[b]->setFocusPolicy(Qt::NoFocus);
        connect(Picture4[b], &QPushButton::clicked, this, [this, b] { Picture4_Click(b); });
        groupLayout[GROUP_HOLDING_BUTTON[b]]->addWidget(Picture4[b]);
    };
    for (int g = 0; g < 3; ++g) {
        // the buttons of this group and the groups above it on top, in group order
        for (int shown = 0; shown <= g; ++shown)
            for (int b = 0; b < 9; ++b)
                if (GROUP_HOLDING_BUTTON[b] == g && GROUP_OF_BUTTON[b] == shown) addButton(b);
        groupLayout[g]->addSpacing(6);
        for (int i = 0; i < 10; ++i) {
            if (NAVIGATION[i].group != g) continue;
            Image1[i] = new QLabel(Picture3[g]);
            Image1[i]->setPixmap(navigationIcon(style()->standardIcon(ITEM_ICONS[i])));
            Image1[i]->setAlignment(Qt::AlignCenter);
            Label1[i] = new QLabel(QString::fromUtf8(NAVIGATION[i].caption), Picture3[g]);
            Label1[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            // room above the caption, or the dots of "DFÜ" touch the icon and are cut off
            Label1[i]->setContentsMargins(0, 3, 0, 0);
            for (QLabel* l : {Image1[i], Label1[i]}) {
                l->setCursor(Qt::PointingHandCursor);
                l->installEventFilter(this);
                groupLayout[g]->addWidget(l);
            }
            groupLayout[g]->addSpacing(6);
        }
        groupLayout[g]->addStretch(1);
        for (int shown = g + 1; shown < 3; ++shown)
            for (int b = 0; b < 9; ++b)
                if (GROUP_HOLDING_BUTTON[b] == g && GROUP_OF_BUTTON[b] == shown) addButton(b);
    }
    Picture3[1]->hide();
    Picture3[2]->hide();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 10; ++i) {
            if (watched == Image1[i] && Image1[i]->isEnabled()) Image1_Click(i);
            else if (watched == Label1[i] && Label1[i]->isEnabled()) Label1_Click(i);
            else continue;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::setNavigationEnabled(bool enabled)
{
    for (int i = 0; i < 10; ++i) {
        Image1[i]->setEnabled(enabled);
        Label1[i]->setEnabled(enabled);
    }
}

void Form1::MDIForm_Load()
{
    setNavigationEnabled(false);
    lblStatus[0]->setText(StatusDateText());
    RemoveSystemMenuItems(this);
    G_WinVer = GetWindowsVersion();
    CreateSupervisorFiles();
    CheckUser(QString());
    G_FreeAllowanceLeft = "-";
    LoadMonitoringConfig();
    LoadConCheckConfig();
    CheckMonitoringLibraries();
    detection.lastHour = TimeNow().hour();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
    }
    if (G_StartMinimized) showMinimized();
    else show();
    OnlineCheck.start();
    showOverview();
    setNavigationEnabled(true);
    rebuildTrayMenu();
}

void Form1::LoadConCheckConfig()
{
    ReadConCheckConfig();
    OnlineCheck.setInterval(G_CheckIntervalSec * 1000);
    if (G_WatchTapi) InitTapiMonitoring();
    if (G_WatchIP) InitWinsock();
}

// ---- navigation and user rights

void Form1::Image1_Click(int index)
{
    const QString caption = Label1[index]->text();
    if (caption == LOCKED_CAPTION) return;
    const QString window = windowOfCaption(caption);
    if (!window.isEmpty() && IsFormLoaded(window)) {
        // a page left behind another (a refused start shows the overview over it) comes to the front
        if (QWidget* page = loadedPage(window)) pages->setCurrentWidget(page);
        return;
    }
    HideWindows();
    if (caption == QLatin1String("Verbindung")) {
        if (m_connection) pages->setCurrentWidget(m_connection);
        return;
    }
    if (!window.isEmpty()) openPage(window);
}

void Form1::Picture4_Click(int index)
{
    const int shown = GROUP_OF_BUTTON[index];
    for (int g = 0; g < 3; ++g) Picture3[g]->setVisible(g == shown);
}

void Form1::HideWindows()
{
    if (m_connection && pages->currentWidget() == m_connection) pages->setCurrentWidget(m_blank);
    for (const char* name : CHILD_PAGES)
        for (QWidget* page : pages->findChildren<QWidget*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly))
            unloadPage(page);
}

void Form1::unloadPage(QWidget* page)
{
    if (!page) return;
    FlushLostFocus(page); // the box being edited saves before its page goes
    // gone for IsFormLoaded at once; deleted once the handler that unloads it has returned
    page->setObjectName(QString());
    if (pages->currentWidget() == page) pages->setCurrentWidget(m_blank);
    pages->removeWidget(page);
    page->hide();
    page->deleteLater();
}

QWidget* Form1::openPage(const QString& objectName)
{
    const auto factory = pageTable().constFind(objectName);
    if (factory == pageTable().constEnd()) return nullptr;
    QWidget* page = (*factory)(*this);
    if (!page) return nullptr;
    page->setObjectName(objectName);
    RegisterForm(page);
    pages->addWidget(page);
    pages->setCurrentWidget(page);
    return page;
}

QWidget* Form1::loadedPage(const QString& objectName) const
{
    return pages->findChild<QWidget*>(objectName, Qt::FindDirectChildrenOnly);
}

QWidget* Form1::showPage(const QString& objectName)
{
    if (QWidget* page = loadedPage(objectName)) {
        pages->setCurrentWidget(page);
        return page;
    }
    return openPage(objectName);
}

void Form1::SetUserPreventions()
{
    NavigationLocks locks;
    if (!ReadUserPreventions(Tag, locks)) return;
    auto caption = [](bool locked, const char* text) { return locked ? LOCKED_CAPTION : QString::fromUtf8(text); };
    SetCaption(Label1[5], caption(locks.userSettings, "Benutzer"));
    SetCaption(Label1[3], caption(locks.monitoringSettings, "DFÜ"));
    SetCaption(Label1[6], caption(locks.monitoringSettings, "Überwachung"));
    SetCaption(Label1[4], caption(locks.budgetSettings, "Budget"));
    SetCaption(Label1[1], caption(locks.listsAndAnalysis, "Verbindungsliste"));
    SetCaption(Label1[8], caption(locks.listsAndAnalysis, "Monatsdiagramm"));
    SetCaption(Label1[9], caption(locks.listsAndAnalysis, "Analyse"));
    if (m_connection) m_connection->GetTimeLimit();
    SetCannotQuit(UserCannotQuit());
    rebuildTrayMenu();
}

// Out of the task list, the program offers no way to be closed from there.
void Form1::SetCannotQuit(bool flag)
{
    if (flag == m_cannotQuit) return;
    m_cannotQuit = flag;
    SetTaskListHidden(this, flag);
    if (SmallWindow* small = SmallWindowInstance()) SetTaskListHidden(small, flag);
}

void Form1::CheckUser(const QString& name)
{
    const StartUser choice = ChooseStartUser(name);
    switch (choice.action) {
    case StartUser::NoUsers:
        MsgBox(NO_USERS_MESSAGE, vbOKOnly + vbCritical);
        EndProgram();
        return;
    case StartUser::Login: {
        Tag = choice.user;
        lblStatus[2]->setText("Aktiver Benutzer: " + choice.user);
        QPointer<Form1> self(this);
        ShowLogin(
            [self](const QString& user) {
                if (!self) return;
                self->Tag = user;
                G_ActiveUser = user;
                self->lblStatus[2]->setText("Aktiver Benutzer: " + user);
            },
            Tag, nullptr);
        return;
    }
    case StartUser::NoLogin:
    case StartUser::Nothing:
        return;
    }
}

bool Form1::AnyChildFormLoaded()
{
    for (const char* name : CHILD_PAGES)
        if (IsFormLoaded(QString::fromUtf8(name))) return true;
    return false;
}

// ---- detection

void Form1::StartConnection()
{
    detection.StartConnection();
    rebuildTrayMenu();
}

void Form1::setStatusTime(const QString& text) { lblStatus[0]->setText(text); }

void Form1::hourChanged()
{
    if (Overview* page = overviewPage()) page->comTarif_Click();
}

bool Form1::loadCounterPage()
{
    if (!m_connection) {
        m_connection = new Connection(*this, pages);
        pages->addWidget(m_connection);
    }
    QPointer<Connection> page = m_connection;
    const bool started = page->Form_Load();
    return started && page && page == m_connection;
}

void Form1::placeCounterPage()
{
    if (!m_connection || !IsFormLoaded("Overview")) return;
    pages->setCurrentWidget(m_connection);
    for (QWidget* page : pages->findChildren<QWidget*>("Overview", Qt::FindDirectChildrenOnly)) unloadPage(page);
}

void Form1::setCounterStopper(bool enabled)
{
    if (!enabled) {
        CounterStopper.stop();
        return;
    }
    // a re-arm while a handler of the page waits: look again shortly, not on every pass of the loop
    CounterStopper.start(20);
}

bool Form1::counterPageBusy() { return m_connection && m_connection->busy(); }

void Form1::unloadSmallWindow() { UnloadSmallWindow(); }

void Form1::unloadCounterPage()
{
    Connection* page = m_connection;
    m_connection = nullptr;
    unloadPage(page);
}

void Form1::showOverview() { showPage("Overview"); }

Overview* Form1::overviewPage() const
{
    const QList<Overview*> open = pages->findChildren<Overview*>("Overview", Qt::FindDirectChildrenOnly);
    return open.isEmpty() ? nullptr : open.first();
}

// ---- the live recording's events

void Form1::setMainCaption(const QString& text) { setWindowTitle(text); }

void Form1::setMainStatus(int item, const QString& text)
{
    if (item >= 0 && item < 3) lblStatus[item]->setText(text);
}

void Form1::setNavigationItem0(const QString& text)
{
    SetCaption(Label1[0], text);
    rebuildTrayMenu();
}

void Form1::setDetectionTimer(bool enabled)
{
    if (!enabled) OnlineCheck.stop();
    else if (!OnlineCheck.isActive()) OnlineCheck.start();
}

void Form1::armCounterStopper() { CounterStopper.start(1); }

void Form1::startRefused()
{
    unloadCounterPage();
    showOverview();
    if (Overview* page = overviewPage()) page->Check1->setChecked(false);
}

void Form1::showCountdown() { ShowConStop(); }

void Form1::showNotice(int, const QString& text) { ShowAlert(text); }

// ---- tray

bool Form1::counterPageOpen() const { return IsFormLoaded("Connection"); }

bool Form1::stopButtonEnabled() const { return m_connection && m_connection->engine().cmdStopEnabled; }

void Form1::stopRecording()
{
    if (m_connection) m_connection->cmdStop_Click();
}

// With the overview page open its monitoring box stores the setting.
void Form1::storeMonitoring(bool on)
{
    Overview* page = overviewPage();
    if (page && page->Check1->isChecked() != on) page->Check1->setChecked(on);
    else SaveMonitoringConfig(on ? 1 : 0);
}

// A closed overview page is not created for the question: its values are computed as its load would.
bool Form1::isBudgetExceeded()
{
    if (Overview* page = overviewPage()) return page->IsBudgetExceeded();
    return OverviewValues::IsBudgetExceeded(OverviewValues::ShowRemainingBudgets(G_ActiveUser));
}

// An open menu stays as it opened: rebuilt under the cursor at every detection tick it would close
// before an item could be chosen. It is built anew when it opens.
void Form1::rebuildTrayMenu()
{
    if (m_trayMenu->isVisible()) return;
    m_trayEntries = BuildTrayMenu(*m_trayMenu, *this);
}

void Form1::AddSysTrayIcon()
{
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(windowIcon());
        m_tray->setToolTip(MAIN_CAPTION);
        m_tray->setContextMenu(m_trayMenu);
        // Queued: hiding the icon inside its own click would delete the widget that was clicked.
        connect(
            m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                // a StatusNotifier host sends its activation as Trigger and no double-click
                case QSystemTrayIcon::Trigger:
                case QSystemTrayIcon::DoubleClick: TrayIconMessage(515); break;
                case QSystemTrayIcon::MiddleClick: TrayIconMessage(521); break;
                default: break; // the context menu opens by itself
                }
            },
            Qt::QueuedConnection);
    }
    rebuildTrayMenu();
    m_tray->show();
}

void Form1::KillSysTrayIcon()
{
    if (m_tray) m_tray->hide();
}

void Form1::TrayIconMessage(int message)
{
    switch (message) {
    case 515:
        setVisible(true);
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
        KillSysTrayIcon();
        break;
    case 517: ShowTrayMenu(*this); break;
    case 521:
        if (G_Recording) {
            if (m_connection && m_connection->engine().cmdStopEnabled) m_connection->cmdStop_Click();
        } else {
            G_DetectSource = 0;
            StartConnection();
        }
        break;
    default: break;
    }
}

// ---- size and closing

// The window manager forgets a window's task-list state when the window is withdrawn to the tray.
void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_cannotQuit) SetTaskListHidden(this, true);
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) MDIForm_Resize();
}

void Form1::MDIForm_Resize()
{
    // the floating counter comes back with the main window (its own button minimised both)
    if (SmallWindow* small = SmallWindowInstance(); small && small->isMinimized()) small->showNormal();
    if (isVisible() && !isMinimized() && isMaximized()) {
        QTimer::singleShot(0, this, [this] { showNormal(); });
        return;
    }
    // Without a tray to hold the icon the window would be lost: it stays in the task bar.
    if (isMinimized() && G_TrayWhenMinimized && QSystemTrayIcon::isSystemTrayAvailable()) {
        AddSysTrayIcon();
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) hide();
        });
    }
}

void Form1::closeEvent(QCloseEvent* event)
{
    bool store = true;
    if (!m_ending && !MDIForm_QueryUnload(event->spontaneous() ? 0 : 1, store)) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram(store);
}

bool Form1::MDIForm_QueryUnload(int unloadMode, bool& storeRecording)
{
    // the note typed last reaches its file whether the program ends now or not
    if (Overview* page = overviewPage()) page->SaveNote();
    if (m_cannotQuit) {
        MsgBox(CANNOT_QUIT_MESSAGE, vbOKOnly + vbExclamation, APP_TITLE);
        return false;
    }
    if ((unloadMode == 0 || unloadMode == 1) && m_connection && G_Recording) {
        QPointer<Connection> page = m_connection;
        const int answer = MsgBox(SAVE_ON_CLOSE_QUESTION, vbYesNoCancel + vbQuestion, "Beenden");
        // a session end while the question was open has ended the program; its box answers Abbrechen
        if (answer == vbCancel) return false;
        storeRecording = answer == vbYes;
        // the recording may have ended while the question was open
        if (storeRecording && page) page->Counter_Stop();
    }
    return true;
}

void Form1::endProgram(bool storeRecording)
{
    // An end that comes while the end waits (a box of the stop) ends the loops all the same; the steps
    // run once, after that box.
    if (!m_ending) {
        m_ending = true;
        if (Overview* page = overviewPage()) page->SaveNote();
        if (storeRecording) this->storeRecording();
        // "Nein" to the question: the connection is not stored, not by the next start either
        else if (m_connection && G_Recording) m_connection->engine().DiscardRunningRecord();
        UnloadAlert();
        UnloadDialProgressWindow();
        // a download under way finishes its current file and then closes the window itself
        if (Autoupdate* update = Autoupdate::instance()) update->close();
        UnloadSmallWindow();
        ShutdownTapiMonitoring();
        CleanupWinsock();
        KillSysTrayIcon();
    }
    emit closed();
}

void Form1::storeRecording()
{
    if (m_connection && G_Recording) m_connection->Counter_Stop();
}

void Form1::commitData() { storeRecording(); }

// Never asks and never waits for the close: a close under way may be waiting for a box of its own.
void Form1::sessionEnd() { endProgram(true); }
