#include "render/PricesLayout.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// Ten pixels per character: widths can be read off the texts.
double TenPerCharacter(const QString &text)
{
    return 10.0 * text.size();
}

constexpr double kTab = 80.0;
constexpr double kCalorieSpacing = 30.0;

TEST(PricesLayout, MeasurementGivesTabAndSideColumns)
{
    const struct {
        const char *text;
        GroupAlignment alignment;
        double tab, left, right;
        bool hasTab;
        int block;
    } cases[] = {
        // One tab: the tab column, plus the text before the tab for right alignment...
        {"5.99^7.49", GroupAlignment::Right, 80, 40, 0, true, 120},
        // ...the text after the last tab for left alignment...
        {"5.99^7.49", GroupAlignment::Left, 80, 0, 40, true, 120},
        // ...and half of each for centre alignment.
        {"5.99^7.49", GroupAlignment::Center, 80, 20, 20, true, 120},
        // The wider of the two lines counts per column; every "^" counts in the tab column.
        {"5.99^7.49\r\n1^^12.49", GroupAlignment::Left, 160, 0, 50, true, 210},
        {"1^^12.49\r\n15.99^7.49", GroupAlignment::Right, 160, 50, 0, true, 210},
        // A calorie marker reserves the calorie spacing in place of the text behind it.
        {"5.99>250", GroupAlignment::Right, 70, 0, 0, false, 70},
        {"250<5.99", GroupAlignment::Right, 60, 0, 0, false, 60},
        // A marker in front: the spacing next to the whole line.
        {">250", GroupAlignment::Right, 70, 0, 0, false, 70},
        {"A^5.99>250", GroupAlignment::Left, 80, 0, 70, true, 150},
        {"A^>250", GroupAlignment::Left, 80, 0, 30, true, 110},
        {"9.99<A^B", GroupAlignment::Right, 80, 70, 0, true, 150},
        // Only the first two lines are drawn, so a third takes no room.
        {"1\r\n22\r\n333333333333", GroupAlignment::Left, 20, 0, 0, false, 20},
        {"", GroupAlignment::Left, 0, 0, 0, false, 0},
        // The block width is cut to whole pixels.
        {"1^2", GroupAlignment::Center, 80, 5, 5, true, 90},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const PricesMeasurement m = MeasurePrices(QString::fromUtf8(c.text), c.alignment, kTab, kCalorieSpacing,
                                                  TenPerCharacter);
        EXPECT_DOUBLE_EQ(m.tabColumn, c.tab);
        EXPECT_DOUBLE_EQ(m.leftColumn, c.left);
        EXPECT_DOUBLE_EQ(m.rightColumn, c.right);
        EXPECT_EQ(m.hasTab, c.hasTab);
        EXPECT_EQ(m.blockWidth, c.block);
    }
    // Fractions are dropped, not rounded.
    const auto fractional = [](const QString &text) { return 10.7 * text.size(); };
    EXPECT_EQ(MeasurePrices("123", GroupAlignment::Left, kTab, kCalorieSpacing, fractional).blockWidth, 32);
}

TEST(PricesLayout, AnchorIsTheXrefPointOrCentresTheBlockInTheFrame)
{
    // A cell 100 preview pixels wide shown at half size: 200 board pixels per cell.
    PricesAnchorInput in;
    in.cellX = 211.5;
    in.firstCellX = 11.5; // truncated to 11
    in.cellWidth = 100.0;
    in.scale = 0.5;
    in.xref = 0.94;
    in.xOffsetFactor = 0.25;
    in.xSizeFactor = 2.0;
    in.blockWidth = 120;
    in.digitWidth = 10.0;
    in.rightColumn = 40.0;

    // Xref cell widths right of the frame's left edge; the truncated first cell adds half a pixel.
    EXPECT_DOUBLE_EQ(PricesAnchor(in), (200.5 + 94.0) / 0.5 + 50.0);

    in.centerInStrip = true;
    // Frame centre = (200.5 / 0.5) + 50 + 200 = 651; plus half the block, less a digit: 701.
    const struct {
        GroupAlignment alignment;
        bool hasTab;
        double expected;
    } cases[] = {
        {GroupAlignment::Right, true, 701.0},
        {GroupAlignment::Left, true, 701.0 - 30.0},
        {GroupAlignment::Center, true, 701.0 - 30.0},
        {GroupAlignment::Right, false, 701.0},
        {GroupAlignment::Left, false, 701.0 - 100.0},
        {GroupAlignment::Center, false, 701.0 - 50.0},
    };
    for (const auto &c : cases) {
        in.alignment = c.alignment;
        in.hasTab = c.hasTab;
        EXPECT_DOUBLE_EQ(PricesAnchor(in), c.expected) << int(c.alignment) << " tab " << c.hasTab;
    }
}

