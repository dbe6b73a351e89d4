#include "users/BudgetSpending.h"

#include "support/BudgetRecordBuilder.h"

namespace {
class BudgetSpendingTest : public BudgetTest {};
std::vector<double> v(std::initializer_list<double> l) { return l; }
} // namespace

TEST_F(BudgetSpendingTest, SelectsByNameDateAndExactUser)
{
    spent("15012001-080000.con", "1,20");            // today: day and month
    spent("15012001-090000.con", "0.75");            // a decimal point reads as well
    spent("03012001-100000.con", "2,00");            // this month
    spent("15012000-100000.con", "4,00");            // a year ago: nowhere
    spent("15122000-100000.con", "8,00");            // last month: nowhere
    spent("15012001-110000.con", "16,00", "anna");   // another user by case
    spent("15012001-120000.con", "32,00", "Bernd");  // another user
    spent("15012001-130000.con", "");                // no cost: 0
    const BudgetSpending spent = GetBudgetSpending("Anna", false, QDate(), QDate());
    EXPECT_EQ(spent.day, v({1.2, 0.75, 0}));
    EXPECT_EQ(spent.month, v({2.0, 1.2, 0.75, 0})); // in listing order
    EXPECT_TRUE(spent.period.empty());

    const BudgetSpending all = GetBudgetSpending("Anna", true, QDate(), QDate());
    EXPECT_EQ(all.day, v({1.2, 0.75, 16, 32, 0}));
}

TEST_F(BudgetSpendingTest, PeriodCountsRecordsDatedInsideItWhileTodayIsInside)
{
    spent("10122000-100000.con", "8,00"); // before the period
    spent("05012001-100000.con", "1,00"); // inside
    spent("31012001-100000.con", "2,00"); // its last day
    spent("01022001-100000.con", "4,00"); // after
    const QDate start(2001, 1, 1), end(2001, 1, 31);
    EXPECT_EQ(GetBudgetSpending("Anna", false, start, end).period, v({1, 2}));
    EXPECT_TRUE(GetBudgetSpending("Anna", false, QDate(), end).period.empty()); // no date, no period

}

TEST_F(BudgetSpendingTest, BudgetInForceChoosesTheFileAndReadsLeniently)
{
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "5", "20,5", " 0", "1.1.2001", "31.1.2001"));
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Budget.dat"), "7", "70", "700"));
    BudgetInForce b = ReadBudgetInForce("anna"); // the file is found in any letter case
    EXPECT_TRUE(b.state == StoredFile::Ok && !b.sameForAll && b.day == 5 && b.month == 20.5);
    EXPECT_EQ(b.periodStart, QDate(2001, 1, 1));
    EXPECT_EQ(b.periodEnd, QDate(2001, 1, 31));

    ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {" 1", " 0", " 0", "Standard"}));
    b = ReadBudgetInForce("");
    EXPECT_TRUE(b.sameForAll);
    EXPECT_EQ(b.period, 700);

    ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {" 0"}));
    EXPECT_EQ(ReadBudgetInForce("").state, StoredFile::Missing);
    EXPECT_EQ(ReadBudgetInForce("Bernd").state, StoredFile::Missing);
    ASSERT_TRUE(WriteTextLines(path("Benutzer/Kurz.bdg"), {"viel", "3"}));
    b = ReadBudgetInForce("Kurz");
    EXPECT_TRUE(b.state == StoredFile::Damaged && b.day == 0 && b.month == 3 && !b.periodStart.isValid());
}

TEST_F(BudgetSpendingTest, NameFieldsThatMakeNoDateRollOverForThePeriod)
{
    spent("32122000-100000.con", "1,00"); // 1 January 2001 for the period, but December by its fields
    spent("00022001-100000.con", "2,00"); // 31 January 2001
    spent("15012001x100000.con", "4,00"); // dated by its fields alone
    const BudgetSpending spent = GetBudgetSpending("Anna", false, QDate(2001, 1, 1), QDate(2001, 1, 31));
    EXPECT_EQ(spent.period, v({2, 4, 1}));
    EXPECT_EQ(spent.day, v({4}));
    EXPECT_EQ(RecordNameFields("15012001-100000.con").year, 2001);
    EXPECT_EQ(RecordNameFields("7.012001-1.con").day, 7);
    EXPECT_EQ(RecordNameDay({0, 1, 2001}), QDate(2000, 12, 31));
    EXPECT_EQ(RecordNameDay({1, 13, 2000}), QDate(2001, 1, 1));
    EXPECT_EQ(RecordNameDay({1, 1, 1}), QDate(2001, 1, 1));
}

TEST(RecordCost, ReadsLineFourWithTheStrictNumberConversion)
{
    const struct {
        const char* line;
        double cost;
    } cases[] = {
        {"S1,25", 1.25}, {"S1.25", 1.25}, {"S 2,50 ", 2.5}, {"S0", 0},      {"S-0,75", -0.75},
        {"S1,5x", 0},    {"S1,2,3", 0},   {"S1.234,5", 0},  {"S", 0},       {"", 0},
        {"S,", 0},       {"S1e3", 0},     {"SAbc", 0},      {"1,25", 0.25}, // the first character is the marker
    };
    for (const auto& c : cases) {
        RecordLines record;
        record.lines = {"S17.01.2001", "12:00:00", "00:10:00", c.line};
        EXPECT_EQ(RecordCost(record), c.cost) << c.line;
    }
    RecordLines shortRecord;
    shortRecord.lines = {"S17.01.2001", "12:00:00", "00:10:00"};
    EXPECT_EQ(RecordCost(shortRecord), 0);
}
