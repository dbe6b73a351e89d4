#include "records/HandEntryCost.h"

#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <optional>

namespace {
// A whole number from a leniently read text, rounded as the original converts; nothing when it does not
// fit the target range.
std::optional<int> wholeIn(const QString& text, int low, int high)
{
    const double n = std::nearbyint(Val(text)); // halves to the even neighbour
    if (n < low || n > high) return std::nullopt;
    return int(n);
}

constexpr qint64 SecondsPerDay = 86400;
const QDate LastDate(9999, 12, 31);
} // namespace

double HandEntryCost::DurationToSeconds(const QString& text)
{
    double seconds = Val(text) * 3600;
    qsizetype p = text.indexOf(':');
    if (p >= 0) {
        seconds += Val(text.mid(p + 1)) * 60;
        p = text.indexOf(':', p + 1);
        if (p >= 0) seconds += Val(text.mid(p + 1));
    }
    return seconds;
}

bool HandEntryCost::LoadTarifZones(const QString& fileName)
{
    // Every load starts afresh: a unit length left over from another tariff would price this one wrong.
    ZoneTable.clear();
    UnitLength = 0;
    const auto fail = [this] {
        ZoneTable.clear();
        UnitLength = 0;
        return false;
    };
    const auto read = ReadTariffLines(fileName);
    if (!read) return fail();
    const QStringList& lines = *read;

    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line == QLatin1String("[Tarifzonen]")) {
            ++i;
            break;
        }
        if (line.left(5) == QLatin1String("Takt:")) {
            const qsizetype slash = line.indexOf('/');
            // 32 bits, as the live counter holds it: a longer unit is billed there, so it is priced here
            const auto unit = slash < 0 ? std::optional<int>(0)
                                        : wholeIn(line.mid(slash + 1), std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max());
            if (!unit) return fail();
            UnitLength = *unit;
        }
    }
    for (; i + 6 <= lines.size(); i += 6) {
        if (ZoneTable.size() == MAX_TARIF_ZONES) return fail();
        const auto from = wholeIn(lines[i + 1].mid(4), 0, 255);
        const auto to = wholeIn(lines[i + 2].mid(4), 0, 255);
        const auto price = ReadTariffZonePrice(lines[i + 3].mid(8));
        if (!from || !to || !price) return fail();
        Zone z;
        z.from = quint8(*from);
        z.to = quint8(*to);
        z.price = float(*price);
        z.weekend = lines[i + 5].mid(11).toLower() == QLatin1String("ja");
        ZoneTable << z;
    }
    return true;
}

float HandEntryCost::GetZonePrice(const QTime& timeOfDay, const QDate& date) const
{
    float price = 0;
    const bool weekend = date.dayOfWeek() > 5; // holidays play no part here
    const qint64 second = timeOfDay.msecsSinceStartOfDay() / 1000;
    for (const Zone& z : ZoneTable) {
        if (z.weekend != weekend || !ZoneInForce(z.from, z.to, second)) continue;
        price = z.price / 60.0f * float(UnitLength);
        // a step dearer than the single range holds stops at its end, as the counter's unit price does
        if (!std::isfinite(price)) price = CSng(double(z.price / 60.0f) * UnitLength);
    }
    return price;
}

float HandEntryCost::CalculateCost(const QString& provider, const QString& tarifItem, const QDate& date,
                                   const QTime& start, double seconds, QString* units)
{
    if (tarifItem.startsWith('A') || tarifItem.startsWith('M')) {
        const QString ext = tarifItem.startsWith('A') ? QStringLiteral(".atl") : QStringLiteral(".tel");
        if (!LoadTarifZones(provider + tarifItem.mid(1) + ext)) return 0;
    }
    if (UnitLength <= 0) return 0;
    if (!date.isValid() || !start.isValid() || date > LastDate) return 0;

    // Moments are whole seconds from the start date's midnight; the price only changes at a full hour
    // or a new day, so it is looked up once per stretch between them (the sum stays step by step).
    const qint64 begin = start.msecsSinceStartOfDay() / 1000;
    const qint64 lastDay = date.daysTo(LastDate);
    float sum = 0;
    qint64 steps = 0;
    qint64 stretch = -1;
    float stretchPrice = 0;
    for (qint64 offset = 0; double(offset) < seconds; offset += UnitLength) {
        const qint64 moment = begin + offset;
        const qint64 day = moment / SecondsPerDay;
        if (day > lastDay) break;
        const qint64 second = moment % SecondsPerDay;
        const qint64 key = day * 48 + (second / 3600) * 2 + (second % 3600 == 0 ? 0 : 1);
        if (key != stretch) {
            stretch = key;
            stretchPrice = GetZonePrice(QTime(0, 0).addSecs(int(second)), date.addDays(day));
        }
        sum = SingleSum(sum, stretchPrice);
        ++steps;
    }
    if (UnitLength > 1 && units) *units = QString::number(steps);
    return sum;
}

float HandEntryCost::CalculateCost(const QString& provider, const QString& tarifItem, const QString& date,
                                   const QString& start, double seconds, QString* units)
{
    static const QRegularExpression timeForm(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = timeForm.match(start);
    const QTime t = m.hasMatch() ? QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QTime();
    // An invalid moment still loads the chosen tariff before it gives 0, as the walk would.
    const QDate d = ParseShortDate(date.trimmed());
    return CalculateCost(provider, tarifItem, d, t, seconds, units);
}
