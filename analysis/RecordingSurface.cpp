#include "analysis/RecordingSurface.h"

#include <QFontMetricsF>
#include <QImage>

namespace {
// Text is measured as on the preview's 96-dpi picture.
const QImage& measuringDevice()
{
    static const QImage image = NewSurfacePicture(1, 1);
    return image;
}
} // namespace

QString SurfaceCall::toString() const
{
    QStringList parts{op};
    for (double a : args)
        parts << QString::number(a);
    if (!text.isNull()) parts << QLatin1Char('"') + text + QLatin1Char('"');
    return parts.join(QLatin1Char(' '));
}

RecordingSurface::RecordingSurface(double charWidth, double textHeight) : charWidth(charWidth), fixedHeight(textHeight)
{
}

void RecordingSurface::add(const QString& op, const QList<double>& args, const QString& text)
{
    calls.append({op, args, text, font, points, bold, color, page});
}

void RecordingSurface::SetUnit(SurfaceUnit unit)
{
    unitsPerPixel = unit == SurfaceUnit::Millimetres ? 25.4 / 96 : 1.0;
    add(QStringLiteral("SetUnit"), {unit == SurfaceUnit::Millimetres ? 1.0 : 0.0});
}

void RecordingSurface::Clear()
{
    add(QStringLiteral("Clear"), {});
}

void RecordingSurface::SetFont(const QString& name, double size, bool isBold)
{
    font = name;
    points = size;
    bold = isBold;
    add(QStringLiteral("SetFont"), {size}, name);
}

void RecordingSurface::SetColor(const QColor& c)
{
    color = c;
    add(QStringLiteral("SetColor"), {double(c.red()), double(c.green()), double(c.blue())});
}

void RecordingSurface::DrawText(double left, double top, const QString& text)
{
    add(QStringLiteral("DrawText"), {left, top}, text);
}

double RecordingSurface::TextWidth(const QString& text)
{
    if (charWidth > 0) return charWidth * double(text.size());
    const QFont f(SurfaceFont(font, points, bold), &measuringDevice());
    return QFontMetricsF(f, &measuringDevice()).horizontalAdvance(text) * unitsPerPixel;
}

double RecordingSurface::TextHeight(const QString&)
{
    if (charWidth > 0) return fixedHeight;
    const QFont f(SurfaceFont(font, points, bold), &measuringDevice());
    return QFontMetricsF(f, &measuringDevice()).height() * unitsPerPixel;
}

void RecordingSurface::DrawLine(double x1, double y1, double x2, double y2, bool dotted)
{
    add(dotted ? QStringLiteral("DrawDottedLine") : QStringLiteral("DrawLine"), {x1, y1, x2, y2});
}

void RecordingSurface::DrawBox(double x1, double y1, double x2, double y2)
{
    add(QStringLiteral("DrawBox"), {x1, y1, x2, y2});
}

void RecordingSurface::FillBox(double x1, double y1, double x2, double y2)
{
    add(QStringLiteral("FillBox"), {x1, y1, x2, y2});
}

void RecordingSurface::DrawSector(double cx, double cy, double radius, double start, double span)
{
    add(QStringLiteral("DrawSector"), {cx, cy, radius, start, span});
}

QList<SurfaceCall> RecordingSurface::ops(const QString& op) const
{
    QList<SurfaceCall> out;
    for (const SurfaceCall& c : calls)
        if (c.op == op) out.append(c);
    return out;
}

SurfaceCall RecordingSurface::text(const QString& wanted) const
{
    for (const SurfaceCall& c : calls)
        if (c.op == QLatin1String("DrawText") && c.text == wanted) return c;
    return {};
}

QStringList RecordingSurface::texts() const
{
    QStringList out;
    for (const SurfaceCall& c : calls)
        if (c.op == QLatin1String("DrawText")) out << c.text;
    return out;
}
