#include "core/Globals.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/platform/linux/QtDownloader.h"
#include "recording/ConnectionRecord.h"
#include "recording/CounterEngine.h"
#include "recording/CounterEvents.h"
#include "recording/OverviewFiles.h"
#include "recording/RunningRecord.h"
#include "records/ConnectionList.h"
#include "records/DifferenceSettings.h"
#include "support/LoopbackServer.h"
#include "support/SimPlatform.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QDir>
#include <QDirIterator>

#include <chrono>
#include <limits>
#include <thread>

namespace {
struct RecordedEvents : CounterEvents {
    void setMainCaption(const QString& t) override { caption = t; }
    void setMainStatus(int item, const QString& t) override { status[item] = t; }
    void setNavigationItem0(const QString& t) override { nav0 = t; }
    void setDetectionTimer(bool on) override { detection = on; }
    void armCounterStopper() override { ++stoppers; }
    void startRefused() override { ++refusals; }
    void showCountdown() override { countdowns << Now().time().toString("HH:mm:ss"); }
    void showNotice(int kind, const QString&) override { notices << kind; }
    void showSmallWindow(bool show) override { smallWindow = show; }
    int checkForUpdates() override { ++updateChecks; return updatesFound; }

    QString caption, nav0, status[2];
    bool detection = true, smallWindow = false;
    int stoppers = 0, refusals = 0, updateChecks = 0, updatesFound = 0;
    QStringList countdowns;
    QList<int> notices;
};
} // namespace

class CounterEngineTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2001, 1, 17), QTime(12, 0, 0))); // a Wednesday
        G_ActiveUser = "Anna";
        G_Currency = QStringLiteral("€");
        G_FreeAllowanceLeft = "-";
        G_WinVer = "6.1";
        tariff("Tag", "60 / 60", {{0, 24, 1.9f, false}});
    }
    void TearDown() override
    {
        engines.clear(); // their running-file writers end before the folder syncer is put back
        ProgramTest::TearDown();
    }

    // A tariff "Net - <name>.tel" with one working-day zone per (from, to, cents) and the weekend at 0.
    void tariff(const QString& name, const QString& takt, const QList<TarifZone>& zones, const QString& base = "0")
    {
        TarifFile t = TarifFile::New("Net", name);
        t.takt = takt;
        t.callBaseFee = base;
        t.zones = zones;
        ASSERT_TRUE(WriteTarifFile(t));
        G_Tariff = t.fileName();
    }

    // 10 cents a megabyte, a base fee of 2 cents, 300 KB carried over from the last recording.
    void volumeTariff(const QString& freeMegabytes = "0", const QString& megabytes = "1")
    {
        TarifFile t = TarifFile::New("Net", "Volumen");
        t.freeAllowance = freeMegabytes;
        t.volumeBilling = true;
        t.volumeCents = 10;
        t.volumeUnit = megabytes;
        t.callBaseFee = "2";
        ASSERT_TRUE(WriteTarifFile(t));
        G_Tariff = t.fileName();
        writeFile("Prerun/Net - Volumen.dat", " 300\r\n");
    }

    // The running billing timer ticks: the first tick as the page's one-shot fires it, a millisecond after the
    // start, every further one a second after the last.
    void tick(CounterEngine& e, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            if (e.TimerStarter) {
                clock.advanceMs(1);
                e.TimerStarter_Timer();
                continue;
            }
            clock.advance(1);
            if (e.RSTimer1) e.RSTimer1_Timer();
            else if (e.RSTimer2) e.RSTimer2_Timer();
        }
        e.runningRecord.flush(); // the minute's write is on the disk
    }

    // A recording started now; the engine runs until the test ends or stops it.
    CounterEngine& start()
    {
        engines.push_back(std::make_unique<CounterEngine>(events));
        EXPECT_TRUE(engines.back()->Form_Load());
        return *engines.back();
    }

    QStringList recordLines()
    {
        const QStringList files = ListRecordFiles();
        if (files.size() != 1) return {};
        RecordLines r;
        ReadRecord(files[0], r);
        return r.lines;
    }

    SimPlatform platform;
    RecordedEvents events;
    std::vector<std::unique_ptr<CounterEngine>> engines;
};

TEST_F(CounterEngineTest, TimeBillingWorkedExample)
{
    CounterEngine& e = start();
    EXPECT_FLOAT_EQ(e.Cost, 0.019f);
    EXPECT_EQ(e.lblEinheit, "60s");
    EXPECT_EQ(e.lblEuroProMinute, "0,019 €");
    EXPECT_EQ(e.lblFreeCaption, "Restfreizeit:");
    EXPECT_FALSE(events.detection);
    EXPECT_TRUE(G_Recording);
    EXPECT_EQ(events.status[1], "Aufzeichnung aktiv");
    EXPECT_EQ(events.nav0, "Verbindung");
    EXPECT_EQ(e.lblStartzeit + e.lblStartzeitTag + e.lblTarifname, "12:00:0017012001Net - Tag");
    ASSERT_TRUE(e.TimerStarter);

    tick(e); // the first tick runs at once
    EXPECT_TRUE(e.RSTimer1);
    EXPECT_EQ(e.lblDauer, "00:00:01");
    EXPECT_EQ(e.lblEinheiten, "1 (59s)");
    EXPECT_EQ(e.lblKosten, "0,019 €");
    EXPECT_EQ(e.lblRestFrei, "keine");
    EXPECT_EQ(events.status[0], "17. Januar 2001 - 12:00:00");
    EXPECT_EQ(events.caption, "0,019 € | 00:00:01 | 0.0 | unbekannt");
    tick(e, 59);
    EXPECT_EQ(e.lblEinheiten, "2 (60s)");
    EXPECT_FLOAT_EQ(e.Cost, 0.019f);
    tick(e);
    EXPECT_EQ(e.lblDauer, "00:01:01");
    EXPECT_EQ(e.lblKosten, "0,038 €");
    tick(e, 59);
    EXPECT_EQ(e.lblKosten, "0,038 €");
    tick(e);
    EXPECT_EQ(e.lblKosten, "0,057 €");
}

