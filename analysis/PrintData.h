#pragma once
// What the print page gathers before it draws: the record test over the connection list's filters, the
// month series of the diagrams, the sums per tariff of the rows shown and the title. Rebuilt at every
// drawing; the list is read live, never copied.
#include <QDate>
#include <QList>
#include <QString>

#include <array>

class ConnectionListView;

// Sums of the grid rows that share one text of the "Tarif" column, in the order of their first row.
struct TariffSum {
    QString name;
    QString duration; // a single row's text unchanged; summed ones as SubtractTimes gives them
    qint64 bytes = 0; // 64 bits: a few long downloads pass 2^31
    float costs = 0;
};

// A month's day values (index = day, 0 unused) and their largest, never below 0.0001 so it can divide.
struct MonthSeries {
    std::array<float, 32> value{};
    float maximum = 0.0001f;
};

// The year whose `month` the diagrams show on `today`: this year's, or last year's for a month that has
// not come yet (in January "Dezember" is the December just past).
int PrintSeriesYear(int month, const QDate& today);

class PrintData {
public:
    explicit PrintData(const ConnectionListView& list) : list(list) {}

    // A record (its tariff and user lines) belongs to the list's current user, provider and tariff choice.
    bool MatchesListFilter(const QString& tarifField, const QString& userField) const;

    void FillMonthCosts(int month);
    void FillMonthTransfer(int month);
    void FillMonthOnlineTime(int month);
    void SumByTariff();
    void FillPageTitle();

    MonthSeries MonthCosts;      // currency units
    MonthSeries MonthTransfer;   // megabytes of 1,000,000 bytes
    MonthSeries MonthOnlineTime; // seconds
    QList<TariffSum> Tariffs;
    QString PageTitle;

private:
    MonthSeries fillMonth(int month, int kind) const;

    const ConnectionListView& list;
};
