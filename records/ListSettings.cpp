#include "records/ListSettings.h"

#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QFileInfo>
#include <QStringList>

#include <cmath>

namespace {
// A whole number of the line, or nothing for a line that holds no number or a fraction.
std::optional<int> wholeNumber(const QString& line)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || !(text[0].isDigit() || ((text[0] == '-' || text[0] == '+') && text.size() > 1)))
        return std::nullopt;
    const double value = Val(text);
    if (value != std::floor(value) || std::fabs(value) > 1e9) return std::nullopt;
    return int(value);
}
} // namespace

QString ListSettingsPath() { return ProgramPath(QStringLiteral("Config/List.cfg")); }

StoredListSettings ReadListSettings()
{
    StoredListSettings stored;
    const QString path = ListSettingsPath();
    if (!QFileInfo(path).isFile()) return stored;
    const QStringList lines = ReadTextLines(path);
    const auto line = [&](int number) { return lines.value(number - 1); };
    const int count = int(lines.size());
    if (count >= 1) {
        const auto period = wholeNumber(line(1));
        if (period && *period >= 0 && *period <= 9) stored.period = period;
    }
    if (count >= 2) stored.user = line(2).trimmed();
    if (count >= 3) stored.provider = line(3).trimmed();
    if (count >= 4) stored.tariff = line(4).trimmed();
    if (count >= 5) {
        const auto net = wholeNumber(line(5));
        if (net && (*net == 0 || *net == 1)) stored.net = *net == 1;
    }
    if (count >= 8) {
        const auto column = wholeNumber(line(6)), order = wholeNumber(line(7)), type = wholeNumber(line(8));
        if (column && order && type) stored.sort = ListSortKey{*column, *order, *type};
    }
    for (int c = 0; c < LIST_SETTING_COLUMNS; ++c) {
        const int first = 9 + 2 * c;
        if (count >= first) {
            const auto position = wholeNumber(line(first));
            if (position && *position >= 0 && *position < LIST_SETTING_COLUMNS) stored.positions[c] = position;
        }
        if (count >= first + 1) {
            const auto width = wholeNumber(line(first + 1));
            if (width && *width >= 1) stored.widths[c] = width;
        }
    }
    return stored;
}

bool WriteListSettings(const ListSettings& settings)
{
    QStringList lines{Str(settings.period),      settings.user,          settings.provider,
                      settings.tariff,           Str(settings.net ? 1 : 0), Str(settings.sort.column),
                      Str(settings.sort.order),  Str(settings.sort.type)};
    for (int c = 0; c < LIST_SETTING_COLUMNS; ++c) lines << Str(settings.positions[c]) << Str(settings.widths[c]);
    return WriteTextLines(ListSettingsPath(), lines);
}
