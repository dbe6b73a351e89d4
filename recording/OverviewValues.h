#pragma once
// What the overview page shows of the active user's remaining budgets, of the chosen tariff's free
// allowance this month and of the cheapest dial-up entry; the page puts these values into its labels.
#include "recording/BudgetLabels.h"
#include "users/BudgetSpending.h"

#include <QString>
#include <QStringList>

// The cost of the record Verbindungen/<fileName>; 0 when it has no cost line.
double GetConnectionCost(const QString& fileName);

// The free allowance of a tariff left this month as the live counter reads it: free time "h:mm:ss"
// ("-" in front when used up), free megabytes with a decimal comma, or "-" when the tariff has neither.
QString FreeAllowanceLeft(const QString& tariffFile);

namespace OverviewValues {

// One of the budget lines: amount label 2, 3 or 4, percentage label 6, 7 or 8, bar 2, 3 or 4.
struct BudgetLine {
    bool on = false; // a budget amount other than 0
    float budget = 0;
    float remaining = 0;
    QString amount;
    int amountColour = BUDGET_COLOUR_DARK_GREEN;
    QString percent; // "12,5%" or "nicht festgelegt"; empty while nothing was computed
    float bar = 0;   // the percentage as the bar shows it, 0 to 100
};

struct RemainingBudgets {
    bool budgetFileMissing = false; // the message was shown and the lines kept their reset values
    BudgetLine day, month, period;
    QString periodCaption; // lblOverview(5), "Zeitraum: 01.01.2001 - 31.01.2001"; empty when not set
};

// Computes the remaining budgets of `user`; a missing or damaged budget file shows the message.
RemainingBudgets ShowRemainingBudgets(const QString& user);

// Whether a budget that is on has 0,00 or less left; every budget counts as exceeded when the budget
// file is missing, so nobody dials over a budget that can no longer be read.
bool IsBudgetExceeded(const RemainingBudgets& budgets);

// Label1(36), lblOverview(1), lblOverview(9) and barOverview(1).
struct FreeAllowance {
    QString caption;
    QString text;
    int colour = BUDGET_COLOUR_DARK_GREEN;
    bool percentShown = false; // lblOverview(9) and the bar
    QString percent;
    double bar = 0;
    QString left; // G_FreeAllowanceLeft
};

// The free minutes of the tariff left this month, or its free transfer when it has no free minutes;
// both set G_FreeAllowanceLeft.
FreeAllowance ShowFreeTime(const QString& tariffFile);
FreeAllowance ShowFreeTransfer(const QString& tariffFile);

// "<entry> (0,019 €)" for the entry whose assigned tariff is cheapest now; the first of equal ones;
// empty when no entry has a tariff.
QString ShowCheapestEntry(const QStringList& entries);

} // namespace OverviewValues
