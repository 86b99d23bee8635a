#include "editor/HitTests.h"
#include "document/PricesText.h"
#include "layout/StripOperations.h"

#include "SampleBoardFixture.h"

namespace tavrin {
namespace {

using test::SampleBoardFixture;

// A hand-made board of 2 x 3 cells of 100 x 50 preview pixels.
struct HandBoard {
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    HandBoard()
    {
        Strip working;
        ResetAllStrips(*layout, working, kWhite);
        layout->NumberOfColumns = 2;
        layout->NumberOfRows = 3;
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < 3; ++r)
                (*geometry)(c, r).cellRect = {float(c * 100), float(r * 50), 100.f, 50.f};
    }
    void picture(int c, int r, const QString &name, RectF32 rect)
    {
        layout->strip(c, r).Picture.SubImageFileName = name;
        (*geometry)(c, r).stripRect = rect;
    }
};

TEST(HitTests, ScanOrderAndTheSecondOneFoundRule)
{
    HandBoard board;
    // Two coloured frames overlapping at (150, 60): (1, 1) is met first from the back, (1, 0) second.
    board.layout->strip(1, 0).BackGroundColor = kWhite;
    board.layout->strip(1, 0).YSizeFactor = 2.0;
    board.layout->strip(1, 1).BackGroundColor = kBlack;
    EXPECT_EQ(FrameHitTest(*board.layout, *board.geometry, {150, 60}), (CellPosition{1, 0}));
    EXPECT_EQ(FrameHitTest(*board.layout, *board.geometry, {150, 10}), (CellPosition{1, 0}));
    EXPECT_FALSE(FrameHitTest(*board.layout, *board.geometry, {50, 10}));
    // Right and bottom edges are outside.
    EXPECT_FALSE(FrameHitTest(*board.layout, *board.geometry, {150, 100}));

    board.picture(0, 0, "C:\\Menus\\Burger_logo.png", {0, 0, 60, 40});
    board.picture(0, 2, "/m/burger.png", {0, 0, 100, 150});
    board.picture(1, 2, "/m/fries.png", {0, 0, 100, 150});
    EXPECT_EQ(PictureHitTest(*board.layout, *board.geometry, {10, 10}), (CellPosition{0, 2}));
    EXPECT_EQ(PictureHitTest(*board.layout, *board.geometry, {80, 10}), (CellPosition{0, 2}));

    (*board.geometry)(0, 1).hitBoxes[MainItemGroup] = {0, 0, 90, 20};
    (*board.geometry)(1, 0).hitBoxes[PricesGroup] = {0, 0, 90, 20};
    const auto hit = TextHitTest(*board.layout, *board.geometry, {5, 5});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->cell, (CellPosition{1, 0}));
    EXPECT_EQ(hit->group, PricesGroup);

    EXPECT_TRUE(PicksLogoFirst("C:\\Menus\\Burger_logo.png"));
    EXPECT_TRUE(PicksLogoFirst("/m/symbol1.png"));
    EXPECT_FALSE(PicksLogoFirst("/logo/burger.png"));
    EXPECT_FALSE(PicksLogoFirst("/m/Burger_LOGO.png"));
}

TEST(PricesText, EntryLinesAndParts)
{
    const auto lines = PriceEntryLines("4.99^5.99\r\n1.99<90^2.49");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][1].text, "5.99");
    EXPECT_EQ(lines[0][1].start, 5);
    EXPECT_EQ(lines[1][0].text, "1.99<90");
    EXPECT_EQ(lines[1][0].start, 11);
    EXPECT_EQ(PriceEntryLines("4.99\r\n").size(), 1u);
    EXPECT_EQ(PriceEntryPart("1.99<90", false, false), (std::pair<int, int>{5, 2}));
    EXPECT_EQ(PriceEntryPart("1.99<90", true, false), (std::pair<int, int>{0, 4}));
    EXPECT_EQ(PriceEntryPart("4.99>320", false, true), (std::pair<int, int>{5, 3}));
    EXPECT_EQ(PriceEntryPart("4.99", false, true), (std::pair<int, int>{0, 4}));
}

