#include "recording/ConnectionRecord.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

#include <QDir>

namespace {
std::function<bool()>& listRefresh()
{
    static std::function<bool()> refresh;
    return refresh;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// The record folder, created when missing; empty when it cannot be created.
QString ensureRecordFolder()
{
    const QString folder = RecordFolderPath();
    return QDir().mkpath(folder) ? folder : QString();
}

bool writeEnciphered(const QString& folder, const QString& fileName, const QStringList& lines)
{
    // Resolved in the folder's own letter case, so a record of the same start second is replaced.
    const QString found = FindFileNoCase(folder, fileName);
    return WriteTextLines(folder + "/" + (found.isEmpty() ? fileName : found), lines, FileAccess::Default,
                          FileSync::Durable);
}

// The time of a "H:MM:SS" caption; invalid when it is none.
QTime captionTime(const QString& caption)
{
    const QStringList parts = caption.trimmed().split(':');
    if (parts.size() < 2 || parts.size() > 3) return {};
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return {};
    }
    return QTime(v[0], v[1], v[2]);
}

// The amount of a cost caption. Inside the free time the caption is "0 (<cost> <currency>)" and only the
// part up to the bracket counts.
float captionAmount(const QString& caption)
{
    const qsizetype bracket = caption.indexOf('(');
    return ValDecimal(bracket >= 0 ? caption.left(bracket + 1) : caption);
}

// A byte caption "1.234.567 Bytes" as plain digits; empty when it holds no count.
QString captionBytes(const QString& caption)
{
    if (caption.size() < 6) return {};
    QString number = caption.left(caption.size() - 6);
    number.remove('.');
    number = number.trimmed();
    bool ok = false;
    const qint64 value = number.toLongLong(&ok);
    return ok ? QString::number(value) : QString();
}

// A value enciphers to the empty line only when it has a character outside the code page.
bool encipher(const QString& value, QString& line)
{
    line = EncryptString(value);
    return value.isEmpty() || !line.isEmpty();
}

void reportFailure(int subcode) { MsgBox(SAVE_CONNECTION_ERROR.arg(subcode), vbOKOnly + vbCritical); }
} // namespace

QStringList ConnectionRecord::plainLines() const
{
    QStringList lines{"S" + startDate, startTime, duration,       "S" + cost, units, bytesIn,
                      bytesOut,        bytesTotal, connectionName, tariff,     user};
    if (comment) lines << *comment;
    return lines;
}

QString ConnectionRecordFileName(const QDate& date, const QTime& start)
{
    return twoDigits(date.day()) + twoDigits(date.month()) + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) +
           "-" + twoDigits(start.hour()) + twoDigits(start.minute()) + twoDigits(start.second()) + ".con";
}

bool WriteConnectionRecord(const QString& fileName, const ConnectionRecord& record)
{
    if (!IsSafeName(fileName)) return false;
    const QString folder = ensureRecordFolder();
    if (folder.isEmpty()) return false;
    QStringList lines;
    QString line;
    // a value the cipher cannot hold is refused rather than stored as an empty line
    for (const QString& value : record.plainLines()) {
        if (!encipher(value, line)) return false;
        lines << line;
    }
    return writeEnciphered(folder, fileName, lines);
}

QString RecordFileNameOf(const QString& dateTag, const QString& startTime)
{
    const QTime start = captionTime(startTime);
    bool digitsOnly = dateTag.size() == 8;
    for (QChar c : dateTag) digitsOnly = digitsOnly && c >= '0' && c <= '9';
    if (!start.isValid() || !digitsOnly) return {};
    return dateTag + "-" + twoDigits(start.hour()) + twoDigits(start.minute()) + twoDigits(start.second()) + ".con";
}

int FormRecord(const ConnectionDisplay& d, StoredRecord& record)
{
    if (d.startDateTag.isEmpty()) return -1; // nothing was started
    const QString& tag = d.startDateTag;
    record.fileName = RecordFileNameOf(tag, d.startTime);
    if (record.fileName.isEmpty()) return 1;

    QStringList& lines = record.lines;
    lines.clear();
    QString line;
    const QString head[] = {"S" + tag.mid(0, 2) + "." + tag.mid(2, 2) + "." + tag.right(4), d.startTime, d.duration,
                            "S" + FormatSingle(captionAmount(d.cost), "0.00")};
    for (const QString& value : head) {
        if (!encipher(value, line)) return 2;
        lines << line;
    }
    // A count that cannot be formed is stored as 0, a text as "Default"; the record is still written.
    const QString counts[] = {GeneralDouble(Val(d.units)), captionBytes(d.bytesIn), captionBytes(d.bytesOut),
                              captionBytes(d.bytesTotal)};
    for (const QString& value : counts) lines << (!value.isEmpty() && encipher(value, line) ? line : EncryptString("0"));
    for (const QString& value : {d.connectionName, d.tariff, d.user})
        lines << (encipher(value, line) ? line : EncryptString(QStringLiteral("Default")));
    return 0;
}

bool SaveConnectionRecord(const ConnectionDisplay& d)
{
    const QString folder = ensureRecordFolder();
    if (folder.isEmpty()) {
        reportFailure(1);
        return false;
    }
    StoredRecord record;
    const int failed = FormRecord(d, record);
    if (failed < 0) return false;
    if (failed > 0 || !writeEnciphered(folder, record.fileName, record.lines)) {
        reportFailure(failed > 0 ? failed : 2);
        return false;
    }
    if (!RefreshConnectionList()) reportFailure(4);
    return true;
}

bool RefreshConnectionList()
{
    return !listRefresh() || listRefresh()();
}

void SetConnectionListRefresh(std::function<bool()> refresh) { listRefresh() = std::move(refresh); }
