#include "core/Detection.h"
#include "core/Globals.h"
#include "core/platform/sim/SimConnectedState.h"
#include "core/platform/sim/SimHostAddresses.h"
#include "core/platform/sim/SimLineMonitor.h"

#include "support/TestSupport.h"

namespace {
// Records the watched switch's value at the moment each box appears.
class SwitchWatchingDialogs : public ScriptedDialogs {
public:
    explicit SwitchWatchingDialogs(const bool* watched) : m_watched(watched) {}
    int messageBox(const MessageRequest& r) override
    {
        switchAtBox << *m_watched;
        return ScriptedDialogs::messageBox(r);
    }
    QList<bool> switchAtBox;

private:
    const bool* m_watched;
};

class DetectionTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetConnectedState(&state);
        SetLineMonitor(&line);
        SetHostAddresses(&host);
    }
    void TearDown() override
    {
        ShutdownTapiMonitoring();
        SetConnectedState(nullptr);
        SetLineMonitor(nullptr);
        SetHostAddresses(nullptr);
        ProgramTest::TearDown();
    }
    SimConnectedState state;
    SimLineMonitor line;
    SimHostAddresses host;
};
} // namespace

TEST_F(DetectionTest, ConnectedStateFollowsTheEnabledMethods)
{
    const struct {
        bool modem, lan;
        quint32 flags;
        bool expected;
    } cases[] = {
        {true, false, 1, true},  {true, false, 2, false},  {true, false, 4, false},
        {false, true, 1, false}, {false, true, 2, true},   {false, true, 4, true},
        {true, true, 7, true},   {false, false, 7, false}, {true, true, 0, false},
    };
    for (const auto& c : cases) {
        G_WatchWininet = c.modem;
        G_WatchLan = c.lan;
        state.currentFlags = c.flags;
        EXPECT_EQ(CheckWininetConnection(), c.expected) << c.modem << c.lan << c.flags;
    }
}

TEST_F(DetectionTest, TapiStartAndFailuresSwitchOffBeforeOneMessage)
{
    const QStringList opened = {"initialize", "negotiate 7 0 10000 10004", "open 7 0 10004 2 10"};
    const struct {
        qint32 init, negotiate, open;
        quint32 devices;
        QStringList calls;
    } cases[] = {
        {0, 0, 0, 1, opened},
        {-1, 0, 0, 1, {"initialize"}},
        {0, 0, 0, 0, {"initialize", "shutdown 7"}},
        {0, -5, 0, 1, {"initialize", "negotiate 7 0 10000 10004", "shutdown 7"}},
        {0, 0, -3, 1, opened + QStringList{"shutdown 7"}},
    };
    for (const auto& c : cases) {
        SwitchWatchingDialogs watching(&G_WatchTapi);
        SetDialogHandler(&watching);
        line.calls.clear();
        line.initializeResult = c.init;
        line.negotiateResult = c.negotiate;
        line.openResult = c.open;
        line.deviceCount = c.devices;
        G_WatchTapi = true;
        InitTapiMonitoring();
        EXPECT_EQ(line.calls, c.calls);
        line.calls.clear();
        ShutdownTapiMonitoring();
        ShutdownTapiMonitoring(); // handles are cleared: nothing is closed twice
        SetDialogHandler(&dialogs);
        if (c.calls == opened) {
            EXPECT_TRUE(G_WatchTapi);
            EXPECT_TRUE(watching.messages.isEmpty());
            EXPECT_EQ(line.calls, QStringList({"close 9", "shutdown 7"}));
            continue;
        }
        EXPECT_FALSE(G_WatchTapi);
        ASSERT_EQ(watching.messages.size(), 1);
        EXPECT_EQ(watching.messages[0].text, "Fehler beim Initialisieren der TAPI Überwachung. Bitte deaktivieren "
                                             "Sie die TAPI Überwachung in den Überwachungseinstellungen.");
        EXPECT_EQ(watching.messages[0].icon(), int(vbExclamation));
        EXPECT_EQ(watching.switchAtBox, QList<bool>{false});
        EXPECT_TRUE(line.calls.isEmpty()); // nothing left open
    }
}

