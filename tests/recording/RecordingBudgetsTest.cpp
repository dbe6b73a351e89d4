#include "recording/BudgetLabels.h"
#include "recording/CounterEvents.h"
#include "recording/OverviewValues.h"
#include "recording/RecordingBudgets.h"
#include "users/BudgetPageValues.h"
#include "users/BudgetSpending.h"

#include "support/BudgetRecordBuilder.h"

namespace {
struct Events : CounterEvents {
    QStringList calls;
    void showCountdown() override { calls << "countdown"; }
    void showNotice(int kind, const QString& text) override { calls << QString("notice %1: %2").arg(kind).arg(text); }
    void playSound(const QString& path) override { calls << "sound " + path; }
};

const QString DAY_NOTICE = "notice 1: Sie überschreiten nun Ihr Tagesbudget. Diese Warnung können Sie in den "
                           "Budgeteinstellungen deaktivieren.";
const QString MONTH_NOTICE = "notice 2: Sie überschreiten nun Ihr Monatsbudget. Diese Warnung können Sie in den "
                             "Budgeteinstellungen deaktivieren.";
const QString PERIOD_NOTICE = "notice 3: Sie überschreiten nun Ihr definiertes Budget. Diese Warnung können Sie "
                              "in den Budgeteinstellungen deaktivieren.";

class RecordingBudgetsTest : public BudgetTest {
protected:
    void options(const QString& acoustic, const QString& visual, const QString& sameForAll = " 0",
                 const QString& soundName = "Alarm")
    {
        ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {sameForAll, acoustic, visual, soundName}));
    }
    QString sound(const QString& name) const { return "sound " + path("Sounds/" + name + ".wav"); }
    Events events;
    RecordingBudgets budgets{events};
};
} // namespace

TEST_F(RecordingBudgetsTest, CrossingBelowZeroWarnsOnceByItsKind)
{
    options(" 1", " 1");
    G_NoDialOverBudget = true;
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "5", "10", " 0"));
    spent("15012001-080000.con", "4,60"); // 0,40 left today
    spent("02012001-080000.con", "2,00"); // 3,40 left this month
    budgets.GetBudget();
    EXPECT_EQ(budgets.lblRestTag.text, "0,40 €");
    EXPECT_EQ(budgets.lblRestTag.colour, BUDGET_COLOUR_DARK_GREEN);
    EXPECT_EQ(budgets.lblRestMonat.text, "3,40 €");
    EXPECT_EQ(budgets.lblRestDefiniert.text, "nicht festgelegt");
    EXPECT_EQ(budgets.lblRestDefiniert.colour, BUDGET_COLOUR_BLACK);

    budgets.ShowRestBudget(0.19);
    budgets.ShowRestBudget(0.38);
    EXPECT_TRUE(events.calls.isEmpty());
    budgets.ShowRestBudget(0.5);
    EXPECT_EQ(events.calls, QStringList({sound("Alarm"), DAY_NOTICE, "countdown"}));
    EXPECT_EQ(budgets.lblRestTag.text, "-0,10 €");
    EXPECT_EQ(budgets.lblRestTag.colour, BUDGET_COLOUR_DARK_RED);
    EXPECT_EQ(budgets.lblRestMonat.text, "2,90 €");
    events.calls.clear();
    budgets.ShowRestBudget(0.69);
    budgets.ShowRestBudget(3.5); // the month from 0,40 to -0,10
    EXPECT_EQ(events.calls, QStringList({sound("Alarm"), MONTH_NOTICE, "countdown"}));
    events.calls.clear();
    budgets.ShowRestBudget(5.0);
    EXPECT_TRUE(events.calls.isEmpty());
}

TEST_F(RecordingBudgetsTest, LandingOnZeroOrStartingBelowDoesNotWarn)
{
    options(" 1", " 1");
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "0,3", "3", "2"));
    spent("14012001-080000.con", "3,10"); // month and period already overrun
    budgets.GetBudget();
    EXPECT_EQ(budgets.lblRestMonat.text, "-0,10 €");
    EXPECT_EQ(budgets.lblRestMonat.colour, BUDGET_COLOUR_DARK_RED);
    EXPECT_EQ(budgets.lblRestDefiniert.text, "-1,10 €");
    // the running cost sums to a hair above 0,3 in double
    double cost = 0;
    for (double unit : {0.1, 0.2}) budgets.ShowRestBudget(cost += unit);
    ASSERT_LT(0.3 - cost, 0);
    EXPECT_EQ(budgets.lblRestTag.text, "0,00 €");
    EXPECT_EQ(budgets.lblRestTag.colour, BUDGET_COLOUR_DARK_RED);
    EXPECT_TRUE(events.calls.isEmpty());
    budgets.ShowRestBudget(0.41);
    EXPECT_EQ(events.calls.size(), 2); // the day, from exactly 0; the month and period were below already
    EXPECT_EQ(events.calls[1], DAY_NOTICE);
}

