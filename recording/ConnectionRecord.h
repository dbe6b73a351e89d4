#pragma once
// Writing a connection record, Verbindungen/<DDMMYYYY>-<HHMMSS>.con: eleven enciphered lines, and a twelfth
// for the comment of records entered or edited by hand. Reading is core/RecordFiles.h.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>

// One record's values before enciphering; the writer adds the "S" markers of the date and the cost.
struct ConnectionRecord {
    QString startDate; // "DD.MM.YYYY"
    QString startTime; // "HH:MM:SS"
    QString duration;  // "HH:MM:SS", hours may exceed 23
    QString cost;      // "0.00" in the German form, e.g. "1,50"
    QString units;
    QString bytesIn;
    QString bytesOut;
    QString bytesTotal;
    QString connectionName;
    QString tariff; // tariff file name with its extension
    QString user;
    std::optional<QString> comment; // only records entered or edited by hand

    QStringList plainLines() const; // the 11 or 12 lines as written, before enciphering
};

// "DDMMYYYY-HHMMSS.con"
QString ConnectionRecordFileName(const QDate& date, const QTime& start);

// Writes the record under Verbindungen/<fileName>, whole and atomically; a record of that name (in any
// letter case) is replaced, a missing folder is created. False when it could not be written or a value
// holds a character outside the code page (nothing is written then).
bool WriteConnectionRecord(const QString& fileName, const ConnectionRecord& record);

// What the counter page shows when a recording ends; the saved record is taken from it.
struct ConnectionDisplay {
    QString startDateTag; // DDMMYYYY, empty when no recording was started
    QString startTime;    // caption, "HH:MM:SS"
    QString duration;     // caption
    QString cost;         // caption, "1,23 €", or "0 (1,23 €)" inside the free time
    QString units;        // caption, "12 (60)" or "sek.genau"
    QString bytesIn;      // caption, "1.234 Bytes"
    QString bytesOut;
    QString bytesTotal;
    QString connectionName;
    QString tariff; // tariff file name with its extension
    QString user;
};

// A record as its file holds it: the file's name and the enciphered lines.
struct StoredRecord {
    QString fileName;
    QStringList lines;
};

// The record a display gives, as SaveConnectionRecord stores it: 0, -1 when nothing was started, or the
// subcode of the stage that failed.
int FormRecord(const ConnectionDisplay& display, StoredRecord& record);
// "DDMMYYYY-HHMMSS.con" from the start date tag and the start time caption; empty when they are none.
QString RecordFileNameOf(const QString& dateTag, const QString& startTime);

// Saves the record of a finished recording, reports a failure by its subcode and refreshes an open
// connection list. True when the record was written.
bool SaveConnectionRecord(const ConnectionDisplay& display);

// The connection list page registers how it reloads itself while it is open, and nothing when it is not
// (false = the reload failed); it is called after every save.
void SetConnectionListRefresh(std::function<bool()> refresh);
// Runs the registered reload; false when it failed.
bool RefreshConnectionList();

inline const QString SAVE_CONNECTION_ERROR = QStringLiteral("Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode %1.");