TEST_F(SampleBoardFixture, ClickingTextEntersTextModeWithItsControls)
{
    click(hitCentre(1, 2, MainItemGroup));
    EXPECT_EQ(editor->editMode(), EditMode::Text);
    EXPECT_EQ(editor->textCell(), (CellPosition{1, 2}));
    EXPECT_EQ(editor->selectedGroup(), MainItemGroup);
    EXPECT_EQ(controls.text(ControlId::MainItemBox), "Grilled Chicken");
    EXPECT_EQ(controls.focused, ControlId::MainItemBox);
    EXPECT_EQ(label(), "EDIT MODE:  IDLE"); // unchanged until the first keystroke
    EXPECT_TRUE(controls.isEnabled(ControlId::MoveUp));
    EXPECT_TRUE(controls.isChecked(ControlId::Micro));
    EXPECT_TRUE(controls.isChecked(ControlId::SelectedText));
    EXPECT_FALSE(controls.isEnabled(ControlId::DeletePicture));
    // Selecting is no step of the history.
    EXPECT_FALSE(editor->document().canUndo());
    EXPECT_FALSE(editor->document().isModified());

    // A click on nothing leaves Text mode with the one-blank label and selects nothing.
    const QRect area = editor->renderer().preview().previewArea;
    click(QPoint(area.x() + area.width() - 3, area.y() + area.height() - 3));
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
    EXPECT_EQ(label(), "EDIT MODE: IDLE");
    EXPECT_TRUE(controls.text(ControlId::MainItemBox).isEmpty());
    EXPECT_FALSE(controls.isEnabled(ControlId::MoveUp));
}

TEST_F(SampleBoardFixture, LogoFirstThenTextThenPicture)
{
    // The logo (1, 13) overlaps the burger picture (1, 12): its centre selects it.
    const QRectF logo = ToQRectF(geo(1, 13).stripRect), burger = ToQRectF(geo(1, 12).stripRect);
    QPoint onLogoOnly = logo.center().toPoint();
    for (int dx = 0; dx < logo.width() && RectHolds(burger, onLogoOnly); dx += 2)
        onLogoOnly = QPoint(int(logo.right()) - 1 - dx, int(logo.bottom()) - 1);
    ASSERT_FALSE(RectHolds(burger, onLogoOnly));
    click(onLogoOnly);
    EXPECT_EQ(editor->editMode(), EditMode::Picture);
    EXPECT_EQ(editor->pictureCell(), (CellPosition{1, 13}));
    EXPECT_EQ(label(), "EDIT MODE:  PICTURE");
    EXPECT_EQ(controls.text(ControlId::SizeTextGroup), "Size Picture");
    EXPECT_TRUE(controls.isVisible(ControlId::SizeWider));

    // Text of another strip over a plain picture is selected before the picture.
    const Strip &fries = strip(0, 13);
    ASSERT_FALSE(fries.Picture.SubImageFileName.isEmpty());
    adjust([&](MenuLayout &board) {
        board.strip(0, 12).mainItem().Yref = 1.2; // push the text of the strip above over the picture
    });
    const RectF32 text = geo(0, 12).hitBoxes[MainItemGroup];
    ASSERT_TRUE(RectHolds(ToQRectF(geo(0, 13).stripRect), ToQRectF(text).center()));
    click(centreOf(text));
    EXPECT_EQ(editor->editMode(), EditMode::Text);
    EXPECT_EQ(editor->textCell(), (CellPosition{0, 12}));
}

TEST_F(SampleBoardFixture, EnteringAndLeavingAPictureUnchangedLeavesTheUndoListAsItWas)
{
    click(centreOf(geo(0, 13).stripRect));
    ASSERT_EQ(editor->editMode(), EditMode::Picture);
    editor->LeaveCurrentMode();
    EXPECT_FALSE(editor->document().canUndo());
    EXPECT_FALSE(editor->document().isModified());
    EXPECT_FALSE(controls.isEnabled(ControlId::Undo));
    EXPECT_EQ(label(), "EDIT MODE:  IDLE");

    click(centreOf(geo(0, 13).stripRect));
    editor->ArrowClicked(ControlId::MoveDown, {});
    editor->LeaveCurrentMode();
    EXPECT_TRUE(editor->document().canUndo());
    EXPECT_TRUE(controls.isEnabled(ControlId::Undo));
}

TEST_F(SampleBoardFixture, EscapeEndsTheModeAndKeepsTheLabel)
{
    click(hitCentre(1, 2, MainItemGroup));
    type(MainItemGroup, "Grilled Chicken!");
    ASSERT_EQ(label(), "EDIT MODE:  TEXT");
    editor->EscapePressed();
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
    EXPECT_EQ(label(), "EDIT MODE:  TEXT");
    // The next click behaves as a click in Idle: no leaving steps, nothing more to undo than
    // the typing.
    click(hitCentre(1, 3, MainItemGroup));
    EXPECT_EQ(editor->textCell(), (CellPosition{1, 3}));
    editor->UndoCommand();
    EXPECT_EQ(strip(1, 2).mainItem().Text, "Grilled Chicken");
    EXPECT_FALSE(editor->document().canUndo());
}

