#include "prices/PriceProof.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tavrin {

namespace {

const QColor kOutline(255, 0, 160);

// Entries drawn on a line are counted from its end; the list counts them from the start.
int EntriesOnLine(const MenuLayout &layout, const PriceChange &change)
{
    int count = 0;
    for (const PriceEntry &e : PriceEntriesOfText(layout.strip(change.column, change.row).prices().Text))
        count += e.line == change.line ? 1 : 0;
    return count;
}

QString ChangeText(const PriceChange &c)
{
    QString text = StripLabel(c.column, c.row, c.mainItem) + QStringLiteral(", line %1 entry %2:").arg(c.line).arg(c.entry);
    if (c.oldPrice != c.newPrice)
        text += QStringLiteral("  price %1 -> %2").arg(c.oldPrice, c.newPrice);
    if (c.oldCalories != c.newCalories)
        text += QStringLiteral("  calories %1 -> %2").arg(c.oldCalories.isEmpty() ? QStringLiteral("(none)") : c.oldCalories,
                                                           c.newCalories.isEmpty() ? QStringLiteral("(none)") : c.newCalories);
    return text;
}

} // namespace

std::vector<QRectF> ChangedEntryBoxes(const BoardAtOwnScale &rendered, const MenuLayout &layout,
                                      const std::vector<PriceChange> &changes)
{
    std::vector<QRectF> boxes;
    for (const PriceChange &change : changes) {
        const int fromEnd = EntriesOnLine(layout, change) - change.entry;
        for (const DrawnPriceEntry &drawn : rendered.priceEntries)
            if (drawn.column == change.column && drawn.row == change.row && drawn.line == change.line - 1
                && drawn.fromEnd == fromEnd)
                boxes.push_back(drawn.box);
    }
    return boxes;
}

QImage PriceProofImage(const BoardAtOwnScale &rendered, const MenuLayout &layout, const std::vector<PriceChange> &changes)
{
    const QImage &board = rendered.board;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(14, board.height() / 60));
    const QFontMetrics metrics(font);
    QStringList lines{QStringLiteral("Changed price entries (%1)").arg(changes.size())};
    for (const PriceChange &c : changes)
        lines << ChangeText(c);
    int listWidth = 0;
    for (const QString &line : lines)
        listWidth = std::max(listWidth, metrics.horizontalAdvance(line));
    const int margin = metrics.height();
    const int width = board.width() + listWidth + 2 * margin;
    const int height = std::max(board.height(), int(lines.size() + 2) * metrics.height());

    QImage proof(width, height, QImage::Format_RGB32);
    proof.fill(Qt::white);
    QPainter painter(&proof);
    painter.drawImage(0, 0, board);
    painter.setPen(QPen(kOutline, std::max(3, board.height() / 360)));
    painter.setBrush(Qt::NoBrush);
    for (const QRectF &box : ChangedEntryBoxes(rendered, layout, changes))
        painter.drawRect(box.adjusted(-4, -4, 4, 4));
    painter.setFont(font);
    painter.setPen(Qt::black);
    int y = margin;
    for (const QString &line : lines) {
        painter.drawText(board.width() + margin, y + metrics.ascent(), line);
        y += metrics.height();
    }
    return proof;
}

} // namespace tavrin
