#include "check/BoardCheck.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"
#include "samples/SampleBoards.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

namespace tavrin {
namespace {

// A 640 x 360 board of one column and four rows (cells 90 pixels high): two priced items well
// inside the safe area, in a large installed font, and a framed picture in the middle.
class BoardCheckFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        QImage background(640, 360, QImage::Format_RGB32);
        background.fill(QColor(40, 20, 10));
        ASSERT_TRUE(background.save(data.file("Background.jpg")));
        QImage picture(100, 100, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(data.file("picture.png")));
        picture.fill(QColor(255, 255, 0));
        ASSERT_TRUE(picture.save(data.file("yellow.png")));

        layout.NumberOfColumns = 1;
        layout.NumberOfRows = 4;
        item(layout.strip(0, 0), "Burger", "5.99>540");
        item(layout.strip(0, 1), "Fries", "2.49>320^3.29>490");
        Strip &framed = layout.strip(0, 2);
        framed.Picture.SubImageFileName = data.file("picture.png");
        framed.Picture.SubImageCropPercentageX = 100;
        framed.Picture.SubImageCropPercentageY = 100;
        framed.XOffsetFactor = 0.3;
        framed.XSizeFactor = 0.3;
        framed.YOffsetFactor = 0.1;
        framed.YSizeFactor = 0.8;
    }

    static void item(Strip &strip, const QString &name, const QString &prices)
    {
        strip.mainItem().Text = name;
        strip.mainItem().Font = "DejaVu Sans";
        strip.mainItem().ScaleFactor = 0.5;
        strip.mainItem().Xref = 0.1;
        strip.mainItem().Yref = 0.2;
        strip.prices().Text = prices;
        strip.prices().Font = "DejaVu Sans";
        strip.prices().ScaleFactor = 0.5;
        strip.prices().Xref = 0.85;
        strip.prices().Yref = 0.2;
        strip.prices().GroupAlignment = int(GroupAlignment::Right);
    }

    std::vector<BoardFinding> check()
    {
        BoardCheckInput input{layout, {}, false, fontInstalled};
        input.sources.backgroundName = "Background.jpg";
        input.sources.backgroundImagePath = data.file("Background.jpg");
        input.sources.workingFolder = data.path();
        return CheckBoard(input);
    }

    std::function<bool(const QString &)> fontInstalled; // fontconfig's answer when not set

    test::TempDataDir data;
    std::unique_ptr<MenuLayout> store = std::make_unique<MenuLayout>();
    MenuLayout &layout = *store;
};

