#include "render/PreviewOverlays.h"

#include "render/BoardGeometry.h"

#include <QPainter>

namespace tavrin {

namespace {

QRectF EnlargedTextBox(const RectF32 &box) { return ToQRectF(box).adjusted(-4, -2, 4, 2); }

} // namespace

void DrawVerticalGrid(QPainter &painter, const PreviewGeometry &preview, const GeometryRecords &geometry,
                      int numberOfColumns)
{
    const QPen light(QColor(160, 160, 160), 1);
    const QPen dark(QColor(100, 100, 100), 1);
    const QRectF &destination = preview.previewDestination;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(light);
    painter.drawRect(destination);
    const int top = int(destination.top());
    const int bottom = int(destination.bottom());
    const int step = int(geometry(0, 0).cellRect.width);
    int x = int(destination.left() + step);
    for (int i = 1; i < numberOfColumns && i < kMaxColumns; ++i) {
        painter.setPen(light);
        painter.drawLine(x, top, x, bottom);
        painter.setPen(dark);
        painter.drawLine(x + 1, top, x + 1, bottom);
        x += step;
    }
    painter.restore();
}

void DrawMarquee(QPainter &painter, const QRectF &rect, bool thick)
{
    const double width = thick ? 3.0 : 2.0;
    const QRectF inner = rect.adjusted(2, 2, -2, -2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawRect(inner);
    QPen dashes(Qt::white, width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    dashes.setDashPattern({2, 2});
    painter.setPen(dashes);
    painter.drawRect(inner);
    painter.restore();
}

void DrawStripTextMarquees(QPainter &painter, const GeometryRecords &geometry, int column, int row)
{
    for (const RectF32 &box : geometry(column, row).hitBoxes)
        DrawMarquee(painter, EnlargedTextBox(box), false);
}

void DrawTextSelectionMarquees(QPainter &painter, const GeometryRecords &geometry, const Strip &strip,
                               int column, int row, int selectedGroup, Colour selectionColour)
{
    const StripGeometry &g = geometry(column, row);
    if (selectedGroup >= 0 && selectedGroup < kGroupCount)
        DrawMarquee(painter, EnlargedTextBox(g.hitBoxes[selectedGroup]), true);

    QRectF all;
    for (const RectF32 &box : g.hitBoxes)
        if (box.width > 0)
            all = all.isNull() ? ToQRectF(box) : all.united(ToQRectF(box));
    const bool centred = std::any_of(strip.Groups.begin(), strip.Groups.end(),
                                     [](const TextGroup &group) { return group.CenterInStrip != 0; });
    if (centred) {
        all.setLeft(g.stripRect.left);
        all.setWidth(g.stripRect.width);
    }
    DrawMarquee(painter, all, false);

    QColor translucent = ToQColor(selectionColour);
    translucent.setAlpha(128);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(translucent, 3));
    for (int group = 0; group < kGroupCount; ++group)
        if (group != selectedGroup && g.hitBoxes[group].width > 0)
            painter.drawRect(ToQRectF(g.hitBoxes[group]));
    painter.restore();
}

} // namespace tavrin
