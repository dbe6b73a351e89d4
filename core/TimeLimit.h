#pragma once
// The daily and monthly minute limits of the active user, checked against the records of today and of
// the current month.
#include "core/RecordFiles.h"

#include <QString>

// The user of the record Verbindungen/<fileName>: its eleventh line deciphered, or the last line of a
// shorter record; empty when there is none.
QString GetConnectionUser(const QString& fileName);
// The same rule applied to a record already read.
QString GetConnectionUser(const RecordLines& record);

// Recomputes G_DayRestSeconds and G_MonthRestSeconds from the limits and the active user's records, and
// answers whether a limit that is switched on has 60 seconds or less left.
bool IsTimeLimitReached();

// Seconds of a record's duration line "h:mm:ss" (hours may exceed 23); a damaged line counts 0.
qint64 RecordDurationSeconds(const QString& duration);

// A rest of seconds, computed in 64 bits, held within the 32 bits of G_DayRestSeconds and G_MonthRestSeconds.
qint32 ClampRestSeconds(qint64 seconds);
