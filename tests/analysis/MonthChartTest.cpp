#include "analysis/MonthChart.h"

#include "core/Globals.h"
#include "core/VB.h"
#include "support/BudgetRecordBuilder.h"

#include <QDir>

#include <cfloat>

#include <gtest/gtest.h>

TEST(MonthChart, DayValuesMaximumAndTotal)
{
    std::array<float, 32> sums{};
    ChartDayValues empty = MakeChartDayValues(sums);
    EXPECT_EQ(empty.maximum, 1.0f);
    EXPECT_EQ(empty.total, 1.0f);

    sums[0] = 500; // never a day
    sums[3] = 99.5f;
    sums[31] = 0.25f;
    const ChartDayValues v = MakeChartDayValues(sums);
    EXPECT_EQ(v.value[0], 0.0f);
    EXPECT_EQ(v.maximum, 99.5f);
    EXPECT_EQ(v.total, 99.75f);
    EXPECT_EQ(ChartValueY(99.5f, v.maximum), 15.0f);
    EXPECT_EQ(ChartValueY(0, v.maximum), 235.0f);
    EXPECT_FLOAT_EQ(ChartAverageY(1, 1), 235.0f - 220.0f / 31.0f);
}

TEST(MonthChart, ADayAtTheEndOfTheSingleRangeReachesTheTop)
{
    EXPECT_EQ(ChartValueY(FLT_MAX, FLT_MAX), 15.0f);
    EXPECT_EQ(ChartValueY(FLT_MAX / 2, FLT_MAX), 125.0f);
    EXPECT_FLOAT_EQ(ChartAverageY(FLT_MAX, FLT_MAX), 235.0f - 220.0f / 31.0f);
    EXPECT_EQ(BarLength(-FLT_MAX, 1, 40), -FLT_MAX); // far below the axis, but a number
    EXPECT_EQ(BarLength(3, 4, 40), 30.0f);
    // two such days: the month's total stops at the end of the range too
    std::array<float, 32> sums{};
    sums[1] = sums[2] = FLT_MAX;
    const ChartDayValues v = MakeChartDayValues(sums);
    EXPECT_EQ(v.total, FLT_MAX);
    EXPECT_FLOAT_EQ(ChartAverageY(v.total, v.maximum), 235.0f - 220.0f / 31.0f);
}

TEST(MonthChart, OnlyTheMonthsDaysAreSummed)
{
    struct Case {
        int year, month, lastDay;
    } cases[] = {{2004, 2, 29}, {2003, 2, 28}, {2003, 4, 30}, {2003, 3, 31}, {2003, 13, 0}};
    for (const Case& c : cases) {
        QList<int> asked;
        const ChartDayValues v = MakeChartDayValues(c.year, c.month, [&](const QDate& date) {
            asked << date.day();
            return float(date.day());
        });
        EXPECT_EQ(asked.size(), c.lastDay) << c.month;
        if (c.lastDay > 0) {
            EXPECT_EQ(asked.last(), c.lastDay);
            EXPECT_EQ(v.maximum, float(c.lastDay));
        }
        if (c.lastDay < 31) {
            EXPECT_EQ(v.value[31], 0.0f);
        }
    }
}

TEST(MonthChart, ValueAndDayLabels)
{
    SetDecimalSeparator(',');
    struct Case {
        int kind;
        float maximum;
        QString top, second, bottom;
    } cases[] = {
        {2, 99.5f, "99,50", "90,45", "0,00"}, {2, 100, "100", "91", "0"},   {3, 1, "1,00", "0,91", "0,00"},
        {1, 90, "1,5", "1,4", "0,0"},         {1, 3600, "60", "55", "0"},   {1, 1, "0,0", "0,0", "0,0"},
    };
    for (const Case& c : cases) {
        const QStringList labels = ChartValueLabels(c.kind, c.maximum);
        ASSERT_EQ(labels.size(), 12);
        EXPECT_EQ(labels.first(), c.top) << c.kind << " " << c.maximum;
        EXPECT_EQ(labels[1], c.second) << c.kind << " " << c.maximum;
        EXPECT_EQ(labels.last(), c.bottom);
    }
    EXPECT_EQ(ChartDayLabel(1), " 1");
    EXPECT_EQ(ChartDayLabel(2), "");
    EXPECT_EQ(ChartDayLabel(31), " 31");
    EXPECT_EQ(ChartDayLabel(32), "");
    G_Currency = "€";
    EXPECT_EQ(ChartAxisYCaption(1), "Y: Dauer (Min)");
    EXPECT_EQ(ChartAxisYCaption(2), "Y: Kosten (€)");
    EXPECT_EQ(ChartAxisYCaption(3), "Y: Transfer (MB)");
}