TEST_F(CounterEngineTest, LateTicksCountTheSecondsTheyMissed)
{
    // A recording from 23:58:59 on the 17th with these budget lines, after 0,97 € spent that day.
    const auto lateOnThe17th = [&](const QByteArray& budget) {
        clock.set(QDateTime(QDate(2001, 1, 17), QTime(23, 58, 59)));
        writeFile("Benutzer/Anna.bdg", budget);
        QDir(path("Verbindungen")).removeRecursively(); // the rows before stored their recordings
        ConnectionRecord spent;
        spent.startDate = ShortDate(QDate(2001, 1, 17));
        spent.duration = "00:51:00";
        spent.cost = "0,97";
        spent.user = "Anna";
        ASSERT_TRUE(WriteConnectionRecord(ConnectionRecordFileName(QDate(2001, 1, 17), QTime(10, 0)), spent));
    };
    // After the ticks on time (the first counts the first second), ticks this many milliseconds apart, and the
    // duration after each.
    const struct {
        const char* what;
        std::function<void()> setup;
        int dayLimitMinutes; // -1: no limit
        int wallShift;       // the clock synchronisation sets the wall clock by this many seconds first
        int onTime;          // ticks before, one second apart
        std::vector<int> gapsMs;
        QStringList durations;
        const char *cost, *units;
        int countdowns;
        const char* running; // the running file's duration after the last tick
        QList<int> notices = {}; // the budget notices given
    } cases[] = {
        {"60/60 held 5 s across its second unit and the limit", [] {}, 1, 0, 58, {5000}, {"00:01:03"}, "0,038 €",
         "2 (57s)", 1, "00:01:03"},
        {"10-second units", [&] { tariff("Zehn", "10 / 10", {{0, 24, 6, false}}); }, -1, 0, 8, {5000},
         {"00:00:13"}, "0,020 €", "2 (7s)", 0, "00:00:01"},
        {"on time with jitter", [] {}, -1, 0, 1, {1020, 980, 1003, 997},
         {"00:00:02", "00:00:03", "00:00:04", "00:00:05"}, "0,019 €", "1 (55s)", 0, "00:00:01"},
        {"a fraction waits for the next tick; an early tick counts none", [] {}, -1, 0, 1, {2600, 400, 1000, 300},
         {"00:00:03", "00:00:04", "00:00:05", "00:00:05"}, "0,019 €", "1 (55s)", 0, "00:00:01"},
        {"the wall clock set an hour on", [] {}, -1, 3600, 1, {1000}, {"00:00:02"}, "0,019 €", "1 (58s)", 0,
         "00:00:01"},
        {"volume: the duration catches up, one unit a tick",
         [&] {
             volumeTariff();
             platform.phoneBook.addConnection(7, "Netz", "ppp0");
             platform.counters.set("ppp0", 2000000, 500000);
         },
         -1, 0, 1, {5000}, {"00:00:06"}, "0,220 €", "2 (-200KB)", 0, "00:00:01"},
        // 17:59:57 to 18:00:01: three seconds at 0,1 cent, two at 1 cent, after the first unit of 0,1 cent
        {"held 5 s across a price change at 18:00",
         [&] {
             clock.set(QDateTime(QDate(2001, 1, 17), QTime(17, 59, 56)));
             tariff("Abend", "1 / 1", {{0, 18, 6, false}, {18, 24, 60, false}});
         },
         -1, 0, 1, {5000}, {"00:00:06"}, "0,024 €", "sek.genau", 0, "00:00:01"},
        // units at 17:00:59 ... 17:59:59, all sixty at 6 cents a minute
        {"held an hour across two price changes",
         [&] {
             clock.set(QDateTime(QDate(2001, 1, 17), QTime(16, 59, 59)));
             tariff("Stunden", "60 / 60", {{0, 17, 1.9f, false}, {17, 18, 6, false}, {18, 24, 60, false}});
         },
         -1, 0, 1, {3602000}, {"01:00:03"}, "3,619 €", "61 (57s)", 0, "01:00:03"},
        // on time the first tick comes a millisecond after the start and counts 1 + the whole seconds since
        {"a first tick 3 s late counts from the start", [] {}, -1, 0, 0, {3001, 1000}, {"00:00:04", "00:00:05"},
         "0,019 €", "1 (55s)", 0, "00:00:04"},
        {"a first tick 70 s late counts from the start", [] {}, -1, 0, 0, {70001, 1000}, {"00:01:11", "00:01:12"},
         "0,038 €", "2 (48s)", 0, "00:01:11"},
        // 0,03 € left today: the unit at 23:59:59 overruns it before the new day's budget is read
        {"held 5 s across midnight with a day budget",
         [&] { lateOnThe17th(" 1\r\n 2\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n"); }, -1, 0, 58, {5000},
         {"00:01:03"}, "0,038 €", "2 (57s)", 0, "00:01:03", {1}},
        // 0,03 € left of a period that ends on the 17th: that unit still counts against it
        {"held 5 s across a period's last midnight",
         [&] { lateOnThe17th(" 0\r\n 0\r\n 1\r\n1.1.2001\r\n17.1.2001\r\n"); }, -1, 0, 58, {5000},
         {"00:01:03"}, "0,038 €", "2 (57s)", 0, "00:01:03", {3}},
    };
    for (const auto& c : cases) {
        QFile::remove(path(RUNNING_RECORD_FILE));
        tariff("Tag", "60 / 60", {{0, 24, 1.9f, false}});
        c.setup();
        G_DayLimitOn = c.dayLimitMinutes >= 0;
        G_DayLimitMinutes = qMax(0, c.dayLimitMinutes);
        events.countdowns.clear();
        events.notices.clear();
        CounterEngine& e = start();
        tick(e, c.onTime);
        clock.set(clock.now().addSecs(c.wallShift));
        QStringList durations;
        for (const int gap : c.gapsMs) {
            clock.advanceMs(gap);
            if (e.TimerStarter) e.TimerStarter_Timer();
            else e.IsVolumeBilling ? e.RSTimer2_Timer() : e.RSTimer1_Timer();
            durations << e.lblDauer;
        }
        EXPECT_EQ(durations, c.durations) << c.what;
        EXPECT_EQ(e.lblKosten, QString::fromUtf8(c.cost)) << c.what;
        EXPECT_EQ(e.lblEinheiten, QString(c.units)) << c.what;
        EXPECT_EQ(events.caption.section(" | ", 1, 1), c.durations.last()) << c.what; // once, after the seconds
        EXPECT_EQ(events.countdowns.size(), c.countdowns) << c.what;
        EXPECT_EQ(events.notices, c.notices) << c.what;
        e.runningRecord.flush();
        EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).value(2), QString(c.running)) << c.what;
        e.cmdStop_Click();
    }
}

