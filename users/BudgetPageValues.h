#pragma once
// The remaining budgets as the budget settings page shows them: amounts and bars of 0 to 100.
#include "users/BudgetFiles.h"

#include <QString>
#include <QStringList>

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

inline const QString BUDGET_RECREATED = QStringLiteral(
    "Die Speicherdatei dieses Benutzers wurde gelöscht oder beschädigt. Sie wurde neu angelegt, die Angaben müssen "
    "allerdings neu eingestellt werden.");
inline const QString BUDGET_NOT_WRITTEN = QStringLiteral("Die Budgetdatei konnte nicht geschrieben werden.");

// The users of the page: the names of Benutzer/*.bdg in listing order.
QStringList GetBudgetUsers();

// The scroll value an amount text gives: the number it starts with ("." as the decimal point), negated
// and rounded down, so "12.5" gives -13 and "12,5" gives -12; held to the bar's -9999..0.
int AmountScrollValue(const QString& text);

} // namespace BudgetPageValues
