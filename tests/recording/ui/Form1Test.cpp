#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/Dialing.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Connection.h"
#include "recording/RunningRecord.h"
#include "recording/ui/Form1.h"
#include "recording/ui/Overview.h"
#include "recording/ui/SideWindows.h"
#include "recording/ui/SmallWindow.h"
#include "core/RecordFiles.h"
#include "core/platform/linux/QtDownloader.h"
#include "support/LoopbackServer.h"
#include "support/SimPlatform.h"
#include "support/ui/WindowSystemClick.h"
#include "support/WaitingDownloader.h"
#include "support/TestSupport.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Autoupdate.h"
#include "users/ui/Login.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <thread>

namespace {
int g_ends = 0;
// The program's end, as a test sees it: counted, and a login that asked for it is closed.
void recordEnd()
{
    ++g_ends;
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->done(QDialog::Rejected);
}

// A page's factory replaced for one test and put back however the test ends, so that later tests open the
// program's own page.
class PageOverride {
public:
    PageOverride(QString name, Form1::PageFactory factory)
        : m_name(std::move(name)), m_replaced(Form1::RegisterPage(m_name, std::move(factory)))
    {
    }
    ~PageOverride() { Form1::RegisterPage(m_name, std::move(m_replaced)); }
    PageOverride(const PageOverride&) = delete;
    PageOverride& operator=(const PageOverride&) = delete;

private:
    QString m_name;
    Form1::PageFactory m_replaced;
};

class Form1Test : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        g_ends = 0;
        SetEndProgramRoutine(recordEnd);
        TarifFile t = TarifFile::New("Net", "Tag");
        t.takt = "60 / 60";
        t.zones = {{0, 24, 1.9f, false}};
        ASSERT_TRUE(WriteTarifFile(t));
        tariff = t.fileName();
    }
    void TearDown() override
    {
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetEndProgramRoutine(nullptr);
        ProgramTest::TearDown();
    }
    Form1* load()
    {
        Form1* form = Form1::instance();
        form->Form_Load();
        G_Tariff = tariff;
        G_ActiveUser = "Supervisor";
        return form;
    }
    // Lets queued calls and short timers run.
    static void spin(int ms = 5)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // One billing second of the running recording.
    void billingTick(Form1* form)
    {
        clock.advance(1);
        ASSERT_NE(form->counterPage(), nullptr);
        QMetaObject::invokeMethod(&form->counterPage()->RSTimer1, "timeout");
    }
    int records() const { return int(QDir(path("Verbindungen")).entryList({"*.con"}, QDir::Files).size()); }
    void writeUser(const QString& name, const QString& password, const QStringList& flags = {})
    {
        QStringList plain{"0", "0", "0", "0", "0", "0", "0", "60", password, "0", "600"};
        for (int i = 0; i < flags.size(); ++i) plain[i] = flags[i];
        writeCipher("Benutzer/" + name + ".usr", plain);
    }
    QStringList menuTexts(Form1* form) const
    {
        form->rebuildTrayMenu();
        QStringList texts;
        for (QAction* a : form->trayMenu()->actions()) texts << (a->isSeparator() ? QString("-") : a->text());
        return texts;
    }

    SimPlatform sim;
    QString tariff;
};
} // namespace

TEST_F(Form1Test, LoadSequenceFilesAndSettings)
{
    Form1* form = load();
    EXPECT_EQ(form->windowTitle(), "Zumbrel 3.3");
    EXPECT_EQ(form->lblStatus[0]->text(), "17. Januar 2001 - 12:00:00");
    EXPECT_EQ(form->lblStatus[1]->text(), "Aufzeichnung ist nicht aktiv");
    EXPECT_EQ(form->size(), QSize(qRound(8865.0 * form->logicalDpiX() / 1440), qRound(6735.0 * form->logicalDpiY() / 1440)));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(readFile("Benutzer/Supervisor.bdg"), " 0\r\n 0\r\n 0\r\n1.1.2002\r\n31.1.2002\r\n");
    EXPECT_EQ(G_WinVer, "6.1");
    EXPECT_EQ(G_FreeAllowanceLeft, "-");
    EXPECT_TRUE(G_MonitoringOn);
    EXPECT_EQ(form->OnlineCheck.interval(), 2000);
    EXPECT_TRUE(form->OnlineCheck.isActive());
    EXPECT_TRUE(form->Label1[0]->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // no tray on this display: minimising leaves the window where it is
    G_TrayWhenMinimized = true;
    form->showMinimized();
    spin();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Test, MissingFacilitiesSwitchTheirMethodsOff)
{
    writeFile("Config/ConCheck.cfg", " 1\r\n 1\r\n 0\r\n 0\r\n 5\r\n");
    sim.connected.available = false;
    sim.addresses.available = false;
    Form1* form = load();
    EXPECT_FALSE(G_WatchWininet || G_WatchLan || G_WatchIP);
    EXPECT_EQ(form->OnlineCheck.interval(), 5000);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].text.contains("'wininet.dll'"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("'wsock32.dll'"));
    EXPECT_EQ(dialogs.messages[1].style, vbExclamation);
}

