#include "analysis/MonthChart.h"

#include "core/Globals.h"
#include "core/RecordFiles.h"
#include "core/TextAlign.h"
#include "core/VB.h"

#include <cmath>

ChartDayValues MakeChartDayValues(const std::array<float, 32>& daySums)
{
    ChartDayValues result;
    result.value = daySums;
    result.value[0] = 0;
    for (int d = 1; d <= 31; ++d) {
        if (result.value[d] > result.maximum)
            result.maximum = result.value[d];
        result.total = SingleSum(result.total, result.value[d]);
    }
    if (result.maximum == 0) {
        result.maximum = 1;
        result.total = 1;
    }
    return result;
}

ChartDayValues MakeChartDayValues(int year, int month, const std::function<float(const QDate&)>& daySum)
{
    std::array<float, 32> sums{};
    for (int d = 1; d <= 31; ++d) {
        const QDate date(year, month, 1);
        if (date.isValid() && d <= date.daysInMonth())
            sums[d] = daySum(QDate(year, month, d));
    }
    return MakeChartDayValues(sums);
}

QStringList ChartValueLabels(int kind, float maximum)
{
    const QString pattern = maximum >= 100 ? QStringLiteral("0") : kind == 1 ? QStringLiteral("0.0") : QStringLiteral("0.00");
    const float step = maximum / 11.0f;
    QStringList labels;
    for (int k = 11; k >= 0; --k) {
        float value = step * float(k);
        if (kind == 1)
            value /= 60.0f;
        labels << FormatSingle(value, pattern);
    }
    return labels;
}

QString ChartDayLabel(int day)
{
    return day >= 1 && day <= 31 && day % 2 == 1 ? Str(day) : QString();
}

float BarLength(float value, float maximum, float length)
{
    const float bar = value * length / maximum;
    return std::isfinite(bar) ? bar : CSng(double(value) * length / maximum);
}

float ChartValueY(float value, float maximum)
{
    return 235.0f - BarLength(value, maximum, 220.0f);
}

float ChartAverageY(float total, float maximum)
{
    const float part = total * 220.0f, whole = maximum * 31.0f;
    if (std::isfinite(part) && std::isfinite(whole)) return 235.0f - part / whole;
    return CSng(235.0 - double(total) * 220.0 / (double(maximum) * 31.0));
}

QString ChartAxisYCaption(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("Y: Dauer (Min)");
    case 2:
        return "Y: Kosten (" + G_Currency + ")";
    case 3:
        return QStringLiteral("Y: Transfer (MB)");
    default:
        return QString();
    }
}

void PieCount::Add(const QString& category)
{
    total += 1;
    if (category.isEmpty())
        return;
    const QString key = category.toCaseFolded();
    const qsizetype at = keys.indexOf(key);
    if (at >= 0) {
        categories[at].count += 1;
        return;
    }
    keys << key;
    categories << PieSlot{category, 1};
}

QList<PieSlot> PieCount::Slots() const
{
    double counted = 0;
    for (const PieSlot& s : categories)
        counted += s.count;
    const bool remainder = total > counted;
    if (categories.size() + (remainder ? 1 : 0) <= PIE_SLOTS) {
        QList<PieSlot> taken = categories;
        if (remainder)
            taken << PieSlot{PIE_DEFECT_SLOT, float(double(total) - counted)};
        return taken;
    }
    QList<PieSlot> taken = categories.mid(0, PIE_SLOTS - 1);
    double kept = 0;
    for (const PieSlot& s : taken)
        kept += s.count;
    taken << PieSlot{PIE_DEFECT_SLOT, float(double(total) - kept)};
    return taken;
}

QString PieCategory(int kind, const QString& tariffField, const QString& userField)
{
    if (kind == 5)
        return userField;
    if (tariffField.size() < 4)
        return QString();
    const QString name = tariffField.left(tariffField.size() - 4);
    return (tariffField.endsWith(QLatin1String(".tel")) ? QStringLiteral("M - ") : QStringLiteral("A - ")) + name;
}

PieCount CountMonthPie(int year, int month, int kind)
{
    PieCount count;
    WalkRecords(
        [&](const QString& fileName) {
            const QDate date = GetDateFromFileName(fileName);
            return date.year() == year && date.month() == month;
        },
        [&](const QString&, const RecordLines& record) {
            count.Add(PieCategory(kind, record.line(10), record.line(11)));
        });
    return count;
}

QColor GetPieColor(int slot)
{
    static const int palette[PIE_SLOTS][3] = {
        {0, 150, 240},  {155, 235, 0},  {30, 5, 160},    {250, 105, 105}, {170, 5, 90},   {20, 90, 10},
        {95, 95, 10},   {90, 10, 70},   {5, 160, 170},   {255, 190, 110}, {200, 130, 250}, {0, 200, 50},
        {0, 20, 220},   {220, 220, 0},  {10, 100, 115},  {250, 0, 130},   {145, 255, 130}, {60, 250, 130},
        {40, 250, 130}, {250, 100, 120}, {100, 100, 120}};
    if (slot < 0 || slot >= PIE_SLOTS)
        return QColor(0, 0, 0);
    return QColor(palette[slot][0], palette[slot][1], palette[slot][2]);
}

QString PieLegendLine(const PieSlot& slot)
{
    return LeftAlign(slot.name, 25) + " (" + GeneralSingle(slot.count) + ")";
}

QString PieAxisYCaption(float total)
{
    return GeneralSingle(total) + " Verbind.";
}
