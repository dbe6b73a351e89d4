#include "users/BudgetPageValues.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/VB.h"
#include "users/BudgetSpending.h"
#include "users/UserRecord.h"

#include <algorithm>
#include <cmath>

namespace BudgetPageValues {

RemainingBudgets ShowRemainingBudgets(const QString& user)
{
    RemainingBudgets r;
    Remaining* shown[] = {&r.day, &r.month, &r.period};
    for (Remaining* s : shown) s->text = "0.00 " + G_Currency;
    const bool sameForAll = ReadBudgetOptions().sameForAll;
    if (!sameForAll && user.isEmpty()) return r;
    const BudgetInForce b = ReadBudgetInForce(user);
    if (b.state != StoredFile::Ok) {
        r.budgetFileMissing = true;
        MsgBox(BUDGET_FILES_DAMAGED, vbOKOnly);
        return r;
    }
    const BudgetSpending spent = GetBudgetSpending(user, b.sameForAll, b.periodStart, b.periodEnd);
    const double amounts[] = {b.day, b.month, b.period};
    const std::vector<double>* costs[] = {&spent.day, &spent.month, &spent.period};
    for (int i = 0; i < 3; ++i) {
        const float budget = CSng(amounts[i]);
        if (budget == 0) {
            shown[i]->text = INACTIVE;
            shown[i]->bar = 0;
            continue;
        }
        // Single precision, rounded after every record: 5 less 1,20 and 0,75 leaves a hair under 3,05. An
        // amount beyond it stops at its end, so the share is 100 or 0 and never NaN.
        float remaining = budget;
        for (double c : *costs[i]) remaining = CSng(double(remaining) - c);
        shown[i]->text = FormatSingle(remaining, "0.00") + " " + G_Currency;
        const double share = std::floor(double(remaining) * 100 / double(budget));
        shown[i]->bar = int(std::clamp(share, 0.0, 100.0));
    }
    return r;
}

QStringList GetBudgetUsers()
{
    QStringList names;
    for (const QString& file : ListFolder(UserFolderPath(), QStringLiteral("*.bdg"))) names << file.chopped(4);
    return names;
}

int AmountScrollValue(const QString& text)
{
    return int(std::clamp(std::floor(Val("-" + text)), -9999.0, 0.0));
}

} // namespace BudgetPageValues
