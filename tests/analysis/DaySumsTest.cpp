#include "analysis/DaySums.h"
#include "support/TestSupport.h"

#include "DayRecord.h"

namespace {
RecordTest chartTest(const RecordSelection& selection)
{
    return [selection](const QString& t, const QString& u) { return MatchesChartFilter(t, u, selection); };
}

const RecordTest ALL = [](const QString&, const QString&) { return true; };
} // namespace

class DaySumsTest : public ProgramTest {
protected:
    void record(const QString& name, const QStringList& lines) { writeCipher("Verbindungen/" + name, lines); }
};

TEST(MatchesChartFilter, EmptyFieldsUserCaseAndTariffFilter)
{
    const FilterCase cases[] = {
        {"Alpha - Abend.tel", "anna", "[Alle]", "Alpha", "M - Abend", true},
        {"Alpha - Abend.tel", "anna", "[Alle]", "Alpha", "A - Abend", false},
        {"Alpha - Abend.tel", "anna", "[Alle]", "alpha", "[Alle]", false},
        {"Netz-Plus - Flat.tel", "anna", "[Alle]", "Netz-Plus", "M - Flat", true},
        {"Alpha - Abend.tel", "anna", "ANNA", "[Alle]", "[Alle]", true},
        {"Alpha - Abend.tel", "Bert", "ANNA", "[Alle]", "[Alle]", false},
        {"Alpha - Abend.tel", "anna", "[alle]", "[Alle]", "[Alle]", false}, // only "[Alle]" exactly means all
        {"", "anna", "[Alle]", "[Alle]", "[Alle]", false},
        {"Alpha - Abend.tel", "", "[Alle]", "[Alle]", "[Alle]", false},
        {"-Abend.tel", "anna", "[Alle]", "Alpha", "[Alle]", false}, // no provider part
        {"Alpha -", "anna", "[Alle]", "Alpha", "M - ", false},      // no room for a tariff name
        {"damaged", "anna", "[Alle]", "[Alle]", "M - Abend", true},  // provider "[Alle]" skips the item test
    };
    for (const auto& c : cases) {
        const RecordSelection s{c.selUser, c.provider, c.item};
        EXPECT_EQ(MatchesChartFilter(c.tarif, c.user, s), c.passes)
            << c.tarif << " " << c.user << " " << c.selUser << " " << c.provider << " " << c.item;
    }
}

TEST_F(DaySumsTest, SumsTheDayOfTheFileNameInSinglePrecision)
{
    record("06032003-100000.con", recordLines("05.03.2003", "1:30:00", "1,50", "2500000"));
    record("06032003-120000.con", recordLines("06.03.2003", "0:00:10", "2.25", "500000", "Alpha - Abend.tel", "Bert"));
    record("07032003-100000.con", recordLines("07.03.2003", "0:01:00", "9,99", "1"));
    record("06032003-130000.con", {"S06.03.2003", "12:00:00", "0:00:05"}); // cut short: no fields, never passes
    const QDate day(2003, 3, 6);
    EXPECT_FLOAT_EQ(GetDayCosts(day, ALL), 3.75f);
    EXPECT_FLOAT_EQ(GetDayTransferMB(day, ALL), 3.0f);
    EXPECT_FLOAT_EQ(GetDayOnlineTime(day, ALL), 5410.0f + 5.0f);
    EXPECT_FLOAT_EQ(GetDayOnlineTime(day, chartTest({"[Alle]", "[Alle]", "[Alle]"})), 5410.0f);
    EXPECT_FLOAT_EQ(GetDayCosts(day, chartTest({"ANNA", "[Alle]", "[Alle]"})), 1.5f);
    EXPECT_FLOAT_EQ(GetDayCosts(QDate(2003, 3, 5), ALL), 0.0f);
    EXPECT_FLOAT_EQ(GetDayTransferMB(QDate(2003, 3, 8), ALL), 0.0f);
    // costs add in single precision: 0.1 ten times is not 1
    for (int i = 0; i < 10; ++i)
        record(QString("09032003-1000%1.con").arg(i, 2, 10, QChar('0')), recordLines("09.03.2003", "0", "0,10", "0"));
    float expected = 0.0f;
    for (int i = 0; i < 10; ++i)
        expected += 0.1f;
    EXPECT_EQ(GetDayCosts(QDate(2003, 3, 9), ALL), expected);
}

TEST_F(DaySumsTest, MonthSumsEqualTheDaySumsInOneWalk)
{
    record("01022003-100000.con", recordLines("01.02.2003", "0:01:00", "1,25", "1000000"));
    record("28022003-100000.con", recordLines("28.02.2003", "0:02:00", "2,50", "3000000"));
    record("28022003-110000.con", recordLines("28.02.2003", "0:00:30", "0,75", "500000", "Beta - Tag.atl", "Bert"));
    record("30022003-100000.con", recordLines("30.02.2003", "0:05:00", "4,00", "0")); // rolls over into 2 March
    record("01022004-100000.con", recordLines("01.02.2004", "0:05:00", "8,00", "0"));
    const RecordTest anna = chartTest({"Anna", "[Alle]", "[Alle]"});
    for (int kind : {DAY_SECONDS, DAY_COSTS, DAY_MEGABYTES}) {
        const std::array<float, 32> sums = GetMonthDaySums(2003, 2, kind, ALL);
        EXPECT_EQ(sums[0], 0.0f);
        for (int d = 1; d <= 31; ++d) {
            const QDate date(2003, 2, d);
            const float day = !date.isValid()          ? 0.0f
                              : kind == DAY_SECONDS ? GetDayOnlineTime(date, ALL)
                              : kind == DAY_COSTS   ? GetDayCosts(date, ALL)
                                                    : GetDayTransferMB(date, ALL);
            EXPECT_EQ(sums[size_t(d)], day) << kind << " " << d;
        }
    }
    const std::array<float, 32> costs = GetMonthDaySums(2003, 2, DAY_COSTS, anna);
    EXPECT_FLOAT_EQ(costs[1], 1.25f);
    EXPECT_FLOAT_EQ(costs[28], 2.5f);
    EXPECT_FLOAT_EQ(GetMonthDaySums(2003, 2, DAY_MEGABYTES, ALL)[28], 3.5f);
    EXPECT_FLOAT_EQ(GetMonthDaySums(2003, 3, DAY_COSTS, ALL)[2], 4.0f);
    EXPECT_FLOAT_EQ(GetMonthDaySums(2003, 2, DAY_SECONDS, ALL)[28], 150.0f);
    for (int month : {0, 13, -1})
        EXPECT_EQ(GetMonthDaySums(2003, month, DAY_COSTS, ALL), (std::array<float, 32>{})) << month;
    EXPECT_EQ(GetMonthDaySums(2003, 2, 4, ALL), (std::array<float, 32>{}));
}

TEST_F(DaySumsTest, AValueBeyondSinglePrecisionRangeDoesNotOverflow)
{
    record("06032003-100000.con", recordLines("06.03.2003", "0", "0", QString(60, '9')));
    EXPECT_EQ(GetDayTransferMB(QDate(2003, 3, 6), ALL), FLT_MAX);
}
