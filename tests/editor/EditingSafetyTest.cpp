// Editing changes only the strip being worked on, Undo brings back exactly the board before,
// and the enabled controls act on what is shown as selected.
#include "SampleBoardFixture.h"

#include "editor/ColourPalette.h"
#include "editor/EditingControls.h"
#include "editor/HitTests.h"
#include "layout/StripOperations.h"

namespace tavrin {
namespace {

struct EditingSafety : test::SampleBoardFixture {
    std::vector<Strip> board()
    {
        std::vector<Strip> strips;
        editor->layout().forEachBoardStrip([&](int, int, const Strip &s) { strips.push_back(s); });
        return strips;
    }
    // The cells whose strip is not as it was, as "column,row".
    std::string changedSince(const std::vector<Strip> &before)
    {
        std::string changed;
        size_t i = 0;
        editor->layout().forEachBoardStrip([&](int c, int r, const Strip &s) {
            if (i >= before.size() || !(s == before[i]))
                changed += std::to_string(c) + "," + std::to_string(r) + " ";
            ++i;
        });
        return changed;
    }
    bool boardHolds(const QString &mainText)
    {
        bool found = false;
        editor->layout().forEachBoardStrip([&](int, int, const Strip &s) { found |= s.mainItem().Text == mainText; });
        return found;
    }
    void undoAll()
    {
        while (editor->document().canUndo())
            editor->UndoCommand();
    }
    QPoint nothing()
    {
        const QRect area = editor->renderer().preview().previewArea;
        return QPoint(area.x() + area.width() - 3, area.y() + area.height() - 3);
    }
    void check(ControlId box)
    {
        controls.setChecked(box, true);
        editor->PairedCheckBoxClicked(box);
    }
    // A point on the strip's frame where no text lies.
    QPoint frameOnly(int c, int r)
    {
        const QRectF frame = FrameRectOnPreview(editor->layout(), editor->geometry(), c, r);
        for (int y = int(frame.top()) + 1; y < frame.bottom(); y += 2)
            for (int x = int(frame.left()) + 1; x < frame.right(); x += 2)
                if (!TextHitTest(editor->layout(), editor->geometry(), QPointF(x, y))
                    && FrameHitTest(editor->layout(), editor->geometry(), QPointF(x, y)) == CellPosition{c, r})
                    return QPoint(x, y);
        ADD_FAILURE() << "no free spot on the frame";
        return {};
    }
    void typeAt(int group, const QString &text, int caret)
    {
        const ControlId box = kTextBoxes[group];
        controls.setText(box, text);
        editor->TextChanged(group, caret);
    }
};

TEST_F(EditingSafety, TextPushedOverTheNextColumnNeverReplacesTheStripThere)
{
    const auto before = board();
    const Strip cheeseburger = strip(0, 2);
    click(hitCentre(1, 2, MainItemGroup));
    check(ControlId::AllText);
    check(ControlId::Macro);
    for (int i = 0; i < 30; ++i)
        editor->ArrowClicked(ControlId::MoveLeft, {});
    ASSERT_LE(strip(1, 2).XOffsetFactor, -0.998) << "the text reached the next column";
    click(nothing());
    EXPECT_TRUE(strip(0, 2) == cheeseburger);
    EXPECT_TRUE(boardHolds("Grilled Chicken"));
    undoAll();
    EXPECT_EQ(changedSince(before), "");
}

TEST_F(EditingSafety, PricesFittedIntoTheNextColumnGoOnlyIntoAFreeCellAndUndoInOneGo)
{
    for (const bool colouredNeighbour : {true, false}) {
        SetUp();
        adjust([&](MenuLayout &board) {
            board.strip(0, 5).mainItem().Text.clear();
            board.strip(0, 5).subItems().Text.clear();
        });
        if (colouredNeighbour)
            adjust([&](MenuLayout &board) {
                board.strip(1, 5).BackGroundColor = PaletteColour(5);
            });
        const auto before = board();
        const Strip neighbour = strip(1, 5);
        const QString prices = strip(0, 5).prices().Text;

        click(hitCentre(0, 5, PricesGroup));
        check(ControlId::Macro);
        bool pushedOver = false;
        for (int i = 0; i < 12 && !pushedOver; ++i) {
            editor->ArrowClicked(ControlId::MoveRight, {});
            const StripGeometry &g = geo(0, 5);
            pushedOver = !(editor->textCell() == CellPosition{0, 5})
                || g.hitBoxes[PricesGroup].left >= g.cellRect.left + g.cellRect.width;
        }
        ASSERT_TRUE(pushedOver) << colouredNeighbour;
        if (colouredNeighbour) {
            EXPECT_TRUE(strip(1, 5) == neighbour);
            EXPECT_EQ(strip(0, 5).prices().Text, prices);
        } else {
            EXPECT_EQ(strip(1, 5).prices().Text, prices);
        }
        click(nothing());
        undoAll();
        EXPECT_EQ(changedSince(before), "") << colouredNeighbour;
    }
}

TEST_F(EditingSafety, BackgroundModeShowsTheStripsOwnTexts)
{
    adjust([&](MenuLayout &board) {
        board.strip(0, 13).mainItem().Text = "Fries Deal";
    });
    editor->EnterPictureMode({0, 13});
    ASSERT_FALSE(controls.text(ControlId::MainItemBox).isEmpty());
    click(frameOnly(0, 7));
    ASSERT_EQ(editor->editMode(), EditMode::Background);
    EXPECT_EQ(controls.text(ControlId::MainItemBox), "SIDES");
    type(MainItemGroup, controls.text(ControlId::MainItemBox) + "!");
    EXPECT_EQ(strip(0, 7).mainItem().Text, "SIDES!");
    EXPECT_EQ(strip(0, 7).prices().Text, "Regular^Large");
}

TEST_F(EditingSafety, EnterTypedInsideTwoPricesLinesRemovesOnlyThatBreak)
{
    click(hitCentre(0, 1, PricesGroup));
    const QString twoLines = "5.99>540^7.49>8\r\n1.00";
    typeAt(PricesGroup, twoLines, int(twoLines.size()));
    typeAt(PricesGroup, "5.\r\n99>540^7.49>8\r\n1.00", 4);
    EXPECT_EQ(strip(0, 1).prices().Text, twoLines);
    EXPECT_EQ(controls.text(ControlId::PricesBox), twoLines);
    EXPECT_EQ(controls.table[ControlId::PricesBox].selectionStart, 2);
}

TEST_F(EditingSafety, PricesRulesHoldWhenTypingIntoASelectedPictureOrFrame)
{
    for (const bool picture : {true, false}) {
        SetUp();
        if (picture)
            editor->EnterPictureMode({0, 13});
        else
            click(frameOnly(0, 7));
        const QString typed = "1.99<5<6\\\r\n2\r\n3\r\n4";
        typeAt(PricesGroup, typed, int(typed.size()));
        const CellPosition cell = picture ? CellPosition{0, 13} : CellPosition{0, 7};
        EXPECT_EQ(strip(cell.column, cell.row).prices().Text, "1.99<56\r\n234") << picture;
        EXPECT_EQ(controls.text(ControlId::PricesBox), "1.99<56\r\n234") << picture;
    }
}

TEST_F(EditingSafety, AClickOnThePricesOutsideTheirColumnsMakesThePricesActive)
{
    adjust([&](MenuLayout &board) {
        board.strip(0, 1).prices().Text = "Market price, ask your server";
    });
    const RectF32 box = geo(0, 1).hitBoxes[PricesGroup];
    const QPoint left(int(box.left) + 1, int(box.top + box.height / 2));
    ASSERT_GT((box.width - 1) / editor->renderer().preview().previewScale, geo(0, 1).priceTabWidth);

    click(hitCentre(1, 2, MainItemGroup));
    click(left);
    ASSERT_EQ(editor->editMode(), EditMode::Text);
    ASSERT_EQ(editor->selectedGroup(), PricesGroup);
    EXPECT_EQ(editor->activeTextBox(), PricesGroup);
    EXPECT_EQ(controls.focused, ControlId::PricesBox);
    // Only the prices move up on the board.
    const double sub = geo(0, 1).hitBoxes[SubItemsGroup].top, prices = geo(0, 1).hitBoxes[PricesGroup].top;
    editor->ArrowClicked(ControlId::MoveUp, {});
    EXPECT_NEAR(geo(0, 1).hitBoxes[SubItemsGroup].top, sub, 0.01);
    EXPECT_LT(geo(0, 1).hitBoxes[PricesGroup].top, prices - 1);
}

TEST_F(EditingSafety, EscapeTakesTheCaretMarkerAndTheArrowsAway)
{
    click(hitCentre(0, 1, PricesGroup));
    ASSERT_TRUE(strip(0, 1).prices().Text.contains('~'));
    editor->EscapePressed();
    EXPECT_FALSE(strip(0, 1).prices().Text.contains('~'));
    EXPECT_FALSE(controls.isEnabled(ControlId::MoveUp));
    EXPECT_FALSE(controls.isEnabled(ControlId::LineSpacingUp));
}

TEST_F(EditingSafety, CommandsThatEndAModeLeaveNoArrowsActingOnNothing)
{
    const struct {
        const char *what;
        std::function<void(EditingSafety &)> select, command;
    } cases[] = {
        {"copy with a picture selected", [](EditingSafety &t) { t.editor->EnterPictureMode({0, 13}); },
         [](EditingSafety &t) {
             t.editor->RightButtonDown(t.hitCentre(1, 4, MainItemGroup), {});
             t.editor->RightButtonUp(t.centreOf(t.geo(1, 5).cellRect));
         }},
        {"delete picture", [](EditingSafety &t) { t.editor->EnterPictureMode({0, 13}); },
         [](EditingSafety &t) { t.editor->DeletePictureCommand(); }},
        {"delete menu item", [](EditingSafety &t) { t.editor->EnterPictureMode({0, 13}); },
         [](EditingSafety &t) { t.editor->DeleteMenuItemCommand(); }},
        {"open cancelled", [](EditingSafety &t) { t.click(t.hitCentre(1, 2, MainItemGroup)); },
         [](EditingSafety &t) { t.editor->OpenLayoutCommand(); }},
    };
    for (const auto &c : cases) {
        SetUp();
        c.select(*this);
        ASSERT_TRUE(controls.isEnabled(ControlId::MoveUp)) << c.what;
        c.command(*this);
        EXPECT_EQ(editor->editMode(), EditMode::Idle) << c.what;
        for (ControlId arrow : {ControlId::MoveUp, ControlId::MoveLeft, ControlId::SizeLarger, ControlId::SizeWider,
                                ControlId::LineSpacingUp, ControlId::TabSpacingUp})
            EXPECT_FALSE(controls.isEnabled(arrow) && controls.isVisible(arrow)) << c.what << " " << int(arrow);
        EXPECT_EQ(controls.text(ControlId::MoveTextGroup), "Move Text") << c.what;
        EXPECT_EQ(controls.text(ControlId::SizeTextGroup), "Size Text") << c.what;
        EXPECT_TRUE(controls.text(ControlId::TabSpacingReadout).isEmpty()) << c.what;
    }
}

TEST_F(EditingSafety, UndoSwitchesOnlyWhatALoadedBoardNeeds)
{
    click(hitCentre(1, 2, MainItemGroup));
    editor->UndoCommand();
    EXPECT_FALSE(controls.isEnabled(ControlId::LineSpacingUp));
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage));

