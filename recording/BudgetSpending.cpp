#include "recording/BudgetSpending.h"

#include "core/Clock.h"
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
    const QString line = record.line(4);
    if (line.isEmpty()) return 0;
    return Val(line.mid(1).replace(',', '.'));
}

RecordNameDate RecordNameFields(const QString& fileName)
{
    return {int(Val(fileName.mid(0, 2))), int(Val(fileName.mid(2, 2))), int(Val(fileName.mid(4)))};
}

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
        c.period = periodOpen && InPeriod(GetDateFromFileName(name), periodStart, periodEnd);
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
