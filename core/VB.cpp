#include "core/VB.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {
QChar g_decimal = QLatin1Char(',');

// The C library's printf and strtod follow LC_NUMERIC, which a German desktop sets to ",": every form here
// goes through <charconv>, which never looks at the locale.
QString printed(double value, std::chars_format form, int precision)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, form, precision);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

// The number's significant digits and decimal exponent as printed with `digits` significant digits:
// value = 0.<mantissa> x 10^(exponent + 1), mantissa without trailing zeros.
struct Decimal {
    bool negative = false;
    QString mantissa;
    int exponent = 0;
};

Decimal toDecimal(double value, int digits)
{
    Decimal d;
    QString s = printed(value, std::chars_format::scientific, digits - 1);
    if (s.startsWith('-')) {
        d.negative = true;
        s.remove(0, 1);
    }
    const int e = int(s.indexOf('e'));
    d.exponent = s.mid(e + 1).toInt();
    d.mantissa = s.left(e).remove('.');
    while (d.mantissa.size() > 1 && d.mantissa.endsWith('0')) d.mantissa.chop(1);
    if (d.mantissa == "0") d.negative = false;
    return d;
}

QString generalForm(double value, int digits)
{
    if (std::isnan(value)) return QStringLiteral("NaN");
    QString s = printed(value, std::chars_format::general, digits).toUpper(); // as "%G": "1E+20", "INF"
    if (s == "-0") s = "0";
    s.replace('.', g_decimal);
    return s;
}

// Adds one to a string of decimal digits.
QString increment(QString digits)
{
    int i = int(digits.size()) - 1;
    while (i >= 0) {
        if (digits[i] == '9') {
            digits[i] = '0';
            --i;
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
    }
    return "1" + digits;
}

QString formatDecimal(const Decimal& d, const QString& pattern)
{
    const int point = int(pattern.indexOf('.'));
    const int decimals = point < 0 ? 0 : int(pattern.size()) - point - 1;
    const int minInt = point < 0 ? int(pattern.size()) : point;
    const int n = int(d.mantissa.size());
    // round(value x 10^decimals), half away from zero, on the digits themselves
    const int shift = d.exponent - (n - 1) + decimals;
    QString whole;
    if (shift >= 0) {
        whole = d.mantissa + QString(shift, '0');
    } else {
        const int keep = n + shift;
        if (keep < 0) {
            whole = "0";
        } else {
            whole = keep == 0 ? QStringLiteral("0") : d.mantissa.left(keep);
            if (d.mantissa[keep].digitValue() >= 5) whole = increment(whole);
        }
    }
    while (whole.size() > 1 && whole.startsWith('0')) whole.remove(0, 1);
    bool zero = whole == "0";
    if (whole.size() < decimals + minInt) whole = QString(decimals + minInt - whole.size(), '0') + whole;
    QString out = whole.left(whole.size() - decimals);
    if (decimals > 0) out += g_decimal + whole.right(decimals);
    return (d.negative && !zero ? "-" : "") + out;
}
} // namespace

