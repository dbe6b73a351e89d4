#pragma once
// Durations, clock times, amounts and dates travel as text; these are the few conversions every window needs.
#include <QDate>
#include <QString>

// Seconds of "h:m:s", "h:m" or a bare number of seconds; halves to even.
qint32 TimeToSeconds(const QString& text);
// a as a percentage of b; 0 when either total is not positive.
double GetTimePercent(const QString& a, const QString& b);
// a - b as a duration text, "-" in front when negative; either may carry a leading "-".
QString SubtractTimes(const QString& a, const QString& b);
// Carries seconds and minutes of 60 or more ("0:59:75" gives "01:00:15").
QString NormalizeDuration(const QString& text);
// As NormalizeDuration, then hours of 24 or more become 0.
QString NormalizeClockTime(const QString& text);
// Decimal number written with "," or "."; single precision.
float ValDecimal(const QString& text);
// The short date; a text that is no date gives today's date.
QString FormatShortDate(const QDate& date);
QString FormatShortDate(const QString& text);
// The 1st of the calendar month m months before today's month (January less one is December before).
QDate MonthsBefore(const QDate& today, int m);
