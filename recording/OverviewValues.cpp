#include "recording/OverviewValues.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

#include <cmath>

double GetConnectionCost(const QString& fileName)
{
    RecordLines record;
    return ReadRecord(fileName, record, 4) ? RecordCost(record) : 0.0;
}

namespace {
const QString FREE_TIME_CAPTION = QStringLiteral("Verbleibende kostenfreie Zeit:");
const QString FREE_TRANSFER_CAPTION = QStringLiteral("Verbleibender kostenfreier Transfer:");
const QString EXCEEDED_BY = QStringLiteral("0 (überschritten um ");
const QString NO_ASSIGNMENT = QStringLiteral("[Keine Zuordnung]");

QString resetAmount() { return "0.00 " + G_Currency; }

// The records of this month, by the month and year fields of their names.
RecordSelector thisMonth()
{
    const QDate today = Today();
    return [month = today.month(), year = today.year()](const QString& name) {
        const RecordNameDate f = RecordNameFields(name);
        return f.month == month && f.year == year;
    };
}

// Megabytes with a decimal comma and no exponent, so that ValDecimal reads every value back.
QString megabytesText(double mb)
{
    QString text = QString::number(mb, 'f', 6); // a byte is a millionth
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    if (text == "-0") text = "0";
    return text.replace('.', ',');
}

OverviewValues::FreeAllowance freeTransfer(const QString& tariffFile)
{
    OverviewValues::FreeAllowance a;
    const double limit = GetVolumeLimit(tariffFile) / 1000;
    if (limit == 0) {
        a.caption = FREE_TIME_CAPTION;
        a.text = QStringLiteral("Keine");
        a.colour = BUDGET_COLOUR_DARK_RED;
        a.left = QStringLiteral("-");
        return a;
    }
    double remaining = limit;
    WalkRecords(thisMonth(), [&](const QString&, const RecordLines& record) {
        if (!record.line(8).isEmpty()) remaining -= Val(record.line(8)) / 1'000'000;
    });
    a.caption = FREE_TRANSFER_CAPTION;
    a.left = megabytesText(remaining);
    if (a.left.startsWith('-')) {
        a.text = EXCEEDED_BY + FormatDouble(-remaining, "0") + "MB)";
        a.colour = BUDGET_COLOUR_DARK_RED;
    } else {
        a.text = FormatDouble(remaining, "0") + "MB";
        a.percentShown = true;
        a.bar = remaining * 100 / limit;
        a.percent = FormatDouble(a.bar, "0.0") + "%";
    }
    return a;
}

OverviewValues::FreeAllowance freeTime(const QString& tariffFile)
{
    const double free = GetFreeMinutes(tariffFile);
    if (free == 0) return freeTransfer(tariffFile);
    OverviewValues::FreeAllowance a;
    const qint64 minutes = CLng(free);
    const QString initial = QString::number(minutes / 60) + ":" + QString::number(minutes % 60) + ":00";
    QString left = initial;
    // Only the records of this tariff use its free minutes, whoever made them.
    WalkRecords(thisMonth(), [&](const QString&, const RecordLines& record) {
        if (record.line(10) == tariffFile) left = SubtractTimes(left, record.line(3));
    });
    a.caption = FREE_TIME_CAPTION;
    a.left = left;
    if (left.startsWith('-')) {
        a.text = EXCEEDED_BY + NormalizeDuration(left.mid(1)) + ")";
        a.colour = BUDGET_COLOUR_DARK_RED;
    } else {
        a.text = NormalizeDuration(left);
        a.percentShown = true;
        a.bar = GetTimePercent(left, initial);
        a.percent = FormatDouble(a.bar, "0.0") + "%";
    }
    return a;
}
} // namespace

QString FreeAllowanceLeft(const QString& tariffFile) { return freeTime(tariffFile).left; }

namespace OverviewValues {

RemainingBudgets ShowRemainingBudgets(const QString& user)
{
    RemainingBudgets r;
    for (BudgetLine* line : {&r.day, &r.month, &r.period}) line->amount = resetAmount();
    const BudgetInForce b = ReadBudgetInForce(user);
    if (b.state != StoredFile::Ok) {
        r.budgetFileMissing = true;
        MsgBox(BUDGET_FILES_DAMAGED);
        return r;
    }
    // an amount beyond single precision stops at its end, so the shares stay numbers
    r.day.budget = CSng(b.day);
    r.month.budget = CSng(b.month);
    r.period.budget = CSng(b.period);
    const BudgetSpending spent = GetBudgetSpending(user, b.sameForAll, b.periodStart, b.periodEnd);
    const std::vector<double>* costs[] = {&spent.day, &spent.month, &spent.period};
    BudgetLine* lines[] = {&r.day, &r.month, &r.period};
    for (int i = 0; i < 3; ++i) {
        BudgetLine& line = *lines[i];
        // The page keeps its remainders in single precision, rounded after every record.
        line.remaining = line.budget;
        for (double c : *costs[i]) line.remaining = CSng(double(line.remaining) - c);
        line.on = line.budget != 0;
        if (!line.on) {
            line.percent = NOT_SET;
            continue;
        }
        float percent = CSng(double(line.remaining) * 100 / double(line.budget));
        if (percent < 0) percent = 0;
        line.amount = FormatSingle(line.remaining, "0.00") + " " + G_Currency;
        line.percent = FormatSingle(percent, "0.0") + "%";
        line.bar = qMin(percent, 100.0f);
        if (line.remaining < 0) line.amountColour = BUDGET_COLOUR_NEGATIVE_BUDGET;
    }
    const auto date = [](const QDate& d, const QString& stored) { return d.isValid() ? ShortDate(d) : stored; };
    r.periodCaption = "Zeitraum: " + date(b.periodStart, b.startText) + " - " + date(b.periodEnd, b.endText);
    return r;
}

bool IsBudgetExceeded(const RemainingBudgets& budgets)
{
    if (budgets.budgetFileMissing) return true;
    for (const BudgetLine* line : {&budgets.day, &budgets.month, &budgets.period})
        if (line->on && ValDecimal(FormatSingle(line->remaining, "0.00")) <= 0) return true;
    return false;
}

FreeAllowance ShowFreeTime(const QString& tariffFile)
{
    FreeAllowance a = freeTime(tariffFile);
    G_FreeAllowanceLeft = a.left;
    return a;
}

FreeAllowance ShowFreeTransfer(const QString& tariffFile)
{
    FreeAllowance a = freeTransfer(tariffFile);
    G_FreeAllowanceLeft = a.left;
    return a;
}

QString ShowCheapestEntry(const QStringList& entries)
{
    double best = 64000;
    QString result;
    for (const QString& entry : entries) {
        if (!IsSafeName(entry)) continue;
        const LineReader trf(ProgramPath("DialUp/" + entry + ".trf"));
        if (!trf.exists()) continue;
        const QString provider = trf.line(0), item = trf.line(1);
        if (provider == NO_ASSIGNMENT || item == NO_ASSIGNMENT) continue;
        const QString tariffFile = provider + item.mid(1) + (item.startsWith('A') ? ".atl" : ".tel");
        // A tariff that is gone has no price, not the price 0.
        if (!IsSafeName(tariffFile) || FindFileNoCase(ProgramPath("Tarife"), tariffFile).isEmpty()) continue;
        const double price = GetCurrentTarifPrice(tariffFile);
        if (price < best) {
            best = price;
            result = entry + " (" + FormatDouble(price / 100, "0.000") + " " + G_Currency + ")";
        }
    }
    return result;
}

} // namespace OverviewValues