TEST_F(CounterEngineTest, FirstUnitBundlingAndZoneChange)
{
    tariff("Tag", "60 / 60", {{0, 24, 1.9f, false}}, "5");
    G_ChannelBundling = true; // doubles the base fee and every unit
    EXPECT_FLOAT_EQ(start().Cost, 0.05f * 2 + 0.038f);

    G_ChannelBundling = false; // "60 / 1": the first unit costs the whole minute
    tariff("Sekunde", "60 / 1", {{0, 24, 1.9f, false}});
    CounterEngine& s = start();
    EXPECT_FLOAT_EQ(s.Cost, 0.019f);
    EXPECT_EQ(s.lblEinheit, "60s");
    EXPECT_EQ(s.lblEuroProMinute, "0,019 €");
    tick(s, 61);
    EXPECT_EQ(s.lblEinheiten, "sek.genau");
    EXPECT_FLOAT_EQ(s.Cost, 0.019f + 0.019f / 60);

    clock.set(QDateTime(QDate(2001, 1, 17), QTime(17, 58, 30))); // crossing 18:00
    tariff("Abend", "60 / 60", {{0, 18, 1.9f, false}, {18, 24, 0.9f, false}});
    CounterEngine& e = start();
    tick(e, 61); // 17:59:31, second unit at the day price
    EXPECT_NEAR(e.Cost, 0.038, 1e-6);
    tick(e, 60); // 18:00:31, third unit at the evening price
    EXPECT_NEAR(e.Cost, 0.038 + 0.009, 1e-6);

    // Takts beyond 16 bits come from update servers and hand edits: the first unit whole, then nothing
    // until it has passed. A unit beyond the single range is malformed (0 seconds, as without a Takt); a price
    // whose arithmetic overflows single precision is billed in double, and a cost beyond the single range
    // stops at its end, which the record and the list read back.
    const QString huge = "340282300000000000000000000000000000000,000 €";
    const struct {
        const char* takt;
        float cents;
        int ticks;
        QString unit, unitPrice, units, cost, stored;
    } longUnits[] = {
        {"32767 / 32767", 6, 7, "32767s", "32,767 €", "1 (32760s)", "32,767 €", "S32,77"},
        {"32768 / 32768", 6, 7, "32768s", "32,768 €", "1 (32761s)", "32,768 €", "S32,77"},
        {"40000 / 40000", 6, 7, "40000s", "40,000 €", "1 (39993s)", "40,000 €", "S40,00"},
        {"86400 / 86400", 6, 7, "86400s", "86,400 €", "1 (86393s)", "86,400 €", "S86,40"},
        {"60 / 40000", 6, 7, "40000s", "40,000 €", "1 (53s)", "0,060 €", "S0,06"},
        {"60 / 1000000000000000000000000000000000000000", 6, 61, "0s", "0,000 €", "sek.genau", "0,060 €", "S0,06"},
        {"60 / 60", 3.4e38f, 61, "60s", "3400000000000000000000000000000000000,000 €", "2 (59s)",
         "6800000000000000000000000000000000000,000 €", "S6800000000000000000000000000000000000,00"},
        {"1 / 300000000000000000000000000000000000000", 3.4e38f, 2, "3E+38s", huge, "2 (3E+38s)", huge,
         "S" + huge.chopped(3)},
    };
    for (const auto& c : longUnits) {
        for (const QString& f : ListRecordFiles()) QFile::remove(path("Verbindungen/" + f));
        tariff("Lang", c.takt, {{0, 24, c.cents, false}});
        CounterEngine& l = start();
        EXPECT_EQ(l.lblEinheit, c.unit) << c.takt;
        EXPECT_EQ(l.lblEuroProMinute, c.unitPrice) << c.takt;
        tick(l, c.ticks);
        EXPECT_EQ(l.lblEinheiten, c.units) << c.takt;
        EXPECT_EQ(l.lblKosten, c.cost) << c.takt;
        EXPECT_TRUE(events.countdowns.isEmpty()) << c.takt;
        l.cmdStop_Click();
        EXPECT_EQ(recordLines().value(3), c.stored) << c.takt;
        ListMarking marking;
        const ConnectionListResult list = LoadConnectionList(ConnectionListQuery(), marking);
        ASSERT_EQ(list.rows.size(), 1u) << c.takt;
        EXPECT_EQ(list.rows[0].cell(ColCost), c.stored.mid(1) + "0") << c.takt;
    }
}

