#pragma once
// Connection records: every finished connection is one file Verbindungen/<DDMMYYYY>-<HHMMSS>.con of
// enciphered lines. Readers differ in which lines they use and in what a short record means to them,
// so the shared pieces below only list, read and decipher; each reader applies its own rules on top.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <any>
#include <functional>

inline const QString RECORD_FOLDER = QStringLiteral("Verbindungen");
inline constexpr int RECORD_MAX_LINES = 12; // eleven lines, and the comment of records entered by hand

// The lines of one record as present in its file, deciphered.
struct RecordLines {
    QList<QByteArray> stored; // as stored (enciphered), for readers that test a line before deciphering
    QStringList lines;        // deciphered; an empty stored line is the empty text
    int count() const { return int(lines.size()); }
    QString line(int number) const; // 1-based; empty past the end
    void clear();
};

// The record folder below the program folder, resolved without regard to case (it may not exist).
QString RecordFolderPath();

// Reads the lines present in a record file, at most maxLines, and deciphers them. False (and no lines)
// when the file cannot be read or is longer than DATA_FILE_CAP (damaged; it is not read whole).
bool ReadRecordFile(const QString& path, RecordLines& record, int maxLines = RECORD_MAX_LINES);
// The same for the record of that name in the record folder; a name that would leave the folder is none.
bool ReadRecord(const QString& fileName, RecordLines& record, int maxLines = RECORD_MAX_LINES);

// The names of the record files (*.con in any letter case), sorted case-insensitively as ListFolder
// sorts them.
QStringList ListRecordFiles();

// Deciphers one stored line (its Windows-1252 bytes); the same result as DecryptString of its text,
// without the detour through digit texts for well-formed lines.
QString DecryptStoredLine(const QByteArray& stored);

// The shared walk over every record file, in the order of ListRecordFiles. `select` decides from the name
// alone whether a record is read at all (empty = every record); `visit` gets each selected record that
// could be read (one over the cap of ReadRecordFile is passed over). Records are read ahead in bounded blocks.
using RecordSelector = std::function<bool(const QString& fileName)>;
using RecordVisitor = std::function<void(const QString& fileName, const RecordLines& record)>;
void WalkRecords(const RecordSelector& select, const RecordVisitor& visit);
// The same walk with a step per record that runs on the walk's reading threads (so it must touch no shared
// state): `prepare` turns a record into what `visit` needs, and `visit` still sees the records one by one in
// listing order on the caller's thread, with what `prepare` made of each. For readers whose work per record
// costs as much as reading it.
using RecordPreparer = std::function<std::any(const QString& fileName, const RecordLines& record)>;
using PreparedVisitor = std::function<void(const QString& fileName, std::any& prepared)>;
void WalkRecords(const RecordSelector& select, const RecordPreparer& prepare, const PreparedVisitor& visit);

// The connection's date from the record's file name: of the part before the first "-", characters 1-2 are
// the day, 3-4 the month, 5 to the end the year; days and months out of range roll over, a year below 100
// is taken as 2000-2029 or 1930-1999; 1 January 2000 when no date can be built.
QDate GetDateFromFileName(const QString& fileName);

// The date of day, month and year as the record names give them: months, then days, out of range roll
// over, a year below 100 is taken as 2000-2029 or 1930-1999; invalid outside the years 100 to 9999.
QDate RollOverDate(qint64 year, qint64 month, qint64 day);
