#pragma once
// A drawing surface that draws nothing and keeps every call, so the print page's positions, texts, fonts
// and colours can be checked in millimetres.
#include "analysis/DrawSurface.h"

#include <QList>

struct SurfaceCall {
    QString op;         // "SetUnit", "Clear", "SetFont", "SetColor", "DrawText", "DrawLine", "DrawBox", ...
    QList<double> args; // coordinates (and the point size of SetFont) as passed
    QString text;       // the text of DrawText, the font name of SetFont
    QString font;       // the state when the call was made
    double points = 0;
    bool bold = false;
    QColor color;
    int page = 1;
    QString toString() const;
};

class RecordingSurface : public DrawSurface {
public:
    // Text sizes: with a character width above 0 every character is that wide and every text that high;
    // otherwise the mapped font's measures at 96 dpi.
    explicit RecordingSurface(double charWidth = 0, double textHeight = 0);

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

    QList<SurfaceCall> calls;
    int page = 1; // a test's pager counts its pages here, so each call tells its page

    QList<SurfaceCall> ops(const QString& op) const;
    // The first DrawText of exactly this text; an empty call (op empty) when there is none.
    SurfaceCall text(const QString& text) const;
    QStringList texts() const;

private:
    void add(const QString& op, const QList<double>& args, const QString& text = QString());

    double charWidth, fixedHeight;
    QString font = QStringLiteral("Terminal");
    double points = 8;
    bool bold = false;
    QColor color = Qt::black;
    double unitsPerPixel = 1.0;
};