TEST_F(DetectionTest, LineCallbackTable)
{
    InitTapiMonitoring();
    ASSERT_TRUE(line.callback);
    const struct {
        bool before;
        quint32 call, message, state;
        bool after;
        QStringList calls;
    } cases[] = {
        {false, 5, 2, 0x100, true, {}},
        {false, 0, 2, 0x100, false, {}}, // CONNECTED without a call handle
        {true, 5, 2, 0x1, false, {"deallocate 5"}},
        {true, 0, 2, 0x1, true, {}},   // IDLE without a call handle
        {true, 5, 2, 0x40, false, {}}, // BUSY: no deallocation
        {true, 0, 2, 0x40, false, {}},
        {true, 5, 2, 0x4000, false, {}},
        {true, 5, 2, 0x4, true, {}},     // other states change nothing
        {false, 5, 3, 0x100, false, {}}, // not a call-state message
        {true, 5, 3, 0x1, true, {}},
    };
    for (const auto& c : cases) {
        line.calls.clear();
        G_TapiCallConnected = c.before;
        line.fire(c.call, c.message, c.state);
        EXPECT_EQ(G_TapiCallConnected, c.after) << c.call << " " << c.message << " " << c.state;
        EXPECT_EQ(line.calls, c.calls);
    }
}

TEST_F(DetectionTest, IgnoredPatternsCompareOctetByOctet)
{
    const QStringList defaults = IgnoredIPPatterns("192.168.*.*, 10.*.*.*");
    EXPECT_EQ(defaults, QStringList({"192.168.*.*", "10.*.*.*"}));
    const struct {
        const char* address;
        QStringList patterns;
        bool ignored;
    } cases[] = {
        {"192.168.0.1", defaults, true},
        {"10.0.0.5", defaults, true},
        {"217.5.1.2", defaults, false},
        {"100.1.2.3", defaults, false}, // not cut at the pattern's dots
        {"192.168.10.5", {"192.168.1.*"}, false},
        {"80.1.2.35", {"80.1.2.*5"}, true},  // "*" at an octet's start is a wildcard
        {"80.1.2.35", {"80.1.2.3*"}, false}, // elsewhere it is a character
        {"80.1.2.3*", {"80.1.2.3*"}, true},
        {"10.0.0.5", {"", "garbage", "192.168.*", "10.*.*.*"}, true}, // malformed patterns are passed over
        {"10.0.0.5", {"10..*.*"}, false},
        {"10.0.0", {"10.*.*.*"}, false},
        {"1.2.3.4", {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsIgnoredIP(c.address, c.patterns), c.ignored) << c.address << c.patterns.join('|').toStdString();
    G_IgnoredIPs = "192.168.*.*, 10.*.*.*";
    EXPECT_TRUE(IsIgnoredIP("10.1.1.1"));
    EXPECT_FALSE(IsIgnoredIP("100.1.1.1"));
}

TEST_F(DetectionTest, IpWatchNeedsAnAddressThatIsNotIgnored)
{
    G_IgnoredIPs = "192.168.*.*, 10.*.*.*";
    G_WatchIP = true;
    InitWinsock();
    for (auto [list, connected] : {std::pair{QStringList{"192.168.0.1", "80.1.2.3"}, true},
                                   {{"80.1.2.3", "192.168.0.1"}, true}, {{"192.168.0.1"}, false},
                                   {{"192.168.0.1", "100.64.0.1"}, true}, {{}, false}}) {
        host.list = list;
        EXPECT_EQ(CheckIPConnection(), connected) << list.join(' ').toStdString();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(G_WatchIP);
    CleanupWinsock();
    EXPECT_EQ(host.calls.first(), "startup");
    EXPECT_EQ(host.calls.last(), "cleanup");

    const QString text = "Die IP Überwachung ist nicht ausführbar! Bitte deaktivieren Sie diese in den "
                         "Überwachungseinstellungen.";
    SwitchWatchingDialogs watching(&G_WatchIP);
    SetDialogHandler(&watching);
    host.startupResult = false;
    InitWinsock();
    EXPECT_FALSE(G_WatchIP);
    G_WatchIP = true;
    host.lookupResult = false;
    host.list = {"80.1.2.3"};
    EXPECT_FALSE(CheckIPConnection());
    EXPECT_FALSE(G_WatchIP);
    EXPECT_EQ(watching.texts(), QStringList({text, text}));
    EXPECT_EQ(watching.switchAtBox, QList<bool>({false, false}));
    for (const auto& m : watching.messages) EXPECT_EQ(m.icon(), int(vbExclamation));
    SetDialogHandler(&dialogs);
}
