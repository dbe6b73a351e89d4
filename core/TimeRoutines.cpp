#include "core/TimeRoutines.h"

#include "core/Clock.h"
#include "core/VB.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
struct DurationParts {
    double hours = 0, minutes = 0, seconds = 0;
    bool colon1 = false, colon2 = false;
};

// A missing colon makes its part read from the start of the text.
DurationParts parseDuration(const QString& text)
{
    DurationParts d;
    const qsizetype p1 = text.indexOf(':');
    const qsizetype p2 = p1 < 0 ? -1 : text.indexOf(':', p1 + 1);
    d.colon1 = p1 >= 0;
    d.colon2 = p2 >= 0;
    d.hours = Val(text);
    d.minutes = Val(d.colon1 ? text.mid(p1 + 1) : text);
    d.seconds = Val(d.colon2 ? text.mid(p2 + 1) : text);
    return d;
}

double total(const DurationParts& d) { return std::fabs(d.hours) * 3600 + d.minutes * 60 + d.seconds; }

QString twoDigits(double v)
{
    // whole numbers, which is what durations hold, need not go through the general formatter: below 10^15
    // it would give the same digits, at least two, with a "-" for a negative number
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        const qint64 n = qint64(v);
        const QString digits = QString::number(n < 0 ? -n : n).rightJustified(2, '0');
        return n < 0 ? '-' + digits : digits;
    }
    return FormatDouble(v, "00");
}

// Steps shared by the two normalisers: hours, then carried minutes and seconds.
void normalize(const QString& text, double& h, double& m, double& s)
{
    h = std::nearbyint(Val(text)); // halves to even, as CLng, without its 64-bit limit
    const qsizetype p1 = text.indexOf(':');
    const qsizetype p2 = p1 < 0 ? -1 : text.indexOf(':', p1 + 1);
    m = p1 < 0 ? 0 : Val(text.mid(p1 + 1, 2));
    s = p2 < 0 ? 0 : Val(text.mid(p2 + 1, 2));
    if (s >= 60) {
        const double carry = std::floor(s / 60);
        m += carry;
        s -= 60 * carry;
    }
    if (m >= 60) {
        const double carry = std::floor(m / 60);
        h += carry;
        m -= 60 * carry;
    }
}

QString durationText(double h, double m, double s) { return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(s); }
} // namespace

qint32 TimeToSeconds(const QString& text)
{
    const DurationParts d = parseDuration(text);
    double seconds;
    if (d.colon1 && d.colon2) seconds = d.hours * 3600 + d.minutes * 60 + d.seconds;
    else if (d.colon1) seconds = d.hours * 3600 + d.minutes * 60;
    else seconds = Val(text);
    // a damaged duration beyond the 32-bit range saturates instead of overflowing
    return CInt(std::clamp(seconds, -2147483648.0, 2147483647.0));
}

double GetTimePercent(const QString& a, const QString& b)
{
    const double ta = total(parseDuration(a)), tb = total(parseDuration(b));
    return ta > 0 && tb > 0 ? 100.0 * ta / tb : 0;
}

QString SubtractTimes(const QString& a, const QString& b)
{
    auto signedTotal = [](const QString& t) {
        double v = total(parseDuration(t));
        if (t.startsWith('-') && v >= 0) v = -v;
        return v;
    };
    const double d = signedTotal(a) - signedTotal(b);
    const double D = std::fabs(d);
    const double allMinutes = std::floor(D / 60);
    const double seconds = D - 60 * allMinutes;
    const double hours = std::floor(allMinutes / 60);
    const double minutes = allMinutes - 60 * hours;
    return (d < 0 ? "-" : "") + durationText(hours, minutes, seconds);
}

QString NormalizeDuration(const QString& text)
{
    double h, m, s;
    normalize(text, h, m, s);
    return durationText(h, m, s);
}

QString NormalizeClockTime(const QString& text)
{
    double h, m, s;
    normalize(text, h, m, s);
    if (h >= 24) h = 0;
    return durationText(h, m, s);
}

float ValDecimal(const QString& text)
{
    const qsizetype p = text.indexOf(',');
    if (p < 0) return float(Val(text));
    const QString before = text.left(p);
    const double whole = Val(before);
    if (std::isinf(whole)) return float(whole);
    // in all its digits: an exponent ("1e+15") would read back as its leading digit
    char digits[400];
    const auto written = std::to_chars(digits, digits + sizeof digits, whole, std::chars_format::fixed);
    QString wholeText = QString::fromLatin1(digits, int(written.ptr - digits));
    // "-0,5": the whole part reads as 0 and would lose the sign
    if (whole == 0 && before.trimmed().startsWith('-')) wholeText = "-0";
    return float(Val(wholeText + "." + text.mid(p + 1)));
}

QString FormatShortDate(const QDate& date) { return ShortDate(date.isValid() ? date : Today()); }

QString FormatShortDate(const QString& text) { return FormatShortDate(ParseShortDate(text)); }

QDate MonthsBefore(const QDate& today, int m)
{
    // from the 1st, so that a long month's last days never spill into the month after
    return QDate(today.year(), today.month(), 1).addMonths(-m);
}
