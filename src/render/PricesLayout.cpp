#include "render/PricesLayout.h"

#include <algorithm>

namespace tavrin {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
constexpr QChar kTab = u'^';
constexpr QChar kCaloriesRight = u'>'; // the text right of it is the calorie count
constexpr QChar kCaloriesLeft = u'<';  // the text left of it is the calorie count
constexpr QChar kCaret = u'~';

// Position of the first calorie marker of either kind, -1 when there is none.
qsizetype FirstCalorieMarker(const QString &text)
{
    const qsizetype right = text.indexOf(kCaloriesRight);
    const qsizetype left = text.indexOf(kCaloriesLeft);
    if (right < 0)
        return left;
    if (left < 0)
        return right;
    return std::min(left, right);
}

// Width a tab stop reserves for the text on one side of it: up to its calorie marker plus the
// calorie spacing, or the whole text when it has no marker.
double ColumnPartWidth(const QString &text, double calorieSpacing, const MeasureWidth &width)
{
    const qsizetype k = FirstCalorieMarker(text);
    if (k < 0)
        return width(text);
    return calorieSpacing + width(text.left(k));
}

// The tabbed width of one line.
double TabbedWidth(const QString &line, double tabWidth, double calorieSpacing, const MeasureWidth &width)
{
    if (line.contains(kTab))
        return line.count(kTab) * tabWidth;
    const qsizetype k = FirstCalorieMarker(line);
    if (k < 0)
        return width(line);
    // A marker in front reserves the spacing next to the whole line.
    return calorieSpacing + width(k == 0 ? line : line.left(k));
}

} // namespace

GroupAlignment AlignmentOf(int groupAlignment)
{
    switch (groupAlignment) {
    case 1:
        return GroupAlignment::Center;
    case 2:
        return GroupAlignment::Right;
    default:
        return GroupAlignment::Left;
    }
}

LineCut CutFirstLine(const QString &text)
{
    LineCut cut;
    const qsizetype end = text.indexOf(kLineBreak);
    if (end < 0) {
        cut.line = text;
        return cut;
    }
    cut.line = text.left(end);
    cut.rest = text.mid(end + kLineBreak.size());
    cut.moreFollows = true;
    return cut;
}

QStringList SplitLines(const QString &text)
{
    return text.split(kLineBreak);
}

PricesMeasurement MeasurePrices(const QString &text, GroupAlignment alignment, double tabWidth,
                                double calorieSpacing, const MeasureWidth &width)
{
    // Only the first two lines are ever drawn, so a third line takes no room either.
    const LineCut first = CutFirstLine(text);
    const QString lines[2] = {first.line, CutFirstLine(first.rest).line};

    PricesMeasurement m;
    for (const QString &line : lines) {
        const bool tabbed = line.contains(kTab);
        m.hasTab = m.hasTab || tabbed;
        m.tabColumn = std::max(m.tabColumn, TabbedWidth(line, tabWidth, calorieSpacing, width));
        if (!tabbed)
            continue;
        const double halving = alignment == GroupAlignment::Center ? 0.5 : 1.0;
        if (alignment != GroupAlignment::Right) {
            const QString after = line.mid(line.lastIndexOf(kTab) + 1);
            m.rightColumn = std::max(m.rightColumn, halving * ColumnPartWidth(after, calorieSpacing, width));
        }
        if (alignment != GroupAlignment::Left) {
            const QString before = line.left(line.indexOf(kTab));
            m.leftColumn = std::max(m.leftColumn, halving * ColumnPartWidth(before, calorieSpacing, width));
        }
    }
    m.blockWidth = int(m.tabColumn + m.leftColumn + m.rightColumn);
    return m;
}

double PricesAnchor(const PricesAnchorInput &in)
{
    const double s = in.scale;
    const double x0 = double(int(in.firstCellX));
    if (!in.centerInStrip)
        return ((in.cellX - x0) + in.cellWidth * in.xref) / s + in.cellWidth * in.xOffsetFactor / s;

    // The frame's centre, plus half the block, less one digit.
    double a = (in.cellX - x0) / s + in.cellWidth * in.xOffsetFactor / s + in.cellWidth * in.xSizeFactor / 2.0 / s
        + in.blockWidth / 2.0 - in.digitWidth;
    if (in.hasTab) {
        if (in.alignment != GroupAlignment::Right)
            a -= 0.75 * in.rightColumn;
    } else if (in.alignment == GroupAlignment::Left) {
        a -= in.blockWidth - 2.0 * in.digitWidth;
    } else if (in.alignment == GroupAlignment::Center) {
        a -= (in.blockWidth - 2.0 * in.digitWidth) / 2.0;
    }
    return a;
}

QString LastPriceEntry(const QString &line)
{
    return line.mid(line.lastIndexOf(kTab) + 1);
}

QString DropLastPriceEntry(const QString &line, int entryLength)
{
    QString rest = line.left(std::max<qsizetype>(0, line.size() - entryLength));
    while (rest.endsWith(kTab))
        rest.chop(1);
    return rest;
}

PriceEntryParts SplitPriceEntry(const QString &entry)
{
    PriceEntryParts parts;
    if (entry.contains(kCaloriesRight)) {
        // The position of ">" is taken once the "<" are gone, so that a stray "<" in front of
        // it cannot push the marker itself into the drawn text.
        QString text = entry;
        text.remove(kCaloriesLeft);
        const qsizetype k = text.indexOf(kCaloriesRight);
        parts.left = text.left(k);
        parts.right = text.mid(k + 1);
        parts.rightIsCalorie = true;
    } else {
        const qsizetype k = entry.indexOf(kCaloriesLeft);
        parts.left = k < 0 ? QString() : entry.left(k);
        parts.right = entry.mid(k + 1); // the whole entry when k is -1
        parts.rightIsCalorie = false;
    }
    if (parts.right.contains(kCaret)) {
        parts.right.remove(kCaret);
        parts.caretInRight = true;
    } else if (parts.left.contains(kCaret)) {
        parts.left.remove(kCaret);
        parts.caretInLeft = true;
    }
    return parts;
}

PricePartPositions PlacePriceParts(GroupAlignment alignment, double anchor, double leftWidth, double rightWidth,
                                   bool leftIsEmpty, double calorieSpacing)
{
    const double t = leftWidth + calorieSpacing;
    PricePartPositions p;
    switch (alignment) {
    case GroupAlignment::Right:
        p.rightX = anchor - rightWidth;
        p.leftX = anchor - t;
        break;
    case GroupAlignment::Center:
        p.rightX = leftIsEmpty ? anchor - rightWidth / 2.0 : anchor + t / 2.0 - rightWidth;
        p.leftX = anchor - t / 2.0;
        break;
    case GroupAlignment::Left:
        p.rightX = leftIsEmpty ? anchor : anchor + t - rightWidth;
        p.leftX = anchor;
        break;
    }
    return p;
}

} // namespace tavrin