TEST_F(CounterEngineTest, VolumeBillingWithCarry)
{
    volumeTariff();
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    platform.counters.set("ppp0", 0, 0);
    CounterEngine& e = start();
    EXPECT_EQ(e.lblEinheit, "1MB");
    EXPECT_EQ(e.lblEuroProMinute, "0,100 €");
    EXPECT_EQ(e.lblFreeCaption, "Restfreitransfer:");
    EXPECT_FLOAT_EQ(e.Cost, 0.02f); // the base fee only
    tick(e);
    EXPECT_TRUE(e.RSTimer2 && !e.RSTimer1);
    EXPECT_EQ(e.lblEinheiten, "Flatrate");
    EXPECT_EQ(e.lblKosten, "0,020 €"); // shown although no byte was counted
    platform.counters.set("ppp0", 200000, 99999);
    tick(e);
    EXPECT_EQ(e.lblBytesInOut, "299.999 Bytes");
    EXPECT_EQ(e.UnitsDone, 0);
    EXPECT_EQ(e.lblEinheiten, "0 (0KB)");
    platform.counters.set("ppp0", 200000, 100000);
    tick(e);
    EXPECT_EQ(e.UnitsDone, 1);
    EXPECT_EQ(e.lblKosten, "0,120 €");
    EXPECT_EQ(e.lblEinheiten, "1 (1000KB)");
    e.cmdStop_Click();
    EXPECT_EQ(readFile("Prerun/Net - Volumen.dat"), " 1000\r\n");
    const QStringList lines = recordLines();
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines.mid(3, 6), QStringList({"S0,12", "1", "200000", "100000", "300000", "Netz"}));
}

TEST_F(CounterEngineTest, VolumeRecordingWithoutBytesKeepsCarryAndBaseFee)
{
    volumeTariff();
    CounterEngine& e = start();
    tick(e, 3);
    e.cmdStop_Click();
    EXPECT_EQ(readFile("Prerun/Net - Volumen.dat"), " 300\r\n");
    EXPECT_EQ(recordLines().mid(3, 3), QStringList({"S0,02", "0", "0"}));

    QFile::remove(path("Prerun/Net - Volumen.dat")); // a time-billed recording writes no carry file
    tariff("Tag", "60 / 60", {{0, 24, 1.9f, false}});
    CounterEngine& t = start();
    tick(t);
    t.cmdStop_Click();
    EXPECT_FALSE(exists("Prerun/Net - Volumen.dat") || exists("Prerun/Net - Tag.dat"));
}

// Megabytes whose kilobytes lie beyond the single range are malformed: a unit of 0, as a tariff without one.
TEST_F(CounterEngineTest, VolumeUnitBeyondTheSingleRangeIsNone)
{
    volumeTariff("0", "1E+36");
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    platform.counters.set("ppp0", 200000, 100000);
    CounterEngine& e = start();
    EXPECT_EQ(e.lblEinheit, "0MB");
    tick(e, 2);
    EXPECT_EQ(e.lblEinheiten, "Flatrate");
    EXPECT_EQ(e.lblKosten, "0,020 €");
    e.cmdStop_Click();
    EXPECT_EQ(readFile("Prerun/Net - Volumen.dat"), " 0\r\n");
}

TEST_F(CounterEngineTest, FreeTransferLeftShowsItsKilobytes)
{
    volumeTariff("5000");
    ConnectionRecord earlier;
    earlier.startDate = "03.01.2001";
    earlier.bytesTotal = "123457";
    ASSERT_TRUE(WriteConnectionRecord("03012001-100000.con", earlier));
    CounterEngine& e = start();
    tick(e);
    EXPECT_EQ(G_FreeAllowanceLeft, "4999,876543");
    EXPECT_EQ(e.lblRestFrei, "4999,877MB");
}

TEST_F(CounterEngineTest, StopWritesWhatTheLabelsShow)
{
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    platform.counters.set("ppp0", 1234567, 1000);
    CounterEngine& e = start();
    tick(e, 61);
    e.cmdStop_Click(); // started by hand: no question
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(events.caption, "Zumbrel 3.3");
    EXPECT_EQ(events.status[1], "Aufzeichnung ist nicht aktiv");
    EXPECT_EQ(events.nav0, QStringLiteral("Übersicht"));
    EXPECT_EQ(events.stoppers, 1);
    EXPECT_FALSE(e.RSTimer1 || e.RSTimer2 || e.Timer1 || e.TimerStarter);
    EXPECT_EQ(ListRecordFiles(), QStringList({"17012001-120000.con"}));
    EXPECT_EQ(recordLines(), QStringList({"S17.01.2001", "12:00:00", "00:01:01", "S0,04", "2", "1234567", "1000",
                                          "1235567", "Netz", "Net - Tag.tel", "Anna"}));
    const QString shown = e.lblDauer;
    clock.advance(5);
    e.RSTimer1_Timer(); // a tick after the stop does nothing, nor catches up
    EXPECT_EQ(e.lblDauer, shown);
}

