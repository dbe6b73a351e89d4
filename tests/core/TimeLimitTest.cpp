#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "core/TimeLimit.h"

#include "support/TestSupport.h"

namespace {
class TimeLimitTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2001, 3, 15), QTime(18, 0, 0))); // a Thursday
        G_ActiveUser = "Supervisor";
    }
    // A live record: 11 lines, the duration in line 3 and the user in line 11.
    void record(const QString& name, const QString& duration, const QString& user)
    {
        QStringList lines;
        for (const QString& v : {QString("S") + name.left(2) + "." + name.mid(2, 2) + "." + name.mid(4, 4),
                                 QString("10:00:00"), duration, QString("S1,00"), QString("1"), QString("0"),
                                 QString("0"), QString("0"), QString("Netz"), QString("Netz - A.tel"), user})
            lines << EncryptString(v);
        ASSERT_TRUE(WriteTextLines(path("Verbindungen/" + name), lines));
    }
    void limits(bool dayOn, int dayMinutes, bool monthOn, int monthMinutes)
    {
        G_DayLimitOn = dayOn;
        G_DayLimitMinutes = dayMinutes;
        G_MonthLimitOn = monthOn;
        G_MonthLimitMinutes = monthMinutes;
    }
};
} // namespace

TEST_F(TimeLimitTest, NoRecordsLeavesTheLimits)
{
    const struct {
        int minutes;
        bool reached;
    } cases[] = {{0, true}, {1, true}, {2, false}};
    for (const auto& c : cases) {
        limits(true, c.minutes, false, 600);
        EXPECT_EQ(IsTimeLimitReached(), c.reached) << c.minutes;
        EXPECT_EQ(G_DayRestSeconds, c.minutes * 60);
        EXPECT_EQ(G_MonthRestSeconds, 600 * 60);
        limits(false, 600, true, c.minutes);
        EXPECT_EQ(IsTimeLimitReached(), c.reached) << c.minutes;
        EXPECT_EQ(G_MonthRestSeconds, c.minutes * 60);
    }
}

TEST_F(TimeLimitTest, CountsTodayInBothAndThisMonthInTheMonth)
{
    record("15032001-100000.con", "0:30:00", "Supervisor");
    record("02032001-100000.con", "01:00:00", "supervisor"); // the user matches in any case
    record("15022001-100000.con", "05:00:00", "Supervisor"); // same day number last month: nowhere
    record("15032000-100000.con", "05:00:00", "Supervisor"); // same day last year: nowhere
    record("15032001-110000.con", "02:00:00", "Anna");       // another user
    record("15032001-120000.con", "02:00:00", "");           // no user
    limits(true, 30, false, 600);
    EXPECT_TRUE(IsTimeLimitReached()); // 0:30:00 used of a 30-minute day
    EXPECT_EQ(G_DayRestSeconds, 0);
    EXPECT_EQ(G_MonthRestSeconds, 600 * 60 - 5400);
}

TEST_F(TimeLimitTest, OnlyLimitsSwitchedOnCount)
{
    record("01032001-100000.con", "10:00:00", "Supervisor"); // the month's 600 minutes are used up
    limits(true, 60, false, 600);
    EXPECT_FALSE(IsTimeLimitReached());
    EXPECT_EQ(G_MonthRestSeconds, 0); // computed all the same
    EXPECT_EQ(G_DayRestSeconds, 3600);
    limits(true, 60, true, 600);
    EXPECT_TRUE(IsTimeLimitReached());
    limits(false, 0, false, 0);
    EXPECT_FALSE(IsTimeLimitReached());
    EXPECT_EQ(G_DayRestSeconds, 0);
}

TEST_F(TimeLimitTest, ShortLongAndDamagedRecords)
{
    record("15032001-100000.con", "25:00:07", "Supervisor"); // more than a day counts whole
    record("15032001-110000.con", "kaputt", "Supervisor");
    // a short record: its last line is taken as its user
    QStringList shortLines;
    for (const QString& v : {QString("S15.03.2001"), QString("12:00:00"), QString("00:10:00")})
        shortLines << EncryptString(v);
    shortLines << EncryptString("Supervisor");
    ASSERT_TRUE(WriteTextLines(path("Verbindungen/15032001-120000.con"), shortLines));
    writeFile("Verbindungen/15032001-130000.con", "\x01\x02\xff"); // not enciphered at all
    writeFile("Verbindungen/15032001-140000.con", "");
    limits(true, 6000, true, 6000);
    EXPECT_FALSE(IsTimeLimitReached());
    EXPECT_EQ(G_DayRestSeconds, 6000 * 60 - (25 * 3600 + 7) - 600);
    EXPECT_EQ(GetConnectionUser("15032001-120000.con"), "Supervisor");
    EXPECT_EQ(GetConnectionUser("15032001-140000.con"), "");
    EXPECT_EQ(GetConnectionUser("fehlt.con"), "");
}

TEST(RecordDurationSeconds, ReadsHoursBeyondADay)
{
    EXPECT_EQ(RecordDurationSeconds("00:30:00"), 1800);
    EXPECT_EQ(RecordDurationSeconds("0:30:00"), 1800);
    EXPECT_EQ(RecordDurationSeconds("125:00:07"), 450007);
    EXPECT_EQ(RecordDurationSeconds(""), 0);
    EXPECT_EQ(RecordDurationSeconds("1:30"), 0);
    EXPECT_EQ(RecordDurationSeconds("-1:00:00"), 0);
}
