#include "render/PriceLineDrawing.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <optional>

namespace tavrin {

namespace {

constexpr double kCaretPenWidth = 4.0;
const QColor kWhitePrintCalorieColour(64, 64, 64);

// Whether point lies in box, left and top edges included, right and bottom edges excluded.
bool Holds(const QRectF &box, const QPointF &point)
{
    return point.x() >= box.x() && point.x() < box.x() + box.width() && point.y() >= box.y()
        && point.y() < box.y() + box.height();
}

void OutlineCaretPart(QPainter &painter, const QRectF &box, const QColor &colour)
{
    QPen pen(colour, kCaretPenWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
}

// One part of a price entry as it is laid out: its padded box and how it is drawn.
struct PricePart {
    QString text;
    QRectF box; // padded
    bool isCalorie = false;
    bool holdsCaret = false;
    bool *hitFlag = nullptr; // the probe flag this part answers
};

} // namespace

TextAlignment ToTextAlignment(GroupAlignment alignment)
{
    switch (alignment) {
    case GroupAlignment::Center:
        return TextAlignment::Center;
    case GroupAlignment::Right:
        return TextAlignment::Far;
    case GroupAlignment::Left:
        break;
    }
    return TextAlignment::Near;
}


QRectF DrawPriceLine(RenderContext &context, QPainter &painter, const PriceLine &line)
{
    const bool whitePrint = context.options.whitePrint;
    const QColor selection = ToQColor(context.probes ? context.probes->selectionColour : kWhite);
    const QColor textPenColour = whitePrint ? QColor(Qt::black) : selection;
    const QColor calorieColour = whitePrint ? kWhitePrintCalorieColour : line.calorieColour;

    if (line.text.isEmpty() || !line.groupFont)
        return QRectF(0, 0, 0, 0);
    const TextFont &groupFont = *line.groupFont;
    // A line with a calorie marker always comes with its calorie font; the group font stands in.
    const TextFont &calorieFont = line.calorieFont ? *line.calorieFont : groupFont;
    const QRectF &T = line.textRect;
    const TextAlignment drawAlignment = ToTextAlignment(line.alignment);

    const double sp = groupFont.measure(QStringLiteral("          "), T, drawAlignment).width() / 10.0;
    const double digitWidth = groupFont.measure(QStringLiteral("0000000000"), T, drawAlignment).width() / 10.0;
    if (context.probes && context.probes->digitWidthRequestX >= 0.0)
        context.probes->cachedDigitWidth = digitWidth;

    double minX = 100000.0;
    double maxX = -100000.0;
    double anchor = line.anchor;
    QString rest = line.text;
    int fromEnd = 0;
    while (!rest.isEmpty()) {
        const QString entry = LastPriceEntry(rest);
        const PriceEntryParts split = SplitPriceEntry(entry);

        const QRectF rightMeasured = groupFont.measure(split.right, T, drawAlignment);
        const QRectF leftMeasured = groupFont.measure(split.left, T, drawAlignment);
        const PricePartPositions at = PlacePriceParts(line.alignment, anchor, leftMeasured.width(),
                                                      rightMeasured.width(), split.left.isEmpty(),
                                                      line.calorieSpacing);
        // The drawn boxes get room for the measuring margins on both sides.
        const auto padded = [sp](double x, const QRectF &measured) {
            return QRectF(x - 2.0 * sp, measured.y(), measured.width() + 3.6 * sp, measured.height());
        };

        PricePart parts[2];
        parts[0] = {split.right, padded(at.rightX, rightMeasured), split.rightIsCalorie, split.caretInRight,
                    context.probes ? &context.probes->rightPartHit : nullptr};
        parts[1] = {split.left, padded(at.leftX, leftMeasured), !split.rightIsCalorie, split.caretInLeft,
                    context.probes ? &context.probes->leftPartHit : nullptr};

        std::optional<QRectF> entryBox;
        for (const PricePart &part : parts) {
            if (part.text.isEmpty())
                continue;
            const TextFont &font = part.isCalorie ? calorieFont : groupFont;
            const auto record = [&](const QRectF &box, const QColor &colour) {
                if (context.probes && context.probes->drawnTexts)
                    context.probes->drawnTexts->push_back({line.column, line.row, PricesGroup, part.isCalorie,
                                                           line.shadowMode, part.text, font, box, drawAlignment,
                                                           colour});
            };
            if (line.shadowMode) {
                font.draw(painter, part.text, part.box.translated(line.shadowOffset, 0.0), drawAlignment,
                          line.colour, /*shadow=*/true);
                record(part.box.translated(line.shadowOffset, 0.0), line.colour);
                continue;
            }
            // The box the glyphs really cover, for the caret outline and the line's box.
            QRectF tight = part.box;
            if (line.alignment == GroupAlignment::Center)
                tight.moveLeft(tight.x() + sp);
            else if (line.alignment == GroupAlignment::Right)
                tight.moveLeft(tight.x() + 2.0 * sp);
            tight.setWidth(tight.width() - 2.0 * sp);
            tight.setHeight(tight.height() - sp / 2.0);
            minX = std::min(minX, tight.x());
            maxX = std::max(maxX, tight.x() + tight.width());
            entryBox = entryBox ? entryBox->united(tight) : tight;
            if (part.holdsCaret)
                OutlineCaretPart(painter, tight, part.isCalorie ? calorieColour : textPenColour);
            if (context.probes && part.hitFlag && context.probes->pricePoint.x() > 0.0
                && Holds(part.box, context.probes->pricePoint)) {
                *part.hitFlag = true;
                context.probes->pricePoint = QPointF(0.0, 0.0);
            }
            NoteDrawnText(context, font, line.fontName, part.text, line.column, line.row, PricesGroup);
            font.draw(painter, part.text, part.box, drawAlignment, part.isCalorie ? calorieColour : line.colour);
            record(part.box, part.isCalorie ? calorieColour : line.colour);
        }

        if (!entry.isEmpty()) {
            if (entryBox && context.probes && context.probes->drawnPriceEntries)
                context.probes->drawnPriceEntries->push_back(
                    {line.column, line.row, line.lineNumber, fromEnd, *entryBox});
            ++fromEnd;
        }
        rest = DropLastPriceEntry(rest, int(entry.size()));
        anchor -= line.tabWidth;
    }

    // A line of nothing but tab marks draws nothing and has no box.
    if (line.shadowMode || minX > maxX)
        return QRectF(0, 0, 0, 0);
    return QRectF(minX, T.y(), maxX - minX, T.height());
}

} // namespace tavrin
