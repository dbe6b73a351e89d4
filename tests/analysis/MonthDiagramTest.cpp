#include "analysis/DrawSurface.h"
#include "analysis/MonthDiagram.h"
#include "core/Globals.h"
#include "core/VB.h"

#include <QImage>

#include <gtest/gtest.h>

#include "ChartImage.h"

namespace {

const QColor BAR(0, 100, 180);
const QColor AXIS(64, 64, 64);
const QColor AVERAGE(0, 128, 0);

int CountColor(const QImage& image, const QRect& area, const QColor& color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Is(image, x, y, color) ? 1 : 0;
    return n;
}

// Text pixels may be blended with the white ground: they count when they lie on the way from white to the colour.
int CountTextPixels(const QImage& image, const QRect& area, const QColor& color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const int got[3] = {p.red(), p.green(), p.blue()}, want[3] = {color.red(), color.green(), color.blue()};
            double lo = 1, hi = 0;
            for (int c = 0; c < 3; ++c) {
                if (want[c] == 255)
                    continue;
                const double t = double(255 - got[c]) / (255 - want[c]);
                lo = qMin(lo, t);
                hi = qMax(hi, t);
            }
            n += lo > 0.3 && hi - lo < 0.15 ? 1 : 0;
        }
    return n;
}

// Keeps the texts with their places, so the labels can be read back.
class TextLog : public DrawSurface {
public:
    struct Text {
        double left, top;
        QString text;
    };
    QList<Text> texts;
    void SetUnit(SurfaceUnit) override {}
    void Clear() override { texts.clear(); }
    void SetFont(const QString&, double, bool) override {}
    void SetColor(const QColor&) override {}
    void DrawText(double left, double top, const QString& text) override { texts << Text{left, top, text}; }
    double TextWidth(const QString& text) override { return 6.0 * text.size(); }
    double TextHeight(const QString&) override { return 12; }
    void DrawLine(double, double, double, double, bool) override {}
    void DrawBox(double, double, double, double) override {}
    void FillBox(double, double, double, double) override {}
    void DrawSector(double, double, double, double, double) override {}
};

ChartDayValues OneDay(int day, float value)
{
    std::array<float, 32> sums{};
    sums[day] = value;
    return MakeChartDayValues(sums);
}

} // namespace

TEST(MonthDiagram, BarsAxesAndAverageMark)
{
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        const DiagramCaptions captions = DrawMonthDiagram(surface, 2, 2, OneDay(3, 99.5f));
        EXPECT_EQ(captions.axisX, "X: Tage");
    }
    // Day 3's slot starts at x 66: its bar fills x 68 to 77 from the top label down to the day axis.
    EXPECT_EQ(CountColor(image, QRect(QPoint(68, 15), QPoint(77, 235)), BAR), 10 * 221);
    EXPECT_TRUE(Is(image, 67, 100, Qt::white));
    EXPECT_TRUE(Is(image, 78, 100, Qt::white));
    EXPECT_TRUE(Is(image, 68, 14, Qt::white));
    EXPECT_TRUE(Is(image, 40, 100, AXIS));
    EXPECT_TRUE(Is(image, 39, 35, AXIS)); // value tick
    EXPECT_TRUE(Is(image, 92, 237, AXIS)); // tick at the start of day 5's slot
    EXPECT_TRUE(Is(image, 443, 235, AXIS));
    EXPECT_TRUE(Is(image, 444, 235, Qt::white));
    // The average spreads 99,50 over 31 days: 235 - 220 / 31 rounds to row 228, dotted, with the mark right of it.
    EXPECT_GT(CountColor(image, QRect(QPoint(100, 228), QPoint(444, 228)), AVERAGE), 50);
    EXPECT_EQ(CountColor(image, QRect(QPoint(41, 226), QPoint(444, 227)), AVERAGE), 0);
    EXPECT_EQ(CountColor(image, QRect(QPoint(41, 229), QPoint(444, 230)), AVERAGE), 0);
    EXPECT_GT(CountTextPixels(image, QRect(QPoint(449, 218), QPoint(462, 236)), AVERAGE), 3);
    EXPECT_EQ(CountTextPixels(image, QRect(QPoint(445, 0), QPoint(462, 210)), AVERAGE), 0);
}