TEST(MonthChart, PieCategories)
{
    EXPECT_EQ(PieCategory(4, "Alpha - Abend.tel", "x"), "M - Alpha - Abend");
    EXPECT_EQ(PieCategory(4, "Alpha - Abend.atl", "x"), "A - Alpha - Abend");
    EXPECT_EQ(PieCategory(4, "Beta.TEL", "x"), "A - Beta");
    EXPECT_EQ(PieCategory(4, ".tel", "x"), "M - ");
    EXPECT_EQ(PieCategory(4, "tel", "x"), "");
    EXPECT_EQ(PieCategory(5, "Alpha - Abend.tel", "Bert"), "Bert");
    EXPECT_EQ(GetPieColor(0), QColor(0, 150, 240));
    EXPECT_EQ(GetPieColor(20), QColor(100, 100, 120));
    EXPECT_EQ(GetPieColor(21), QColor(0, 0, 0));
    EXPECT_EQ(GetPieColor(-1), QColor(0, 0, 0));
}

TEST(MonthChart, PieSlotsAndLegend)
{
    PieCount three;
    for (const char* user : {"anna", "Anna", "Bert"})
        three.Add(user);
    QList<PieSlot> slotList = three.Slots();
    ASSERT_EQ(slotList.size(), 2);
    EXPECT_EQ(PieLegendLine(slotList[0]), "anna" + QString(21, ' ') + " (2)");
    EXPECT_EQ(PieLegendLine(slotList[1]), "Bert" + QString(21, ' ') + " (1)");
    EXPECT_EQ(PieAxisYCaption(three.Total()), "3 Verbind.");
    EXPECT_EQ(PieAxisYCaption(PieCount().Total()), "0 Verbind.");
    EXPECT_TRUE(PieCount().Slots().isEmpty());

    // categories, empty categories -> slot count, last slot's name and count
    struct Case {
        int categories, uncategorised, slotList;
        QString last;
        float lastCount;
    } cases[] = {
        {1, 1, 2, PIE_DEFECT_SLOT, 1}, {20, 1, 21, PIE_DEFECT_SLOT, 1}, {21, 0, 21, "U20", 1},
        {21, 1, 21, PIE_DEFECT_SLOT, 2}, {25, 0, 21, PIE_DEFECT_SLOT, 5},
    };
    for (const Case& c : cases) {
        PieCount count;
        for (int i = 0; i < c.categories; ++i)
            count.Add(QString("U%1").arg(i));
        for (int i = 0; i < c.uncategorised; ++i)
            count.Add("");
        slotList = count.Slots();
        ASSERT_EQ(slotList.size(), c.slotList) << c.categories;
        EXPECT_EQ(slotList.last().name, c.last) << c.categories;
        EXPECT_EQ(slotList.last().count, c.lastCount) << c.categories;
        if (c.categories >= 20) {
            EXPECT_EQ(slotList[19].name, "U19");
        }
        EXPECT_EQ(count.Total(), float(c.categories + c.uncategorised));
    }
}

class MonthPieTest : public ProgramTest {
protected:
    void record(const QString& name, const QString& user, const QString& tariff = "Alpha - Abend.tel")
    {
        const TestRecord r{name, "1,00", user, "00:10:00", "0", tariff};
        ASSERT_TRUE(WriteTestRecord(dir.path(), r));
    }
};

TEST_F(MonthPieTest, CountsEveryReadableRecordOfTheMonth)
{
    record("03032003-100000.con", "anna");
    record("04032003-100000.con", "Anna", "Alpha - Abend.atl");
    record("05032003-100000.con", "Bert", "ab");
    record("05032004-100000.con", "Bert");      // another year
    record("05042003-100000.con", "Bert");      // another month
    writeCipher("Verbindungen/06032003-100000.con", {"S06.03.2003", "10:00:00"}); // ends before line 10
    QDir(dir.path()).mkpath("Verbindungen/07032003-100000.con");                 // cannot be read

    PieCount users = CountMonthPie(2003, 3, 5);
    QList<PieSlot> slotList = users.Slots();
    ASSERT_EQ(slotList.size(), 3);
    EXPECT_EQ(slotList[0].name, "anna");
    EXPECT_EQ(slotList[0].count, 2.0f);
    EXPECT_EQ(slotList[1].name, "Bert");
    EXPECT_EQ(slotList[2].name, PIE_DEFECT_SLOT);
    EXPECT_EQ(users.Total(), 4.0f);

    slotList = CountMonthPie(2003, 3, 4).Slots();
    ASSERT_EQ(slotList.size(), 3);
    EXPECT_EQ(slotList[0].name, "M - Alpha - Abend");
    EXPECT_EQ(slotList[1].name, "A - Alpha - Abend");
    EXPECT_EQ(slotList[2].name, PIE_DEFECT_SLOT);
    EXPECT_EQ(slotList[2].count, 2.0f); // the short tariff field and the short record
}
