#include "analysis/PrintData.h"
#include "support/FakeListView.h"
#include "support/TestSupport.h"

#include "DayRecord.h"

#include <cfloat>

namespace {
QStringList row(const QString& duration, const QString& cost, const QString& bytes, const QString& tariff)
{
    return {"", "05.01.2004", "10:00:00", duration, cost, "1", "0", "0", bytes, "Modem", tariff, "anna"};
}
} // namespace

class PrintDataTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0)));
    }
    void record(const QString& name, const QStringList& lines) { writeCipher("Verbindungen/" + name, lines); }
    FakeList list;
    PrintData data{list};
};

TEST_F(PrintDataTest, ListFilterTakesTheProviderBeforeTheBlankAndHyphen)
{
    const FilterCase cases[] = {
        {"Alpha - Abend.tel", "anna", "ANNA", "[Alle]", "[Alle]", true},
        {"Alpha - Abend.tel", "bert", "ANNA", "[Alle]", "[Alle]", false},
        {"", "", "[Alle]", "[Alle]", "[Alle]", true}, // empty fields pass when nothing is chosen
        {"Alpha - Abend.tel", "", "anna", "[Alle]", "[Alle]", false},
        {"Alpha - Abend.tel", "anna", "[Alle]", "Alpha", "M - Abend", true},
        {"Alpha - Abend.tel", "anna", "[Alle]", "alpha", "[Alle]", false},
        {"Alpha - Abend.tel", "anna", "[Alle]", "Alpha", "A - Abend", false},
        {"Netz-Plus - Flat.tel", "anna", "[Alle]", "Netz-Plus", "M - Flat", true},
        {"Netz-Plus - Flat.tel", "anna", "[Alle]", "Netz", "[Alle]", false},
        {"-Abend.tel", "anna", "[Alle]", "Alpha", "[Alle]", false}, // a leading hyphen names no provider
        {"", "anna", "[Alle]", "Alpha", "[Alle]", false},
        {"Alpha - Abend.tel", "anna", "", "Alpha", "", true}, // lists with nothing chosen restrict nothing
    };
    for (const auto& c : cases) {
        list.user = c.selUser;
        list.provider = c.provider;
        list.tariff = c.item;
        EXPECT_EQ(data.MatchesListFilter(c.tarif, c.user), c.passes)
            << c.tarif << " " << c.user << " " << c.selUser << " " << c.provider << " " << c.item;
    }
}

TEST_F(PrintDataTest, MonthSeriesReadTheMonthJustPastAndTheirMaximum)
{
    record("10122003-100000.con", recordLines("10.12.2003", "1:00:00", "2,50", "3000000"));
    record("10122002-100000.con", recordLines("10.12.2002", "9:00:00", "9,00", "9000000"));
    record("10012004-100000.con", recordLines("10.01.2004", "0:30:00", "1,00", "1000000"));
    record("11012004-100000.con", recordLines("11.01.2004", "0:30:00", "4,00", "1000000", "Beta - Tag.tel", "ANNA"));
    record("10012003-100000.con", recordLines("10.01.2003", "0:30:00", "7,00", "1000000"));
    list.user = "Anna";
    data.FillMonthCosts(12); // on 15 January "Dezember" is last year's
    EXPECT_FLOAT_EQ(data.MonthCosts.value[10], 2.5f);
    EXPECT_FLOAT_EQ(data.MonthCosts.maximum, 2.5f);
    data.FillMonthOnlineTime(12);
    EXPECT_FLOAT_EQ(data.MonthOnlineTime.value[10], 3600);
    data.FillMonthTransfer(12);
    EXPECT_FLOAT_EQ(data.MonthTransfer.value[10], 3);
    list.provider = "Alpha";
    data.FillMonthCosts(1); // this January; Beta's record fails the provider
    EXPECT_FLOAT_EQ(data.MonthCosts.value[10], 1.0f);
    EXPECT_FLOAT_EQ(data.MonthCosts.value[11], 0);
    EXPECT_FLOAT_EQ(data.MonthCosts.maximum, 1.0f);
    data.FillMonthCosts(2); // nothing yet: the quiet month's maximum, not the last one's
    EXPECT_FLOAT_EQ(data.MonthCosts.value[10], 0);
    EXPECT_FLOAT_EQ(data.MonthCosts.maximum, 0.0001f);
    data.FillMonthCosts(0);
    EXPECT_FLOAT_EQ(data.MonthCosts.maximum, 0.0001f);
    EXPECT_EQ(PrintSeriesYear(12, QDate(2004, 12, 31)), 2004);
    EXPECT_EQ(PrintSeriesYear(6, QDate(2004, 5, 31)), 2003);
}

TEST_F(PrintDataTest, TariffSumsInOrderOfFirstRowWithSixtyFourBitBytes)
{
    list.rows = {row("0:10:00", "1,25", "1500000000", "Alpha - Abend"), row("0:05:00", "0,5", "10", "Beta - Tag"),
                 row("0:20:00", "2.25", "1500000000", "Alpha - Abend"), row("0:01:00", "1", "7", "alpha - abend"),
                 row("1:00:00", "0,10", "2.5", "Alpha - Abend"),
                 // the largest cost a record holds, twice: the group's sum stops at the end of the single range
                 row("0:01:00", "340282300000000000000000000000000000000,000", "0", "Gamma"),
                 row("0:01:00", "340282300000000000000000000000000000000,000", "0", "Gamma")};
    data.SumByTariff();
    ASSERT_EQ(data.Tariffs.size(), 4);
    EXPECT_EQ(data.Tariffs[0].name, "Alpha - Abend");
    EXPECT_EQ(data.Tariffs[0].duration, "01:30:00");
    EXPECT_EQ(data.Tariffs[0].bytes, 3000000002LL); // 2.5 rounds to the even 2
    EXPECT_FLOAT_EQ(data.Tariffs[0].costs, 3.6f);
    EXPECT_EQ(data.Tariffs[1].name, "Beta - Tag");
    EXPECT_EQ(data.Tariffs[1].duration, "0:05:00"); // one row keeps its text
    EXPECT_EQ(data.Tariffs[2].name, "alpha - abend");
    EXPECT_EQ(data.Tariffs[3].costs, FLT_MAX);
    list.rows.clear();
    data.SumByTariff();
    EXPECT_TRUE(data.Tariffs.isEmpty());
    list.period = "Letzter Monat";
    data.FillPageTitle();
    EXPECT_EQ(data.PageTitle, "Verbindungen im Dezember 2003");
}
