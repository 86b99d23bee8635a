#include "render/BoardAtOwnScale.h"
#include "document/KeptTvRotation.h"
#include "images/TvImageOutput.h"
#include "prices/PriceList.h"
#include "prices/PriceProof.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace tavrin {
namespace {

TEST(PriceList, EntriesAreSplitAsTheyAreDrawn)
{
    const struct {
        QString text;
        // line, entry, price, calories, part
        std::vector<std::tuple<int, int, QString, QString, CaloriePart>> entries;
    } cases[] = {
        {"5.99>540^7.49>720",
         {{1, 1, "5.99", "540", CaloriePart::Right}, {1, 2, "7.49", "720", CaloriePart::Right}}},
        {"540<5.99", {{1, 1, "5.99", "540", CaloriePart::Left}}},
        {"3.00", {{1, 1, "3.00", "", CaloriePart::None}}},
        {">540", {{1, 1, "", "540", CaloriePart::Right}}},
        // Empty entries between tab stops draw nothing and are not counted.
        {"^^4.00^", {{1, 1, "4.00", "", CaloriePart::None}}},
        // Only the two drawn lines count.
        {"1.99>90\r\n2.49>120\r\n9.99>999",
         {{1, 1, "1.99", "90", CaloriePart::Right}, {2, 1, "2.49", "120", CaloriePart::Right}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::vector<PriceEntry> got = PriceEntriesOfText(c.text);
        ASSERT_EQ(got.size(), c.entries.size());
        for (size_t i = 0; i < got.size(); ++i) {
            const auto &[line, entry, price, calories, part] = c.entries[i];
            EXPECT_EQ(got[i].line, line);
            EXPECT_EQ(got[i].entry, entry);
            EXPECT_EQ(got[i].price, price);
            EXPECT_EQ(got[i].calories, calories);
            EXPECT_EQ(got[i].caloriePart, part);
        }
    }
}

TEST(PriceList, CsvKeepsCommasQuotesAndLineBreaksAndNamesBadLines)
{
    PriceRow row;
    row.layout = "/boards/Menu, \"Lunch\"_LAYOUT.MARBIX";
    row.column = 1;
    row.row = 4;
    row.mainItem = " Fish, chips\r\nand \"peas\" ";
    row.price = row.priceAtExport = "1,50 €";
    row.calories = row.caloriesAtExport = "480";
    row.caloriePart = CaloriePart::Left;
    PriceRow second = row;
    second.mainItem = "Plain";
    const QByteArray csv = WritePriceListCsv({row, second});
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF" "layout,column,row,main_item,line,entry,price,calories,calorie_part"));
    // Cells are given without the blanks around them, as a spreadsheet keeps them.
    row.mainItem = row.mainItem.trimmed();

    const PriceListReading read = ReadPriceListCsv(csv);
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join("; ").toStdString();
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].layout, row.layout);
    EXPECT_EQ(read.rows[0].mainItem, row.mainItem);
    EXPECT_EQ(read.rows[0].price, row.price);
    EXPECT_EQ(read.rows[0].column, 1);
    EXPECT_EQ(read.rows[0].row, 4);
    EXPECT_EQ(read.rows[0].caloriePart, CaloriePart::Left);
    // The first row spans lines 2 and 3 of the file.
    EXPECT_EQ(read.rows[0].listLine, 2);
    EXPECT_EQ(read.rows[1].listLine, 4);

    const struct {
        QString text;
        QString error;
    } bad[] = {
        {"a,b\r\n\"open,\r\nstill open", "line 2: a quoted field is not closed"},
        {"a,b\n\"x\"y,z\n", "line 2: text after a closing quote"},
    };
    for (const auto &b : bad) {
        QString error;
        EXPECT_FALSE(ParseCsv(b.text, &error).has_value());
        EXPECT_EQ(error, b.error);
    }
    const PriceListReading long_ = ReadPriceListCsv(csv + "a,b,c,d,e,f,g,h,i,j,k,l\r\n");
    ASSERT_EQ(long_.errors.size(), 1);
    EXPECT_TRUE(long_.errors[0].startsWith("line 5: 12 cells where the header has 11")) << long_.errors[0].toStdString();
}

class PriceListOnSample : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        folder = data.file("sample");
        QDir().mkpath(folder);
        samples::BuildSample(samples::SampleKind::Landscape, folder, layout);
        sources.backgroundName = "Background.jpg";
        sources.backgroundImagePath = folder + "/Background.jpg";
        sources.workingFolder = folder;
    }
    // The board's rows as a spreadsheet program would give them back: written and read.
    std::vector<PriceRow> exported()
    {
        std::vector<PriceRow> rows;
        for (const PriceEntry &e : ExtractPriceEntries(layout))
            rows.push_back(RowForEntry("board", e));
        return ReadPriceListCsv(WritePriceListCsv(rows)).rows;
    }
    static PriceRow &rowOf(std::vector<PriceRow> &rows, const QString &item, int entry)
    {
        for (PriceRow &r : rows)
            if (r.mainItem == item && r.entry == entry)
                return r;
        ADD_FAILURE() << "no row " << item.toStdString();
        return rows.front();
    }

    test::TempDataDir data;
    QString folder;
    std::unique_ptr<MenuLayout> layoutStore = std::make_unique<MenuLayout>();
    MenuLayout &layout = *layoutStore;
    BoardSources sources;
};

