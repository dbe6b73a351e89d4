#include "analysis/MonthDiagram.h"

#include "analysis/DrawSurface.h"

#include <QColor>
#include <QtMath>

namespace {

const QColor AXIS_COLOR(64, 64, 64);
const QColor LABEL_COLOR(128, 128, 128);
const QColor AVERAGE_COLOR(0, 128, 0);
const QColor DATA_COLOR(0, 100, 180);
const QString CHART_FONT = QStringLiteral("Terminal");

} // namespace

DiagramCaptions DrawMonthDiagram(DrawSurface& surface, int kind, int type, const ChartDayValues& values)
{
    surface.Clear();
    surface.SetColor(AXIS_COLOR);
    surface.SetFont(CHART_FONT, 8);

    surface.DrawLine(40, 15, 40, 235);
    const QStringList labels = ChartValueLabels(kind, values.maximum);
    for (int i = 0; i < 12; ++i) {
        const int y = 15 + 20 * i;
        surface.SetColor(AXIS_COLOR);
        surface.DrawLine(39, y, 42, y);
        surface.SetColor(LABEL_COLOR);
        surface.DrawText(35 - surface.TextWidth(labels[i]), y - 4, labels[i]);
    }

    const float averageY = ChartAverageY(values.total, values.maximum);
    surface.SetColor(AVERAGE_COLOR);
    surface.DrawLine(41, averageY, 444, averageY, true);
    surface.SetFont(QStringLiteral("MS Sans Serif"), 8);
    surface.DrawText(449, averageY - 8, QStringLiteral("ø"));
    surface.SetFont(CHART_FONT, 8);
    surface.SetColor(Qt::black);

    surface.DrawLine(40, 235, 443, 235);
    for (int d = 1; d <= 32; ++d) {
        const int x = 40 + 13 * (d - 1);
        surface.SetColor(AXIS_COLOR);
        surface.DrawLine(x, 234, x, 237);
        if (d == 32)
            break;
        surface.SetColor(LABEL_COLOR);
        const QString dayLabel = ChartDayLabel(d);
        if (!dayLabel.isEmpty())
            surface.DrawText(d < 10 ? x - 2 : x - 6, 240, dayLabel);
        surface.SetColor(DATA_COLOR);
        const float y = ChartValueY(values.value[d], values.maximum);
        if (type == 1) {
            if (d > 1)
                surface.DrawLine(x - 6.5, ChartValueY(values.value[d - 1], values.maximum), x + 6.5, y);
            surface.FillBox(x + 5, y - 2, x + 8, y + 2);
        } else {
            surface.FillBox(x + 2, y, x + 11, 235);
        }
    }
    return {QStringLiteral("X: Tage"), ChartAxisYCaption(kind)};
}

DiagramCaptions DrawMonthPie(DrawSurface& surface, const PieCount& count)
{
    surface.Clear();
    surface.SetFont(CHART_FONT, 8);
    const QList<PieSlot> pieSlots = count.Slots();
    float start = -1e-25f;
    for (int i = 0; i < pieSlots.size(); ++i) {
        surface.SetColor(GetPieColor(i));
        const float halfTurns = 2 * pieSlots[i].count / count.Total();
        const float end = start - halfTurns * 3.1415927f;
        // The surface turns counter-clockwise for a positive span; a slot holding everything is the whole circle.
        surface.DrawSector(130, 129, 120, -start, halfTurns < 2 ? double(start - end) : 2 * M_PI);
        start = end;
        surface.DrawText(265, 12 * (i + 1), PieLegendLine(pieSlots[i]));
    }
    return {QStringLiteral("Gesamt:"), PieAxisYCaption(count.Total())};
}

QImage NewChartPicture()
{
    return NewSurfacePicture(463, 259);
}

DiagramCaptions DrawChart(DrawSurface& surface, int kind, int type, int year, int month,
                          const RecordSelection& selection)
{
    if (type == 3) return DrawMonthPie(surface, CountMonthPie(year, month, kind));
    const RecordTest test = [&selection](const QString& tarifField, const QString& userField) {
        return MatchesChartFilter(tarifField, userField, selection);
    };
    return DrawMonthDiagram(surface, kind, type, MakeChartDayValues(GetMonthDaySums(year, month, kind, test)));
}