double Val(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    QByteArray num;
    if (i < n && (text[i] == '-' || text[i] == '+')) num += char(text[i++].unicode());
    bool point = false, digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= '0' && c <= '9') {
            num += char(c.unicode());
            digits = true;
        } else if (c == '.' && !point) {
            num += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    const char* first = num.constData();
    const char* last = first + num.size();
    const bool negative = *first == '-';
    if (*first == '-' || *first == '+') ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
        // as strtod: too large is infinite, too small is zero
        const char* p = first;
        while (p < last && (*p == '0')) ++p;
        value = p < last && *p != '.' ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

QString Str(double value)
{
    QString s = generalForm(value, 15);
    s.replace(g_decimal, '.');
    if (s.startsWith("0.")) s.remove(0, 1);
    else if (s.startsWith("-0.")) s.remove(1, 1);
    return value < 0 ? s : " " + s;
}

void SetDecimalSeparator(QChar separator) { g_decimal = separator; }

QString GeneralSingle(float value) { return generalForm(double(value), 7); }
QString GeneralDouble(double value) { return generalForm(value, 15); }

QString PlainSingle(float value)
{
    if (!std::isfinite(value)) return GeneralSingle(value);
    const Decimal d = toDecimal(double(value), 7);
    const int n = int(d.mantissa.size());
    QString out;
    if (d.exponent < 0) {
        out = "0" + QString(g_decimal) + QString(-d.exponent - 1, '0') + d.mantissa;
    } else if (n <= d.exponent + 1) {
        out = d.mantissa + QString(d.exponent + 1 - n, '0');
    } else {
        out = d.mantissa.left(d.exponent + 1) + g_decimal + d.mantissa.mid(d.exponent + 1);
    }
    return d.negative ? "-" + out : out;
}

bool IsPlainNumber(const QString& text)
{
    const QRegularExpression plain("^-?(0|[1-9][0-9]*)(" + QRegularExpression::escape(QString(g_decimal)) +
                                   "[0-9]*[1-9])?$");
    return text != QLatin1String("-0") && plain.match(text).hasMatch();
}

QString FormatDouble(double value, const QString& pattern) { return formatDecimal(toDecimal(value, 15), pattern); }
QString FormatSingle(float value, const QString& pattern) { return formatDecimal(toDecimal(double(value), 7), pattern); }

float ScaleDecimal(float value, int power)
{
    if (!std::isfinite(value)) return value;
    const Decimal d = toDecimal(double(value), 7);
    const QByteArray text = QByteArray(d.negative ? "-0." : "0.") + d.mantissa.toLatin1() + 'e' +
                            QByteArray::number(d.exponent + 1 + power);
    float scaled = 0;
    if (std::from_chars(text.constData(), text.constData() + text.size(), scaled).ec != std::errc())
        return CSng(double(value) * std::pow(10.0, power)); // beyond single precision: its nearest end
    return scaled;
}

QString FormatThousands(double value)
{
    const qint64 v = CLng(value);
    // the lowest value has no positive counterpart in 64 bits
    QString digits = QString::number(v < 0 ? 0 - quint64(v) : quint64(v));
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, '.');
    return v < 0 ? "-" + digits : digits;
}

namespace {
// Where the original stops with an overflow, a damaged file must not stop the program: beyond the type's
// range the nearest end, and NaN 0.
template <typename T> T wholeNumber(double value)
{
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);
    constexpr double limit = -double(std::numeric_limits<T>::min()); // 2^31 or 2^63, exact in double
    if (r >= limit) return std::numeric_limits<T>::max();
    if (r < -limit) return std::numeric_limits<T>::min();
    return T(r);
}
} // namespace

qint32 CInt(double value) { return wholeNumber<qint32>(value); }
qint64 CLng(double value) { return wholeNumber<qint64>(value); }

float CSng(double value)
{
    constexpr double limit = std::numeric_limits<float>::max();
    return std::isnan(value) ? float(value) : float(std::clamp(value, -limit, limit));
}

float SingleSum(float a, float b)
{
    return CSng(double(a) + double(b));
}

QString GermanDayName(int dayOfWeek)
{
    static const char* names[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromLatin1(names[dayOfWeek - 1]) : QString();
}

const QStringList& GermanMonthNames()
{
    static const QStringList names = {"Januar", "Februar", QStringLiteral("März"), "April",   "Mai",      "Juni",
                                      "Juli",   "August",  "September",            "Oktober", "November", "Dezember"};
    return names;
}

QString GermanMonthName(int month)
{
    return month >= 1 && month <= 12 ? GermanMonthNames()[month - 1] : QString();
}

QString ShortDate(const QDate& date)
{
    return QString::asprintf("%02d.%02d.%04d", date.day(), date.month(), date.year());
}

QDate ParseShortDate(const QString& text)
{
    const QStringList parts = text.trimmed().split('.');
    if (parts.size() != 3) return {};
    bool ok1, ok2, ok3;
    const int d = parts[0].trimmed().toInt(&ok1), m = parts[1].trimmed().toInt(&ok2), y = parts[2].trimmed().toInt(&ok3);
    if (!ok1 || !ok2 || !ok3) return {};
    return QDate(int(WindowedYear(y)), m, d);
}

qint64 WindowedYear(qint64 year)
{
    if (year >= 0 && year < 30) return year + 2000;
    if (year >= 30 && year < 100) return year + 1900;
    return year;
}
