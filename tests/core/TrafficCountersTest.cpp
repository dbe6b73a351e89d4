// Byte totals and rates of the recorded connection.
#include "core/TrafficCounters.h"
#include "core/Globals.h"
#include "core/platform/linux/LinuxTrafficCounters.h"
#include "core/platform/sim/SimTrafficCounters.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

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
    SimTrafficCounters sim;
};
} // namespace

TEST_F(TrafficTest, RatesAreTheDifferenceToThePreviousRead)
{
    sim.set("ppp0", 1000, 200);
    UpdateTrafficCounters("6.1", 3);
    expect(1000, 200, 0, 0, __LINE__); // first read of a recording
    sim.set("ppp0", 1500, 260);
    UpdateTrafficCounters("6.1", 3);
    expect(1500, 260, 500, 60, __LINE__);
    EXPECT_EQ(sim.reads, QStringList({"ppp0", "ppp0"}));

    // a failed read keeps the totals and reports no traffic, never a negative rate
    sim.totals.clear();
    UpdateTrafficCounters("6.1", 3);
    expect(1500, 260, 0, 0, __LINE__);
    sim.set("ppp0", 1600, 300);
    UpdateTrafficCounters("6.1", 3);
    expect(1600, 300, 100, 40, __LINE__);

    // totals that went back belong to a new link: a new start, not a negative amount
    sim.set("ppp0", 70, 10);
    UpdateTrafficCounters("6.1", 3);
    expect(70, 10, 70, 10, __LINE__);

    // an unknown connection cannot be read either
    UpdateTrafficCounters("6.1", 4);
    expect(70, 10, 0, 0, __LINE__);

    // the next recording starts afresh
    InitRasCounters();
    sim.set("ppp0", 90000, 5000);
    UpdateTrafficCounters("6.1", 3);
    expect(90000, 5000, 0, 0, __LINE__);
}

TEST_F(TrafficTest, VersionTextsAndNoConnection)
{
    sim.set("ppp0", 1000, 1000);
    for (const char* v : {"5.0", "5.1", "Windows XP", "4.0", "Windows 98"}) {
        G_BytesIn = G_BytesOut = 1;
        UpdateTrafficCounters(v, 3);
        EXPECT_EQ(G_BytesIn, 1000) << v;
    }
    UpdateTrafficCounters("Windows", 3); // no byte source for this version: nothing changes
    EXPECT_EQ(G_BytesIn, 1000);
    G_BytesIn = 5;
    UpdateTrafficCounters("Windows", 3);
    EXPECT_EQ(G_BytesIn, 5);

    UpdateTrafficCounters("6.1", 0); // no phone-book connection: zero counts
    expect(0, 0, 0, 0, __LINE__);
    EXPECT_EQ(sim.reads.size(), 5);

    sim.set("ppp0", 2000000000ull, 2000000000ull);
    UpdateTrafficCounters("6.1", 3);
    EXPECT_EQ(G_BytesTotal, 4000000000.0);
    sim.set("ppp0", 5000000000ull, 2000000000ull);
    UpdateTrafficCounters("6.1", 3);
    EXPECT_EQ(G_BytesIn, 5000000000.0);
    EXPECT_EQ(G_RateIn, 3000000000.0f);
}

TEST_F(TrafficTest, LinuxStatisticsFiles)
{
    const QString root = dir.path() + "/net";
    LinuxTrafficCounters onDisk(root);
    SetTrafficCounters(&onDisk);
    auto write = [&](const char* file, const QByteArray& value) {
        QDir().mkpath(root + "/ppp0/statistics");
        QFile f(root + "/ppp0/statistics/" + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(value);
    };
    write("rx_bytes", "1000\n");
    write("tx_bytes", "300\n");
    UpdateTrafficCounters("6.1", 3);
    write("rx_bytes", "1500\n");
    write("tx_bytes", "330\n");
    UpdateTrafficCounters("6.1", 3);
    expect(1500, 330, 500, 30, __LINE__);
}
