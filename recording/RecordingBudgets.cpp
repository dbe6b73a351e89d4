#include "recording/RecordingBudgets.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/VB.h"
#include "recording/BudgetLabels.h"
#include "recording/CounterEvents.h"
#include "users/BudgetSpending.h"

namespace {
// Sums of cent amounts in double leave traces far below a cent; a remainder within them is 0, so a
// budget used up exactly neither turns negative nor warns.
constexpr double NOISE = 1e-9;
bool belowZero(double v) { return v < -NOISE; }
bool aboveZero(double v) { return v > NOISE; }

QString warningText(int kind)
{
    static const char* const budgets[] = {"Tagesbudget", "Monatsbudget", "definiertes Budget"};
    if (kind < 1 || kind > 3) return {};
    return QStringLiteral("Sie überschreiten nun Ihr %1. Diese Warnung können Sie in den Budgeteinstellungen "
                          "deaktivieren.")
        .arg(QLatin1String(budgets[kind - 1]));
}
} // namespace

void RecordingBudgets::GetBudget()
{
    const BudgetInForce b = ReadBudgetInForce(G_ActiveUser);
    m_day.remaining = b.day;
    m_month.remaining = b.month;
    m_period.remaining = b.period;
    m_periodStart = b.periodStart;
    m_periodEnd = b.periodEnd;
    m_chargeDay = Today();
    const BudgetSpending spent = GetBudgetSpending(G_ActiveUser, b.sameForAll, b.periodStart, b.periodEnd);
    for (double c : spent.day) m_day.remaining -= c;
    for (double c : spent.month) m_month.remaining -= c;
    for (double c : spent.period) m_period.remaining -= c;

    const struct {
        Budget& budget;
        Label& label;
        double amount;
    } lines[] = {{m_day, lblRestTag, b.day}, {m_month, lblRestMonat, b.month}, {m_period, lblRestDefiniert, b.period}};
    for (const auto& l : lines) {
        l.budget.active = l.amount != 0;
        if (!l.budget.active) {
            l.label = {NOT_SET, BUDGET_COLOUR_BLACK};
            continue;
        }
        draw(l.label, l.budget.remaining - l.budget.costApplied);
        // the colour tells how the records left the budget, before this connection
        l.label.colour = aboveZero(l.budget.remaining) ? BUDGET_COLOUR_DARK_GREEN : BUDGET_COLOUR_DARK_RED;
    }
}

void RecordingBudgets::GetNewBudget(bool newMonth, const QDate& day)
{
    m_chargeDay = day;
    const BudgetInForce b = ReadBudgetInForce(G_ActiveUser);
    m_day.remaining = b.day;
    if (newMonth) m_month.remaining = b.month;
}

void RecordingBudgets::ShowRestBudget(double connectionCost)
{
    const struct {
        Budget& budget;
        Label& label;
        int kind;
    } lines[] = {{m_day, lblRestTag, 1}, {m_month, lblRestMonat, 2}, {m_period, lblRestDefiniert, 3}};
    for (const auto& l : lines) {
        if (!l.budget.active) continue;
        if (l.kind == 3 && !InPeriod(m_chargeDay, m_periodStart, m_periodEnd)) continue;
        const double before = l.budget.remaining - l.budget.costApplied;
        l.budget.costApplied = connectionCost;
        const double after = l.budget.remaining - connectionCost;
        if (!belowZero(before) && belowZero(after)) warn(l.kind);
        draw(l.label, after);
    }
}

void RecordingBudgets::warn(int kind)
{
    bool optionsExist = false;
    const BudgetOptions options = ReadBudgetOptions(&optionsExist);
    if (!optionsExist) {
        m_events.playSound(ProgramPath(QStringLiteral("Sounds/Standard.wav")));
        showNotice(kind);
        return;
    }
    // the sound's name comes from a file: one that would leave Sounds plays nothing
    if (options.acousticWarning && IsSafeName(options.sound))
        m_events.playSound(ProgramPath("Sounds/" + options.sound + ".wav"));
    if (options.visualWarning) showNotice(kind);
}

void RecordingBudgets::showNotice(int kind)
{
    m_events.showNotice(kind, warningText(kind));
    // The countdown comes only with the notice: a user who switched the notice off is not hung up unseen.
    if (G_NoDialOverBudget) m_events.showCountdown();
}

void RecordingBudgets::draw(Label& label, double value)
{
    // "-0,00" would show for a remainder of a hair below 0
    const double shown = aboveZero(value) || belowZero(value) ? value : 0.0;
    label.text = FormatDouble(shown, "0.00") + " " + G_Currency;
    label.colour = aboveZero(value) ? BUDGET_COLOUR_DARK_GREEN : BUDGET_COLOUR_DARK_RED;
}