TEST_F(Form1Test, DetectedConnectionsAreRecordedOnceEach)
{
    writeFile("Config/ConCheck.cfg", " 1\r\n 1\r\n 0\r\n 0\r\n 2\r\n");
    Form1* form = load();
    const quint32 handle = sim.phoneBook.addConnection(0x50, "Provider A").hrasconn;
    sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    sim.addresses.list = {"80.1.2.3"};

    form->detection.OnlineCheck_Timer();
    ASSERT_TRUE(G_Recording);
    EXPECT_EQ(G_DetectSource, 1);
    EXPECT_TRUE(IsFormLoaded("Connection"));
    EXPECT_EQ(form->Label1[0]->text(), "Verbindung");
    EXPECT_EQ(form->lblStatus[1]->text(), "Aufzeichnung aktiv");
    EXPECT_FALSE(form->OnlineCheck.isActive());
    spin(); // the first tick
    EXPECT_TRUE(form->counterPage()->RSTimer1.isActive());

    // the link drops and comes up again under a new handle: the first recording ends with its record
    billingTick(form);
    sim.phoneBook.reconnect(handle);
    billingTick(form);
    spin();
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(records(), 1);
    EXPECT_FALSE(IsFormLoaded("Connection"));
    EXPECT_TRUE(form->OnlineCheck.isActive());
    EXPECT_EQ(form->Label1[0]->text(), "Übersicht");
    EXPECT_EQ(form->windowTitle(), "Zumbrel 3.3");

    clock.advance(5);
    form->detection.OnlineCheck_Timer();
    EXPECT_TRUE(G_Recording);
    spin();
    form->counterPage()->Counter_Stop();
    spin();
    EXPECT_EQ(records(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Form1Test, MonitoringOffProtectionAndNoTariff)
{
    Form1* form = load();
    sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    G_MonitoringOn = false;
    clock.advance(3);
    form->detection.OnlineCheck_Timer();
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(form->lblStatus[0]->text(), "17. Januar 2001 - 12:00:03");

    G_MonitoringOn = true;
    G_DialerProtection = true;
    sim.phoneBook.addConnection(0x100, "Provider A");
    form->detection.OnlineCheck_Timer();
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(sim.phoneBook.hangUpCalls.size(), 1);

    sim.phoneBook.addConnection(0x200, "Provider A");
    writeFile("DialUp/Deny.sec", "provider a\r\n 1\r\n");
    form->detection.OnlineCheck_Timer();
    EXPECT_TRUE(G_Recording);
    form->counterPage()->Counter_Stop();
    spin();
    EXPECT_EQ(records(), 1);

    // no tariff: one message, no counter page, detection switched off
    G_Tariff.clear();
    form->detection.OnlineCheck_Timer();
    spin();
    EXPECT_EQ(dialogs.texts(), QStringList{"Kein Tarif ausgewählt! Wählen Sie zuerst einen Tarif aus, bevor Sie die "
                                           "Verbindung starten."});
    EXPECT_FALSE(IsFormLoaded("Connection"));
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 0\r\n");
}

TEST_F(Form1Test, RestrictedUserAndClosing)
{
    writeUser("Anna", "", {"0", "0", "0", "0", "0", "1"});
    Form1* form = load();
    form->Tag = "Anna";
    form->SetUserPreventions();
    for (int i : {1, 8, 9}) EXPECT_EQ(form->Label1[i]->text(), "[Gesperrt]") << i;
    EXPECT_EQ(form->Label1[2]->text(), "Tarife");
    EXPECT_TRUE(G_NoListEdit);
    int pagesMade = 0;
    const PageOverride list("List", [&](Form1&) {
        ++pagesMade;
        return new QWidget;
    });
    form->Image1_Click(1);
    EXPECT_EQ(pagesMade, 0);

    EXPECT_FALSE(form->close());
    EXPECT_EQ(dialogs.texts(), QStringList{"Zumbrel kann nicht beendet werden, da diesem Benutzer "
                                           "Zugriffsbeschränkungen zugeteilt wurden."});
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);

    // back to Supervisor: the captions return and the page opens, once
    form->Tag = "Supervisor";
    form->SetUserPreventions();
    EXPECT_EQ(form->Label1[1]->text(), "Verbindungsliste");
    form->Image1_Click(1);
    form->Image1_Click(1);
    EXPECT_EQ(pagesMade, 1);
    EXPECT_TRUE(IsFormLoaded("List"));
    form->HideWindows();
    EXPECT_FALSE(IsFormLoaded("List"));
    EXPECT_FALSE(form->cannotQuit());
}

TEST_F(Form1Test, RestrictedUsersWindowsLeaveTheTaskList)
{
    using Call = SimTaskList::Call;
    writeUser("Anna", "", {"0", "0", "0", "1"});
    Form1* form = load();
    QList<Call>& calls = sim.taskList.calls;
    EXPECT_TRUE(calls.isEmpty());
    QWindow* main = form->windowHandle();
    ASSERT_NE(main, nullptr);

    form->Tag = "Anna";
    form->SetUserPreventions();
    EXPECT_EQ(calls, QList<Call>({{main, true}}));
    form->SetUserPreventions(); // no change, no call
    EXPECT_EQ(calls.size(), 1);

    // the floating window leaves it as it shows
    SmallWindow* small = ShowSmallWindow();
    ASSERT_NE(small->windowHandle(), nullptr);
    EXPECT_EQ(calls.mid(1), QList<Call>({{small->windowHandle(), true}}));

    // withdrawn to the tray and restored, the main window is left out again
    form->hide();
    form->TrayIconMessage(515);
    EXPECT_EQ(calls.mid(2), QList<Call>({{main, true}}));

    // back to an unrestricted user: both windows return; a later show leaves the task list alone
    form->Tag = "Supervisor";
    form->SetUserPreventions();
    EXPECT_EQ(calls.mid(3), QList<Call>({{main, false}, {small->windowHandle(), false}}));
    form->hide();
    form->show();
    small->hide();
    small->show();
    EXPECT_EQ(calls.size(), 5);
    UnloadSmallWindow();
}

TEST_F(Form1Test, LeavingAPageSavesTheBoxBeingEdited)
{
    Form1* form = load();
    form->show();
    QApplication::setActiveWindow(form);
    QStringList saved;
    QPointer<QLineEdit> box;
    const PageOverride page("Budget", [&](Form1&) {
        auto* page = new QWidget;
        box = new QLineEdit(page);
        OnLostFocus(box, [&] { saved << box->text(); });
        return page;
    });
    form->Image1_Click(4);
    ASSERT_TRUE(box);
    box->setFocus();
    box->setText("12");
    form->HideWindows(); // as the next navigation item does
    EXPECT_EQ(saved, QStringList{"12"});
    spin();
    EXPECT_EQ(saved, QStringList{"12"}); // once, not again when the page goes
}

TEST_F(Form1Test, APageLeftBehindTheOverviewComesBackByItsItem)
{
    Form1* form = load();
    QPointer<QWidget> budget;
    const PageOverride page("Budget", [&](Form1&) { return budget = new QWidget; });
    form->Image1_Click(4);
    ASSERT_TRUE(budget);
    form->startRefused(); // the overview is shown over it
    EXPECT_NE(form->pages->currentWidget(), budget.data());
    form->Image1_Click(4);
    EXPECT_EQ(form->pages->currentWidget(), budget.data());
    form->Image1_Click(0); // and the overview, loaded behind it, likewise
    EXPECT_EQ(form->pages->currentWidget(), static_cast<QWidget*>(form->overviewPage()));
}

namespace {
// The part of a widget its paint events have covered.
struct PaintedRegion : QObject {
    QRegion region;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};
} // namespace

TEST_F(Form1Test, NavigationIconsOfOneSizeAndCaptionsRepaintedWhole)
{
    Form1* form = load();
    for (int i = 0; i < 10; ++i) {
        ASSERT_FALSE(form->Image1[i]->pixmap().isNull()) << i;
        EXPECT_EQ(form->Image1[i]->pixmap().deviceIndependentSize().toSize(), QSize(32, 32)) << i;
    }

    // a caption that changes repaints the room above it, where the dots of "DFÜ" were
    form->Picture4_Click(1);
    form->show();
    spin(20);
    PaintedRegion painted;
    form->Label1[3]->installEventFilter(&painted);
    writeUser("Anna", "", {"0", "1"});
    form->Tag = "Anna";
    form->SetUserPreventions();
    spin(20);
    EXPECT_EQ(form->Label1[3]->text(), "[Gesperrt]");
    EXPECT_TRUE((QRegion(form->Label1[3]->rect()) - painted.region).isEmpty()) << painted.region.boundingRect().y();
    form->Label1[3]->removeEventFilter(&painted);
}

TEST_F(Form1Test, ClosingWhileRecordingAsksWhetherToStore)
{
    Form1* form = load();
    const struct {
        int answer;
        bool closes;
        int records;
        bool diskHolds = false; // one minute held in its folder sync, the next one waiting behind it
    } cases[] = {{vbCancel, false, 0}, {vbNo, true, 0}, {vbNo, true, 0, true}, {vbYes, true, 1}};
    for (const auto& c : cases) {
        if (!Form1::exists()) {
            form = load();
        }
        G_DetectSource = 0;
        form->StartConnection();
        ASSERT_TRUE(G_Recording);
        spin(); // the first tick keeps the running file
        const QPointer<Connection> page = form->counterPage();
        page->engine().runningRecord.flush();
        ASSERT_TRUE(exists(RUNNING_RECORD_FILE));
        FolderSyncHold::Held held;
        std::thread releaser;
        if (c.diskHolds) {
            const auto tickAlone = [&](int times) {
                for (int i = 0; i < times; ++i) {
                    clock.advance(1);
                    page->engine().RSTimer1_Timer();
                }
            };
            held = syncHold.hold();
            tickAlone(60);
            ASSERT_TRUE(syncHold.waitUntilHeld());
            tickAlone(60);
            releaser = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                syncHold.release();
            });
        }
        dialogs.messages.clear();
        dialogs.answerMessage(c.answer);
        EXPECT_EQ(form->close(), c.closes);
        if (releaser.joinable()) releaser.join();
        if (page) page->engine().runningRecord.flush(); // whatever was still on its way has landed
        // "Nein" stores nothing, not at the next start either
        EXPECT_EQ(exists(RUNNING_RECORD_FILE), c.answer == vbCancel);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, SAVE_ON_CLOSE_QUESTION);
        EXPECT_EQ(dialogs.messages[0].style, vbYesNoCancel + vbQuestion);
        EXPECT_EQ(dialogs.messages[0].title, "Beenden");
        EXPECT_EQ(records(), c.records);
        spin();
        if (c.answer == vbCancel) {
            EXPECT_TRUE(G_Recording);
            form->counterPage()->Counter_Stop();
            spin();
            QDir(path("Verbindungen")).removeRecursively();
        }
        G_Recording = false;
        clock.advance(10);
        if (c.closes) delete form; // the program's run deletes a closed main window
    }
}

