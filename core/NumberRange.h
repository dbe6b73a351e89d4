#pragma once
// The ranges typed numbers are held to. The files hold numbers in their general form, which writes 10^15
// and more (in single precision 10^7 and more, or below 0,0001) with an exponent that every reader takes
// for its leading digit; and counts, amounts and limits are never negative. A box whose value lies outside
// its range refuses it with the range's message.
#include <QString>

struct NumberRange {
    double lowest;
    double largest;
    bool contains(double value) const { return value >= lowest && value <= largest; } // NaN lies outside
    QString message() const; // "Bitte geben Sie eine Zahl von 0 bis 999.999 ein."
};

inline constexpr NumberRange COUNT_RANGE{0, 999999999999999.0}; // units, bytes, kilobytes, free allowances
inline constexpr NumberRange AMOUNT_RANGE{0, 999999};           // single precision: fees, thresholds, volume unit
inline constexpr NumberRange CREDIT_RANGE{-999999, 999999};     // a cost entered by hand may be a credit
inline constexpr NumberRange PRICE_RANGE{0, 99999};             // prices a tariff file holds times 100
inline constexpr NumberRange MINUTES_RANGE{0, 99999999};        // daily and monthly minute limits
inline constexpr NumberRange UNIT_LENGTH_RANGE{0, 32767};       // seconds of a tariff's unit
inline constexpr NumberRange HOUR_RANGE{0, 24};                 // the hours of a tariff zone

// What a box shows once it is left, or the message that refuses its value.
struct CheckedInput {
    QString text;
    QString refusal; // empty when the value is taken
    bool refused() const { return !refusal.isEmpty(); }
};

// `text` when `value` lies in `range`, else the range's refusal.
CheckedInput WithinRange(double value, const NumberRange& range, const QString& text);
// A decimal typed with "," or "." as the file line that holds it reads it back: single precision in the
// general form, every digit it keeps ("0,0149" stays, "1.5" gives "1,5"). Refused when that form takes an
// exponent (a value below 0,0001 other than 0, or 10^7 and more) or lies outside `range`.
CheckedInput TypedSingle(const QString& typed, const NumberRange& range);
// A decimal with "," or "." in plain digits: kept when it already is one (IsPlainNumber), digits beyond single
// precision included, since every reader takes it as the same number; otherwise the plain digits of the
// single-precision value a tariff line reads from it ("1.5" gives "1,5", "0,00" gives "0", "1E+08" gives
// "100000000"). A text beyond the single range ("1E+400") stays as it is.
QString PlainDecimal(const QString& text);
// A decimal typed with "," or "." as PlainDecimal shows it; refused when it lies beyond the single range or
// the number shown lies outside `range`.
CheckedInput TypedPlainSingle(const QString& typed, const NumberRange& range);
// The same for typed input outside the tariff editor, read as ValDecimal reads it: "1E+08" gives "1", as a
// list reads the line that holds the text; refused when ValDecimal's value is infinite.
CheckedInput TypedPlainValDecimal(const QString& typed, const NumberRange& range);
// A decimal rounded as a box of `decimals` decimals shows it (halves away from zero, as Format rounds), in
// the general form of single precision: "0,015" with 2 decimals gives "0,02".
CheckedInput TypedRounded(const QString& typed, int decimals, const NumberRange& range);
// The whole part of the number a text begins with, in the general form ("7.9" gives 7, "1,5" gives 1).
CheckedInput TypedWhole(const QString& typed, const NumberRange& range);

inline const QString DURATION_RANGE_MESSAGE =
    QStringLiteral("Bitte geben Sie eine Dauer von 00:00:00 bis 9999:59:59 ein.");
// A typed duration in its normalised form (NormalizeDuration); refused when a part is negative or it
// exceeds 9999:59:59.
CheckedInput TypedDuration(const QString& typed);
