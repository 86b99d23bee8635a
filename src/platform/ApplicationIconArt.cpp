#include "platform/ApplicationIconArt.h"

#include <QPainter>

namespace tavrin {

QImage ApplicationIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit square.
    painter.scale(size / 64.0, size / 64.0);
    painter.setBrush(QColor(30, 30, 40));
    painter.setPen(QPen(QColor(200, 160, 60), 3));
    painter.drawRoundedRect(QRectF(4, 10, 56, 40), 4, 4);
    painter.setPen(QPen(QColor(240, 240, 240), 3));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(QPointF(12, 20 + line * 10), QPointF(38, 20 + line * 10));
    painter.setPen(QPen(QColor(255, 220, 0), 3));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(QPointF(44, 20 + line * 10), QPointF(52, 20 + line * 10));
    painter.setPen(QPen(QColor(120, 120, 130), 4));
    painter.drawLine(QPointF(32, 50), QPointF(32, 60));
    painter.drawLine(QPointF(20, 60), QPointF(44, 60));
    return image;
}

} // namespace tavrin