TEST_F(BoardCheckFixture, FindsEachPlantedProblemAndNothingOnTheCleanBoard)
{
    {
        const std::vector<BoardFinding> clean = check();
        for (const BoardFinding &f : clean)
            ADD_FAILURE() << "clean board: " << f.text().toStdString();
    }
    const auto fries = [](MenuLayout &l) -> Strip & { return l.strip(0, 1); };
    const struct {
        const char *what;
        std::function<void(MenuLayout &)> plant;
        FindingKind kind;
        int column, row;
        QString message;
    } cases[] = {
        {"price without calories", [&](MenuLayout &l) { fries(l).prices().Text = "2.49^3.29>490"; },
         FindingKind::PriceWithoutCalories, 0, 1, "price without a calorie count: 2.49"},
        {"text past the edge", [&](MenuLayout &l) { fries(l).mainItem().Xref = -0.2; }, FindingKind::TextPastEdge, 0,
         1, "main item text runs past the board's edge"},
        {"text into another strip's", [&](MenuLayout &l) { fries(l).mainItem().Yref = -0.5; },
         FindingKind::TextOverlap, 0, 0, "main item text runs into the main item text of column 1, row 2 \"Fries\""},
        // The rule's 10.3 pixels of a 1080-line board are 3.4 on this 360-line one.
        {"small text", [&](MenuLayout &l) { fries(l).mainItem().ScaleFactor = 0.05; }, FindingKind::SmallText, 0, 1,
         "main item text's capitals are 2.4 px high on the TV, under 3.4 px"},
        {"text in the margin", [&](MenuLayout &l) { fries(l).mainItem().Xref = 0.01; },
         FindingKind::OutsideSafeArea, 0, 1, "main item text is outside the safe area"},
        {"picture in the margin", [](MenuLayout &l) { l.strip(0, 2).XOffsetFactor = 0.0; },
         FindingKind::OutsideSafeArea, 0, 2, "picture is outside the safe area"},
        {"font missing", [&](MenuLayout &l) { fries(l).prices().Font = "Tavrin No Such Face"; },
         FindingKind::FontMissing, 0, 1, "font \"Tavrin No Such Face\" is neither installed nor carried in the package"},
        {"yellow calories on a yellow picture",
         [&](MenuLayout &l) {
             Strip &s = fries(l);
             s.Picture.SubImageFileName = data.file("yellow.png");
             // The picture fills the right of the strip; the texts stay where they were.
             s.XOffsetFactor = 0.4;
             s.XSizeFactor = 0.55;
             s.mainItem().Xref -= 0.4;
             s.prices().Xref -= 0.4;
             s.prices().TextColor = kBlack;
             s.CaloriesTextColor = 0x0000CCFF; // (255, 204, 0)
         },
         FindingKind::LowContrast, 0, 1, "calorie text (#ffcc00) has a contrast of 1.4:1 with what is drawn under it, under 3.0:1"},
        {"picture missing", [this](MenuLayout &l) { l.strip(0, 2).Picture.SubImageFileName = data.file("gone.png"); },
         FindingKind::PictureMissing, 0, 2, "picture \"gone.png\" is missing from the package"},
        // What the render drew differently: a face taken for installed that another family drew,
        // a style the family lacks (DejaVu Math TeX Gyre has its upright face only), a character
        // no font has (one of the private use area).
        {"face drawn with another family",
         [&](MenuLayout &l) {
             fries(l).prices().Font = "Tavrin No Such Face";
             fontInstalled = [](const QString &) { return true; };
         },
         FindingKind::FontSubstituted, 0, 1,
         "prices text: the font \"Tavrin No Such Face\" is neither installed nor carried in the package; drawn "
         "with \"DejaVu Sans\""},
        {"style made up",
         [&](MenuLayout &l) {
             fries(l).mainItem().Font = "DejaVu Math TeX Gyre";
             fries(l).mainItem().Bold = 1;
         },
         FindingKind::StyleMadeUp, 0, 1,
         "main item text: the font \"DejaVu Math TeX Gyre\" has no bold face here or in the package; bold made "
         "from its regular face"},
        {"character no font has", [&](MenuLayout &l) { fries(l).mainItem().Text = QString::fromUtf8("Fries \uE000"); },
         FindingKind::CharacterMissing, 0, 1,
         "main item text: no font here or in the package has the character \"\uE000\" (U+E000); drawn as a box"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto clean = std::make_unique<MenuLayout>(layout);
        c.plant(layout);
        const std::vector<BoardFinding> found = check();
        *store = *clean;
        fontInstalled = {};
        ASSERT_EQ(found.size(), 1u) << (found.empty() ? "" : found.back().text().toStdString());
        EXPECT_EQ(found[0].kind, c.kind);
        EXPECT_EQ(found[0].column, c.column);
        EXPECT_EQ(found[0].row, c.row);
        EXPECT_EQ(found[0].message, c.message);
    }
}

TEST(BoardCheckRule, TheLeastTextHeightFollowsTheViewingRule)
{
    // Capitals of 7.5 arc minutes at 3 m are 6.5 mm; a 55-inch 16:9 screen is 1218 x 685 mm.
    const struct {
        int width, height;
        double pixels;
    } cases[] = {{1920, 1080, 10.32}, {3840, 2160, 20.64}, {1080, 1920, 10.32}, {1024, 768, 7.34}};
    for (const auto &c : cases)
        EXPECT_NEAR(MinimumTextHeight(c.width, c.height, {}), c.pixels, 0.01) << c.width << "x" << c.height;
    BoardCheckOptions closer;
    closer.viewingDistanceMetres = 1.5;
    EXPECT_NEAR(MinimumTextHeight(1920, 1080, closer), 5.16, 0.01);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor(255, 204, 0), QColor(255, 255, 0)), 1.41, 0.01);
}

