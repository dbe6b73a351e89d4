#include "users/BudgetSpending.h"

#include "core/Clock.h"
#include "core/PriceReader.h"
#include "core/TextFile.h"
#include "core/TimeLimit.h"
#include "core/VB.h"

BudgetInForce ReadBudgetInForce(const QString& user)
{
    BudgetInForce b;
    b.sameForAll = ReadBudgetOptions().sameForAll;
    if (!b.sameForAll && user.isEmpty()) return b;
    bool ok = false;
    const QStringList lines = ReadTextLines(b.sameForAll ? CommonBudgetPath() : UserBudgetPath(user), &ok);
    if (!ok) return b;
    b.state = lines.size() < 5 ? StoredFile::Damaged : StoredFile::Ok;
    double* amounts[] = {&b.day, &b.month, &b.period};
    for (int i = 0; i < 3; ++i)
        if (i >= lines.size() || !ReadBudgetAmount(lines[i], amounts[i])) {
            *amounts[i] = 0;
            b.state = StoredFile::Damaged;
        }
    b.startText = lines.value(3);
    b.endText = lines.value(4);
    b.periodStart = ParseShortDate(b.startText);
    b.periodEnd = ParseShortDate(b.endText);
    return b;
}

bool InPeriod(const QDate& date, const QDate& start, const QDate& end)
{
    return date.isValid() && start.isValid() && end.isValid() && start <= date && date <= end;
}

double RecordCost(const RecordLines& record)
{
    // the number conversion of the zone prices and budget amounts: a cost it cannot convert costs nothing
    return ReadZonePrice(record.line(4).mid(1)).value_or(0.0);
}

namespace {
// The usual name "DDMMYYYY-HHMMSS.con", read without building texts: the walks date every name listed.
bool plainNameFields(const QString& fileName, RecordNameDate& f)
{
    if (fileName.size() < 9 || fileName[8] != '-') return false;
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        const char16_t c = fileName[i].unicode();
        if (c < '0' || c > '9') return false;
        digits[i] = c - '0';
    }
    f = {digits[0] * 10 + digits[1], digits[2] * 10 + digits[3],
         ((digits[4] * 10 + digits[5]) * 10 + digits[6]) * 10 + digits[7]};
    return true;
}
} // namespace

RecordNameDate RecordNameFields(const QString& fileName)
{
    RecordNameDate f;
    if (plainNameFields(fileName, f)) return f;
    return {int(Val(fileName.mid(0, 2))), int(Val(fileName.mid(2, 2))), int(Val(fileName.mid(4)))};
}

QDate RecordNameDay(const RecordNameDate& f) { return RollOverDate(f.year, f.month, f.day); }

BudgetSpending GetBudgetSpending(const QString& user, bool sameForAll, const QDate& periodStart,
                                 const QDate& periodEnd)
{
    BudgetSpending spent;
    const QDate today = Today();
    const bool periodOpen = InPeriod(today, periodStart, periodEnd);
    struct Counts {
        bool day = false, month = false, period = false;
    };
    const auto classify = [&](const QString& name) {
        Counts c;
        const RecordNameDate f = RecordNameFields(name);
        c.month = f.month == today.month() && f.year == today.year();
        c.day = c.month && f.day == today.day();
        if (periodOpen) c.period = InPeriod(RecordNameDay(f), periodStart, periodEnd);
        return c;
    };
    // The name tells everything but the user and the cost, so only records that may count are opened.
    const auto select = [&](const QString& name) {
        const Counts c = classify(name);
        return c.month || c.period;
    };
    WalkRecords(select, [&](const QString& name, const RecordLines& record) {
        if (!sameForAll && GetConnectionUser(record) != user) return;
        const Counts c = classify(name);
        const double cost = RecordCost(record);
        if (c.day) spent.day.push_back(cost);
        if (c.month) spent.month.push_back(cost);
        if (c.period) spent.period.push_back(cost);
    });
    return spent;
}
