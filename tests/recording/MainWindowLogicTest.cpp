#include "core/Detection.h"
#include "core/Globals.h"
#include "recording/DetectionLoop.h"
#include "recording/MainWindowFiles.h"
#include "recording/UserRights.h"
#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>

namespace {
class MainWindowLogicTest : public ProgramTest {
protected:
    void writeUser(const QString& name, const QString& password, const QStringList& flags = {}, int lines = 11)
    {
        QStringList plain{"0", "0", "0", "0", "0", "0", "0", "60", password, "0", "600"};
        for (int i = 0; i < flags.size(); ++i) plain[i] = flags[i];
        writeCipher("Benutzer/" + name + ".usr", plain.mid(0, lines));
    }
};
} // namespace

TEST_F(MainWindowLogicTest, SupervisorFilesAreWrittenOnlyWhenMissing)
{
    CreateSupervisorFiles();
    EXPECT_EQ(readFile("Benutzer/Supervisor.bdg"), " 0\r\n 0\r\n 0\r\n1.1.2002\r\n31.1.2002\r\n");
    EXPECT_EQ(deciphered("Benutzer/Supervisor.usr"),
              (QStringList{"0", "0", "0", "0", "0", "0", "0", "60", "", "0", "600"}));

    writeFile("Benutzer/Supervisor.bdg", " 5\r\n");
    writeCipher("Benutzer/Supervisor.usr", {"1"});
    CreateSupervisorFiles();
    EXPECT_EQ(readFile("Benutzer/Supervisor.bdg"), " 5\r\n");
    EXPECT_EQ(deciphered("Benutzer/Supervisor.usr"), QStringList{"1"});

    // a record under another letter case is the same file
    QDir(path("Benutzer")).removeRecursively();
    writeCipher("Benutzer/supervisor.usr", {"1"});
    CreateSupervisorFiles();
    EXPECT_EQ(QDir(path("Benutzer")).entryList(QDir::Files), (QStringList{"Supervisor.bdg", "supervisor.usr"}));
}

TEST_F(MainWindowLogicTest, ConCheckSettingsAndIgnoredAddresses)
{
    ReadConCheckConfig();
    EXPECT_TRUE(G_WatchWininet);
    EXPECT_FALSE(G_WatchIP || G_WatchLan || G_WatchTapi);
    EXPECT_EQ(G_CheckIntervalSec, 2);

    const struct {
        const char* file;
        bool ip, wininet, lan, tapi;
        int interval;
    } cases[] = {
        {" 1\r\n 0\r\n 1\r\n 1\r\n3.7\r\n", true, false, true, true, 3},
        {" 0\r\n 1\r\n 0\r\n 0\r\n11\r\n", false, true, false, false, 2},
        {" 2\r\n 1\r\n 0\r\n 0\r\n 0\r\n", false, true, false, false, 2},
        {" 0\r\n 0\r\n 0\r\n 0\r\n 10\r\n", false, false, false, false, 10},
        {"\r\n\r\n\r\n\r\nzehn\r\n", false, false, false, false, 2},
    };
    for (const auto& c : cases) {
        ResetGlobals();
        writeFile("Config/ConCheck.cfg", c.file);
        ReadConCheckConfig();
        EXPECT_EQ(G_WatchIP, c.ip) << c.file;
        EXPECT_EQ(G_WatchWininet, c.wininet) << c.file;
        EXPECT_EQ(G_WatchLan, c.lan) << c.file;
        EXPECT_EQ(G_WatchTapi, c.tapi) << c.file;
        EXPECT_EQ(G_CheckIntervalSec, c.interval) << c.file;
    }

    writeFile("Config/ignoredips.cfg", " 192.168.*.* ,  10.*.*.*\r\n");
    QFile::remove(path("Config/ConCheck.cfg"));
    ReadConCheckConfig();
    EXPECT_EQ(G_IgnoredIPs, " 192.168.*.* ,  10.*.*.*");
    EXPECT_EQ(IgnoredIPPatterns(G_IgnoredIPs), (QStringList{"192.168.*.*", "10.*.*.*"}));
}

