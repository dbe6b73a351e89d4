#include "analysis/ChartSettings.h"

#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <cmath>

namespace {
QString settingsPath() { return ProgramPath(QStringLiteral("Config/Chart.cfg")); }

// A stored number rounded as the original did; nothing when it does not fit a whole number.
std::optional<int> storedNumber(const QString& line)
{
    const double value = std::nearbyint(Val(line)); // halves to even
    if (!(value >= INT32_MIN && value <= INT32_MAX)) return std::nullopt;
    return int(value);
}

std::optional<int> storedPosition(const QString& line)
{
    const std::optional<int> value = storedNumber(line);
    if (!value || *value < 0) return std::nullopt; // "nothing chosen" would leave the page without a month or year
    return value;
}

// Only blanks are removed; a tab belongs to the text.
QString withoutBlanks(const QString& line)
{
    qsizetype from = 0, to = line.size();
    while (from < to && line[from] == u' ') ++from;
    while (to > from && line[to - 1] == u' ') --to;
    return line.mid(from, to - from);
}

int storedInRange(const QString& line, int last)
{
    const std::optional<int> value = storedNumber(line);
    return value && *value >= 1 && *value <= last ? *value : 0;
}
} // namespace

bool SaveChartConfig(const ChartSettings& s)
{
    return WriteTextLines(settingsPath(),
                          {Str(s.month), Str(s.year), s.user, s.provider, s.tarif, Str(s.kind), Str(s.type)});
}

std::optional<StoredChartSettings> LoadChartConfig()
{
    const LineReader file(settingsPath());
    if (!file.exists()) return std::nullopt;
    StoredChartSettings stored;
    const int count = file.count();
    if (count > 0) stored.month = storedPosition(file.line(0));
    if (count > 1) stored.year = storedPosition(file.line(1));
    if (count > 2) stored.user = withoutBlanks(file.line(2));
    if (count > 3) stored.provider = withoutBlanks(file.line(3));
    if (count > 4) stored.tarif = withoutBlanks(file.line(4));
    if (count > 5) stored.kind = storedInRange(file.line(5), 5);
    if (count > 6) stored.type = storedInRange(file.line(6), 3);
    return stored;
}
