#include "core/NumberRange.h"

#include "core/TariffPrices.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

#include <cmath>

QString NumberRange::message() const
{
    return "Bitte geben Sie eine Zahl von " + FormatThousands(lowest) + " bis " + FormatThousands(largest) + " ein.";
}

CheckedInput WithinRange(double value, const NumberRange& range, const QString& text)
{
    if (!range.contains(value)) return {QString(), range.message()};
    return {text, QString()};
}

namespace {
// The general form as a file line holds it: refused when a reader would take its exponent for another number.
CheckedInput generalForm(double value, const QString& text, const NumberRange& range)
{
    if (!std::isfinite(value) || text.contains('E')) return {QString(), range.message()};
    return WithinRange(value, range, text);
}
} // namespace

CheckedInput TypedSingle(const QString& typed, const NumberRange& range)
{
    const float value = ValDecimal(typed);
    return generalForm(value, GeneralSingle(value), range);
}

QString PlainDecimal(const QString& text)
{
    return IsPlainNumber(text) || BeyondSingleRange(text) ? text : PlainSingle(ReadTariffNumber(text));
}

namespace {
// The number shown, not its single-precision neighbour: 10^15 must not pass as 999999986991104.
CheckedInput plainWithinRange(const QString& text, const NumberRange& range)
{
    return WithinRange(Val(QString(text).replace(',', '.')), range, text);
}
} // namespace

CheckedInput TypedPlainSingle(const QString& typed, const NumberRange& range)
{
    if (BeyondSingleRange(typed)) return {QString(), range.message()};
    return plainWithinRange(PlainDecimal(typed), range);
}

CheckedInput TypedPlainValDecimal(const QString& typed, const NumberRange& range)
{
    const float value = ValDecimal(typed);
    if (!std::isfinite(value)) return {QString(), range.message()};
    return plainWithinRange(IsPlainNumber(typed) ? typed : PlainSingle(value), range);
}

CheckedInput TypedRounded(const QString& typed, int decimals, const NumberRange& range)
{
    const float typedValue = ValDecimal(typed);
    if (!std::isfinite(typedValue)) return {QString(), range.message()}; // too many digits for single precision
    const QString pattern = decimals > 0 ? "0." + QString(decimals, '0') : QStringLiteral("0");
    const float value = ValDecimal(FormatSingle(typedValue, pattern));
    return WithinRange(value, range, GeneralSingle(value));
}

CheckedInput TypedWhole(const QString& typed, const NumberRange& range)
{
    const double value = std::floor(Val(typed));
    return WithinRange(value, range, GeneralDouble(value));
}

CheckedInput TypedDuration(const QString& typed)
{
    if (!std::isfinite(Val(typed))) return {QString(), DURATION_RANGE_MESSAGE};
    const QString text = NormalizeDuration(typed);
    const QStringList parts = text.split(':');
    const double hours = Val(parts.value(0)), minutes = Val(parts.value(1)), seconds = Val(parts.value(2));
    if (hours < 0 || hours > 9999 || minutes < 0 || seconds < 0) return {QString(), DURATION_RANGE_MESSAGE};
    return {text, QString()};
}