// The shipped samples are well-made boards: the one thing to report is the combo meal's price
// without a calorie count.
TEST(BoardCheckSamples, FindOnlyThePriceWithoutCalories)
{
    EnsureGuiApplication();
    for (const samples::SampleKind kind : samples::AllSamples()) {
        SCOPED_TRACE(samples::Spec(kind).baseName);
        test::TempDataDir data;
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(kind, data.path(), *layout);
        BoardCheckInput input{*layout, {}, false, {}};
        input.sources.backgroundName = "Background.jpg";
        input.sources.backgroundImagePath = data.file("Background.jpg");
        input.sources.workingFolder = data.path();
        const std::vector<BoardFinding> findings = CheckBoard(input);
        QStringList texts;
        for (const BoardFinding &f : findings)
            texts << f.text();
        if (kind == samples::SampleKind::Portrait)
            EXPECT_EQ(texts, QStringList{});
        else
            EXPECT_EQ(texts, QStringList{"column 1, row 15 \"Combo Meal\": price without a calorie count: 3.00"});
        // The title-safe area of 5 % is one option away, and the samples' edges are in it.
        BoardCheckOptions titleSafe;
        titleSafe.safeAreaPercent = kTitleSafePercent;
        const std::vector<BoardFinding> stricter = CheckBoard(input, titleSafe);
        EXPECT_TRUE(std::any_of(stricter.begin(), stricter.end(),
                                [](const BoardFinding &f) { return f.kind == FindingKind::OutsideSafeArea; }));
    }
}

TEST_F(BoardCheckFixture, LimitsComeFromTheOptions)
{
    BoardCheckInput input{layout, {}, false, {}};
    input.sources.backgroundName = "Background.jpg";
    input.sources.backgroundImagePath = data.file("Background.jpg");
    // Capitals of 24 pixels fail a 40-pixel minimum; a 20 % margin takes in the prices and the names.
    BoardCheckOptions options;
    options.minTextHeight = 40.0;
    std::set<FindingKind> kinds;
    for (const BoardFinding &f : CheckBoard(input, options))
        kinds.insert(f.kind);
    EXPECT_EQ(kinds, std::set<FindingKind>{FindingKind::SmallText});
    options = {};
    options.safeAreaPercent = 20.0;
    kinds.clear();
    for (const BoardFinding &f : CheckBoard(input, options))
        kinds.insert(f.kind);
    EXPECT_EQ(kinds, std::set<FindingKind>{FindingKind::OutsideSafeArea});
}

// The sample boards are drawn on this machine exactly as their layouts ask: no font finding.
TEST(BoardCheckOfSamples, FindsNoFontProblem)
{
    EnsureGuiApplication();
    for (const samples::SampleKind kind : samples::AllSamples()) {
        test::TempDataDir folder;
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(kind, folder.path(), *layout);
        BoardCheckInput input{*layout, {}, false, {}};
        input.sources.backgroundName = "Background.jpg";
        input.sources.backgroundImagePath = folder.file("Background.jpg");
        input.sources.workingFolder = folder.path();
        for (const BoardFinding &f : CheckBoard(input)) {
            const bool fontFinding = f.kind == FindingKind::FontMissing || f.kind == FindingKind::FontSubstituted
                                     || f.kind == FindingKind::StyleMadeUp || f.kind == FindingKind::CharacterMissing;
            EXPECT_FALSE(fontFinding) << f.text().toStdString();
        }
    }
}

} // namespace
} // namespace tavrin
