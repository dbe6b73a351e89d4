#include "core/Detection.h"
#include "core/platform/sim/SimLineMonitor.h"
#include "recording/ui/CounterPageFixture.h"
#include "users/ui/ConnectionCheck.h"

#include <QCheckBox>
#include <QComboBox>

namespace {
int g_ends = 0;

class ConnectionCheckPageTest : public CounterPageTest {
protected:
    void SetUp() override
    {
        CounterPageTest::SetUp();
        g_ends = 0;
        SetEndProgramRoutine([] { ++g_ends; });
        SetLineMonitor(&monitor);
    }
    void TearDown() override
    {
        ShutdownTapiMonitoring();
        SetLineMonitor(nullptr);
        CounterPageTest::TearDown();
    }
    ConnectionCheck* open()
    {
        if (!form) {
            form = Form1::instance();
            form->Form_Load();
        }
        return qobject_cast<ConnectionCheck*>(form->showPage("ConnectionCheck"));
    }
    SimLineMonitor monitor;
};

TEST_F(ConnectionCheckPageTest, FirstOpeningWritesTheDefaultsAndTheIntervalSetsTheTimer)
{
    ConnectionCheck* page = open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(readFile("Config/ConCheck.cfg"), " 0\r\n 1\r\n 0\r\n 0\r\n2\r\n");
    page->comInterval->setCurrentIndex(page->comInterval->findText("5"));
    EXPECT_EQ(G_CheckIntervalSec, 5);
    EXPECT_EQ(form->OnlineCheck.interval(), 5000);
    EXPECT_EQ(readFile("Config/ConCheck.cfg"), " 0\r\n 1\r\n 0\r\n 0\r\n5\r\n");
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(ConnectionCheckPageTest, TelephonyStartsAndStopsAtTheClick)
{
    ConnectionCheck* page = open();
    page->Check1[2]->setChecked(true);
    EXPECT_TRUE(G_WatchTapi);
    EXPECT_EQ(monitor.calls.value(0), "initialize");
    EXPECT_EQ(readFile("Config/ConCheck.cfg"), " 0\r\n 1\r\n 0\r\n 1\r\n2\r\n");
    monitor.calls.clear();
    page->Check1[2]->setChecked(false);
    EXPECT_EQ(monitor.calls, (QStringList{"close 9", "shutdown 7"}));
    EXPECT_FALSE(G_WatchTapi);

    monitor.available = false;
    monitor.calls.clear();
    page->Check1[2]->setChecked(true);
    EXPECT_FALSE(page->Check1[2]->isChecked());
    EXPECT_EQ(dialogs.texts(), QStringList{TAPI_CANNOT_ACTIVATE});
    EXPECT_TRUE(dialogs.texts().value(0).startsWith("Die TAPI Überwachung läßt sich nicht aktivieren. "));
    EXPECT_FALSE(monitor.calls.contains("initialize"));
    EXPECT_EQ(readFile("Config/ConCheck.cfg"), " 0\r\n 1\r\n 0\r\n 0\r\n2\r\n");
}

TEST_F(ConnectionCheckPageTest, UnavailableConnectedStateResetsStoresTheRecordingAndEnds)
{
    ASSERT_NE(start(), nullptr);
    ticks(3);
    ASSERT_TRUE(G_Recording);
    ConnectionCheck* page = open();
    page->Check1[1]->setChecked(false);
    sim.connected.available = false;

    page->Check1[1]->setChecked(true);
    EXPECT_EQ(dialogs.texts(), (QStringList{WININET_CANNOT_ACTIVATE, MONITORING_RESET_MESSAGE}));
    EXPECT_EQ(readFile("Config/ConCheck.cfg"), " 0\r\n 0\r\n 0\r\n 0\r\n 2\r\n");
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(records().size(), 1);
    EXPECT_EQ(g_ends, 1);
}
} // namespace