TEST_F(Form1Test, ClosingUnloadsTheUpdateWindowAndEndsItsDownloadInOrder)
{
    WaitingDownloader web;
    SetDownloader(&web);
    writeFile("Servers.dat", "http://s\r\n");
    web.pages["http://s/update.txt"] = "*U*x4\n[0001]\n<tel/a|X - A.atl>\n<tel/b|X - B.atl>\n";
    web.pages["http://s/tel/a"] = "Anbieter:X\n";
    web.pages["http://s/tel/b"] = "Anbieter:X\n";
    Form1* form = load();
    QPointer<Autoupdate> update = Autoupdate::load();
    update->CheckForUpdates(); // loaded and hidden, as the counter page leaves it
    web.during = [&](const QString& url) {
        if (url.endsWith("/a")) {
            EXPECT_TRUE(form->close()); // the program is closed while it downloads
        }
    };
    update->DownloadTarife();
    EXPECT_TRUE(exists("Tarife/X - A.atl")); // the file under way is finished
    EXPECT_FALSE(exists("Tarife/X - B.atl"));
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    spin();
    EXPECT_FALSE(update);
    SetDownloader(nullptr);
}

TEST_F(Form1Test, StopClickedWhileTheUpdateCheckWaitsStoresTheDurationOfTheClick)
{
    LoopbackServer silent{QByteArray()}; // accepts and never answers
    QtDownloader downloader(1500);
    SetDownloader(&downloader);
    writeFile("Servers.dat", (silent.url("") + "\r\n" + silent.url("") + "\r\n").toLatin1());
    Form1* form = load();
    form->show();
    G_DetectSource = 0;
    form->StartConnection();
    Connection* page = form->counterPage();
    ASSERT_NE(page, nullptr);
    form->Image1_Click(0); // "Verbindung"
    ASSERT_TRUE(page->cmdStop->isVisible());
    // the job 30 seconds after the start: the update check waits for both servers, 3 s in all
    page->engine().UpdateDue = true;
    QString shownAtTheClick;
    QTimer::singleShot(1200, [&] {
        shownAtTheClick = page->lblDauer->text();
        PostWindowSystemClick(page->cmdStop);
    });
    bool stoppedWhileWaiting = false;
    QTimer::singleShot(1800, [&] { stoppedWhileWaiting = !G_Recording; });
    QMetaObject::invokeMethod(&page->Timer1, "timeout");
    EXPECT_TRUE(stoppedWhileWaiting);
    EXPECT_FALSE(G_Recording);
    ASSERT_EQ(records(), 1);
    RecordLines r;
    ASSERT_TRUE(ReadRecord(ListRecordFiles().value(0), r));
    EXPECT_EQ(r.line(3), shownAtTheClick);
    EXPECT_NE(shownAtTheClick, "");
    spin(50);
    SetDownloader(nullptr);
}