TEST_F(SampleBoardFixture, LeavingTextModeAfterAMoveOfMoreThanTwoRowsRelocatesInTheSameStep)
{
    click(hitCentre(1, 2, MainItemGroup));
    const Strip before = strip(1, 2), free = strip(1, 5);
    const double offset = strip(1, 2).YOffsetFactor;
    // An edit of the selection pushes the strip 3.3 rows down: rows 3, 4 are in use, 5 is free.
    editor->ChangeBoard("Nudge", [&](MenuLayout &board) { board.strip(1, 2).YOffsetFactor = offset + 3.3; });
    ASSERT_TRUE(IsStripInUse(strip(1, 4)));
    ASSERT_FALSE(IsStripInUse(strip(1, 5)));
    editor->LeaveCurrentMode();
    EXPECT_FALSE(IsStripInUse(strip(1, 2)));
    EXPECT_EQ(strip(1, 5).mainItem().Text, "Grilled Chicken");
    EXPECT_NEAR(strip(1, 5).YOffsetFactor, offset + 0.3, 1e-9);
    // One Undo puts both cells back.
    editor->UndoCommand();
    EXPECT_EQ(strip(1, 2), before);
    EXPECT_EQ(strip(1, 5), free);
    EXPECT_FALSE(editor->document().canUndo());
}

TEST_F(SampleBoardFixture, FrameFallbackRightAfterLeavingTextMode)
{
    // A text-only strip: a click on its frame but off its text selects nothing in Idle ...
    click(hitCentre(0, 9, MainItemGroup));
    ASSERT_EQ(editor->editMode(), EditMode::Text);
    const QRectF frame = FrameRectOnPreview(editor->layout(), editor->geometry(), 0, 9);
    const QRectF text = ToQRectF(geo(0, 9).hitBoxes[MainItemGroup]).united(ToQRectF(geo(0, 9).hitBoxes[PricesGroup]));
    QPoint inFrame((frame.left() + text.left()) / 2, frame.center().y());
    if (text.left() - frame.left() < 2)
        inFrame = QPoint((ToQRectF(geo(0, 9).hitBoxes[MainItemGroup]).right() + text.right()) / 2, text.bottom() - 1);
    ASSERT_FALSE(TextHitTest(editor->layout(), editor->geometry(), inFrame));
    // ... except right after leaving Text mode on that strip.
    click(inFrame);
    EXPECT_EQ(editor->editMode(), EditMode::Background);
    EXPECT_EQ(editor->backgroundCell(), (CellPosition{0, 9}));
    click(inFrame);
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
}

TEST_F(SampleBoardFixture, PricesClickPicksTheEntryUnderIt)
{
    adjust([&](MenuLayout &board) {
        board.strip(1, 3).prices().Text = "4.99^5.99";
    });
    const StripGeometry &g = editor->geometry()(1, 3);
    const double scale = editor->renderer().preview().previewScale;
    const RectF32 box = g.hitBoxes[PricesGroup];
    const float tab = g.priceTabWidth;
    ASSERT_GT(tab, 0.f);
    const double right = box.left + box.width;
    struct Case {
        double boardPixelsFromRight;
        int selectionStart;
    } cases[] = {{tab * 0.5, 5}, {tab + 3.0, 0}};
    for (const Case &c : cases) {
        click(QPoint(int(right - c.boardPixelsFromRight * scale), int(box.top + box.height / 2)));
        ASSERT_EQ(editor->editMode(), EditMode::Text);
        const auto &state = controls.table[ControlId::PricesBox];
        EXPECT_EQ(std::min(state.selectionStart, state.selectionEnd), c.selectionStart);
        EXPECT_EQ(std::abs(state.selectionEnd - state.selectionStart), 4);
        EXPECT_EQ(controls.focused, ControlId::PricesBox);
        EXPECT_EQ(editor->activeTextBox(), PricesGroup);
        EXPECT_EQ(strip(1, 3).prices().Text.indexOf('~'), c.selectionStart);
        EXPECT_FALSE(editor->workingStrip().prices().Text.contains('~'));
        EXPECT_LT(editor->renderer().probes.digitWidthRequestX, 0.0);
        click(QPoint(2, 2)); // leave again, so the marker goes
        EXPECT_FALSE(strip(1, 3).prices().Text.contains('~'));
    }
}

} // namespace
} // namespace tavrin