TEST_F(PriceListOnSample, TwoPricesAndOneCalorieCountChangeOnlyThoseParts)
{
    const auto before = std::make_unique<MenuLayout>(layout);
    std::vector<PriceRow> rows = exported();
    rowOf(rows, "Classic Burger", 1).price = "6.19";
    rowOf(rows, "Onion Rings", 2).price = "3.89";
    rowOf(rows, "Iced Tea", 1).calories = "95";

    const PriceApplication applied = ApplyPriceRows(layout, rows);
    ASSERT_TRUE(applied.refused.isEmpty()) << applied.refused.join("; ").toStdString();
    EXPECT_EQ(applied.changes.size(), 3u);

    // The document differs in exactly those three parts; every marker and tab stop stays.
    const std::map<std::pair<int, int>, QString> expected = {
        {{0, 1}, "6.19>540^7.49>720"},
        {{0, 9}, "2.99>410^3.89>590"},
        {{1, 9}, "1.99>95^2.49>120"},
    };
    for (int c = 0; c < kMaxColumns; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            Strip want = before->strip(c, r);
            if (const auto it = expected.find({c, r}); it != expected.end())
                want.prices().Text = it->second;
            EXPECT_TRUE(layout.strip(c, r) == want) << "strip " << c << "," << r;
        }
    }

    // The TV image changes only inside the changed entries' boxes (as drawn before or after,
    // with room for the shadow and the smoothing of the glyph edges).
    const BoardAtOwnScale old = RenderBoardAtOwnScale(*before, sources, false);
    const BoardAtOwnScale now = RenderBoardAtOwnScale(layout, sources, false);
    ASSERT_FALSE(old.board.isNull());
    ASSERT_EQ(old.board.size(), now.board.size());
    std::vector<QRectF> allowed = ChangedEntryBoxes(old, *before, applied.changes);
    for (const QRectF &box : ChangedEntryBoxes(now, layout, applied.changes))
        allowed.push_back(box);
    ASSERT_EQ(allowed.size(), 6u);
    int changedPixels = 0, strayPixels = 0;
    for (int y = 0; y < old.board.height(); ++y) {
        for (int x = 0; x < old.board.width(); ++x) {
            if (old.board.pixel(x, y) == now.board.pixel(x, y))
                continue;
            ++changedPixels;
            const QPointF p(x + 0.5, y + 0.5);
            const bool inside = std::any_of(allowed.begin(), allowed.end(), [&p](const QRectF &box) {
                return box.adjusted(-6, -6, 6, 6).contains(p);
            });
            strayPixels += inside ? 0 : 1;
        }
    }
    EXPECT_GT(changedPixels, 100);
    EXPECT_EQ(strayPixels, 0);
}

