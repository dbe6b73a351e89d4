#pragma once
// The chart picture's size and resolution, for drawing tests that read pixels back.
#include "analysis/MonthDiagram.h"

#include <QColor>
#include <QImage>

inline QImage ChartImage()
{
    return NewChartPicture();
}

inline bool Is(const QImage& image, int x, int y, const QColor& color)
{
    return image.pixelColor(x, y).rgb() == color.rgb();
}