TEST_F(RecordingBudgetsTest, WarningsFollowTheOptions)
{
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "1", " 0", " 0"));
    G_NoDialOverBudget = true;
    const struct {
        bool optionsFile;
        const char *acoustic, *visual;
        QStringList calls;
        const char* soundName = "Alarm";
    } cases[] = {
        {false, "", "", {sound("Standard"), DAY_NOTICE, "countdown"}},
        {true, " 1", " 0", {sound("Alarm")}}, // no notice, so no countdown either
        {true, " 0", " 1", {DAY_NOTICE, "countdown"}},
        {true, " 0", " 0", {}},
        // a sound name that would leave Sounds plays nothing; the notice still comes
        {true, " 1", " 1", {DAY_NOTICE, "countdown"}, "../../x"},
        {true, " 1", " 0", {}, ".."},
        {true, " 1", " 0", {}, ""},
    };
    for (const auto& c : cases) {
        QFile::remove(path("Benutzer/Benutzer.dat"));
        if (c.optionsFile) options(c.acoustic, c.visual, " 0", c.soundName);
        Events e;
        RecordingBudgets b(e);
        b.GetBudget();
        b.ShowRestBudget(1.5);
        EXPECT_EQ(e.calls, c.calls) << c.optionsFile << c.acoustic << c.visual << c.soundName;
    }
    G_NoDialOverBudget = false;
    QFile::remove(path("Benutzer/Benutzer.dat"));
    budgets.GetBudget();
    budgets.ShowRestBudget(1.5);
    EXPECT_EQ(events.calls, QStringList({sound("Standard"), DAY_NOTICE}));
}

TEST_F(RecordingBudgetsTest, NewDayReloadsAndTheWholeConnectionCounts)
{
    options(" 0", " 1");
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "2", "10", " 0"));
    spent("15012001-080000.con", "1,50");
    budgets.GetBudget();
    budgets.ShowRestBudget(1.0);
    EXPECT_EQ(events.calls, QStringList{DAY_NOTICE});
    EXPECT_EQ(budgets.lblRestTag.text, "-0,50 €");

    clock.set(QDateTime(QDate(2001, 1, 16), QTime(0, 0, 1)));
    budgets.GetNewBudget(false, QDate(2001, 1, 16));
    EXPECT_EQ(budgets.lblRestTag.text, "-0,50 €"); // the next charge redraws
    budgets.ShowRestBudget(1.5);
    EXPECT_EQ(budgets.lblRestTag.text, "0,50 €");
    EXPECT_EQ(budgets.lblRestMonat.text, "7,00 €");
    budgets.ShowRestBudget(2.5); // the new day's budget is overrun by this connection alone
    EXPECT_EQ(events.calls, QStringList({DAY_NOTICE, DAY_NOTICE}));
}

TEST_F(RecordingBudgetsTest, PeriodOnlyWhileTodayIsInsideAndOneBudgetForAll)
{
    options(" 0", " 1", " 1");
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Budget.dat"), " 0", " 0", "3", "01.01.2001", "15.01.2001"));
    spent("10012001-080000.con", "1,00", "Bernd"); // every user counts against one budget for all
    spent("12012001-080000.con", "1,00", "");
    budgets.GetBudget();
    EXPECT_EQ(budgets.lblRestDefiniert.text, "1,00 €");
    EXPECT_EQ(budgets.lblRestTag.text, "nicht festgelegt");
    budgets.ShowRestBudget(0.5);
    EXPECT_EQ(budgets.lblRestDefiniert.text, "0,50 €");

    clock.set(QDateTime(QDate(2001, 1, 16), QTime(0, 0, 1))); // past the period's end
    budgets.GetNewBudget(false, QDate(2001, 1, 16));
    budgets.ShowRestBudget(5.0);
    EXPECT_EQ(budgets.lblRestDefiniert.text, "0,50 €");
    EXPECT_TRUE(events.calls.isEmpty());
}

TEST_F(RecordingBudgetsTest, MissingBudgetFileSwitchesEveryBudgetOff)
{
    budgets.GetBudget();
    for (const auto* label : {&budgets.lblRestTag, &budgets.lblRestMonat, &budgets.lblRestDefiniert}) {
        EXPECT_EQ(label->text, "nicht festgelegt");
        EXPECT_EQ(label->colour, BUDGET_COLOUR_BLACK);
    }
    budgets.ShowRestBudget(100);
    EXPECT_TRUE(events.calls.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RecordingBudgetsTest, ThePeriodRuleIsTheSameOnAllThreePages)
{
    spent("10122000-100000.con", "8,00"); // before the period
    spent("05012001-100000.con", "1,00"); // inside
    spent("31012001-100000.con", "2,00"); // its last day
    spent("01022001-100000.con", "4,00"); // after
    const QDate start(2001, 1, 1), end(2001, 1, 31);
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), " 0", " 0", "10"));
    RecordingBudgets live(events);
    // while today is inside the period and after it
    for (auto [day, left] : {std::pair{QDate(2001, 1, 15), "7,00 €"}, {QDate(2001, 2, 1), "10,00 €"}}) {
        clock.set(QDateTime(day, QTime(9, 0)));
        EXPECT_EQ(GetBudgetSpending("Anna", false, start, end).period.size(), day.month() == 1 ? 2u : 0u);
        EXPECT_EQ(OverviewValues::ShowRemainingBudgets("Anna").period.amount, QString::fromUtf8(left));
        EXPECT_EQ(BudgetPageValues::ShowRemainingBudgets("Anna").period.text, QString::fromUtf8(left));
        live.GetBudget();
        EXPECT_EQ(live.lblRestDefiniert.text, QString::fromUtf8(left));
    }
}
