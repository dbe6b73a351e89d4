#pragma once
// The floating counter window's stored place and opacity (Config/Smallwindowpos.cfg) and its opacity
// slider, without the window. Edges are in twips, as the file holds them.
#include <QString>

inline constexpr int SMALL_WINDOW_DEFAULT_OPACITY = 200;
// The slider's inner size: its right limit (x = 30) gives the smallest opacity, 3.
inline constexpr int OPACITY_SLIDER_WIDTH = 32;
inline constexpr int OPACITY_SLIDER_HEIGHT = 20;

struct SmallWindowPlace {
    double left = 0;
    double top = 0;
    int opacity = SMALL_WINDOW_DEFAULT_OPACITY; // 255 opaque
};

// Reads the file into `place` line by line: a missing file or line keeps the value given. An edge more
// than 1000 twips beyond the primary screen's size then comes back to 900 twips; negative edges stay
// (a screen left of or above the primary one), up to SMALL_WINDOW_REACH screen sizes before it.
inline constexpr double SMALL_WINDOW_REACH = 4;
void LoadSmallWindowPlace(SmallWindowPlace& place, double screenWidthTwips, double screenHeightTwips);
// Writes the three lines whole (edges as whole twips); false when the file could not be written.
bool SaveSmallWindowPlace(const SmallWindowPlace& place);

// The knob's centre for an opacity.
double OpacityKnobX(int opacity);
// The opacity of a pointer position on the slider: x is kept within 2 and the inner width - 2, the
// result within 0 and 255.
int OpacityAtSliderX(int x, int innerWidth = OPACITY_SLIDER_WIDTH);
// Systems older than the version 5 line cannot make a window translucent: the slider is hidden there.
bool OpacitySliderAvailable(const QString& winVer);
