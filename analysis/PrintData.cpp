#include "analysis/PrintData.h"

#include "analysis/DaySums.h"
#include "core/Clock.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "records/ConnectionListView.h"
#include "records/ListTitle.h"
#include "tariffs/TarifFile.h"

namespace {
// Grid columns the tariff sums read.
constexpr int COL_DURATION = 4, COL_COST = 5, COL_BYTES = 9, COL_TARIFF = 11;
} // namespace

int PrintSeriesYear(int month, const QDate& today)
{
    return month > today.month() ? today.year() - 1 : today.year();
}

namespace {
// A list with nothing chosen (the tariff list of "[Alle]" providers is empty) restricts nothing.
QString choice(const QString& text)
{
    return text.isEmpty() ? ALL_ITEMS : text;
}
} // namespace

bool PrintData::MatchesListFilter(const QString& tarifField, const QString& userField) const
{
    const QString user = choice(list.userText());
    if (user != ALL_ITEMS && userField.compare(user, Qt::CaseInsensitive) != 0) return false;
    // The provider is the text before " -", as the list and the month diagram take it, so a provider
    // with a hyphen in its name still matches.
    return MatchesTarifFilter(tarifField, choice(list.providerText()), choice(list.tariffText()));
}

MonthSeries PrintData::fillMonth(int month, int kind) const
{
    MonthSeries series;
    series.value =
        GetMonthDaySums(PrintSeriesYear(month, Today()), month, kind,
                        [this](const QString& tarif, const QString& user) { return MatchesListFilter(tarif, user); });
    float maximum = 0;
    for (int day = 1; day <= 31; ++day)
        if (series.value[size_t(day)] > maximum) maximum = series.value[size_t(day)];
    series.maximum = maximum == 0 ? 0.0001f : maximum;
    return series;
}

void PrintData::FillMonthCosts(int month)
{
    MonthCosts = fillMonth(month, DAY_COSTS);
}
void PrintData::FillMonthTransfer(int month)
{
    MonthTransfer = fillMonth(month, DAY_MEGABYTES);
}
void PrintData::FillMonthOnlineTime(int month)
{
    MonthOnlineTime = fillMonth(month, DAY_SECONDS);
}

void PrintData::SumByTariff()
{
    Tariffs.clear();
    const int rows = list.rowCount();
    for (int r = 0; r < rows; ++r) {
        const QString key = list.cellText(r, COL_TARIFF);
        const QString duration = list.cellText(r, COL_DURATION);
        const float costs = ValDecimal(list.cellText(r, COL_COST));
        const qint64 bytes = CLng(Val(list.cellText(r, COL_BYTES)));
        bool found = false;
        for (TariffSum& group : Tariffs) {
            if (group.name != key) continue;
            group.costs += costs;
            group.bytes += bytes;
            group.duration = SubtractTimes(group.duration, QLatin1Char('-') + duration);
            found = true;
        }
        if (!found) Tariffs.append({key, duration, bytes, costs});
    }
}

void PrintData::FillPageTitle()
{
    PageTitle = GetListTitle(list.periodText());
}
