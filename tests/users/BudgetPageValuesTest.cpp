#include "users/BudgetPageValues.h"
#include "users/BudgetSpending.h"

#include "support/BudgetRecordBuilder.h"

using BudgetPageValues::ShowRemainingBudgets;

class BudgetPageValuesTest : public BudgetTest {};

TEST_F(BudgetPageValuesTest, AmountsAndBarsInSinglePrecision)
{
    const QString huge = "1" + QString(39, '0');
    const struct {
        QString budget;
        QStringList costs;
        const char* text;
        int bar;
    } cases[] = {
        {"5", {"1,20", "0,75"}, "3,05 €", 60}, // a hair under 3,05 gives 60, not 61
        {"10", {"2,50", "1,50"}, "6,00 €", 60},
        {"10", {"6,00", "5,00"}, "-1,00 €", 0},
        {"10", {}, "10,00 €", 100},
        {"10", {"-2,00"}, "12,00 €", 100}, // a record entered with a negative cost
        {"1000", {"996,00"}, "4,00 €", 0},
        {" 0", {"1,00"}, "inaktiv", 0},
        // beyond single precision: held at the range's end, so the share is 100 or 0, never NaN
        {huge, {"1,00"}, "340282300000000000000000000000000000000,00 €", 100},
        {"10", {huge}, "-340282300000000000000000000000000000000,00 €", 0},
    };
    for (const auto& c : cases) {
        QDir(path("Verbindungen")).removeRecursively();
        ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), c.budget, " 0", " 0"));
        int second = 0;
        for (const QString& cost : c.costs) spent(QString("15012001-1000%1.con").arg(second++, 2, 10, QChar('0')), cost);
        const BudgetPageValues::RemainingBudgets r = ShowRemainingBudgets("Anna");
        EXPECT_EQ(r.day.text, c.text) << c.budget.toStdString() << c.costs.join(' ').toStdString();
        EXPECT_EQ(r.day.bar, c.bar) << c.budget.toStdString() << c.costs.join(' ').toStdString();
        EXPECT_EQ(r.month.text, "inaktiv");
        EXPECT_EQ(r.month.bar, 0);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(BudgetPageValuesTest, RecordsCountByDatePeriodAndUser)
{
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "10", "20", "40", "01.01.2001", "31.01.2001"));
    spent("14012001-100000.con", "1,00");          // yesterday: month and period
    spent("10122000-100000.con", "2,00");          // last December: before the period, nowhere
    spent("15012001-100000.con", "4,00", "anna");  // another user by case
    spent("15012001-110000.con", "8,00", "Anna");  // today
    BudgetPageValues::RemainingBudgets r = ShowRemainingBudgets("Anna");
    EXPECT_EQ(r.day.text, "2,00 €");
    EXPECT_EQ(r.month.text, "11,00 €");
    EXPECT_EQ(r.period.text, "31,00 €");
    EXPECT_EQ(r.period.bar, 77);

    ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {" 1", " 0", " 0", "Standard"}));
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Budget.dat"), "10", " 0", "40", "01.01.2001", "31.01.2001"));
    r = ShowRemainingBudgets(""); // one budget for all: everybody's records
    EXPECT_EQ(r.day.text, "-2,00 €");
    EXPECT_EQ(r.day.bar, 0);
    EXPECT_EQ(r.month.text, "inaktiv");
    EXPECT_EQ(r.period.text, "27,00 €");
}

TEST_F(BudgetPageValuesTest, MissingFileShowsTheMessageButNoUserShowsNothing)
{
    BudgetPageValues::RemainingBudgets r = ShowRemainingBudgets("");
    EXPECT_FALSE(r.budgetFileMissing);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(r.day.text, "0.00 €");
    EXPECT_EQ(r.day.bar, 100);

    r = ShowRemainingBudgets("Anna");
    EXPECT_TRUE(r.budgetFileMissing);
    ASSERT_EQ(dialogs.texts(), QStringList{BUDGET_FILES_DAMAGED});
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly);
    EXPECT_EQ(r.period.text, "0.00 €");
    EXPECT_EQ(r.period.bar, 100);

    ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {" 1"}));
    dialogs.messages.clear();
    EXPECT_TRUE(ShowRemainingBudgets("").budgetFileMissing);
    EXPECT_EQ(dialogs.messages.size(), 1);
}
