#pragma once
// The remaining budgets as the budget settings page shows them: amounts and bars of 0 to 100.
#include <QString>

namespace BudgetPageValues {

inline const QString INACTIVE = QStringLiteral("inaktiv");

struct Remaining {
    QString text; // lblRestTag, lblRestMonat, lblRestDefiniert
    int bar = 100; // barRestTag, barRestMonat, barRestDefiniert
};

struct RemainingBudgets {
    bool budgetFileMissing = false; // the message was shown; the reset values stay
    Remaining day, month, period;
};

// For `user`, or for everybody when one budget serves all users. Per user without a user nothing beyond
// the reset values is shown.
RemainingBudgets ShowRemainingBudgets(const QString& user);

} // namespace BudgetPageValues
