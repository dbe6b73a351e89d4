#pragma once
// Single values read straight out of a tariff file of the folder Tarife, without loading the tariff.
// Each takes the file name with its extension ("Net - Abend.tel") and gives 0 when nothing is found,
// the name is empty or no such file exists.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The numbers of the lines "Grundgebühr:", "Gesprächsgrundgebühr:", "Mindestumsatz:", "Volumenkosten:",
// "Volumeneinheit:" and "Pfennig:", which the general form may have written with an exponent ("5E-05"): a
// number directly followed by "E" or "e", an optional sign and a digit reads as that whole form, exactly as
// its value in plain digits ("," or "." as decimal sign; too small: 0). Any text without such an exponent
// ("5E", "E5", "5 E3") reads as before; the tariff editor's fields read as these lines, other typed input,
// records and budgets keep ValDecimal and ReadZonePrice. A number beyond the single range ("1E+400", 40
// digits, "-1E+39") is malformed: 0 for the lenient reader, no price for the strict one.
// Whether the text's leading number carries an exponent.
bool HasTariffExponent(const QString& text);
// Whether the text's leading number lies beyond the single range.
bool BeyondSingleRange(const QString& text);
// Lenient, as ValDecimal, in single precision.
float ReadTariffNumber(const QString& text);
// Strict, as ReadZonePrice: the whole text is the number.
std::optional<double> ReadTariffZonePrice(const QString& text);

// A zone's "Von:" or "Bis:" hour as a whole number; nothing for an hour the original's time routine would
// overflow on ("99999"), which ends the price readers' zone walk as a refused price does.
std::optional<qint64> ReadZoneHour(const QString& text);

// The most zone blocks a tariff's readers take.
inline constexpr int MAX_TARIF_ZONES = 255;

// The lines of Tarife/<tariffFile>, found without regard to case; nothing when the name is empty, has a
// folder part or denotes no readable file there, or the file is longer than TARIFF_FILE_CAP.
std::optional<QStringList> ReadTariffLines(const QString& tariffFile);

// Whether a zone of the tariff file from one whole hour to another is in force at this second of the day:
// hour 24 as a start is midnight and as an end the day's last second; equal ends ("von 0 Uhr bis 0 Uhr")
// are the whole day; a zone whose start lies after its end is never in force.
bool ZoneInForce(qint64 fromHour, qint64 toHour, qint64 secondOfDay);

// The volume price of a volume tariff, else the "Pfennig:" price of the zone in force now (the clock,
// and G_Holiday for the weekend zones); with several zones in force the block written last wins.
double GetCurrentTarifPrice(const QString& tariffFile);
// The same at another second, as a late tick prices the seconds it missed (G_Holiday as it is now).
double GetTarifPriceAt(const QString& tariffFile, const QDateTime& at);

// That price in currency units as the pages show it: "0,019 €".
QString CurrentPriceText(const QString& tariffFile);

// The number after "Freiminuten:"; 0 beyond the double range, as for an unreadable number, and so is a
// number whose exponent takes it there ("-1E+400"; "1E+02" reads as 1).
double GetFreeMinutes(const QString& tariffFile);

// The number after "Volumengrenze:", times 1000; 0 when that lies beyond the double range, as above.
double GetVolumeLimit(const QString& tariffFile);
