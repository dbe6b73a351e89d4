#include "core/TrafficCounters.h"
#include "core/Globals.h"
#include "core/platform/linux/LinuxTrafficCounters.h"
#include "core/platform/sim/SimPhoneBook.h"
#include "core/platform/sim/SimTrafficCounters.h"

#include "support/RealFiles.h"
#include "support/TestSupport.h"

#include <QDir>

namespace {
class TrafficTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetTrafficCounters(&sim);
        SetConnectionInterfaceResolver([](quint32 h) { return h == 3 ? QString("ppp0") : QString(); });
        InitRasCounters();
    }
    void TearDown() override
    {
        SetTrafficCounters(nullptr);
        SetConnectionInterfaceResolver({});
        ProgramTest::TearDown();
    }
    void expect(double in, double out, float rateIn, float rateOut, int line)
    {
        SCOPED_TRACE(line);
        EXPECT_EQ(G_BytesIn, in);
        EXPECT_EQ(G_BytesOut, out);
        EXPECT_EQ(G_BytesTotal, in + out);
        EXPECT_EQ(G_RateIn, rateIn);
        EXPECT_EQ(G_RateOut, rateOut);
        EXPECT_EQ(G_RateTotal, rateIn + rateOut);
    }
    void read(quint64 in, quint64 out, quint32 handle = 3)
    {
        sim.set("ppp0", in, out);
        UpdateTrafficCounters("6.1", handle);
    }
    SimTrafficCounters sim;
};
} // namespace

TEST_F(TrafficTest, RatesAreTheDifferenceToThePreviousRead)
{
    read(1000, 200);
    expect(1000, 200, 0, 0, __LINE__); // first read of a recording
    read(1500, 260);
    expect(1500, 260, 500, 60, __LINE__);
    EXPECT_EQ(sim.reads, QStringList({"ppp0", "ppp0"}));

    sim.totals.clear(); // a failed read keeps the totals, never a negative rate
    UpdateTrafficCounters("6.1", 3);
    expect(1500, 260, 0, 0, __LINE__);
    read(1600, 300);
    expect(1600, 300, 100, 40, __LINE__);
    read(70, 10); // totals that went back belong to a new link
    expect(70, 10, 70, 10, __LINE__);
    UpdateTrafficCounters("6.1", 4); // an unknown connection cannot be read
    expect(70, 10, 0, 0, __LINE__);
    InitRasCounters(); // the next recording starts afresh
    read(90000, 5000);
    expect(90000, 5000, 0, 0, __LINE__);
    read(2000000000ull, 2000000000ull);
    EXPECT_EQ(G_BytesTotal, 4000000000.0);
    read(5000000000ull, 2000000000ull);
    EXPECT_EQ(G_RateIn, 3000000000.0f);
}

TEST_F(TrafficTest, AConnectionCountsFromItsBaseline)
{
    SimPhoneBook book;
    SetPhoneBook(&book);
    book.baselines.insert(3, {22000, 800}); // an earlier connection's bytes on the same interface
    read(22780, 900);
    expect(780, 100, 0, 0, __LINE__);
    read(23780, 950);
    expect(1780, 150, 1000, 50, __LINE__);
    read(100, 10); // totals below the baseline went back: counted from there
    expect(100, 10, 100, 10, __LINE__);
    SetPhoneBook(nullptr);
}

TEST_F(TrafficTest, VersionTextsAndNoConnection)
{
    sim.set("ppp0", 1000, 1000);
    for (const char* v : {"5.0", "5.1", "Windows XP", "4.0", "Windows 98"}) {
        G_BytesIn = G_BytesOut = 1;
        UpdateTrafficCounters(v, 3);
        EXPECT_EQ(G_BytesIn, 1000) << v;
    }
    G_BytesIn = 5;
    UpdateTrafficCounters("Windows", 3); // no byte source for this version: nothing changes
    EXPECT_EQ(G_BytesIn, 5);
    UpdateTrafficCounters("6.1", 0); // no phone-book connection: zero counts
    expect(0, 0, 0, 0, __LINE__);
    EXPECT_EQ(sim.reads.size(), 5);
}

TEST_F(TrafficTest, LinuxStatisticsFiles)
{
    const QString root = path("net");
    LinuxTrafficCounters onDisk(root);
    SetTrafficCounters(&onDisk);
    auto write = [&](const char* in, const char* out) {
        writeFile("net/ppp0/statistics/rx_bytes", in);
        writeFile("net/ppp0/statistics/tx_bytes", out);
    };
    write("1000\n", "300\n");
    UpdateTrafficCounters("6.1", 3);
    write("6000000000\n", "330\n");
    UpdateTrafficCounters("6.1", 3);
    expect(6000000000.0, 330, 5999999000.0f, 30, __LINE__);

    writeFile("net/eth1/statistics/rx_bytes", "5\n"); // no tx_bytes
    writeFile("net/statistics/rx_bytes", "1\n");
    writeFile("net/statistics/tx_bytes", "1\n");
    EXPECT_TRUE(onDisk.isAvailable());
    quint64 rx = 0, tx = 0;
    for (const char* bad : {"eth1", "ppp1", "..", ".", "ppp0/../ppp0", ""})
        EXPECT_FALSE(onDisk.read(bad, &rx, &tx)) << bad;
    EXPECT_EQ(rx, 0u); // failed reads leave the outputs alone
}

TEST_F(TrafficTest, LinuxStatisticsOfTheRealInterfaces)
{
    const QString root = QStringLiteral("/sys/class/net");
    const QStringList names = QDir(root).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (names.isEmpty()) GTEST_SKIP() << "no " << root.toStdString();
    LinuxTrafficCounters real(root);
    for (const QString& name : names) {
        // The counters only grow: what the reader gives lies between a plain read before and one after.
        const QString stats = root + "/" + name + "/statistics/";
        const quint64 rxBefore = ReadToEnd(stats + "rx_bytes").trimmed().toULongLong();
        const quint64 txBefore = ReadToEnd(stats + "tx_bytes").trimmed().toULongLong();
        quint64 rx = 0, tx = 0;
        ASSERT_TRUE(real.read(name, &rx, &tx)) << name.toStdString();
        EXPECT_GE(rx, rxBefore) << name.toStdString();
        EXPECT_GE(tx, txBefore) << name.toStdString();
        EXPECT_LE(rx, ReadToEnd(stats + "rx_bytes").trimmed().toULongLong()) << name.toStdString();
        EXPECT_LE(tx, ReadToEnd(stats + "tx_bytes").trimmed().toULongLong()) << name.toStdString();
    }
}