TEST_F(CounterEngineTest, RunningRecordEveryMinuteOutlivesACrashAndGoesAtTheStop)
{
    writeFile("Benutzer/Anna.bdg", " 1\r\n 2\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    G_DayLimitOn = true;
    G_DayLimitMinutes = 10;
    CounterEngine& e = start();
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
    tick(e); // the first second
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE), QStringList({"S17.01.2001", "12:00:00", "00:00:01", "S0,02", "1", "0",
                                                            "0", "0", "unbekannt", "Net - Tag.tel", "Anna"}));
    EXPECT_EQ(syncedFolders, QStringList({"Config"}));
    const QByteArray first = readFile(RUNNING_RECORD_FILE);
    tick(e, 59);
    EXPECT_EQ(readFile(RUNNING_RECORD_FILE), first); // once a minute, not every second
    EXPECT_EQ(syncedFolders.size(), 1);
    tick(e);
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).mid(2, 3), QStringList({"00:01:01", "S0,04", "2"}));
    tick(e, 60);
    const QByteArray last = readFile(RUNNING_RECORD_FILE);
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).mid(2, 2), QStringList({"00:02:01", "S0,06"}));
    e.GetTimeLimit();
    EXPECT_EQ(G_DayRestSeconds, 600); // the walks never read the running file

    // A normal stop stores those very bytes and removes the running file.
    e.cmdStop_Click();
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
    EXPECT_EQ(readFile("Verbindungen/17012001-120000.con"), last);

    // A crash at that second instead: the next start makes it the record, counted once.
    QFile::remove(path("Verbindungen/17012001-120000.con"));
    writeFile(RUNNING_RECORD_FILE, last);
    EXPECT_EQ(RecoverRunningRecord(), QList<RunningRecovery>({RunningRecovery::Stored}));
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
    EXPECT_EQ(ListRecordFiles(), QStringList({"17012001-120000.con"}));
    EXPECT_EQ(readFile("Verbindungen/17012001-120000.con"), last);
    CounterEngine& next = start();
    EXPECT_EQ(G_DayRestSeconds, 600 - 121);
    tick(next);
    EXPECT_EQ(next.budgets.lblRestTag.text, "0,92 €"); // 1 - 0,06 spent - 0,019 of the new first unit

    // A disk that holds the writes: one minute held in its folder sync, the next ones waiting behind it, of
    // which only the newest is written. The stop waits for them, so none lands after it.
    const auto tickAlone = [&](int times) {
        for (int i = 0; i < times; ++i) {
            clock.advance(1);
            next.RSTimer1_Timer();
        }
    };
    const qsizetype configSyncs = syncedFolders.count("Config");
    const auto held = syncHold.hold();
    tickAlone(60);
    ASSERT_TRUE(syncHold.waitUntilHeld());
    tickAlone(120);
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        syncHold.release();
    });
    next.cmdStop_Click();
    releaser.join();
    next.runningRecord.flush();
    EXPECT_EQ(syncedFolders.count("Config"), configSyncs + 2); // minute 2 and 4; the third was dropped
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
    RecordLines stored;
    ASSERT_TRUE(ReadRecord("17012001-120200.con", stored));
    EXPECT_EQ(stored.lines.mid(2, 2), QStringList({"00:03:01", "S0,08"}));
}

TEST_F(CounterEngineTest, AFullDiskKeepsEveryOldFileAndTheLastGoodMinute)
{
    if (!InPrivateMounts()) return;
    SmallDisk disk(dir.path(), SmallDisk::Tmpfs);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs mount";
    tariff("Tag", "60 / 60", {{0, 24, 1.9f, false}}); // the fixture's tariff lies below the mount
    const auto files = [&] {
        QStringList names;
        for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
             it.hasNext();)
            names << QDir(dir.path()).relativeFilePath(it.next());
        names.sort();
        return names;
    };
    QTemporaryDir outside; // the copy's source, off the small disk
    LoopbackServer web(Http("200 OK", QByteArray(8192, 'w')));
    QtDownloader downloader(5000);
    const auto text = [](int generation) { return generation ? QStringLiteral("neu") : QStringLiteral("alt"); };
    const struct {
        const char* file;
        std::function<bool(int generation)> write;
    } writers[] = {
        {"Benutzer/Anna.usr",
         [&](int g) {
             UserRecord r;
             r.password = text(g);
             return SaveUser("Anna", r);
         }},
        {"Benutzer/Anna.bdg",
         [&](int g) {
             BudgetRecord r;
             r.start = text(g);
             return WriteBudgetRecord(UserBudgetPath("Anna"), r);
         }},
        {"Verbindungen/17012001-100000.con",
         [&](int g) {
             ConnectionRecord r;
             r.user = text(g);
             return WriteConnectionRecord("17012001-100000.con", r);
         }},
        {"Tarife/Net - Tag.tel",
         [&](int g) {
             TarifFile t = TarifFile::New("Net", "Tag");
             t.takt = g ? "1 / 1" : "60 / 60";
             return WriteTarifFile(t);
         }},
        {"Config/Difference.cfg",
         [&](int g) {
             DifferenceSettings d;
             d.category = g;
             return SaveDifferenceSettings(d);
         }},
        {"Note.dat", [&](int g) { return SaveNoteText(text(g)) == NoteSaved::Saved; }},
        {"Config/Overview.cfg", [&](int g) { return SaveOverviewChoices({true, "Netz", "Anna", "Net", text(g)}); }},
        {"Config/Recording.run",
         [&](int g) {
             ConnectionDisplay d;
             d.startDateTag = "17012001";
             d.startTime = "11:00:00";
             d.duration = g ? "00:02:01" : "00:01:01";
             StoredRecord r;
             if (FormRecord(d, r) != 0) return false;
             RunningRecordWriter writer; // the recording's own, on its thread
             writer.hand(RunningRecordPath(), r);
             writer.flush();
             return deciphered(RUNNING_RECORD_FILE).value(2) == d.duration;
         }},
        {"Sounds/Ton.wav",
         [&](int g) {
             const QString source = outside.filePath(g ? "neu.wav" : "alt.wav");
             return WriteFileBytes(source, QByteArray(100, char('a' + g))) &&
                    CopyFileBytes(source, path("Sounds/Ton.wav"));
         }},
        {"time.tmp", [&](int) { return downloader.download(web.url("/zeit"), path("time.tmp")); }},
    };
    for (const auto& w : writers) {
        disk.free();
        ASSERT_TRUE(w.write(0)) << w.file;
        const QByteArray old = readFile(w.file);
        const QStringList before = files();
        disk.fill();
        EXPECT_FALSE(w.write(1)) << w.file;
        EXPECT_EQ(readFile(w.file), old) << w.file;
        EXPECT_EQ(files(), before) << w.file; // no new copy left beside it
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A recording whose disk fills after its first minute: the stop says so, the running file keeps that minute,
    // and the next start, with room again, stores it.
    disk.free();
    QFile::remove(path(RUNNING_RECORD_FILE));
    CounterEngine& e = start();
    tick(e, 61);
    disk.fill();
    tick(e, 60);
    e.cmdStop_Click();
    EXPECT_EQ(dialogs.texts(), QStringList({"Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 2."}));
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).value(2), "00:01:01");
    disk.free();
    EXPECT_EQ(RecoverRunningRecord(), QList<RunningRecovery>({RunningRecovery::Stored}));
    RecordLines stored;
    ASSERT_TRUE(ReadRecord("17012001-120000.con", stored));
    EXPECT_EQ(stored.line(3), "00:01:01");
}