TEST(PricesLayout, EntriesAreTakenFromTheEndOfTheLine)
{
    const struct {
        const char *line;
        QStringList entries; // in the order they are taken
    } cases[] = {
        {"1^2^3", {"3", "2", "1"}},
        // Two tab marks in a row move the entry before them one tab only.
        {"1^^2", {"2", "1"}},
        {"^^", {""}},
        {"5.99", {"5.99"}},
        {"^7", {"7"}},
    };
    for (const auto &c : cases) {
        QString line = QString::fromUtf8(c.line);
        QStringList taken;
        while (!line.isEmpty()) {
            const QString entry = LastPriceEntry(line);
            taken << entry;
            line = DropLastPriceEntry(line, int(entry.size()));
        }
        EXPECT_EQ(taken, c.entries) << c.line;
    }
}

TEST(PricesLayout, EntrySplitsIntoTextAndCaloriePart)
{
    const struct {
        const char *entry;
        const char *left, *right;
        bool rightIsCalorie, caretInRight, caretInLeft;
    } cases[] = {
        {"5.99", "", "5.99", false, false, false},
        {"5.99>250", "5.99", "250", true, false, false},
        {"250<5.99", "250", "5.99", false, false, false},
        // "<" in front: the calorie part is empty, the rest is drawn in the text colour.
        {"<5.99", "", "5.99", false, false, false},
        // ">" in front: everything is the calorie part.
        {">250", "", "250", true, false, false},
        {"5.99>", "5.99", "", true, false, false},
        // The caret marker is never drawn and tells which part it is in; the right part wins.
        {"5.9~9>250", "5.99", "250", true, false, true},
        {"5.99>25~0", "5.99", "250", true, true, false},
        {"~250<5.99~", "~250", "5.99", false, true, false},
        {"~", "", "", false, true, false},
        // A stray "<" in front of ">" is dropped and cannot pull ">" into the text.
        {"<5.99>250", "5.99", "250", true, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry);
        const PriceEntryParts parts = SplitPriceEntry(QString::fromUtf8(c.entry));
        EXPECT_EQ(parts.left, QString::fromUtf8(c.left));
        EXPECT_EQ(parts.right, QString::fromUtf8(c.right));
        EXPECT_EQ(parts.rightIsCalorie, c.rightIsCalorie);
        EXPECT_EQ(parts.caretInRight, c.caretInRight);
        EXPECT_EQ(parts.caretInLeft, c.caretInLeft);
    }
}

TEST(PricesLayout, PartsSpanTheLeftWidthPlusTheCalorieSpacing)
{
    // Anchor 500, left part 40 wide, right part 25 wide, spacing 30: the pair spans 70.
    const struct {
        GroupAlignment alignment;
        bool leftEmpty;
        double leftX, rightX;
    } cases[] = {
        {GroupAlignment::Right, false, 430, 475},
        {GroupAlignment::Right, true, 430, 475},
        {GroupAlignment::Center, false, 465, 510},
        {GroupAlignment::Center, true, 465, 487.5},
        {GroupAlignment::Left, false, 500, 545},
        {GroupAlignment::Left, true, 500, 500},
    };
    for (const auto &c : cases) {
        const double leftWidth = c.leftEmpty ? 0.0 : 40.0;
        const PricePartPositions p = PlacePriceParts(c.alignment, 500.0, leftWidth, 25.0, c.leftEmpty, 30.0);
        EXPECT_DOUBLE_EQ(p.rightX, c.rightX) << int(c.alignment) << " " << c.leftEmpty;
        if (!c.leftEmpty) {
            EXPECT_DOUBLE_EQ(p.leftX, c.leftX) << int(c.alignment);
        }
    }
}

TEST(PricesLayout, LinesEndAtCarriageReturnLineFeed)
{
    const struct {
        const char *text, *line, *rest;
        bool more;
    } cases[] = {
        {"A\r\nB\r\nC", "A", "B\r\nC", true},
        {"A", "A", "", false},
        {"A\r\n", "A", "", true},
        {"A\nB\rC", "A\nB\rC", "", false}, // a lone LF or CR is not a line break
        {"", "", "", false},
    };
    for (const auto &c : cases) {
        const LineCut cut = CutFirstLine(QString::fromUtf8(c.text));
        EXPECT_EQ(cut.line, QString::fromUtf8(c.line));
        EXPECT_EQ(cut.rest, QString::fromUtf8(c.rest));
        EXPECT_EQ(cut.moreFollows, c.more);
    }
    EXPECT_EQ(AlignmentOf(2), GroupAlignment::Right);
    EXPECT_EQ(AlignmentOf(1), GroupAlignment::Center);
    EXPECT_EQ(AlignmentOf(7), GroupAlignment::Left);
}

} // namespace
} // namespace tavrin
