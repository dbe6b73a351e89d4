#include "recording/CounterSettings.h"
#include "support/TestSupport.h"

class CounterSettingsTest : public ProgramTest {};

TEST_F(CounterSettingsTest, UpdateDueTable)
{
    clock.set(QDateTime(QDate(2002, 3, 20), QTime(10, 0)));
    const struct {
        const char* autoupdate; // nullptr: no file
        const char* update;     // nullptr: no file
        bool due;
    } cases[] = {
        {nullptr, nullptr, false},
        {" 0\r\n 7\r\n", nullptr, false},
        {" 1\r\n 7\r\n", nullptr, true},
        {" 1\r\n 7\r\n", " 5\r\n20.03.2002\r\n", false},
        {" 1\r\n 7\r\n", " 5\r\n13.03.2002\r\n", true},
        {" 1\r\n 7\r\n", " 5\r\n14.03.2002\r\n", false},
        {" 1\r\n 3\r\n", " 5\r\n14.03.2002\r\n", false}, // below 7 counts as 7
        {" 1\r\n 3\r\n", " 5\r\n13.03.2002\r\n", true},
        {" 1\r\n 14\r\n", " 5\r\n13.03.2002\r\n", false},
        {" 1\r\n 7\r\n", " 5\r\n1.3.02\r\n", false},       // a short date line counts as today
        {" 1\r\n 7\r\n", " 5\r\n21.03.2002\r\n", true},    // in the future
    };
    for (const auto& c : cases) {
        QFile::remove(path("Config/Autoupdate.cfg"));
        QFile::remove(path("Config/Update.cfg"));
        if (c.autoupdate) writeFile("Config/Autoupdate.cfg", c.autoupdate);
        if (c.update) writeFile("Config/Update.cfg", c.update);
        EXPECT_EQ(LoadAutoupdateConfig(), c.due) << (c.autoupdate ? c.autoupdate : "-") << (c.update ? c.update : "-");
    }
}

TEST_F(CounterSettingsTest, SwitchFiles)
{
    EXPECT_EQ(LoadSwitchFile("Timesync.cfg"), 0);
    SaveSwitchFile("Timesync.cfg", 1);
    EXPECT_EQ(readFile("Config/Timesync.cfg"), " 1\r\n");
    EXPECT_EQ(LoadSwitchFile("timesync.CFG"), 1);
    writeFile("Config/Smallwindow.cfg", "");
    EXPECT_EQ(LoadSwitchFile("Smallwindow.cfg"), 0);
    SaveMonitoringConfig(0);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 0\r\n");
}
