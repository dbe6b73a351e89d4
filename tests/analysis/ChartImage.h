#pragma once
// The chart picture's size and resolution, for drawing tests that read pixels back.
#include <QColor>
#include <QImage>

inline QImage ChartImage()
{
    QImage image(463, 259, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi
    image.setDotsPerMeterY(3780);
    return image;
}

inline bool Is(const QImage& image, int x, int y, const QColor& color)
{
    return image.pixelColor(x, y).rgb() == color.rgb();
}
