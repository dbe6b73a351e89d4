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

#include <algorithm>
#include <cmath>
#include <optional>

std::optional<qint64> ReadZoneHour(const QString& text)
{
    const double h = Val(text);
    if (h < -32768.5 || h > 32767.5) return std::nullopt;
    return CInt(h);
}

namespace {
// A number beyond the range of its reader is malformed, as an unreadable one.
double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0;
}

// Val's leading blanks.
qsizetype afterBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

// The number at text[from] in exponent form ("-1,9E+01"), written out in plain digits with "." ("-19"), so
// that today's readers convert the whole value at once; empty when the number there has no exponent.
// *end receives the position after the exponent's digits.
QString exponentDigits(const QString& text, qsizetype from, qsizetype* end)
{
    qsizetype i = from;
    const qsizetype n = text.size();
    const bool negative = i < n && text[i] == '-';
    if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
    QString digits;
    qint64 whole = 0; // digits before the decimal sign
    bool separator = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            if (!separator) ++whole;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty() || i + 1 >= n || (text[i] != 'E' && text[i] != 'e')) return {};
    qsizetype j = i + 1;
    const bool down = text[j] == '-';
    if (text[j] == '-' || text[j] == '+') ++j;
    if (j >= n || text[j] < '0' || text[j] > '9') return {};
    // beyond any digit string a tariff file can hold, the exponent only says "out of range"
    qint64 power = 0;
    for (; j < n && text[j] >= '0' && text[j] <= '9'; ++j)
        if (power < 1'000'000'000'000) power = power * 10 + (text[j].unicode() - '0');
    if (end) *end = j;

    // leading zeros move the decimal sign, trailing ones say nothing
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == '0') ++first;
    qsizetype last = digits.size();
    while (last > first && digits[last - 1] == '0') --last;
    const QString sign = negative ? QStringLiteral("-") : QString();
    if (first == last) return sign + "0";
    const QString significant = digits.mid(first, last - first);
    // digits before the point; past ±400 a double is out of range whatever the digits
    const qint64 point = std::clamp<qint64>(whole - first + (down ? -power : power), -400, 400);
    if (point <= 0) return sign + "0." + QString(int(-point), '0') + significant;
    if (point < significant.size()) return sign + significant.left(point) + "." + significant.mid(point);
    return sign + significant + QString(int(point - significant.size()), '0');
}
} // namespace

bool HasTariffExponent(const QString& text) { return !exponentDigits(text, afterBlanks(text), nullptr).isEmpty(); }

namespace {
// The lenient reading, infinite beyond the single range.
float tariffValue(const QString& text)
{
    const QString plain = exponentDigits(text, afterBlanks(text), nullptr);
    return ValDecimal(plain.isEmpty() ? text : plain);
}
} // namespace

bool BeyondSingleRange(const QString& text)
{
    return !std::isfinite(tariffValue(text));
}

float ReadTariffNumber(const QString& text)
{
    return float(finiteOrZero(tariffValue(text)));
}

std::optional<double> ReadTariffZonePrice(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    const QString plain = exponentDigits(trimmed, 0, &end);
    const auto price = ReadZonePrice(!plain.isEmpty() && end == trimmed.size() ? plain : text);
    // the lenient readers take it for 0: no price, rather than infinite cents per minute
    if (price && !std::isfinite(float(*price))) return std::nullopt;
    return price;
}

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

double GetCurrentTarifPrice(const QString& tariffFile) { return GetTarifPriceAt(tariffFile, Now()); }

double GetTarifPriceAt(const QString& tariffFile, const QDateTime& at)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    const qsizetype n = lines->size();
    const qint64 now = at.time().msecsSinceStartOfDay() / 1000;
    const bool weekendDay = at.date().dayOfWeek() >= 6;
    double result = 0;
    QString current;
    qsizetype next = 0;
    while (next < n) {
        if (current.toLower() == QLatin1String("volumenabrechnung:ja")) {
            return ReadTariffNumber(lines->at(next).mid(14));
        } else if (current == QLatin1String("[Tarifzonen]")) {
            if (n - next < 6) return result; // the file ends inside a zone block
            const QStringList block = lines->mid(next, 6);
            next += 6;
            const auto from = ReadZoneHour(block[1].mid(4));
            const auto to = ReadZoneHour(block[2].mid(4));
            const auto price = ReadTariffZonePrice(block[3].mid(8));
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

namespace {
// A free allowance as Val reads it ("1E+02" is 1), times `factor`. Malformed when that product, or the one of
// the number the text holds with its exponent, lies beyond the double range: "-1E+400" is not -1 minutes,
// and 10^306 megabytes have no kilobytes.
double allowance(const QString& text, double factor)
{
    const double value = Val(text) * factor;
    const QString plain = exponentDigits(text, afterBlanks(text), nullptr);
    const double held = plain.isEmpty() ? value : Val(plain) * factor;
    return std::isfinite(held) ? finiteOrZero(value) : 0;
}
} // namespace

double GetFreeMinutes(const QString& tariffFile)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    for (const QString& line : *lines)
        if (line.left(12) == QLatin1String("Freiminuten:")) return allowance(line.mid(12), 1);
    return 0;
}

double GetVolumeLimit(const QString& tariffFile)
{
    const auto lines = ReadTariffLines(tariffFile);
    if (!lines) return 0;
    for (const QString& line : *lines)
        if (line.left(14).toLower() == QLatin1String("volumengrenze:")) return allowance(line.mid(14), 1000);
    return 0;
}