TEST_F(CounterEngineTest, FreeTimeOfTheOwnTariffIsStoredAsZero)
{
    TarifFile t = TarifFile::New("Net", "Frei");
    t.freeAllowance = "10";
    t.zones = {{0, 24, 1.9f, false}};
    ASSERT_TRUE(WriteTarifFile(t));
    G_Tariff = t.fileName(); // G_FreeAllowanceLeft is "-", left behind by another tariff
    CounterEngine& e = start();
    EXPECT_EQ(G_FreeAllowanceLeft, "0:10:00");
    tick(e, 61);
    EXPECT_EQ(e.lblRestFrei, "00:08:59");
    EXPECT_EQ(e.lblKosten, "0 (0,038 €)");
    e.cmdStop_Click();
    EXPECT_EQ(recordLines().value(3), "S0,00");
}

TEST_F(CounterEngineTest, StartRefreshesBothRemaindersAndAFailedSaveStillStops)
{
    ConnectionRecord earlier;
    earlier.startDate = "03.01.2001";
    earlier.duration = "01:00:00";
    earlier.user = "anna";
    ASSERT_TRUE(WriteConnectionRecord("03012001-100000.con", earlier));
    G_MonthLimitOn = true;
    G_MonthLimitMinutes = 90;
    G_MonthRestSeconds = -5; // stale: would open the countdown at the first second
    CounterEngine& e = start();
    EXPECT_EQ(G_MonthRestSeconds, 1800);
    tick(e);
    EXPECT_TRUE(events.countdowns.isEmpty());

    QDir(path("Verbindungen")).removeRecursively(); // the record cannot be written
    writeFile("Verbindungen", "keine Mappe");
    e.cmdStop_Click();
    EXPECT_EQ(dialogs.texts(), QStringList({"Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 1."}));
    const QByteArray unsaved = readFile(RUNNING_RECORD_FILE); // the next start stores what it can
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).value(2), "00:00:01");
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(events.stoppers, 1);
    EXPECT_EQ(events.status[1], "Aufzeichnung ist nicht aktiv");
    clock.advance(1); // a record of its own name
    tick(start()); // ready for the next recording, which keeps the last one's running file
    EXPECT_TRUE(G_Recording);
    EXPECT_EQ(readFile("Config/Recording.run.1"), unsaved);
    EXPECT_EQ(deciphered(RUNNING_RECORD_FILE).value(1), "12:00:01");

    QFile::remove(path("Verbindungen"));
    EXPECT_EQ(RecoverRunningRecord(), QList<RunningRecovery>({RunningRecovery::Stored, RunningRecovery::Stored}));
    EXPECT_EQ(ListRecordFiles(), QStringList({"17012001-120000.con", "17012001-120001.con"}));
    EXPECT_EQ(readFile("Verbindungen/17012001-120000.con"), unsaved);

    // A recording stopped before its first minute leaves another recording's running file for the next start.
    writeFile(RUNNING_RECORD_FILE, unsaved);
    clock.advance(1);
    start().cmdStop_Click();
    EXPECT_EQ(ListRecordFiles().size(), 3);
    EXPECT_EQ(readFile(RUNNING_RECORD_FILE), unsaved);
}

TEST_F(CounterEngineTest, RefusedStartSwitchesDetectionOff)
{
    G_Tariff.clear();
    G_ActiveUser.clear();
    G_MonitoringOn = true;
    CounterEngine e(events);
    EXPECT_FALSE(e.Form_Load());
    EXPECT_EQ(dialogs.texts(),
              QStringList({"Kein Tarif ausgewählt! Wählen Sie zuerst einen Tarif aus, bevor Sie die Verbindung starten.",
                           "Kein Benutzer ausgewählt! Wählen Sie zuerst einen Benutzer aus, bevor Sie die Verbindung "
                           "starten."}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_FALSE(G_MonitoringOn);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 0\r\n");
    EXPECT_EQ(events.refusals, 1);
    EXPECT_FALSE(G_Recording);
    EXPECT_FALSE(exists("Verbindungen"));
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
}

TEST_F(CounterEngineTest, AutomaticRecordingsAskAtStopAndEndWithTheConnection)
{
    G_MonitoringOn = true;
    G_DetectSource = 3;
    platform.addresses.list = {"84.1.2.3"};
    CounterEngine& e = start();
    tick(e);
    dialogs.answerMessage(vbNo);
    e.cmdStop_Click();
    EXPECT_TRUE(G_Recording);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].title, "Frage");
    EXPECT_EQ(dialogs.messages[0].style, vbYesNo + vbQuestion);
    dialogs.answerMessage(vbYes);
    e.cmdStop_Click();
    EXPECT_FALSE(G_Recording || G_MonitoringOn);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 0\r\n");

    G_MonitoringOn = true; // the line goes down: the tick stops and ends at once
    G_DetectSource = 2;
    G_TapiCallConnected = true;
    G_DayLimitOn = true;
    G_DayLimitMinutes = 0; // would open the countdown
    clock.advance(1);      // a record of its own name
    CounterEngine& lost = start();
    G_TapiCallConnected = false;
    tick(lost);
    EXPECT_FALSE(G_Recording);
    EXPECT_TRUE(events.countdowns.isEmpty());
    EXPECT_EQ(ListRecordFiles().size(), 2);
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE)); // not written after the tick's own stop
}

