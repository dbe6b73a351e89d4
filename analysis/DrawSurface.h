#pragma once
// Where the month charts and the print page draw: the chart window's picture, the printer, and later a
// recording for tests and the preview. Coordinates in the surface's unit, origin top left, y downwards.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

class QPaintDevice;

enum class SurfaceUnit { Pixels, Millimetres };

class DrawSurface {
public:
    virtual ~DrawSurface() = default;
    virtual void SetUnit(SurfaceUnit unit) = 0;
    virtual void Clear() = 0; // the whole surface white
    virtual void SetFont(const QString& name, double points, bool bold = false) = 0;
    virtual void SetColor(const QColor& color) = 0; // for lines, boxes, sectors and text
    virtual void DrawText(double left, double top, const QString& text) = 0;
    virtual double TextWidth(const QString& text) = 0;
    virtual double TextHeight(const QString& text) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2, bool dotted = false) = 0;
    virtual void DrawBox(double x1, double y1, double x2, double y2) = 0;
    // Both corners included; a box of zero height is a line one device pixel high.
    virtual void FillBox(double x1, double y1, double x2, double y2) = 0;
    // A filled sector from `start` turning `span` radians counter-clockwise (from three o'clock); a span of a
    // full turn or more is the whole circle without radius lines.
    virtual void DrawSector(double cx, double cy, double radius, double start, double span) = 0;
};

// The original's fonts as Linux has them: "Terminal" as DejaVu Sans Mono, "MS Sans Serif" as a sans-serif,
// "Arial" and "Small Fonts" as Liberation Sans.
QFont SurfaceFont(const QString& name, double points, bool bold);

// A white picture at 96 dpi, the original's screen resolution, so fonts in points take its pixel sizes.
QImage NewSurfacePicture(int width, int height);

// Draws with a QPainter on an image or a printer, antialiasing off so pixels are exact. Fonts are in points
// of the device; lines are one device pixel wide in every unit.
class PainterSurface : public DrawSurface {
public:
    explicit PainterSurface(QPaintDevice* device);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    bool isActive() const { return painter.isActive(); }
    QPainter& devicePainter() { return painter; } // for the printer's new page and its end

    void SetUnit(SurfaceUnit unit) override;
    void Clear() override;
    void SetFont(const QString& name, double points, bool bold = false) override;
    void SetColor(const QColor& color) override;
    void DrawText(double left, double top, const QString& text) override;
    double TextWidth(const QString& text) override;
    double TextHeight(const QString& text) override;
    void DrawLine(double x1, double y1, double x2, double y2, bool dotted = false) override;
    void DrawBox(double x1, double y1, double x2, double y2) override;
    void FillBox(double x1, double y1, double x2, double y2) override;
    void DrawSector(double cx, double cy, double radius, double start, double span) override;

private:
    int px(double v) const;
    void usePen(bool dotted);

    QPaintDevice* device;
    QPainter painter;
    double scale = 1.0; // device pixels per unit
    QColor color = Qt::black;
};