TEST_F(Form1Test, SessionEndStoresTheRecordingWhateverTheRestrictions)
{
    writeUser("Anna", "", {"0", "0", "0", "1"});
    Form1* form = load();
    form->Tag = "Anna";
    form->SetUserPreventions();
    ASSERT_TRUE(form->cannotQuit());
    form->StartConnection();
    ASSERT_TRUE(G_Recording);
    form->commitData();
    EXPECT_EQ(records(), 1);
    EXPECT_FALSE(G_Recording);
    EXPECT_TRUE(Form1::exists());

    clock.advance(10);
    form->StartConnection();
    ASSERT_TRUE(G_Recording);
    bool closed = false;
    QObject::connect(form, &Form1::closed, [&] { closed = true; });
    form->sessionEnd();
    EXPECT_TRUE(closed);
    EXPECT_EQ(records(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    spin();
}

TEST_F(Form1Test, LoginBeforeTheWindow)
{
    writeUser("Supervisor", "geheim");
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* login = qobject_cast<Login*>(QApplication::activeModalWidget());
        ASSERT_NE(login, nullptr);
        seen << login->Combo1->currentText() << QString::number(Form1::instance()->isVisible());
        dialogs.answerMessage(vbOK);
        login->Text1->setText("Geheim");
        login->Command1_Click();
        login->Text1->setText("geheim");
        login->Command1_Click();
    });
    Form1* form = Form1::instance();
    form->Form_Load();
    EXPECT_EQ(seen, (QStringList{"Supervisor", "0"}));
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Das eingegebene Passwort ist falsch. Bitte überprüfen Sie Ihre Eingabe."});
    EXPECT_EQ(dialogs.messages[0].title, "Falsches Passwort");
    EXPECT_EQ(G_ActiveUser, "Supervisor");
    EXPECT_EQ(form->Tag, "Supervisor");
    EXPECT_EQ(form->lblStatus[2]->text(), "Aktiver Benutzer: Supervisor");
    EXPECT_EQ(g_ends, 0);
    delete form;

    // Escape ends the program
    QTimer::singleShot(0, [] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(QApplication::activeModalWidget(), &escape);
    });
    Form1::instance()->Form_Load();
    EXPECT_EQ(g_ends, 1);
    delete Form1::instance();

    // the logon link asks nothing; no user file at all ends the program with its message
    writeFile("Config/Users.cfg", " 1\r\n");
    Form1::instance()->Form_Load();
    EXPECT_EQ(g_ends, 1);
    delete Form1::instance();
    QFile::remove(path("Config/Users.cfg"));
    dialogs.messages.clear();
    QDir(path("Benutzer")).removeRecursively();
    Form1* bare = Form1::instance();
    bare->CheckUser(QString());
    EXPECT_EQ(dialogs.texts(), QStringList{"Keine Benutzerdaten gefunden. Bitte installieren Sie Zumbrel neu."});
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbCritical);
    EXPECT_EQ(g_ends, 2);
}

