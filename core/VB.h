#pragma once
// Number, date and text forms of the original's runtime, used everywhere so they are right once.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Lenient number reader: leading blanks skipped, optional sign, digits and at most one decimal point;
// reading stops at the first character that cannot continue the number; no number gives 0.
double Val(const QString& text);

// Print form: a leading blank for non-negative values, '.' as decimal point, fractions without
// their leading zero (" 5", "-5", " 2.5", " .5").
QString Str(double value);

// The decimal separator of the locale, used for everything shown and for the general forms; tests fix it to ','.
void SetDecimalSeparator(QChar separator);

// General form of a number: 7 significant digits for single precision, 15 for double, no trailing
// zeros, scientific notation beyond that range ("1,234568E+07", "1E-05").
QString GeneralSingle(float value);
QString GeneralDouble(double value);
// The single-precision general form's digits written out in full, never an exponent ("0,00005", "100000000"),
// so that the number reads back as itself whatever its size; infinity and NaN as the general form writes them.
QString PlainSingle(float value);
// Whether a text already is a number in plain digits as PlainSingle writes them, of any length: an optional
// "-", no superfluous zero, the decimal separator ("0,019", "99999999"; not "0,50", "1.5", "007", "1E+08").
bool IsPlainNumber(const QString& text);

// A single-precision value times 10^power, shifted on the digits of its general form rather than
// multiplied in binary, so that the cents of a tariff file and the currency units its editor shows pass
// into each other unchanged (0,79 cents are 0,0079, never 0,007900001).
float ScaleDecimal(float value, int power);

// Format with a pattern of zeros and at most one point ("0", "00", "0.00", "0.000"): halves away
// from zero, applied to the number's general form (so 2.675f gives "2,68").
QString FormatDouble(double value, const QString& pattern);
QString FormatSingle(float value, const QString& pattern);

// Whole numbers with the German thousands separator ("1.234.567"), rounded half to even.
QString FormatThousands(double value);

// Conversion to a whole number as the original's CInt/CLng: halves to the even neighbour. Beyond the
// type's range the nearest end of it, NaN 0.
qint32 CInt(double value);
qint64 CLng(double value);
// Conversion to single precision: beyond its range the nearest end of it (never infinite), NaN stays NaN.
float CSng(double value);
// The single-precision sum of two singles, which at the end of the single range stays there instead of
// turning infinite; within it, the sum a single addition gives (a double sum of two singles rounds alike).
float SingleSum(float a, float b);

// Fixed German names, never the system locale's (day: 1 = Monday ... 7 = Sunday, as QDate).
QString GermanDayName(int dayOfWeek);
QString GermanMonthName(int month);
const QStringList& GermanMonthNames(); // "Januar" to "Dezember", as the month lists offer them

// The short date "dd.mm.yyyy" used in files and on screen.
QString ShortDate(const QDate& date);
// Reads day.month.year with or without leading zeros, a year below 100 as WindowedYear does; an invalid
// date when it does not fit.
QDate ParseShortDate(const QString& text);
// A year below 100 as the original's dates take it: 0-29 as 2000-2029, 30-99 as 1930-1999.
qint64 WindowedYear(qint64 year);
