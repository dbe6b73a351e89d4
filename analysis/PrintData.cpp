#include "analysis/PrintData.h"

#include "analysis/DaySums.h"
#include "core/Clock.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "records/ConnectionList.h"
#include "records/ConnectionListView.h"
#include "records/ListTitle.h"

int PrintSeriesYear(int month, const QDate& today)
{
    return month > today.month() ? today.year() - 1 : today.year();
}

bool PrintData::MatchesListFilter(const QString& tarifField, const QString& userField) const
{
    // A list with nothing chosen (the tariff list of "[Alle]" providers is empty) restricts nothing.
    const auto choice = [](const QString& text) { return text.isEmpty() ? ALL_ITEMS : text; };
    // Unlike the diagram's test, empty record fields are not refused first.
    return MatchesSelection(tarifField, userField,
                            {choice(list.userText()), choice(list.providerText()), choice(list.tariffText())});
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
        const QString key = list.cellText(r, ColTariff);
        const QString duration = list.cellText(r, ColDuration);
        const float costs = ValDecimal(list.cellText(r, ColCost));
        const qint64 bytes = CLng(Val(list.cellText(r, ColBytesTotal)));
        bool found = false;
        for (TariffSum& group : Tariffs) {
            if (group.name != key) continue;
            group.costs = SingleSum(group.costs, costs);
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