TEST_F(Form1Test, TrayMenuThroughTheMainWindow)
{
    Form1* form = load();
    G_MonitoringOn = false;
    EXPECT_EQ(menuTexts(form), (QStringList{"&Beenden", "-", "Überwachung", "Aufzeichnung &starten"}));
    sim.phoneBook.addEntry("ISP");
    EXPECT_EQ(menuTexts(form), (QStringList{"&Beenden", "-", "Überwachung", "Aufzeichnung &starten", "-",
                                            "\"ISP\" wählen"}));

    // detection chosen, overview closed: stored directly
    form->trayMenu()->actions()[2]->trigger();
    spin();
    EXPECT_TRUE(G_MonitoringOn);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 1\r\n");

    form->StartConnection();
    EXPECT_EQ(menuTexts(form), (QStringList{"&Beenden", "-", "Über&wachung", "Aufzeichnung &stoppen", "-",
                                            "Verbindung trennen"}));
    spin(); // the first unit is charged
    // an exceeded budget and no dialling over budget: refused, nothing dialled (the overview page that
    // returns after the stop shows the budget)
    writeFile("Benutzer/Supervisor.bdg", " 0,01\r\n 0\r\n 0\r\n1.1.2002\r\n31.1.2002\r\n");
    form->counterPage()->Counter_Stop();
    spin();
    ASSERT_NE(form->overviewPage(), nullptr);
    G_NoDialOverBudget = true;
    EXPECT_EQ(menuTexts(form).last(), "\"ISP\" wählen");
    form->trayMenu()->actions().last()->trigger();
    spin();
    EXPECT_TRUE(dialogs.texts().contains("Das Einwählen wurde Ihnen in den Benutzereinstellungen verboten."));
    EXPECT_TRUE(sim.phoneBook.dialCalls.isEmpty());

    // an open menu stays open, with its items, over the detection ticks
    QMenu* menu = form->trayMenu();
    menu->popup(QPoint(20, 20));
    ASSERT_TRUE(menu->isVisible());
    const QList<QAction*> shown = menu->actions();
    for (int tick = 0; tick < 3; ++tick) {
        clock.advance(2);
        QMetaObject::invokeMethod(&form->OnlineCheck, "timeout");
        spin(20);
    }
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->actions(), shown);
    menu->hide();
}

