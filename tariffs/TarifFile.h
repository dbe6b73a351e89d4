#pragma once
// One tariff of a provider: the file Tarife/<provider> - <tariff>.tel (hand-made) or .atl (downloaded),
// its lines in a fixed order that many readers rely on, and the tariff item that names it in lists.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The first item of every filter list: no filter.
inline const QString ALL_ITEMS = QStringLiteral("[Alle]");

struct TarifZone {
    TarifZone(int from = 0, int to = 24, float cents = 0, bool weekend = false)
        : from(from), to(to), cents(cents), weekend(weekend)
    {
    }
    int from;     // "Von:", whole hour 0..24
    int to;       // "Bis:"
    float cents;  // "Pfennig:", price per minute in hundredths of the currency unit
    bool weekend; // "Wochenende:Ja" (Saturdays, Sundays, holidays) or "Nein"
    // A "Pfennig:" text the price readers refuse, written back as it stands: the zone walk still ends there.
    std::optional<QString> refusedPrice;
    // So are "Von:" and "Bis:" texts they refuse for their hour, and hours beyond 0-24.
    std::optional<QString> refusedFrom, refusedTo;
};

// The values of one tariff file. Texts are kept as the editor holds them; an empty text is written as
// its default ("0", "1", "60/60"). Member defaults are those of a new tariff in the editor.
struct TarifFile {
    QString provider;
    QString tariff;
    QString baseFee = QStringLiteral("0,00");         // "Grundgebühr:", currency units
    bool nationwide = true;                           // "Region:bundesweit" / "regional"
    QString validity;                                 // "Gültigkeit:"
    bool registration = true;                         // "Anmeldung:nötig" / "nicht nötig"
    QString dialNumber = QStringLiteral("k.A.");      // "Einwahlnummer:"
    QString userName = QStringLiteral("k.A.");        // "Username:"
    QString password = QStringLiteral("k.A.");        // "Password:"
    bool flatrate = false;                            // "Flatrate:"
    bool volumeBilling = false;                       // "Volumenabrechnung:"
    float volumeCents = 0;                            // "Volumenkosten:", per volume unit
    QString volumeCentsBeyond;                        // its text when beyond the single range, kept as it stands
    QString volumeUnit = QStringLiteral("1");         // "Volumeneinheit:", megabytes
    QString freeAllowance = QStringLiteral("0");      // free megabytes (volume) or free minutes (time)
    QString minimumTurnover = QStringLiteral("0,00"); // "Mindestumsatz:"
    bool channelBundling = false;                     // "Kanalbündelung:"
    QString takt = QStringLiteral("60 / 60");         // "Takt:" first unit / every further unit
    QString secondExact = QStringLiteral("Nein");     // "Sekundengenau:"
    QString secondSteps = QStringLiteral("1");        // "Sekundenschritte:"
    QString callBaseFee = QStringLiteral("0,00");     // "Gesprächsgrundgebühr:", cents
    QList<TarifZone> zones;                           // none: written as 0-24 at 0, working day and weekend

    // A new hand-made tariff, valid from today.
    static TarifFile New(const QString& provider, const QString& tariff);
    QString fileName() const; // "<provider> - <tariff>.tel"
};

// A price the user gives in currency units, as the file holds it: times 100 on its decimal digits
// (0,0149 is 1,49); FromCents is the way back.
float ToCents(float currencyUnits);
float FromCents(float cents);

// The lines a hand-made tariff is written with, in their fixed order; cents in plain digits, never an
// exponent that a reader would take for another number.
QStringList TarifFileLines(const TarifFile& tarif);

// Writes Tarife/<provider> - <tariff>.tel whole, replacing a file of that name. False, and the old file
// kept, when a name is empty or holds a folder separator, a value holds a character outside the code page
// (a name so would also differ from its file name), or the file cannot be written.
bool WriteTarifFile(const TarifFile& tarif);

// Reads Tarife/<fileName> (found without regard to case) into *tarif: provider and tariff from the file
// name, the keys wherever they stand before "[Tarifzonen]", then six-line zone blocks; a block cut short
// by the end of the file is left out, as is one whose "Wochenende:" is neither "ja" nor "nein"; blocks
// after the 255th zone taken are left out. False when the file cannot be read or is longer than
// TARIFF_FILE_CAP.
bool ReadTarifFile(const QString& fileName, TarifFile* tarif);

// Provider of a file name: the text before the first " -"; empty when there is none.
QString ProviderOfFile(const QString& fileName);

// Tariff item of a file of `provider`: "M" for .tel, "A" for .atl, then the name after the provider
// without the extension ("M - Abend"); empty for any other ending.
QString TarifItem(const QString& provider, const QString& fileName);

// Whether a record's tariff file name passes the provider and tariff item filters ("[Alle]" passes
// either). The provider is ProviderOfFile's, so a hyphen inside it ("Netz-Plus") does not cut it; a name
// without " -" has no provider, and one without room for a tariff between "- " and the extension no item.
bool MatchesTarifFilter(const QString& fileName, const QString& provider, const QString& item);

// Back from provider and item to the file name; empty for an item of another kind letter.
QString TarifFileName(const QString& provider, const QString& item);

// The providers of the tariff files (.atl, .tel) of Tarife, each once, in folder order (exact comparison).
QStringList ListProviders();

// The tariff items of one provider's files in folder order. Only files whose provider part is exactly
// `provider`: a provider whose name begins another's does not take over its tariffs.
QStringList ListTarifItems(const QString& provider);
