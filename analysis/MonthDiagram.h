#pragma once
// Draws the month chart onto a 463 x 259 pixel surface: the per-day line or bar diagram and the pie with its
// legend. The values come in already computed; the window shows the returned axis captions in its labels.
#include "analysis/DaySums.h"
#include "analysis/MonthChart.h"

#include <QImage>

#include <QString>

class DrawSurface;

struct DiagramCaptions {
    QString axisX;
    QString axisY;
};

// Kinds 1-3; type 1 lines, any other type bars. The surface is cleared first.
DiagramCaptions DrawMonthDiagram(DrawSurface& surface, int kind, int type, const ChartDayValues& values);
// One sector per slot counter-clockwise from three o'clock and one legend line per slot; a month without
// connections leaves the surface empty.
DiagramCaptions DrawMonthPie(DrawSurface& surface, const PieCount& count);

// The chart window's picture: 463 x 259 white pixels at 96 dpi, so fonts in points match the original's.
QImage NewChartPicture();
// One chart of a month as the window draws it: the day values of the records passing `selection` as lines
// (type 1) or bars (type 2), or with type 3 the pie of every record of the month (the selection does not
// apply). The records are read anew.
DiagramCaptions DrawChart(DrawSurface& surface, int kind, int type, int year, int month,
                          const RecordSelection& selection);