    // No layout open: nothing to save, print or show.
    test::EditorSession bare(true, 1733650000, 2);
    bare.editor.UndoCommand();
    for (ControlId id : {ControlId::SaveLayoutAndTvImage, ControlId::Print, ControlId::WhitePrintFormat,
                         ControlId::DisplayVerticalGrid, ControlId::LineSpacingUp, ControlId::MoveUp})
        EXPECT_FALSE(bare.controls.isEnabled(id)) << int(id);
}

TEST_F(EditingSafety, ReadoutsSetThePaletteEntryAndAnEmptyUndoSelectsTheLastEditedGroup)
{
    click(hitCentre(1, 2, SubItemsGroup));
    EXPECT_EQ(editor->paletteEntry(), LookUpPaletteEntry(strip(1, 2).subItems().TextColor));
    ASSERT_NE(editor->paletteEntry(), kPaletteWhite);
    editor->TextBoxFocused(PricesGroup);
    EXPECT_EQ(editor->paletteEntry(), LookUpPaletteEntry(strip(1, 2).prices().TextColor));
    editor->TextBoxFocused(SubItemsGroup);

    click(nothing());
    EXPECT_EQ(editor->selectedGroup(), -1);
    undoAll();
    editor->UndoCommand();
    EXPECT_EQ(editor->selectedGroup(), SubItemsGroup);
    EXPECT_TRUE(controls.isVisible(ControlId::SubItemsActive));
}

