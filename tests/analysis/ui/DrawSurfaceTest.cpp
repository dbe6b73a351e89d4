#include "analysis/DrawSurface.h"

#include <QFontInfo>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtMath>

#include <cmath>

#include <gtest/gtest.h>

#include "analysis/ChartImage.h"

namespace {

const QColor BAR(0, 100, 180);
const QColor AXIS(64, 64, 64);

} // namespace

TEST(DrawSurface, BoxesAndLinesCoverExactPixels)
{
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        ASSERT_TRUE(surface.isActive());
        surface.Clear();
        surface.SetColor(AXIS);
        surface.DrawLine(40, 15, 40, 235);
        surface.SetColor(BAR);
        surface.FillBox(68, 15, 77, 235);
        surface.FillBox(20, 250, 10, 250); // zero height, corners swapped
        surface.SetColor(Qt::black);
        surface.DrawBox(100, 100, 110, 105);
        surface.DrawLine(200, 50, 300, 50, true);
    }
    EXPECT_TRUE(Is(image, 68, 15, BAR));
    EXPECT_TRUE(Is(image, 77, 235, BAR));
    EXPECT_TRUE(Is(image, 72, 120, BAR));
    for (auto [x, y] : {std::pair{67, 100}, {78, 100}, {68, 14}, {68, 236}, {41, 100}, {39, 100}, {15, 249}, {15, 251}})
        EXPECT_TRUE(Is(image, x, y, Qt::white)) << x << "," << y;
    EXPECT_TRUE(Is(image, 40, 100, AXIS));
    EXPECT_TRUE(Is(image, 10, 250, BAR));
    EXPECT_TRUE(Is(image, 20, 250, BAR));
    EXPECT_TRUE(Is(image, 100, 100, Qt::black));
    EXPECT_TRUE(Is(image, 110, 105, Qt::black));
    EXPECT_TRUE(Is(image, 105, 103, Qt::white));
    int on = 0;
    for (int x = 200; x <= 300; ++x)
        on += Is(image, x, 50, Qt::black) ? 1 : 0;
    EXPECT_GT(on, 20);
    EXPECT_LT(on, 80); // dotted
    EXPECT_TRUE(Is(image, 250, 49, Qt::white));
    EXPECT_TRUE(Is(image, 250, 51, Qt::white));
}

TEST(DrawSurface, CoordinatesFarBeyondThePictureAreHeldBack)
{
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        surface.Clear();
        surface.SetColor(BAR);
        surface.FillBox(68, -3.4e38, 77, 235); // a damaged record's bar: up to the top edge
        surface.FillBox(90, 1e300, 99, std::nan(""));
    }
    EXPECT_TRUE(Is(image, 68, 0, BAR));
    EXPECT_TRUE(Is(image, 77, 235, BAR));
    EXPECT_TRUE(Is(image, 72, 236, Qt::white));
}

TEST(DrawSurface, SectorsRunCounterClockwiseFromThreeOClock)
{
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        surface.Clear();
        surface.SetColor(QColor(0, 150, 240));
        surface.DrawSector(130, 129, 120, 0, 2 * M_PI * 2 / 3);
        surface.SetColor(QColor(155, 235, 0));
        surface.DrawSector(130, 129, 120, 2 * M_PI * 2 / 3, 2 * M_PI / 3);
        surface.SetColor(Qt::red);
        surface.DrawSector(380, 60, 40, 0, 2 * M_PI); // a whole turn: the full circle
    }
    EXPECT_TRUE(Is(image, 130, 69, QColor(0, 150, 240)));
    EXPECT_TRUE(Is(image, 160, 181, QColor(155, 235, 0)));
    EXPECT_TRUE(Is(image, 5, 5, Qt::white));
    EXPECT_TRUE(Is(image, 380, 25, Qt::red));
    EXPECT_TRUE(Is(image, 360, 80, Qt::red));
    EXPECT_TRUE(Is(image, 400, 80, Qt::red));
}

TEST(DrawSurface, TextSitsBelowAndRightOfItsCorner)
{
    EXPECT_EQ(QFontInfo(SurfaceFont("Terminal", 8, false)).family(), "DejaVu Sans Mono");
    EXPECT_TRUE(QFontInfo(SurfaceFont("MS Sans Serif", 8, false)).family().contains("Sans"));
    QImage image = ChartImage();
    double width = 0, height = 0;
    {
        PainterSurface surface(&image);
        surface.Clear();
        surface.SetFont("Terminal", 8);
        surface.SetColor(QColor(128, 128, 128));
        width = surface.TextWidth("99,50");
        height = surface.TextHeight("99,50");
        EXPECT_DOUBLE_EQ(surface.TextWidth("1234"), 4 * surface.TextWidth("1"));
        surface.DrawText(20, 30, "99,50");
    }
    EXPECT_GT(width, 20);
    EXPECT_GT(height, 8); // 8 points at 96 dpi
    int inside = 0, outside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            if (!Is(image, x, y, Qt::white))
                ++(x >= 20 && y >= 30 && x < 20 + width + 1 && y < 30 + height ? inside : outside);
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
}

TEST(DrawSurface, MillimetresScaleCoordinatesButNotLineWidth)
{
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        surface.SetUnit(SurfaceUnit::Millimetres);
        surface.Clear();
        surface.SetColor(Qt::black);
        surface.FillBox(10, 10, 10, 10); // 37.8 device pixels
        surface.DrawLine(5, 20, 30, 20); // y 75.6
    }
    EXPECT_TRUE(Is(image, 38, 38, Qt::black));
    EXPECT_TRUE(Is(image, 37, 38, Qt::white));
    EXPECT_TRUE(Is(image, 39, 38, Qt::white));
    EXPECT_TRUE(Is(image, 50, 76, Qt::black));
    EXPECT_TRUE(Is(image, 50, 75, Qt::white));
    EXPECT_TRUE(Is(image, 50, 77, Qt::white));
}

TEST(DrawSurface, DrawsOnAPrinter)
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    {
        PainterSurface surface(&printer);
        ASSERT_TRUE(surface.isActive());
        surface.SetUnit(SurfaceUnit::Millimetres);
        surface.SetFont("MS Sans Serif", 10, true);
        EXPECT_NEAR(surface.TextHeight("Abc"), 4.0, 1.5); // 10 points are 3.5 mm, whatever the resolution
        surface.DrawText(20, 20, "Abc");
        surface.FillBox(20, 40, 60, 40);
    }
    EXPECT_GT(QFileInfo(dir.filePath("page.pdf")).size(), 0);
}
