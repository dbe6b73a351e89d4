#pragma once
// The rows and totals of the connection list, loaded from the record files by the page's filters. Widget-free:
// the page shows what this gives, the export and the print page read the page.
#include "tariffs/TarifFile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <vector>

// The items of the period choice, index 0 to 9.
enum ListPeriod {
    PeriodAll,                // "Gesamt"
    PeriodThisMonth,          // "Dieser Monat"
    PeriodLastMonth,          // "Letzter Monat"
    PeriodMonthBeforeLast,    // "Vorletzter Monat"
    PeriodToday,              // "Heute"
    PeriodYesterday,          // "Gestern"
    PeriodDayBeforeYesterday, // "Vorgestern"
    PeriodThisYear,           // "Dieses Jahr"
    PeriodLastYear,           // "Letztes Jahr"
    PeriodDefined,            // "Definiert": Config/Period.cfg
};
const QStringList& ListPeriodTexts();

// Grid columns, numbered from 1 as the export and the print page address them.
enum ListColumn {
    ColIcon = 1,
    ColDate,       // "Datum", DD.MM.YYYY as line 1 holds it
    ColStart,      // "Startzeit"
    ColDuration,   // "Dauer", normalised; hours may exceed 23
    ColCost,       // "Kosten", "0.000", net in net mode
    ColUnits,      // "Einheiten"
    ColBytesIn,    // "Empfangen"
    ColBytesOut,   // "Gesendet"
    ColBytesTotal, // "Gesamt"
    ColDialUp,     // "DFÜ"
    ColTariff,     // "Tarif", tariff file name without its extension
    ColUser,       // "Benutzer"
    ColComment,    // "Kommentar"
    ColFile,       // hidden: the record's file name
    ColSortDate,   // hidden: YYYYMMDD
    LIST_COLUMNS = ColSortDate,
};

// The marking category and its thresholds. They live in the page from one load to the next: every load
// re-reads Config/Difference.cfg into them, and a missing file leaves them as they were.
struct ListMarking {
    quint8 category = 0;             // 0 none, 1 cost, 2 duration, 3 volume
    std::array<float, 3> limits{};   // category 1: currency units, category 3: kilobytes
    std::array<qint64, 3> seconds{}; // category 2: durations as total seconds
};

// Which of the three thresholds a value exceeds last (each compared strictly greater): 1-3, 0 when none.
template <typename T> int MarkLevel(T value, const std::array<T, 3>& limits)
{
    int level = 0;
    for (int i = 0; i < 3; ++i)
        if (value > limits[i]) level = i + 1;
    return level;
}

// What the page's controls choose.
struct ConnectionListQuery {
    int period = PeriodAll; // index of the period choice; outside 0-9 lists nothing
    QString user = ALL_ITEMS;
    QString provider = ALL_ITEMS;
    QString tariff = ALL_ITEMS; // tariff item ("A - Abend") or "[Alle]"
    bool net = false;           // costs net of the VAT of Tax.dat
};

struct ConnectionRow {
    int icon = -1;     // marking image 0-3; -1 none (a category above 3)
    QStringList cells; // LIST_COLUMNS texts as the grid shows them; cells[column - 1], the icon cell empty
    QString cell(int column) const { return column >= 1 && column <= cells.size() ? cells[column - 1] : QString(); }
};

struct ConnectionListResult {
    std::vector<ConnectionRow> rows; // in walk order; the page sorts
    qint64 hours = 0;                // totals, carried
    int minutes = 0, seconds = 0;
    float cost = 0;       // in single precision, net in net mode
    QString durationText; // lblGesamtDauer: "01:11:15", hours with more digits when needed
    QString costText;     // lblGesamtKosten: "0,00 €"
};

// Walks the record files and gives the rows that pass the query, with their totals. Reads Tax.dat in net
// mode (creating or correcting it, with its message) and Config/Period.cfg once for "Definiert".
ConnectionListResult LoadConnectionList(const ConnectionListQuery& query, ListMarking& marking);

// The record dates of the period on `today`; PeriodDefined uses `start` and `end` (both included).
bool InListPeriod(int period, const QDate& date, const QDate& today, const QDate& start, const QDate& end);

// The VAT percentage of the net mode from Tax.dat, a whole number 0-100.
int ReadTaxPercent();

inline const QString TAX_RANGE_MESSAGE = QStringLiteral(
    "Die Mehrwertsteuer muß in Prozent angegeben werden, darf also 0 nicht unterschreiten und 100 nicht "
    "überschreiten (soweit sollte es ohnehin nie kommen). Die Datei 'Tax.dat' im Zumbrel Verzeichnis wurde mit dem "
    "Wert 16 korrigert. Bitte ändern Sie diese Datei gegebenfalls mit einem Texteditor ab.");