TEST_F(CounterEngineTest, LinkThatCameBackEndsTheRecordingOfTheOldOne)
{
    // The connected state never notices: the modem route is there at every tick.
    platform.connected.currentFlags = INTERNET_CONNECTION_MODEM;
    G_WatchWininet = true;
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    platform.counters.set("ppp0", 5000, 700);
    CounterEngine& manual = start(); // a recording started by hand carries on
    const quint32 first = platform.phoneBook.reconnect(7);
    tick(manual, 2);
    EXPECT_TRUE(G_Recording);
    manual.cmdStop_Click();
    EXPECT_EQ(ListRecordFiles().size(), 1);

    G_MonitoringOn = true;
    G_DetectSource = 1;
    CounterEngine& e = start();
    EXPECT_EQ(e.RasConnHandle, first);
    tick(e, 5);
    const quint32 second = platform.phoneBook.reconnect(first);
    EXPECT_NE(second, first);
    RasStatusInfo status;
    EXPECT_EQ(platform.phoneBook.connectStatus(first, status), ERROR_INVALID_HANDLE);
    EXPECT_EQ(platform.phoneBook.connections().size(), 1);
    EXPECT_EQ(platform.phoneBook.interfaceName(second), "ppp0");
    platform.counters.set("ppp0", 100, 50); // the new link counts from its start
    tick(e);
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(events.stoppers, 2);
    const QStringList files = ListRecordFiles();
    ASSERT_EQ(files.size(), 2);
    RecordLines r;
    ASSERT_TRUE(ReadRecord(files.last(), r));
    EXPECT_EQ(r.lines, QStringList({"S17.01.2001", "12:00:01", "00:00:06", "S0,02", "1", "5000", "700", "5700", "Netz",
                                    "Net - Tag.tel", "Anna"}));
    EXPECT_EQ(start().RasConnHandle, second); // the next recording is the new link's
}

TEST_F(CounterEngineTest, DailyLimitCountdownOnceAtItsMinute)
{
    ConnectionRecord earlier; // today, the user in other letters, one minute
    earlier.duration = "00:01:00";
    earlier.user = "ANNA";
    ASSERT_TRUE(WriteConnectionRecord("17012001-080000.con", earlier));
    G_DayLimitOn = true;
    G_DayLimitMinutes = 6;
    CounterEngine& e = start();
    EXPECT_EQ(G_DayRestSeconds, 300);
    G_DayRestSeconds = 0;
    e.GetTimeLimit();
    EXPECT_EQ(G_DayRestSeconds, 300);
    tick(e, 299);
    EXPECT_TRUE(events.countdowns.isEmpty());
    tick(e);
    EXPECT_EQ(e.lblDauer, "00:05:00");
    EXPECT_EQ(events.countdowns, QStringList({"12:04:59"})); // the first second counted at the start
    tick(e, 100);
    EXPECT_EQ(events.countdowns.size(), 1);
    e.cmdStop_Click();

    G_DayLimitMinutes = 40000000; // beyond 32 bits in seconds: held at the end of the range, never negative
    CounterEngine& endless = start();
    endless.GetTimeLimit();
    EXPECT_EQ(G_DayRestSeconds, std::numeric_limits<qint32>::max());
    tick(endless, 3);
    EXPECT_EQ(events.countdowns.size(), 1);
}

TEST_F(CounterEngineTest, BytesDisplay)
{
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    platform.counters.set("ppp0", 0, 0);
    CounterEngine& e = start();
    tick(e);
    EXPECT_EQ(e.lblBytesIn, "unbekannt");
    EXPECT_EQ(e.lblBytesInOutPerSecond, "0.0");
    platform.counters.set("ppp0", 3000000000ULL, 1500);
    tick(e);
    EXPECT_EQ(QStringList({e.lblBytesIn, e.lblBytesOut, e.lblBytesInOut, e.lblBytesOutPerSecond}),
              QStringList({"3.000.000.000 Bytes", "1.500 Bytes", "3.000.001.500 Bytes", "1,5"}));
    platform.counters.set("ppp0", 3000500000ULL, 1500);
    tick(e);
    EXPECT_EQ(e.lblBytesInPerSecond, "500,0");
}

TEST_F(CounterEngineTest, ProgramsAndEntryTariffForAutomaticStarts)
{
    platform.phoneBook.addConnection(7, "Netz", "ppp0");
    writeFile("DialUp/Netz.trf", "Net\r\nA - Nacht\r\n");
    writeFile("DialUp/netz.prg", "prog1 --a\r\n 1\r\nprog2\r\n 0\r\nprog3\r\n1\r\n");
    G_DialedHere = true;
    start().cmdStop_Click(); // a start by hand keeps the overview page's tariff
    EXPECT_EQ(G_Tariff, "Net - Tag.tel");
    EXPECT_EQ(platform.programs.started, QStringList({"prog1 --a", "prog3"}));
    G_DetectSource = 1;
    platform.programs.started.clear();
    start();
    EXPECT_EQ(G_Tariff, "Net - Nacht.atl");
    EXPECT_TRUE(platform.programs.started.isEmpty()); // the stop before cleared "dialled here"
}

