#include "records/DifferenceSettings.h"

#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QDir>
#include <QStringList>

namespace {
QString settingsPath() { return ProgramPath(QStringLiteral("Config/Difference.cfg")); }
} // namespace

DifferenceSettings LoadDifferenceSettings()
{
    DifferenceSettings s;
    bool ok = false;
    const QStringList lines = ReadTextLines(settingsPath(), &ok);
    if (!ok) return s;
    if (lines.size() >= 1) {
        const qint32 category = CInt(Val(lines[0]));
        s.category = category >= 0 && category <= 3 ? category : 0;
    }
    QString* boxes[9] = {&s.cost[0],     &s.cost[1],     &s.cost[2],   &s.duration[0], &s.duration[1],
                         &s.duration[2], &s.volume[0], &s.volume[1], &s.volume[2]};
    for (int i = 0; i < 9 && i + 1 < lines.size(); ++i) *boxes[i] = lines[i + 1];
    return s;
}

bool SaveDifferenceSettings(const DifferenceSettings& s)
{
    if (!QDir().mkpath(ProgramPath(QStringLiteral("Config")))) return false;
    return WriteTextLines(settingsPath(),
                          {Str(s.category), s.cost[0], s.cost[1], s.cost[2], s.duration[0], s.duration[1],
                           s.duration[2], s.volume[0], s.volume[1], s.volume[2]});
}

CheckedInput LeaveThreshold(int frame, const QString& typed)
{
    switch (frame) {
    case 0:
        return TypedSingle(typed, AMOUNT_RANGE);
    case 1:
        return TypedDuration(typed);
    default:
        return TypedPlainValDecimal(typed, COUNT_RANGE);
    }
}
