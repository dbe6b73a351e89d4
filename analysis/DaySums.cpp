#include "analysis/DaySums.h"

#include "core/RecordFiles.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "tariffs/TarifFile.h"

namespace {
// The record's value of that kind.
double recordValue(const RecordLines& record, int kind)
{
    switch (kind) {
    case DAY_SECONDS:
        return TimeToSeconds(record.line(3));
    case DAY_COSTS:
        return ValDecimal(record.line(4).mid(1)); // the marker letter is dropped unseen
    case DAY_MEGABYTES:
        return Val(record.line(8)) / 1000000.0;
    default:
        return 0.0;
    }
}

// The sum stays single precision: each value is added exactly and the total rounded back. A damaged
// record's value beyond the single range leaves the sum at the range's end.
void add(float& sum, double value)
{
    sum = CSng(double(sum) + value);
}

float daySum(const QDate& day, int kind, const RecordTest& test)
{
    float sum = 0.0f;
    WalkRecords([&](const QString& name) { return GetDateFromFileName(name) == day; },
                [&](const QString&, const RecordLines& record) {
                    if (test(record.line(10), record.line(11))) add(sum, recordValue(record, kind));
                });
    return sum;
}
} // namespace

bool MatchesSelection(const QString& tarifField, const QString& userField, const RecordSelection& selection)
{
    if (selection.user != ALL_ITEMS && userField.compare(selection.user, Qt::CaseInsensitive) != 0) return false;
    return MatchesTarifFilter(tarifField, selection.provider, selection.tarif);
}

bool MatchesChartFilter(const QString& tarifField, const QString& userField, const RecordSelection& selection)
{
    return !tarifField.isEmpty() && !userField.isEmpty() && MatchesSelection(tarifField, userField, selection);
}

float GetDayCosts(const QDate& day, const RecordTest& test) { return daySum(day, DAY_COSTS, test); }
float GetDayTransferMB(const QDate& day, const RecordTest& test) { return daySum(day, DAY_MEGABYTES, test); }
float GetDayOnlineTime(const QDate& day, const RecordTest& test) { return daySum(day, DAY_SECONDS, test); }

std::array<float, 32> GetMonthDaySums(int year, int month, int kind, const RecordTest& test)
{
    std::array<float, 32> sums{};
    if (month < 1 || month > 12 || kind < DAY_SECONDS || kind > DAY_MEGABYTES) return sums;
    WalkRecords(
        [&](const QString& name) {
            const QDate date = GetDateFromFileName(name);
            return date.year() == year && date.month() == month;
        },
        [&](const QString& name, const RecordLines& record) {
            if (test(record.line(10), record.line(11)))
                add(sums[size_t(GetDateFromFileName(name).day())], recordValue(record, kind));
        });
    return sums;
}