TEST_F(MainWindowLogicTest, StatusTextMonitoringSwitchAndLogonLink)
{
    EXPECT_EQ(StatusDateText(), QStringLiteral("17. Januar 2001 - 12:00:00"));
    clock.set(QDateTime(QDate(2030, 3, 5), QTime(7, 4, 9)));
    EXPECT_EQ(StatusDateText(), QStringLiteral("5. März 2030 - 07:04:09"));

    const struct {
        const char* file; // nullptr: no file
        bool monitoring;
        int link;
    } cases[] = {{nullptr, true, 0}, {" 1\r\n", true, 1}, {" 0\r\n", false, 0}, {"", false, 0}, {"300\r\n", false, 0}};
    for (const auto& c : cases) {
        QFile::remove(path("Config/Monitoring.cfg"));
        QFile::remove(path("Config/Users.cfg"));
        if (c.file) {
            writeFile("Config/Monitoring.cfg", c.file);
            writeFile("Config/Users.cfg", c.file);
        }
        G_MonitoringOn = !c.monitoring;
        LoadMonitoringConfig();
        EXPECT_EQ(G_MonitoringOn, c.monitoring) << (c.file ? c.file : "none");
        EXPECT_EQ(GetLogonLink(), c.link) << (c.file ? c.file : "none");
    }
}

TEST_F(MainWindowLogicTest, UserPreventionsFollowTheRecordLines)
{
    NavigationLocks locks;
    EXPECT_FALSE(ReadUserPreventions("", locks));
    EXPECT_FALSE(ReadUserPreventions("Niemand", locks));

    // list view locked without list editing: editing is forbidden all the same
    writeUser("Anna", "", {"0", "1", "0", "0", "0", "1", "1", "89.5", "", "2", "700"});
    ASSERT_TRUE(ReadUserPreventions("anna", locks));
    EXPECT_FALSE(locks.userSettings);
    EXPECT_TRUE(locks.monitoringSettings && G_NoMonitoringAccess);
    EXPECT_TRUE(locks.listsAndAnalysis && G_NoListEdit);
    EXPECT_TRUE(G_DayLimitOn);
    EXPECT_EQ(G_DayLimitMinutes, 90); // rounded to the even neighbour
    EXPECT_FALSE(G_MonthLimitOn);     // "2" is no set flag
    EXPECT_TRUE(UserCannotQuit());

    // a short record reads its missing lines as 0; only locked settings pages still let the user quit
    writeUser("Bernd", "", {"1", "0", "1"}, 3);
    ASSERT_TRUE(ReadUserPreventions("Bernd", locks));
    EXPECT_TRUE(locks.userSettings && locks.budgetSettings);
    EXPECT_FALSE(locks.monitoringSettings || locks.listsAndAnalysis || G_NoMonitoringAccess || G_DayLimitOn);
    EXPECT_FALSE(UserCannotQuit());
}

TEST_F(MainWindowLogicTest, StartUserChoice)
{
    CreateSupervisorFiles();
    writeUser("Bernd", "geheim");
    writeUser("Kurz", "geheim", {}, 8);
    const struct {
        const char* overview; // Config/Overview.cfg, nullptr: none
        const char* supervisorPassword;
        const char* name;
        StartUser::Action action;
        const char* user;
    } cases[] = {
        {nullptr, "", "", StartUser::NoLogin, "Supervisor"},
        {nullptr, "pass", "", StartUser::Login, "Supervisor"},
        {"1\r\nBernd\r\n", "", "", StartUser::Login, "Bernd"},
        {"1\r\nBernd\r\n", "", "Supervisor", StartUser::NoLogin, "Supervisor"},
        // the overview's user was deleted: Supervisor's password is asked, not skipped
        {"1\r\nAnna\r\n", "pass", "", StartUser::Login, "Supervisor"},
        {"1\r\nKurz\r\n", "pass", "", StartUser::Login, "Supervisor"},
    };
    for (const auto& c : cases) {
        QFile::remove(path("Config/Overview.cfg"));
        if (c.overview) writeFile("Config/Overview.cfg", c.overview);
        writeUser("Supervisor", c.supervisorPassword);
        const StartUser choice = ChooseStartUser(c.name);
        EXPECT_EQ(choice.action, c.action) << c.overview << c.name;
        EXPECT_EQ(choice.user, c.user) << c.overview << c.name;
    }

    writeFile("Config/Users.cfg", " 1\r\n");
    EXPECT_EQ(ChooseStartUser("Bernd").action, StartUser::NoLogin);
    QFile::remove(path("Config/Users.cfg"));

    // Supervisor unreadable too: the first user file; none at all: the program ends
    QFile::remove(path("Config/Overview.cfg"));
    writeUser("Supervisor", "", {}, 5);
    EXPECT_EQ(ChooseStartUser("").user, "Bernd");
    EXPECT_EQ(ChooseStartUser("Kurz").action, StartUser::Nothing);
    QDir(path("Benutzer")).removeRecursively();
    EXPECT_EQ(ChooseStartUser("").action, StartUser::NoUsers);
}

