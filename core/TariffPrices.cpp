#include "core/TariffPrices.h"

#include "core/Clock.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/PriceReader.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/TimeRoutines.h"

#include <optional>

namespace {
// A zone hour as a whole number; an hour the original's time routine would overflow on is a read failure.
std::optional<qint64> zoneHour(const QString& text)
{
    const double h = Val(text);
    if (h < -32768.5 || h > 32767.5) return std::nullopt;
    return CInt(h);
}
} // namespace

bool ZoneInForce(qint64 fromHour, qint64 toHour, qint64 secondOfDay)
{
    const qint64 start = fromHour == 24 ? 0 : fromHour * 3600;
    const qint64 end = toHour == 24 ? 86399 : toHour * 3600;
    return start == end || (start <= secondOfDay && secondOfDay <= end);
}

std::optional<QStringList> ReadTariffLines(const QString& tariffFile)
{
    if (!IsSafeName(tariffFile)) return std::nullopt;
    const QString folder = ProgramPath("Tarife");
    const QString found = FindFileNoCase(folder, tariffFile);
    if (found.isEmpty()) return std::nullopt;
    FileRead state = FileRead::Missing;
    QStringList lines = ReadTextLines(folder + "/" + found, &state, TARIFF_FILE_CAP);
    if (state != FileRead::Ok) return std::nullopt;
    return lines;
}

double GetCurrentTarifPrice(const QString& tariffFile)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    const qsizetype n = lines->size();
    const qint64 now = TimeNow().msecsSinceStartOfDay() / 1000;
    const bool weekendDay = Today().dayOfWeek() >= 6;
    double result = 0;
    QString current;
    qsizetype next = 0;
    while (next < n) {
        if (current.toLower() == QLatin1String("volumenabrechnung:ja")) {
            return ValDecimal(lines->at(next).mid(14));
        } else if (current == QLatin1String("[Tarifzonen]")) {
            if (n - next < 6) return result; // the file ends inside a zone block
            const QStringList block = lines->mid(next, 6);
            next += 6;
            const auto from = zoneHour(block[1].mid(4));
            const auto to = zoneHour(block[2].mid(4));
            const auto price = ReadZonePrice(block[3].mid(8));
            if (!from || !to || !price) return result;
            const QString flag = block[5].mid(11);
            const bool inTime = ZoneInForce(*from, *to, now);
            const bool dayKind = (flag == QLatin1String("Ja") && (weekendDay || G_Holiday)) ||
                                 (flag == QLatin1String("Nein") && !weekendDay && !G_Holiday);
            if (inTime && dayKind) result = *price;
        } else {
            current = lines->at(next++);
        }
    }
    return result;
}

QString CurrentPriceText(const QString& tariffFile)
{
    return FormatDouble(GetCurrentTarifPrice(tariffFile) / 100, "0.000") + " " + G_Currency;
}

double GetFreeMinutes(const QString& tariffFile)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    for (const QString& line : *lines)
        if (line.left(12) == QLatin1String("Freiminuten:")) return Val(line.mid(12));
    return 0;
}

double GetVolumeLimit(const QString& tariffFile)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    for (const QString& line : *lines)
        if (line.left(14).toLower() == QLatin1String("volumengrenze:")) return Val(line.mid(14)) * 1000;
    return 0;
}
