#include "core/TimeLimit.h"

#include "support/BudgetRecordBuilder.h"

namespace {
class TimeLimitTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2001, 3, 15), QTime(18, 0, 0))); // a Thursday
        G_ActiveUser = "Supervisor";
    }
    void record(const QString& name, const QString& duration, const QString& user)
    {
        TestRecord r;
        r.name = name;
        r.duration = duration;
        r.user = user;
        ASSERT_TRUE(WriteTestRecord(dir.path(), r));
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
    for (auto [minutes, reached] : {std::pair{0, true}, {1, true}, {2, false}}) {
        limits(true, minutes, false, 600);
        EXPECT_EQ(IsTimeLimitReached(), reached) << minutes;
        EXPECT_EQ(G_DayRestSeconds, minutes * 60);
        EXPECT_EQ(G_MonthRestSeconds, 600 * 60);
        limits(false, 600, true, minutes);
        EXPECT_EQ(IsTimeLimitReached(), reached) << minutes;
        EXPECT_EQ(G_MonthRestSeconds, minutes * 60);
    }
}

TEST_F(TimeLimitTest, CountsTodayInBothAndThisMonthInTheMonth)
{
    record("15032001-100000.con", "0:30:00", "Supervisor");
    record("02032001-100000.con", "01:00:00", "supervisor"); // the user matches in any case
    record("15022001-100000.con", "05:00:00", "Supervisor"); // same day number last month: nowhere
    record("15032000-100000.con", "05:00:00", "Supervisor"); // same day last year: nowhere
    record("15032001-110000.con", "02:00:00", "Anna");
    record("15032001-120000.con", "02:00:00", "");
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
    writeCipher("Verbindungen/15032001-120000.con", {"S15.03.2001", "12:00:00", "00:10:00", "Supervisor"});
    writeFile("Verbindungen/15032001-130000.con", "\x01\x02\xff"); // not enciphered at all
    writeFile("Verbindungen/15032001-140000.con", "");
    limits(true, 6000, true, 6000);
    EXPECT_FALSE(IsTimeLimitReached());
    EXPECT_EQ(G_DayRestSeconds, 6000 * 60 - (25 * 3600 + 7) - 600);
    EXPECT_EQ(GetConnectionUser("15032001-120000.con"), "Supervisor");
    EXPECT_EQ(GetConnectionUser("15032001-140000.con"), "");
    EXPECT_EQ(GetConnectionUser("fehlt.con"), "");
    for (auto [text, seconds] : {std::pair{"0:30:00", 1800}, {"125:00:07", 450007}, {"", 0}, {"1:30", 0},
                                 {"-1:00:00", 0}})
        EXPECT_EQ(RecordDurationSeconds(text), seconds) << text;
}