TEST_F(MainWindowLogicTest, DialerProtection)
{
    SimPlatform sim;
    const struct {
        bool protection;
        const char* entry; // nullptr: no connection
        const char* deny;  // nullptr: no Deny.sec
        bool denied;
    } cases[] = {
        {false, "Provider A", nullptr, false},
        {true, "Provider A", "Provider B\r\n1\r\nprovider a\r\n 1\r\n", false},
        {true, "Provider A", "provider a\r\n0\r\n", true},
        {true, "Provider A", "Provider B\r\n1\r\n", true},
        {true, "Provider A", nullptr, true},
        {true, "Provider A", "Provider A\r\n", true}, // a name without its flag
        {true, "unbekannt", nullptr, false},
        {true, "Unbekannt", nullptr, true},
        {true, nullptr, "\r\n1\r\n", false}, // a LAN link passes only through an empty name
        {true, nullptr, nullptr, true},
    };
    for (const auto& c : cases) {
        sim.phoneBook.connectionList.clear();
        sim.phoneBook.hangUpCalls.clear();
        QFile::remove(path("DialUp/Deny.sec"));
        if (c.deny) writeFile("DialUp/Deny.sec", c.deny);
        if (c.entry) {
            sim.phoneBook.addConnection(0x10, "Andere");
            sim.phoneBook.addConnection(0x20, c.entry);
        }
        G_DialerProtection = c.protection;
        EXPECT_EQ(IsDeniedConnection(), c.denied) << c.entry << c.deny;
        // the last connection only, and none without one
        EXPECT_EQ(sim.phoneBook.hangUpCalls.size(), c.denied && c.entry ? 1 : 0) << c.entry << c.deny;
        if (!sim.phoneBook.hangUpCalls.isEmpty()) {
            EXPECT_EQ(sim.phoneBook.hangUpCalls[0], 0x20u);
        }
    }

    // a denied connection that cannot be ended is recorded like any other, and that is said once
    sim.phoneBook.connectionList.clear();
    sim.phoneBook.addConnection(0x21, "Dialer");
    sim.phoneBook.hangUpRefusals.insert(0x21, ERROR_ACCESS_DENIED);
    dialogs.messages.clear();
    EXPECT_FALSE(IsDeniedConnection());
    EXPECT_FALSE(IsDeniedConnection());
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Verbindung 'Dialer' konnte nicht getrennt werden."});
}

namespace {
// Records what the detection asks of the main window.
struct FakeHost : DetectionHost {
    void setStatusTime(const QString& text) override { calls << "status " + text; }
    void hourChanged() override { calls << "hour"; }
    bool loadCounterPage() override
    {
        calls << QString("load %1").arg(G_DetectSource);
        if (onLoad) onLoad();
        if (refuse) return false;
        G_Recording = true;
        return true;
    }
    void placeCounterPage() override { calls << "place"; }
    void setCounterStopper(bool enabled) override { calls << QString("stopper %1").arg(enabled); }
    bool counterPageBusy() override { return busy; }
    void unloadSmallWindow() override { calls << "small"; }
    void unloadCounterPage() override
    {
        calls << "unload";
        if (failUnload) throw 1;
    }
    void setDetectionTimer(bool enabled) override { calls << QString("timer %1").arg(enabled); }
    bool anyChildFormLoaded() override { return pageOpen; }
    void showOverview() override { calls << "overview"; }

