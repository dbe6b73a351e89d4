#include "recording/SmallWindowPlacement.h"

#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QtGlobal>

#include <cmath>

namespace {
const QString FILE_NAME = QStringLiteral("Smallwindowpos.cfg");

int clampOpacity(double value)
{
    if (std::isnan(value)) return SMALL_WINDOW_DEFAULT_OPACITY;
    return int(qBound(0.0, std::round(value), 255.0));
}
} // namespace

void LoadSmallWindowPlace(SmallWindowPlace& place, double screenWidthTwips, double screenHeightTwips)
{
    const QString folder = ProgramPath("Config");
    const QString found = FindFileNoCase(folder, FILE_NAME);
    if (!found.isEmpty()) {
        const LineReader f(folder + "/" + found);
        if (f.count() > 0) place.left = f.number(0);
        if (f.count() > 1) place.top = f.number(1);
        // held in a byte: a value it cannot hold is kept at its nearest end
        if (f.count() > 2) place.opacity = clampOpacity(f.number(2));
    }
    if (place.left > screenWidthTwips + 1000) place.left = 900;
    if (place.top > screenHeightTwips + 1000) place.top = 900;
    // A screen may lie left of or above the primary one, but not a damaged edge's distance away: that would
    // not even fit the window's position.
    place.left = qMax(place.left, -SMALL_WINDOW_REACH * screenWidthTwips);
    place.top = qMax(place.top, -SMALL_WINDOW_REACH * screenHeightTwips);
}

bool SaveSmallWindowPlace(const SmallWindowPlace& place)
{
    const QString folder = ProgramPath("Config");
    const QString found = FindFileNoCase(folder, FILE_NAME);
    return WriteTextLines(folder + "/" + (found.isEmpty() ? FILE_NAME : found),
                          {Str(std::round(place.left)), Str(std::round(place.top)), Str(place.opacity)});
}

double OpacityKnobX(int opacity) { return (255 - opacity) / 9.0 + 2; }

int OpacityAtSliderX(int x, int innerWidth)
{
    x = qMax(2, qMin(x, innerWidth - 2));
    return qBound(0, 255 - (x - 2) * 9, 255);
}

bool OpacitySliderAvailable(const QString& winVer)
{
    if (winVer.contains("2000") || winVer.contains("XP")) return true;
    return Val(winVer) >= 5;
}
