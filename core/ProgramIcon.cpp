#include "core/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

QImage DrawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double m = size / 16.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x5f, 0xa8));
    p.drawEllipse(QRectF(0.5 * m, 0.5 * m, 15 * m, 15 * m));
    p.setPen(QPen(Qt::white, 1.6 * m, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3 * m, 3 * m, 10 * m, 10 * m), 200 * 16, -220 * 16);
    p.setPen(QPen(QColor(0xff, 0xc8, 0x2e), 1.6 * m, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8 * m, 8.5 * m), QPointF(11 * m, 5 * m));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(8 * m, 8.5 * m), 1.3 * m, 1.3 * m);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
    return icon;
}