TEST_F(PriceListOnSample, AStaleRowIsRefusedWithItsLineAndNothingChanges)
{
    const struct {
        const char *what;
        std::function<void(MenuLayout &)> boardChange; // made after the export
        std::function<void(std::vector<PriceRow> &)> listChange;
        QString reason;
    } cases[] = {
        {"main item renamed", [](MenuLayout &l) { l.strip(0, 1).mainItem().Text = "Big Burger"; }, nullptr,
         "the main item is now \"Big Burger\""},
        {"price changed on the board", [](MenuLayout &l) { l.strip(0, 1).prices().Text = "5.49>540^7.49>720"; },
         nullptr, "has changed since the export"},
        {"entry gone", [](MenuLayout &l) { l.strip(0, 1).prices().Text = "7.49>720"; }, nullptr,
         "line 1 has no price entry 2 now"},
        {"calorie side turned", [](MenuLayout &l) { l.strip(0, 1).prices().Text = "540<5.99^7.49>720"; }, nullptr,
         "has changed since the export"},
        {"strip off the board", nullptr, [](std::vector<PriceRow> &rows) { rows[2].column = 5; },
         "column 6, row 2 is not on the board"},
        {"markup typed into a price", nullptr, [](std::vector<PriceRow> &rows) { rows[2].price = "6^99"; },
         "may not hold"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        samples::BuildSample(samples::SampleKind::Landscape, folder, layout);
        std::vector<PriceRow> rows = exported();
        ASSERT_EQ(rows[2].mainItem, "Classic Burger");
        ASSERT_EQ(rows[3].mainItem, "Classic Burger");
        // Changes that would be fine on their own, for this strip and another.
        rows[2].price = "6.19";
        rows[3].price = "7.69";
        rowOf(rows, "Iced Tea", 1).calories = "95";
        if (c.boardChange)
            c.boardChange(layout);
        if (c.listChange)
            c.listChange(rows);
        const auto before = std::make_unique<MenuLayout>(layout);

        const PriceApplication applied = ApplyPriceRows(layout, rows);
        ASSERT_FALSE(applied.refused.isEmpty());
        EXPECT_TRUE(applied.refused[0].startsWith(QString("line %1: ").arg(rows[2].listLine)))
            << applied.refused[0].toStdString();
        EXPECT_TRUE(applied.refused.join("\n").contains(c.reason)) << applied.refused.join("\n").toStdString();
        EXPECT_TRUE(applied.changes.empty());
        for (int col = 0; col < kMaxColumns; ++col)
            for (int r = 0; r < kMaxRows; ++r)
                ASSERT_TRUE(layout.strip(col, r) == before->strip(col, r)) << "strip " << col << "," << r;
    }
}

TEST_F(PriceListOnSample, CaloriesGivenToAnEntryWithoutThemFollowAMarker)
{
    std::vector<PriceRow> rows = exported();
    PriceRow &combo = rowOf(rows, "Combo Meal", 1);
    EXPECT_EQ(combo.caloriePart, CaloriePart::None);
    combo.calories = "950";
    const PriceApplication applied = ApplyPriceRows(layout, rows);
    ASSERT_TRUE(applied.refused.isEmpty());
    EXPECT_EQ(layout.strip(0, 14).prices().Text, "3.00>950");
}

} // namespace
} // namespace tavrin

namespace tavrin {
namespace {

TEST(KeptTvRotationTest, APortraitBoardKeepsTheTurnOfItsEarlierTvImage)
{
    test::TempDataDir data;
    QImage board(90, 160, QImage::Format_RGB32);
    board.fill(Qt::darkBlue);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 90; ++x)
            board.setPixel(x, y, qRgb(250, 200, 0)); // a bright band at the top
    QImage changed = board;
    changed.setPixel(45, 100, qRgb(255, 255, 255)); // a price changed since
    for (int rotation : {1, 2}) {
        const QString path = data.file(QString("turned%1.jpg").arg(rotation));
        ASSERT_TRUE(RotateForTv(board, rotation).save(path));
        EXPECT_EQ(KeptTvRotation(changed, path), rotation);
    }
    ASSERT_TRUE(board.save(data.file("upright.jpg")));
    EXPECT_EQ(KeptTvRotation(changed, data.file("upright.jpg")), 0);
    EXPECT_EQ(KeptTvRotation(changed, data.file("none.jpg")), 0);
}

} // namespace
} // namespace tavrin
