#include "core/Clock.h"
#include "core/SystemUtils.h"
#include "core/TimeRoutines.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QThread>

#include <time.h>

class TimeRoutinesTest : public ProgramTest {};

TEST_F(TimeRoutinesTest, DurationArithmetic)
{
    const struct { const char* text; qint32 seconds; } seconds[] = {
        {"1:00:00", 3600}, {"0:59:00", 3540}, {"1:30", 5400}, {"90", 90}, {"125:00:07", 450007}, {"", 0}, {"x", 0},
        {"999999:00:00", 2147483647},
    };
    // damaged durations overflow double: infinite parts saturate, infinite parts of both signs are NaN
    const QString nines(400, '9');
    EXPECT_EQ(TimeToSeconds(nines), 2147483647);
    EXPECT_EQ(TimeToSeconds(nines + ":" + nines + ":" + nines), 2147483647);
    EXPECT_EQ(TimeToSeconds("-" + nines), -2147483647 - 1);
    EXPECT_EQ(TimeToSeconds("-" + nines + ":" + nines + ":00"), 0);
    for (const auto& c : seconds) EXPECT_EQ(TimeToSeconds(c.text), c.seconds) << c.text;

    const struct { const char* a; const char* b; const char* result; } diffs[] = {
        {"01:00:00", "00:30:00", "00:30:00"}, {"00:30:00", "01:00:00", "-00:30:00"},
        {"-0:10:00", "0:05:00", "-00:15:00"}, {"100:00:00", "0:00:00", "100:00:00"},
        {"0:00:00", "-0:00:30", "00:00:30"}, {"5", "0:00:00", "05:05:05"}, // a missing colon reads from the start
        {"1:30", "0:00:00", "01:30:01"},
    };
    for (const auto& c : diffs) EXPECT_EQ(SubtractTimes(c.a, c.b), c.result) << c.a << " - " << c.b;

    EXPECT_DOUBLE_EQ(GetTimePercent("0:30:00", "1:00:00"), 50);
    EXPECT_DOUBLE_EQ(GetTimePercent("2:00:00", "1:00:00"), 200);
    EXPECT_EQ(GetTimePercent("0:00:00", "1:00:00"), 0);
    EXPECT_EQ(GetTimePercent("0:30:00", "0:00:00"), 0);
}

TEST_F(TimeRoutinesTest, Normalizing)
{
    const struct { const char* text; const char* duration; const char* clock; } cases[] = {
        {"0:59:75", "01:00:15", "01:00:15"}, {"1:5:3", "01:05:03", "01:05:03"}, {"30:00:00", "30:00:00", "00:00:00"},
        {"23:60:00", "24:00:00", "00:00:00"}, {"23:59:60", "24:00:00", "00:00:00"}, {"25:10:00", "25:10:00", "00:10:00"},
        {"7", "07:00:00", "07:00:00"},
        {"99999999999999999999:00:00", "100000000000000000000:00:00", "00:00:00"}, // no 64-bit limit
        {"-1:05:07", "-01:05:07", "-01:05:07"}, {"-0:00:09", "00:00:09", "00:00:09"}, // no "-0"
        {"0:.5:0", "00:01:00", "00:01:00"}, {"123:4", "123:04:00", "00:04:00"}, // a half minute rounds up
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeDuration(c.text), c.duration) << c.text;
        EXPECT_EQ(NormalizeClockTime(c.text), c.clock) << c.text;
    }
}

TEST_F(TimeRoutinesTest, ShortDatesAndNulls)
{
    clock.set(QDateTime(QDate(2031, 3, 9), QTime(8, 0)));
    EXPECT_EQ(FormatShortDate(QDate(2001, 1, 5)), "05.01.2001");
    EXPECT_EQ(FormatShortDate(QString("kein Datum")), "09.03.2031");
    EXPECT_EQ(TrimAtNull(QString("abc")), "abc");
    EXPECT_EQ(TrimAtNull(QString(QChar(0)) + "abc"), "");
    EXPECT_EQ(TrimAtNull(QString("ab") + QChar(0) + "c"), "ab");
}

TEST(SystemUtils, FileNamesAndVersion)
{
    EXPECT_TRUE(IsValidFileName(QString(255, 'a')));
    EXPECT_FALSE(IsValidFileName(QString(256, 'a')));
    EXPECT_TRUE(IsValidFileName(""));
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*", "a?", "a\"", "a<", "a>", "a|"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    EXPECT_TRUE(IsValidFileName("Anbieter - Tarif"));
    const QString nul(QChar(0));
    for (const QString& bad : {QString(), QString("."), QString(".."), QString("../a"), QString("a/b"),
                               QString("a\\b"), QString("/a"), QString("a/"), "a" + nul})
        EXPECT_FALSE(IsSafeName(bad)) << bad.toStdString();
    for (const char* good : {"a", "...", ".a", "a..b", "Anbieter - Tarif.tel", " "})
        EXPECT_TRUE(IsSafeName(good)) << good;
    const QString v = GetWindowsVersion();
    EXPECT_GE(v.toDouble(), 5);
    EXPECT_FALSE(v.contains("9"));
    EXPECT_FALSE(v.contains("ME"));
    EXPECT_LE(GetWindowsUserName().size(), 24);
    EXPECT_EQ(GetSystemDirectoryPath(), "");
}

// The system's elapsed time is CLOCK_MONOTONIC: the clock synchronisation cannot move it.
TEST(Clock, ElapsedTimeIsTheMonotonicClock)
{
    SetClock(nullptr);
    EXPECT_EQ(QElapsedTimer::clockType(), QElapsedTimer::MonotonicClock);
    const auto monotonicMs = [] {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
    };
    const qint64 outerBefore = monotonicMs();
    const qint64 before = ElapsedMs();
    QThread::msleep(30);
    const qint64 after = ElapsedMs();
    const qint64 outerAfter = monotonicMs();
    EXPECT_GE(after - before, 30);
    EXPECT_LE(after - before, outerAfter - outerBefore + 1);

    FakeClock fake;
    SetClock(&fake);
    fake.advanceMs(1500);
    fake.set(fake.now().addSecs(-3600)); // setting the wall clock back leaves the elapsed time
    EXPECT_EQ(ElapsedMs(), 1500);
    SetClock(nullptr);
}
