#include "core/RecordFiles.h"

#include "core/FileList.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/VB.h"
#include "core/Win1252.h"

#include <QFile>

#include <cmath>

QString RecordLines::line(int number) const
{
    return number >= 1 && number <= lines.size() ? lines[number - 1] : QString();
}

void RecordLines::clear()
{
    stored.clear();
    lines.clear();
}

QString RecordFolderPath() { return ProgramPath(RECORD_FOLDER); }

bool ReadRecordFile(const QString& path, RecordLines& record, int maxLines)
{
    record.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // A record is a few hundred bytes; a damaged one may be anything, so stop after the lines wanted.
    while (record.stored.size() < maxLines && !file.atEnd()) {
        QByteArray raw = file.readLine();
        if (raw.endsWith('\n')) raw.chop(1);
        if (raw.endsWith('\r')) raw.chop(1);
        record.stored << raw;
    }
    record.lines.reserve(record.stored.size());
    for (const QByteArray& raw : std::as_const(record.stored))
        record.lines << (raw.isEmpty() ? QString() : DecryptString(Win1252::decode(raw)));
    return true;
}

bool ReadRecord(const QString& fileName, RecordLines& record, int maxLines)
{
    return ReadRecordFile(RecordFolderPath() + "/" + fileName, record, maxLines);
}

QStringList ListRecordFiles() { return ListFolder(RecordFolderPath(), QStringLiteral("*.con")); }

void WalkRecords(const RecordSelector& select, const RecordVisitor& visit)
{
    // The folder is resolved once: the names come from its own listing, so no per-file lookup is needed.
    const QString folder = RecordFolderPath() + "/";
    RecordLines record;
    for (const QString& name : ListFolder(folder, QStringLiteral("*.con"))) {
        if (select && !select(name)) continue;
        if (!ReadRecordFile(folder + name, record)) continue; // removed in the meantime
        visit(name, record);
    }
}

namespace {
// The number of a date field, as a 16-bit whole number; false when it does not fit.
bool dateField(const QString& text, int& value)
{
    const double v = std::nearbyint(Val(text));
    if (v < -32768 || v > 32767) return false;
    value = int(v);
    return true;
}
} // namespace

QDate GetDateFromFileName(const QString& fileName)
{
    const QDate fallback(2000, 1, 1);
    const qsizetype dash = fileName.indexOf('-');
    if (dash < 0) return fallback;
    const QString s = fileName.left(dash);
    int day, month, year;
    if (!dateField(s.mid(0, 2), day) || !dateField(s.mid(2, 2), month) || !dateField(s.mid(4), year)) return fallback;
    if (year < 0) return fallback;
    if (year < 30) year += 2000;
    else if (year < 100) year += 1900;
    // Months, then days, roll over into the neighbouring months and years.
    const int months = year * 12 + (month - 1);
    const int y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int m = months - y * 12 + 1;
    if (y < 100 || y > 9999) return fallback;
    const QDate date = QDate(y, m, 1).addDays(day - 1);
    if (!date.isValid() || date.year() < 100 || date.year() > 9999) return fallback;
    return date;
}
