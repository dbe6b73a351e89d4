#include "core/TimeLimit.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/VB.h"

#include <limits>

QString GetConnectionUser(const RecordLines& record)
{
    const int n = std::min(record.count(), 11);
    return n > 0 ? record.line(n) : QString();
}

QString GetConnectionUser(const QString& fileName)
{
    RecordLines record;
    if (!ReadRecord(fileName, record, 11)) return {};
    return GetConnectionUser(record);
}

qint64 RecordDurationSeconds(const QString& duration)
{
    const QStringList parts = duration.split(':');
    if (parts.size() != 3) return 0;
    qint64 fields[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        fields[i] = parts[i].trimmed().toLongLong(&ok);
        if (!ok || fields[i] < 0 || fields[i] > std::numeric_limits<qint32>::max()) return 0;
    }
    return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

namespace {
int nameField(const QString& name, int from, int length) { return int(Val(name.mid(from, length))); }
} // namespace

qint32 ClampRestSeconds(qint64 seconds)
{
    return qint32(std::clamp<qint64>(seconds, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

bool IsTimeLimitReached()
{
    qint64 dayRest = qint64(G_DayLimitMinutes) * 60;
    qint64 monthRest = qint64(G_MonthLimitMinutes) * 60;
    const QDate today = Today();
    const QString user = G_ActiveUser.toLower();

    // The date comes from the name, so only the records of this month are opened.
    const auto thisMonth = [&](const QString& name) {
        return nameField(name, 2, 2) == today.month() && nameField(name, 4, 4) == today.year();
    };
    WalkRecords(thisMonth, [&](const QString& name, const RecordLines& record) {
        const QString owner = GetConnectionUser(record);
        if (owner.isEmpty() || owner.toLower() != user) return;
        const qint64 seconds = RecordDurationSeconds(record.line(3));
        monthRest -= seconds;
        if (nameField(name, 0, 2) == today.day()) dayRest -= seconds;
    });

    G_DayRestSeconds = ClampRestSeconds(dayRest);
    G_MonthRestSeconds = ClampRestSeconds(monthRest);
    // Only a limit that is switched on may stop a dial.
    return (G_DayLimitOn && G_DayRestSeconds < 61) || (G_MonthLimitOn && G_MonthRestSeconds < 61);
}