// A dial from the tray is under way until its progress window closes: the overview's button is greyed
// meanwhile, and a click on it dials nothing.
TEST_F(Form1Test, TheOverviewsDialButtonIsGreyedWhileTheTraysDialRuns)
{
    const int oldStart = SetDialStartWait(0);
    sim.phoneBook.addEntry("ISP", {}, true);
    Form1* form = load();
    form->show();
    Overview* overview = form->overviewPage();
    ASSERT_NE(overview, nullptr);
    form->rebuildTrayMenu();
    form->trayMenu()->actions().last()->trigger(); // "ISP" wählen
    spin();
    ASSERT_EQ(sim.phoneBook.dialCalls.size(), 1);
    EXPECT_FALSE(overview->Command1->isEnabled());
    // a second dial would wait in its modal progress window: that ends it
    QTimer::singleShot(500, form, [] { UnloadDialProgressWindow(); });
    PostWindowSystemClick(overview->Command1);
    spin(20);
    EXPECT_EQ(sim.phoneBook.dialCalls.size(), 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_TRUE(IsFormLoaded("Status"));
    UnloadDialProgressWindow();
    EXPECT_TRUE(overview->Command1->isEnabled());
    SetDialStartWait(oldStart);
}

TEST_F(Form1Test, CountdownAndNoticeOpenFromTheRecording)
{
    Form1* form = load();
    form->showCountdown();
    ASSERT_NE(ConStopWindow(), nullptr);
    EXPECT_TRUE(ConStopWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
    form->showNotice(1, "Budget!");
    ASSERT_NE(AlertWindow(), nullptr);
    EXPECT_EQ(AlertWindow()->Label2->text(), "Budget!");
    form->close();
    spin();
    EXPECT_EQ(AlertWindow(), nullptr);
    delete ConStopWindow();
}