TEST_F(CounterEngineTest, ALinkWithoutEntryNameIsStoredAsShown)
{
    G_DetectSource = 1;
    G_DialedHere = true;
    platform.phoneBook.addConnection(7, "", "ppp0"); // pppd started without "call"
    writeFile("DialUp/unbekannt.trf", "Net\r\nA - Nacht\r\n"); // the shown name is no entry
    writeFile("DialUp/unbekannt.prg", "prog1\r\n 1\r\n");
    CounterEngine& e = start();
    EXPECT_EQ(e.lblConnectionName, "unbekannt");
    EXPECT_EQ(G_Tariff, "Net - Tag.tel");
    tick(e, 5);
    e.Counter_Stop();
    EXPECT_EQ(recordLines().value(8), "unbekannt");
    EXPECT_TRUE(platform.programs.started.isEmpty());
    ListMarking marking;
    const ConnectionListResult list = LoadConnectionList(ConnectionListQuery(), marking);
    ASSERT_EQ(list.rows.size(), 1u); // listed, as budgets and limits count it
    EXPECT_EQ(list.rows[0].cell(ColDialUp), "unbekannt");
}

TEST_F(CounterEngineTest, NamesThatWouldLeaveTheirFolderAreNone)
{
    G_DetectSource = 1;
    G_DialedHere = true;
    // an entry named like a way out of DialUp has no .trf and no programs there
    platform.phoneBook.addConnection(7, "../Netz", "ppp0");
    writeFile("Netz.trf", "Net\r\nA - Nacht\r\n");
    writeFile("Netz.prg", "prog1\r\n 1\r\n");
    start().cmdStop_Click();
    EXPECT_EQ(G_Tariff, "Net - Tag.tel");
    EXPECT_TRUE(platform.programs.started.isEmpty());

    // a .trf naming a tariff outside Tarife gives no tariff, and so no carry file
    volumeTariff();
    platform.phoneBook.addConnection(8, "Netz", "ppp0");
    platform.counters.set("ppp0", 2000000, 0);
    for (const char* provider : {"../Tarife/Net", "../Prerun/x", "../x"}) {
        writeFile("DialUp/Netz.trf", QByteArray(provider) + "\r\nM - Volumen\r\n");
        CounterEngine& e = start();
        EXPECT_EQ(G_Tariff, "") << provider;
        EXPECT_EQ(e.lblTarifname, "") << provider;
        tick(e, 2);
        e.cmdStop_Click();
        EXPECT_EQ(QDir(path("Prerun")).entryList(QDir::Files), QStringList({"Net - Volumen.dat"})) << provider;
        EXPECT_EQ(readFile("Prerun/Net - Volumen.dat"), " 300\r\n") << provider;
        EXPECT_EQ(QDir(path("")).entryList(QDir::Files), QStringList({"Netz.prg", "Netz.trf"})) << provider;
        G_Tariff = "Net - Volumen.tel";
    }
}

TEST_F(CounterEngineTest, DeferredJobsAndOptionBoxes)
{
    EXPECT_FALSE(start().Timer1); // nothing due
    writeFile("Config/Autoupdate.cfg", " 1\r\n 7\r\n");
    events.updatesFound = 2;
    CounterEngine& u = start();
    EXPECT_TRUE(u.UpdateDue && u.Timer1);
    u.Timer1_Timer();
    EXPECT_EQ(u.lblTarifupdates, "2 Tarife gefunden.");
    EXPECT_TRUE(u.lblTarifupdatesLink);
    EXPECT_FALSE(u.Timer1 || u.UpdateDue);
    EXPECT_EQ(events.updateChecks, 1);

    QFile::remove(path("Config/Autoupdate.cfg"));
    writeFile("Config/Timesync.cfg", " 1\r\n");
    writeFile("Config/Smallwindow.cfg", "1\r\n");
    CounterEngine& e = start();
    EXPECT_EQ(e.Check1, 1);
    EXPECT_TRUE(e.TimeSyncOn && e.Timer1);
    EXPECT_EQ(e.lblTimeSync, "Uhrzeit wird korrigiert...");
    EXPECT_EQ(readFile("Config/Smallwindow.cfg"), " 1\r\n"); // rewritten by the box's handler
    EXPECT_TRUE(events.smallWindow);
    e.setCheck1(0); // cancels this recording's synchronisation
    EXPECT_FALSE(e.TimeSyncOn);
    EXPECT_EQ(readFile("Config/Timesync.cfg"), " 0\r\n");
    e.visible = true;
    e.setCheck3(0);
    EXPECT_FALSE(events.smallWindow);
    e.setCheck3(1);
    EXPECT_TRUE(events.smallWindow);
    tick(e);
    EXPECT_EQ(e.smallWindow[0], "00:00:01");
    EXPECT_EQ(e.smallWindow[3], "0.0 KB/s");
}

TEST_F(CounterEngineTest, MidnightReloadsTheBudgetsOfTheNewDayAndMonth)
{
    writeFile("Benutzer/Anna.bdg", " 1\r\n 2\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    const struct {
        QDate start;
        const char *dayAfter, *monthAfter;
    } cases[] = {
        {QDate(2001, 1, 17), "0,96 €", "1,46 €"}, // a new day: the day budget starts again
        {QDate(2001, 1, 31), "0,96 €", "1,96 €"}, // a new month: the month budget too
    };
    for (const auto& c : cases) {
        QDir(path("Verbindungen")).removeRecursively();
        ConnectionRecord spent;
        spent.startDate = ShortDate(c.start);
        spent.duration = "00:10:00";
        spent.cost = "0,50";
        spent.user = "Anna";
        ASSERT_TRUE(WriteConnectionRecord(ConnectionRecordFileName(c.start, QTime(10, 0)), spent));
        clock.set(QDateTime(c.start, QTime(23, 59, 30)));
        CounterEngine& e = start();
        tick(e);
        EXPECT_EQ(e.budgets.lblRestTag.text, "0,48 €");
        EXPECT_EQ(e.budgets.lblRestMonat.text, "1,48 €");
        tick(e, 60); // 00:00:31: the second unit is charged on the new day
        EXPECT_EQ(e.budgets.lblRestTag.text, QString::fromUtf8(c.dayAfter));
        EXPECT_EQ(e.budgets.lblRestMonat.text, QString::fromUtf8(c.monthAfter));
    }
}
