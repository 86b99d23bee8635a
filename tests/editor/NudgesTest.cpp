#include "layout/StripOperations.h"

#include "SampleBoardFixture.h"

namespace tavrin {
namespace {

using test::SampleBoardFixture;
using Keys = Editor::ArrowKeys;

TEST_F(SampleBoardFixture, TextArrowStepsFollowKeysAndMacro)
{
    click(hitCentre(1, 2, MainItemGroup));
    struct Case {
        ControlId arrow;
        Keys keys;
        bool macro;
        double dx, dy, dScale;
    } cases[] = {
        {ControlId::MoveUp, {}, false, 0, -0.1, 0},
        {ControlId::MoveDown, {true, false}, false, 0, 1.0, 0},
        {ControlId::MoveDown, {false, true}, false, 0, 0.1, 0},
        {ControlId::MoveLeft, {}, false, -0.01, 0, 0},
        {ControlId::MoveRight, {false, true}, false, 0.001, 0, 0},
        {ControlId::MoveRight, {}, true, 0.1, 0, 0},
        {ControlId::SizeLarger, {}, false, 0, 0, 0.1},
        {ControlId::SizeLarger, {true, false}, false, 0, 0, 1.0},
        {ControlId::SizeSmaller, {true, false}, false, 0, 0, -1.0},
    };
    for (const Case &c : cases) {
        controls.setChecked(ControlId::Macro, c.macro);
        const TextGroup before = editor->workingStrip().mainItem();
        const double xBefore = before.Xref + editor->workingStrip().XOffsetFactor;
        const double yBefore = before.Yref + editor->workingStrip().YOffsetFactor;
        editor->ArrowClicked(c.arrow, c.keys);
        const Strip &after = strip(editor->textCell().column, editor->textCell().row);
        // The frame fit may move anchor and frame against each other: compare where the text is.
        EXPECT_NEAR(after.mainItem().Xref + after.XOffsetFactor - xBefore, c.dx, 1e-6) << int(c.arrow);
        EXPECT_NEAR(after.mainItem().Yref + after.YOffsetFactor - yBefore, c.dy, 1e-6) << int(c.arrow);
        EXPECT_NEAR(after.mainItem().ScaleFactor - before.ScaleFactor, c.dScale, 1e-9) << int(c.arrow);
        EXPECT_EQ(controls.focused, ControlId::MainItemBox);
    }
    EXPECT_EQ(controls.text(ControlId::SizeReadout), QString::number(strip(1, 2).mainItem().ScaleFactor, 'f', 1));
}

TEST_F(SampleBoardFixture, TextSizeStopsAtItsLimitsWithoutRedraw)
{
    // Sizes just below the largest and above the smallest, on two strips of the same height.
    adjust([](MenuLayout &board) {
        board.strip(1, 2).mainItem().ScaleFactor = 47.95;
        board.strip(1, 3).mainItem().ScaleFactor = 0.15;
    });
    click(hitCentre(1, 2, MainItemGroup));
    const double stored = strip(1, 2).mainItem().ScaleFactor;
    // At the limit the stored text is not changed (and not drawn again).
    editor->ArrowClicked(ControlId::SizeLarger, {});
    EXPECT_DOUBLE_EQ(strip(1, 2).mainItem().ScaleFactor, stored);
    click(hitCentre(1, 3, MainItemGroup));
    editor->ArrowClicked(ControlId::SizeSmaller, {});
    EXPECT_DOUBLE_EQ(editor->workingStrip().mainItem().ScaleFactor, 0.1);
}

TEST_F(SampleBoardFixture, AllTextMovesTheThreeGroups)
{
    adjust([&](MenuLayout &board) {
        board.strip(1, 2).prices().Text = "5.99";
    });
    click(hitCentre(1, 2, MainItemGroup));
    controls.setChecked(ControlId::AllText, true);
    const Strip before = strip(1, 2);
    editor->ArrowClicked(ControlId::MoveDown, {});
    const Strip &after = strip(editor->textCell().column, editor->textCell().row);
    for (int g = 0; g < kGroupCount; ++g)
        EXPECT_NEAR(after.Groups[g].Yref + after.YOffsetFactor - before.Groups[g].Yref - before.YOffsetFactor, 0.1,
                    1e-6) << g;
}

TEST_F(SampleBoardFixture, ACentredGroupBecomesPlacedOnAHorizontalMove)
{
    // The combo strip's texts are placed; centre its main item first.
    adjust([](MenuLayout &board) {
        board.strip(0, 14).mainItem().CenterInStrip = 1;
        board.strip(0, 14).mainItem().GroupAlignment = int(GroupAlignment::Left);
    });
    const Strip &s = strip(0, 14);
    click(hitCentre(0, 14, MainItemGroup));
    const double offset = s.XOffsetFactor;
    const RectF32 box = geo(0, 14).hitBoxes[MainItemGroup];
    const double w = box.width / geo(0, 14).cellRect.width;
    editor->ArrowClicked(ControlId::MoveRight, {});
    const Strip &after = strip(editor->textCell().column, editor->textCell().row);
    EXPECT_EQ(after.mainItem().CenterInStrip, 0);
    EXPECT_NEAR(after.mainItem().Xref + after.XOffsetFactor - offset, 0.5 - w / 2 + 0.01, 1e-6);
}

TEST_F(SampleBoardFixture, APictureMovedLeftStopsAtThePreviewEdge)
{
    click(centreOf(geo(0, 13).stripRect));
    ASSERT_EQ(editor->editMode(), EditMode::Picture);
    const Strip &s = strip(0, 13);
    const double cw = geo(0, 13).cellRect.width;
    const int areaLeft = editor->renderer().preview().previewArea.x();
    // The frame 3 pixels from the edge; a step of 0.1 cell is worth more than that.
    const double shift = (areaLeft + 3 - geo(0, 13).stripRect.left) / cw;
    editor->ChangeBoard("Test", [&](MenuLayout &board) { board.strip(0, 13).XOffsetFactor += shift; });
    editor->Refresh();
    ASSERT_NEAR(geo(0, 13).stripRect.left - areaLeft, 3.0, 0.01);
    editor->ArrowClicked(ControlId::MoveLeft, {true, false});
    editor->Refresh();
    EXPECT_NEAR(geo(0, 13).stripRect.left, areaLeft, 0.01);
    const double offset = s.XOffsetFactor;
    editor->ArrowClicked(ControlId::MoveLeft, {true, false});
    EXPECT_NEAR(s.XOffsetFactor, offset, 1e-4);
}

TEST_F(SampleBoardFixture, FrameStepsAndSizes)
{
    click(centreOf(geo(0, 13).stripRect));
    const Strip &s = strip(0, 13);
    struct Case {
        ControlId arrow;
        Keys keys;
        bool macro;
        double dWidth, dHeight;
    } cases[] = {
        {ControlId::SizeWider, {true, true}, true, 0.001, 0}, // Shift wins on the wider arrow
        {ControlId::SizeNarrower, {true, true}, false, -0.1, 0},
        {ControlId::SizeNarrower, {false, true}, false, -0.001, 0},
        {ControlId::SizeSmaller, {}, false, 0, -0.1},
        {ControlId::SizeSmaller, {false, false}, true, 0, -1.0},
    };
    for (const Case &c : cases) {
        controls.setChecked(ControlId::Macro, c.macro);
        const double w = s.XSizeFactor, h = s.YSizeFactor;
        editor->ArrowClicked(c.arrow, c.keys);
        EXPECT_NEAR(s.XSizeFactor - w, c.dWidth, 1e-9) << int(c.arrow);
        EXPECT_NEAR(s.YSizeFactor - h, std::max(c.dHeight, -h), 1e-9) << int(c.arrow);
    }
    editor->ChangeBoard("Test", [](MenuLayout &board) { board.strip(0, 13).YSizeFactor = 0.05; });
    editor->ArrowClicked(ControlId::SizeSmaller, {});
    EXPECT_EQ(s.YSizeFactor, 0.0);
}

TEST_F(SampleBoardFixture, TabAndCalorieSpacingKeepTheirConditions)
{
    struct Case {
        double tab, calories;
        ControlId arrow;
        double tabAfter, caloriesAfter;
    } cases[] = {
        {8.0, 5.8, ControlId::CalSpacingUp, 8.0, 5.8}, // 5.8 is not below 0.7 x 8 + 0.2
        {8.0, 5.6, ControlId::CalSpacingUp, 8.0, 5.8},
        {2.0, 1.0, ControlId::TabSpacingDown, 2.0, 1.0},
        {8.0, 5.8, ControlId::TabSpacingDown, 8.0, 5.8},
        {8.0, 3.8, ControlId::TabSpacingDown, 7.8, 3.8},
        {8.0, 2.0, ControlId::CalSpacingDown, 8.0, 2.0},
        {8.0, 3.8, ControlId::TabSpacingUp, 8.2, 3.8},
    };
    for (const Case &c : cases) {
        // The spacings as stored, then the strip selected again, which takes them.
        adjust([&](MenuLayout &board) {
            board.strip(1, 2).PriceTabSpacingFactor = c.tab;
            board.strip(1, 2).CaloriesSpacingFactor = c.calories;
        });
        click(hitCentre(1, 2, MainItemGroup));
        editor->ArrowClicked(c.arrow, {});
        EXPECT_NEAR(strip(1, 2).PriceTabSpacingFactor, c.tabAfter, 1e-9) << int(c.arrow) << " " << c.tab;
        EXPECT_NEAR(strip(1, 2).CaloriesSpacingFactor, c.caloriesAfter, 1e-9) << int(c.arrow) << " " << c.calories;
        if (c.arrow == ControlId::CalSpacingUp) {
            EXPECT_EQ(editor->document().isModified(), c.caloriesAfter != c.calories);
        }
    }
    EXPECT_EQ(controls.text(ControlId::TabSpacingReadout), "8.2");
}

} // namespace
} // namespace tavrin
