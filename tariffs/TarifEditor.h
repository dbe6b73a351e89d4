#pragma once
// The tariff editor's logic: what its fields become when left, what a save checks and in which order,
// and the way between its fields and a tariff file. The dialog only binds controls to it.
#include "core/NumberRange.h"
#include "tariffs/TarifFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

inline const QString NAMES_MESSAGE = QStringLiteral(
    "Der Anbieter- und Tarifname ist unvollständig oder enthält ungültige Zeichen. Beide Felder dürfen 250 "
    "Zeichen nicht überschreiten.");
inline const QString WEEKEND_MESSAGE = QStringLiteral(
    "Es ist kein Tarif für das Wochenende angegeben. Bitte geben Sie ebenfalls die Wochenendtarife an, auch wenn "
    "diese identisch zu den Werktagstarifen sind.");
inline const QString ZONE_FIELDS_MESSAGE =
    QStringLiteral("Bitte füllen Sie die Felder 'Von', 'Bis' und 'Kosten' korrekt aus.");
inline const QString NO_ZONE_SELECTED_MESSAGE =
    QStringLiteral("Kein Eintrag in der Liste zum Löschen ausgewählt.");
inline const QString WRITE_FAILED_MESSAGE = QStringLiteral("Der Tarif konnte nicht gespeichert werden.");

// The editor's numeric fields by the range they keep.
enum class TarifInput { Fee, FreeAllowance, Takt, ZoneHour, Price, VolumeUnit };
// What a numeric field shows once it is left, or the refusal of a value outside its range: fees, prices and
// the volume unit in plain digits, as PlainDecimal gives them ("0,0149" and "0,00005" stay, "0,00" -> "0",
// "1.5" -> "1,5"), the free allowance and the zone hours whole ("1,5" -> "1"), the Takt as "90 / 60"
// ("90" -> "90 / 60", "0/10" -> "60 / 60").
CheckedInput LeaveTarifField(TarifInput field, const QString& typed);

// One zone list entry, "Von: 08 Bis: 18 Kosten: 0,019 Werktag"; empty when a field is empty or an hour
// lies outside 0 to 24 (the entry's fixed columns hold two digits).
QString ZoneEntry(const QString& from, const QString& to, const QString& price, bool weekend);

// What the editor's fields hold, as texts and box states.
struct TarifFields {
    QString provider;
    QString tariff;
    QString baseFee = QStringLiteral("0,00");
    QString minimumTurnover = QStringLiteral("0,00");
    QString freeAllowance = QStringLiteral("0");
    QString takt = QStringLiteral("60 / 60");
    QString callBaseFee = QStringLiteral("0,00");
    QString volumePrice = QStringLiteral("0,00");
    QString volumeUnit = QStringLiteral("1");
    bool registration = true;
    bool nationwide = true;
    bool channelBundling = false;
    bool flatrate = false;
    bool volumeBilling = false;
    QStringList zones; // zone list entries in list order

    // The values a changed tariff keeps from its file without showing them.
    bool keepsValues = false;
    QString validity, dialNumber, userName, password, secondExact, secondSteps;
    // The hour texts of zones the price readers refuse for their hours, by the entry that shows them with "??"
    // for such an hour: no hour of two digits stands for them.
    struct RefusedHours {
        QString entry;
        std::optional<QString> from, to;
    };
    QList<RefusedHours> refusedHours;
};

enum class TarifSaveCheck { Ok, Names, Weekend };

// The save's checks in their order; the defaults of empty fields are written into *fields between the
// name check and the weekend check, as the window shows them afterwards.
TarifSaveCheck CheckTarifSave(TarifFields* fields);

// The file a save writes. A tariff without kept values is new: valid from today, "k.A." for the access data.
TarifFile TarifFromFields(const TarifFields& fields);
// The fields a changed tariff opens with; the provider and tariff name are the caller's. Fees in plain digits,
// the volume unit as written unless it holds an exponent ("5E-05" shows "0,00005"); a value beyond the single
// range ("1E+400") and a zone price the price readers refuse as written, and a zone hour they refuse as "??"
// in its entry, so that a save keeps them.
TarifFields FieldsFromTarif(const TarifFile& tarif);

enum class TarifSaveResult { Saved, Names, Weekend, WriteFailed };

// The whole save: checks, then the new file written whole, and only then `oldFileName` (the tariff being
// changed; empty for a new tariff or a template taken from a downloaded one) deleted when it names another
// file (names compared without regard to case). Nothing is deleted when the write fails.
TarifSaveResult SaveTarif(TarifFields* fields, const QString& oldFileName);
