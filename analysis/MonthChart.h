#pragma once
// What the month chart shows, apart from drawing it: the day values with their maximum and total, the value
// and day labels, and the pie's slots and legend.
#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// Kinds: 1 online time (seconds), 2 costs, 3 transfer (MB); 4 provider-tariff and 5 user pies.
struct ChartDayValues {
    std::array<float, 32> value{}; // index = day of the month, 0 unused
    float maximum = 0;
    float total = 0;
};

// Maximum and total of days 1 to 31 in single precision; both 1 when no day has a value, so the scale
// never divides by 0.
ChartDayValues MakeChartDayValues(const std::array<float, 32>& daySums);
// The same with one sum per day of the month; days the month lacks stay 0 and are not asked for.
ChartDayValues MakeChartDayValues(int year, int month, const std::function<float(const QDate&)>& daySum);

// The twelve value labels from the top (the maximum) down to 0; kind 1 in minutes.
QStringList ChartValueLabels(int kind, float maximum);
// The day label below day d: odd days 1-31 in print form (" 1"), nothing for the others.
QString ChartDayLabel(int day);
// A value's bar on an axis of `length` whose top is `maximum`: value x length / maximum in single
// precision. Where a damaged record's sum near the end of the single range overflows that, the share is
// taken in double precision, so the bar ends at the top instead of beyond every bound.
float BarLength(float value, float maximum, float length);
// Heights on the 220-pixel value axis from y 235 (0) up to y 15 (the maximum); the average spreads the
// total over 31 days whatever the month's length.
float ChartValueY(float value, float maximum);
float ChartAverageY(float total, float maximum);
QString ChartAxisYCaption(int kind);

// The pie: up to 21 slots of connections per category.
inline constexpr int PIE_SLOTS = 21;
inline const QString PIE_DEFECT_SLOT = QStringLiteral("Defekte Aufzeichnungen");

struct PieSlot {
    QString name;
    float count = 0;
};

class PieCount {
public:
    // One connection; categories are matched without regard to case, the first spelling names the slot.
    // An empty category only counts for the total.
    void Add(const QString& category);
    // The slots to draw: the categories in order of first appearance, then "Defekte Aufzeichnungen" for the
    // connections no category took. When that would need more than 21 slots, the first 20 categories keep
    // theirs and the last slot takes every other connection.
    QList<PieSlot> Slots() const;
    float Total() const { return total; }

private:
    QList<PieSlot> categories;
    QList<QString> keys; // case-folded names, in step with categories
    float total = 0;
};

// Kind 4: "M - " and the tariff field without ".tel", or "A - " and the field without its last four
// characters; a field under four characters has no category. Kind 5: the user.
QString PieCategory(int kind, const QString& tariffField, const QString& userField);
// Every readable record of the month (user, provider and tariff filters do not apply).
PieCount CountMonthPie(int year, int month, int kind);

QColor GetPieColor(int slot);
QString PieLegendLine(const PieSlot& slot);
QString PieAxisYCaption(float total);
