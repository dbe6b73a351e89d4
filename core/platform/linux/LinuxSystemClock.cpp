#include "core/platform/linux/LinuxSystemClock.h"

#include <QDateTime>
#include <QTimeZone>

#include <ctime>

qint32 LinuxSystemClock::timeZoneOffset(QString* zoneName)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (zoneName) *zoneName = QTimeZone::systemTimeZone().abbreviation(now);
    return now.offsetFromUtc();
}

bool LinuxSystemClock::setLocalTime(const QDate& date, const QTime& time)
{
    const QDateTime local(date, time, Qt::LocalTime);
    if (!local.isValid()) return false;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(local.toSecsSinceEpoch());
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}