TEST_F(EditingSafety, AStripCopiedIntoTheLastColumnLandsUnderItsNeighbours)
{
    for (const QSize window : {QSize(1280, 760), QSize(1900, 1000), QSize(800, 480)}) {
        controls.client = window;
        SetUp();
        editor->RightButtonDown(hitCentre(1, 1, MainItemGroup), {});
        editor->RightButtonUp(centreOf(geo(1, 5).cellRect));
        ASSERT_EQ(strip(1, 5).mainItem().Text, "Crispy Chicken");
        EXPECT_EQ(strip(1, 5).XOffsetFactor, strip(1, 1).XOffsetFactor) << window.width();
        EXPECT_NEAR(geo(1, 5).hitBoxes[PricesGroup].left, geo(1, 1).hitBoxes[PricesGroup].left, 0.01)
            << window.width();
    }
}

TEST_F(EditingSafety, AStripDroppedOnItselfAndKeptOnTheBoardIsUndone)
{
    adjust([&](MenuLayout &board) {
        board.strip(1, 4).XOffsetFactor = 0.3; // its frame reaches past the board's right edge
    });
    const auto before = board();
    const QPoint from = hitCentre(1, 4, MainItemGroup);
    editor->RightButtonDown(from, {});
    editor->RightButtonUp(from + QPoint(10, 0));
    ASSERT_LT(strip(1, 4).XOffsetFactor, 0.3);
    undoAll();
    EXPECT_EQ(changedSince(before), "");
}

TEST_F(EditingSafety, TextGrownPastTheBoardsEdgeTakesItsStripBackOntoTheBoard)
{
    click(hitCentre(1, 1, MainItemGroup));
    const RectF32 &first = geo(0, 0).cellRect, &last = geo(1, 15).cellRect;
    const double boardRight = last.left + last.width, boardWidth = boardRight - first.left;
    bool pastTheCell = false;
    for (int i = 0; i < 60; ++i) {
        editor->ArrowClicked(ControlId::SizeLarger, {});
        const RectF32 &main = geo(editor->textCell().column, editor->textCell().row).hitBoxes[MainItemGroup];
        if (main.width >= boardWidth)
            break;
        pastTheCell |= main.width > last.width;
        EXPECT_LE(main.left + main.width, boardRight + 0.5) << i;
        EXPECT_GE(main.left, first.left - 0.5) << i;
    }
    EXPECT_TRUE(pastTheCell);
    EXPECT_EQ(strip(1, 2).mainItem().Text, "Grilled Chicken") << "its neighbours stay as they were";
}

} // namespace
} // namespace tavrin
