#include "analysis/DrawSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QtMath>
#include <algorithm>
#include <cmath>

QImage NewSurfacePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

QFont SurfaceFont(const QString& name, double points, bool bold)
{
    QFont font;
    if (name.compare(QLatin1String("Terminal"), Qt::CaseInsensitive) == 0) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
    } else if (name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
        font.setFamily(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
    } else if (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0
               || name.compare(QLatin1String("Small Fonts"), Qt::CaseInsensitive) == 0) {
        // Liberation Sans has Arial's widths, so the print page's texts fit their columns as planned; the
        // small bitmap face of the axis labels has no Linux twin and takes the same one.
        font.setFamily(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(name);
    }
    font.setPointSizeF(points > 0 ? points : 8);
    font.setBold(bold);
    return font;
}

PainterSurface::PainterSurface(QPaintDevice* device) : device(device)
{
    painter.begin(device);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(SurfaceFont(QStringLiteral("Terminal"), 8, false));
    usePen(false);
}

PainterSurface::~PainterSurface()
{
    if (painter.isActive())
        painter.end();
}

void PainterSurface::SetUnit(SurfaceUnit unit)
{
    scale = unit == SurfaceUnit::Millimetres ? device->logicalDpiX() / 25.4 : 1.0;
}

int PainterSurface::px(double v) const
{
    // A damaged record's bar may reach far beyond the device: it is held where the painter's own arithmetic
    // on the coordinate cannot overflow, which no page or picture comes near.
    constexpr double reach = 1 << 24;
    const double p = std::floor(v * scale + 0.5);
    return std::isnan(p) ? 0 : int(std::clamp(p, -reach, reach));
}

void PainterSurface::usePen(bool dotted)
{
    QPen pen(color, 0, dotted ? Qt::DotLine : Qt::SolidLine); // width 0: cosmetic, one device pixel
    painter.setPen(pen);
}

void PainterSurface::Clear()
{
    painter.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);
}

void PainterSurface::SetFont(const QString& name, double points, bool bold)
{
    // Point sizes follow the device's resolution, so the printed text has its size on paper.
    painter.setFont(QFont(SurfaceFont(name, points, bold), device));
}

void PainterSurface::SetColor(const QColor& c)
{
    color = c;
    usePen(false);
}

void PainterSurface::DrawText(double left, double top, const QString& text)
{
    const QFontMetricsF metrics(painter.font(), device);
    painter.setPen(QPen(color, 0));
    painter.drawText(QPointF(px(left), px(top) + metrics.ascent()), text);
}

double PainterSurface::TextWidth(const QString& text)
{
    return QFontMetricsF(painter.font(), device).horizontalAdvance(text) / scale;
}

double PainterSurface::TextHeight(const QString&)
{
    return QFontMetricsF(painter.font(), device).height() / scale;
}

void PainterSurface::DrawLine(double x1, double y1, double x2, double y2, bool dotted)
{
    usePen(dotted);
    painter.drawLine(QPoint(px(x1), px(y1)), QPoint(px(x2), px(y2)));
    usePen(false);
}

void PainterSurface::DrawBox(double x1, double y1, double x2, double y2)
{
    usePen(false);
    const QPoint a(px(x1), px(y1)), b(px(x2), px(y2));
    painter.drawLine(a.x(), a.y(), b.x(), a.y());
    painter.drawLine(b.x(), a.y(), b.x(), b.y());
    painter.drawLine(b.x(), b.y(), a.x(), b.y());
    painter.drawLine(a.x(), b.y(), a.x(), a.y());
}

void PainterSurface::FillBox(double x1, double y1, double x2, double y2)
{
    const int l = px(qMin(x1, x2)), r = px(qMax(x1, x2)), t = px(qMin(y1, y2)), b = px(qMax(y1, y2));
    painter.fillRect(QRect(QPoint(l, t), QPoint(r, b)), color);
}

void PainterSurface::DrawSector(double cx, double cy, double radius, double start, double span)
{
    const int r = px(radius);
    const QRect bounds(px(cx) - r, px(cy) - r, 2 * r + 1, 2 * r + 1);
    usePen(false);
    painter.setBrush(color);
    if (std::abs(span) >= 2 * M_PI - 1e-6)
        painter.drawEllipse(bounds);
    else
        painter.drawPie(bounds, int(std::lround(qRadiansToDegrees(start) * 16)),
                        int(std::lround(qRadiansToDegrees(span) * 16)));
    painter.setBrush(Qt::NoBrush);
}
