#pragma once
#include "core/platform/SystemClock.h"

#include <QDateTime>
#include <QList>

// Scripted time zone; records every time it is asked to set and whether it accepted.
class SimSystemClock : public SystemClock {
public:
    bool isAvailable() const override { return available; }
    qint32 timeZoneOffset(QString* zoneName) override
    {
        if (zoneName) *zoneName = zone;
        return offsetSeconds;
    }
    bool setLocalTime(const QDate& date, const QTime& time) override
    {
        sets << QDateTime(date, time);
        return acceptSet;
    }

    bool available = true;
    qint32 offsetSeconds = 0;
    QString zone = QStringLiteral("MEZ");
    bool acceptSet = true;
    QList<QDateTime> sets;
};