TEST(MonthDiagram, LabelsAndCaptions)
{
    SetDecimalSeparator(',');
    G_Currency = "€";
    struct Case {
        int kind;
        float maximum;
        const char* top;
        const char* axisY;
    } cases[] = {{2, 99.5f, "99,50", "Y: Kosten (€)"}, {2, 100, "100", "Y: Kosten (€)"},
                 {1, 90, "1,5", "Y: Dauer (Min)"},   {1, 3600, "60", "Y: Dauer (Min)"},
                 {3, 0, "1,00", "Y: Transfer (MB)"}};
    for (const Case& c : cases) {
        TextLog log;
        const DiagramCaptions captions = DrawMonthDiagram(log, c.kind, 1, OneDay(7, c.maximum));
        EXPECT_EQ(captions.axisY, c.axisY);
        ASSERT_GE(log.texts.size(), 12 + 1 + 16);
        // Value labels end at x 35, four pixels above their tick.
        EXPECT_EQ(log.texts[0].text, c.top) << c.kind << " " << c.maximum;
        EXPECT_EQ(log.texts[0].left, 35 - 6.0 * log.texts[0].text.size());
        EXPECT_EQ(log.texts[0].top, 11);
        EXPECT_EQ(log.texts[11].top, 231);
        EXPECT_EQ(log.texts[12].text, "ø");
        EXPECT_EQ(log.texts[12].left, 449);
        // Odd days in print form: day 1 left of its slot by 2, day 11 by 6.
        EXPECT_EQ(log.texts[13].text, " 1");
        EXPECT_EQ(log.texts[13].left, 38);
        EXPECT_EQ(log.texts[13].top, 240);
        EXPECT_EQ(log.texts[18].text, " 11");
        EXPECT_EQ(log.texts[18].left, 40 + 13 * 10 - 6);
        EXPECT_EQ(log.texts.last().text, " 31");
    }
}

TEST(MonthDiagram, EmptyMonthAndLines)
{
    for (int type : {1, 2}) {
        QImage image = ChartImage();
        {
            PainterSurface surface(&image);
            DrawMonthDiagram(surface, 3, type, MakeChartDayValues(std::array<float, 32>{}));
        }
        EXPECT_EQ(CountColor(image, QRect(QPoint(0, 0), QPoint(462, 232)), BAR), 0) << type;
        EXPECT_GT(CountColor(image, QRect(QPoint(41, 228), QPoint(444, 228)), AVERAGE), 50) << type;
    }
    // A line chart: day 2's point mark centred in its slot, joined to day 1 at the axis.
    QImage image = ChartImage();
    {
        PainterSurface surface(&image);
        DrawMonthDiagram(surface, 2, 1, OneDay(2, 5));
    }
    EXPECT_TRUE(Is(image, 58, 13, BAR));
    EXPECT_TRUE(Is(image, 61, 17, BAR));
    EXPECT_TRUE(Is(image, 57, 15, Qt::white));
    EXPECT_TRUE(Is(image, 62, 15, Qt::white));
    EXPECT_TRUE(Is(image, 72, 100, Qt::white)); // no bars
    EXPECT_GT(CountColor(image, QRect(QPoint(47, 20), QPoint(59, 230)), BAR), 100);
}

TEST(MonthDiagram, PieSectorsAndLegend)
{
    PieCount count;
    for (const char* user : {"anna", "Anna", "Bert"})
        count.Add(user);
    QImage image = ChartImage();
    DiagramCaptions captions;
    {
        PainterSurface surface(&image);
        captions = DrawMonthPie(surface, count);
    }
    EXPECT_EQ(captions.axisX, "Gesamt:");
    EXPECT_EQ(captions.axisY, "3 Verbind.");
    // anna's two thirds turn counter-clockwise from three o'clock over the top; Bert's third lies lower right.
    EXPECT_TRUE(Is(image, 130, 69, QColor(0, 150, 240)));
    EXPECT_TRUE(Is(image, 160, 181, QColor(155, 235, 0)));
    EXPECT_TRUE(Is(image, 80, 180, QColor(0, 150, 240)));
    EXPECT_TRUE(Is(image, 130, 5, Qt::white));
    EXPECT_GT(CountTextPixels(image, QRect(QPoint(265, 12), QPoint(462, 23)), QColor(0, 150, 240)), 5);
    EXPECT_GT(CountTextPixels(image, QRect(QPoint(265, 24), QPoint(462, 35)), QColor(155, 235, 0)), 5);

    TextLog log;
    DrawMonthPie(log, count);
    ASSERT_EQ(log.texts.size(), 2);
    EXPECT_EQ(log.texts[0].text, "anna" + QString(21, ' ') + " (2)");
    EXPECT_EQ(log.texts[0].left, 265);
    EXPECT_EQ(log.texts[1].top, 24);

    // One slot holding everything: the whole circle; no connections: nothing drawn.
    PieCount single;
    single.Add("Bert");
    QImage whole = ChartImage();
    {
        PainterSurface surface(&whole);
        DrawMonthPie(surface, single);
    }
    for (auto [x, y] : {std::pair{250, 129}, {130, 10}, {10, 129}, {130, 248}, {200, 130}})
        EXPECT_TRUE(Is(whole, x, y, QColor(0, 150, 240))) << x << "," << y;
    QImage empty = ChartImage();
    {
        PainterSurface surface(&empty);
        EXPECT_EQ(DrawMonthPie(surface, PieCount()).axisY, "0 Verbind.");
    }
    EXPECT_EQ(CountColor(empty, empty.rect(), Qt::white), 463 * 259);
}