    QStringList calls;
    bool refuse = false, busy = false, failUnload = false, pageOpen = false;
    std::function<void()> onLoad;
};

class DetectionLoopTest : public ProgramTest {
protected:
    SimPlatform sim;
    FakeHost host;
    DetectionLoop loop{host};
};
} // namespace

TEST_F(DetectionLoopTest, OneTickStartsOneRecordingByTheFirstMethodThatSeesIt)
{
    G_MonitoringOn = true;
    G_WatchWininet = G_WatchIP = G_WatchTapi = true;
    G_TapiCallConnected = true;
    sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    sim.addresses.list = {"80.1.2.3"};
    loop.lastHour = 12;
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls, (QStringList{"status 17. Januar 2001 - 12:00:00", "load 1", "place"}));
    EXPECT_EQ(G_DetectSource, 1);

    // a refused start lets the next method try in the same tick
    G_Recording = false;
    host.calls.clear();
    host.refuse = true;
    clock.set(QDateTime(QDate(2001, 1, 17), QTime(13, 0, 0)));
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls, (QStringList{"hour", "status 17. Januar 2001 - 13:00:00", "load 1", "load 2", "load 3"}));
    EXPECT_EQ(loop.lastHour, 13);

    // monitoring off: the clock still runs, nothing is tested
    host.calls.clear();
    G_MonitoringOn = false;
    const int asked = sim.connected.calls;
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls, QStringList{"status 17. Januar 2001 - 13:00:00"});
    EXPECT_EQ(sim.connected.calls, asked);
}

TEST_F(DetectionLoopTest, ATickIsNotReenteredFromAMessageBoxInsideIt)
{
    G_MonitoringOn = G_WatchWininet = true;
    sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    loop.lastHour = 12;
    host.refuse = true;
    int nested = 0;
    host.onLoad = [&] {
        if (nested++ == 0) loop.OnlineCheck_Timer(); // the next tick fires while the refusal's box is open
    };
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls.filter("load").size(), 1);
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls.filter("load").size(), 2);
}

TEST_F(DetectionLoopTest, DeniedAndRefusedStartsPlaceNoPage)
{
    G_DialerProtection = true;
    sim.phoneBook.addConnection(7, "Fremd");
    loop.StartConnection();
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(sim.phoneBook.hangUpCalls, QList<quint32>{7});

    G_DialerProtection = false;
    host.refuse = true;
    loop.StartConnection();
    EXPECT_EQ(host.calls, QStringList{"load 0"});

    // one that cannot be ended (a root pppd) is recorded from the tick that found it; the message follows
    G_DialerProtection = G_MonitoringOn = G_WatchWininet = true;
    sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    sim.phoneBook.addConnection(8, "Dialer");
    sim.phoneBook.hangUpRefusals.insert(8, ERROR_ACCESS_DENIED);
    host.refuse = false;
    host.calls.clear();
    loop.lastHour = 12;
    loop.OnlineCheck_Timer();
    EXPECT_EQ(host.calls.filter("load"), QStringList{"load 1"});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Verbindung 'Dialer' konnte nicht getrennt werden."});
}

TEST_F(DetectionLoopTest, TearDownStepsSubcodesAndAWaitingPage)
{
    loop.CounterStopper_Timer();
    EXPECT_EQ(host.calls, (QStringList{"stopper 0", "small", "unload", "timer 1", "overview"}));

    host.calls.clear();
    host.pageOpen = true;
    loop.CounterStopper_Timer();
    EXPECT_EQ(host.calls, (QStringList{"stopper 0", "small", "unload", "timer 1"}));

    host.calls.clear();
    host.busy = true;
    loop.CounterStopper_Timer();
    EXPECT_EQ(host.calls, (QStringList{"stopper 0", "stopper 1"}));

    host.calls.clear();
    host.busy = false;
    host.failUnload = true;
    loop.CounterStopper_Timer();
    EXPECT_EQ(host.calls, (QStringList{"stopper 0", "small", "unload"}));
    EXPECT_TRUE(dialogs.messages.isEmpty()); // the tick has not waited for it
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Fehler beim Widerherstellen der Übersicht. Subcode 3.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbCritical);
    EXPECT_EQ(dialogs.messages[0].title, "Zumbrel");
}
