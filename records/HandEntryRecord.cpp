#include "records/HandEntryRecord.h"

#include "core/FileList.h"
#include "core/RecordFiles.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "recording/ConnectionRecord.h"
#include "tariffs/TarifFile.h"

#include <QFile>
#include <QRegularExpression>

namespace {
// The start field as the file name reads it: "h:m" or "h:m:s" of a real time of day.
QTime clockTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() ? QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QTime();
}

QString fileNameOf(const HandEntryFields& f)
{
    return ConnectionRecordFileName(ParseShortDate(f.date.trimmed()), clockTime(f.start));
}
} // namespace

CheckedInput LeaveHandField(int index, const QString& typed)
{
    switch (index) {
    case 0:
        return {FormatShortDate(typed), QString()};
    case 1:
        return {NormalizeClockTime(typed), QString()};
    case 2:
        return TypedDuration(typed);
    case 3: {
        const CheckedInput cost = TypedRounded(typed, 2, CREDIT_RANGE);
        if (cost.refused()) return cost;
        return {FormatSingle(ValDecimal(cost.text), QStringLiteral("0.00")), QString()};
    }
    default:
        return TypedWhole(typed, COUNT_RANGE);
    }
}

CheckedInput HandByteTotal(const QString& received, const QString& sent)
{
    const CheckedInput in = TypedWhole(received, COUNT_RANGE), out = TypedWhole(sent, COUNT_RANGE);
    if (in.refused()) return in;
    if (out.refused()) return out;
    const double total = Val(in.text) + Val(out.text);
    return WithinRange(total, COUNT_RANGE, GeneralDouble(total));
}

QString HandEntryTariffFile(const QString& provider, const QString& item)
{
    if (!item.startsWith(QLatin1String("A -")) && !item.startsWith(QLatin1String("M -"))) return {};
    return TarifFileName(provider, item);
}

void SplitTariffFile(const QString& line10, QString* provider, QString* item)
{
    *provider = ProviderOfFile(line10);
    const bool known = line10.endsWith(QLatin1String(".atl")) || line10.endsWith(QLatin1String(".tel"));
    *item = known && !provider->isEmpty() ? TarifItem(*provider, line10) : QString();
}

QString HandEntryRefusal(const HandEntryFields& f)
{
    if (f.date.isEmpty() || !ParseShortDate(f.date.trimmed()).isValid())
        return QStringLiteral("Sie müssen ein Datum eingeben.");
    if (f.start.isEmpty() || !clockTime(f.start).isValid())
        return QStringLiteral("Sie müssen eine Startzeit der Verbindung eingeben.");
    if (f.duration.isEmpty()) return QStringLiteral("Sie müssen die Verbindungsdauer angeben.");
    if (f.cost.isEmpty())
        return QStringLiteral("Sie müssen die Verbindungskosten angeben. Falls keine angefallen sind geben Sie eine 0 ein.");
    // a typed item of no known kind names no tariff file: the record would lose its tariff line
    if (f.provider.isEmpty() || f.tarifItem.isEmpty() || HandEntryTariffFile(f.provider, f.tarifItem).isEmpty())
        return QStringLiteral("Sie müssen einen Tarif angeben.");
    if (f.user.isEmpty()) return QStringLiteral("Sie müssen einen Benutzer angeben.");
    return {};
}

QString SaveHandEntry(const HandEntryFields& f, const QString& oldName)
{
    const QString refusal = HandEntryRefusal(f);
    if (!refusal.isEmpty()) return refusal;
    ConnectionRecord r;
    r.startDate = f.date;
    r.startTime = f.start;
    r.duration = f.duration;
    r.cost = f.cost;
    r.units = f.units;
    r.bytesIn = f.bytesIn;
    r.bytesOut = f.bytesOut;
    r.bytesTotal = f.bytesTotal;
    r.connectionName = f.connection.isEmpty() ? NO_DIAL_ENTRY : f.connection;
    r.tariff = HandEntryTariffFile(f.provider, f.tarifItem);
    r.user = f.user;
    QString comment = f.comment;
    comment.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\n', QLatin1String("\r\n"));
    r.comment = comment;

    const QString name = fileNameOf(f);
    if (!WriteConnectionRecord(name, r)) return HAND_ENTRY_SAVE_FAILED;
    // The old record goes only once the new one is safe; under the same name it was rewritten in place.
    if (!oldName.isEmpty() && oldName.compare(name, Qt::CaseInsensitive) != 0) {
        const QString found = FindFileNoCase(RecordFolderPath(), oldName);
        if (!found.isEmpty()) QFile::remove(RecordFolderPath() + "/" + found);
    }
    return {};
}
