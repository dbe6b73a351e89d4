#pragma once
// Config/Difference.cfg: by which quantity the list marks its rows (0 none, 1 cost, 2 duration, 3 volume)
// and the three thresholds of each quantity, all three blocks always written.
#include "core/NumberRange.h"

#include <QString>

struct DifferenceSettings {
    int category = 0;
    QString cost[3] = {QStringLiteral("0,00"), QStringLiteral("0,00"), QStringLiteral("0,00")};
    QString duration[3] = {QStringLiteral("00:00:00"), QStringLiteral("00:00:00"), QStringLiteral("00:00:00")};
    QString volume[3] = {QStringLiteral("500"), QStringLiteral("5000"), QStringLiteral("10000")}; // KB
};

// The file as stored, found without regard to case; the defaults for a missing file and for lines a
// short file lacks; a category outside 0-3 counts as 0.
DifferenceSettings LoadDifferenceSettings();
// Ten lines, the category in print form (" 1"), the thresholds as shown. False when it cannot be written
// (the old file stays).
bool SaveDifferenceSettings(const DifferenceSettings& settings);

// How a threshold box of a frame (0 cost, 1 duration, 2 volume) reads after it is left: a cost with ","
// or "." in single precision ("7.5" gives "7,5"), a duration normalised, a volume as the list and the print
// page read its line, with "," or "." in single precision, in plain digits ("0.5" gives "0,5", "1E+08" gives
// "1"); each refused outside its range.
CheckedInput LeaveThreshold(int frame, const QString& typed);
