#include "SampleBoardFixture.h"

#include "layout/StripOperations.h"

#include <QFile>

namespace tavrin {
namespace {

struct StripCommandsTest : test::SampleBoardFixture {
    QPoint cellCentre(int c, int r) { return centreOf(geo(c, r).cellRect); }
    void drag(QPoint from, QPoint to, bool alt = false)
    {
        editor->RightButtonDown(from, {alt, false});
        editor->RightButtonUp(to);
    }
};

TEST_F(StripCommandsTest, CopyOntoAnEmptyCellKeepsTheSourceAndTakesTheTargetsVerticalOffset)
{
    adjust([&](MenuLayout &board) {
        board.strip(1, 4).XOffsetFactor = -0.01;
        board.strip(1, 5).YOffsetFactor = 0.1; // an unused cell with an offset of its own
    });
    const Strip source = strip(1, 4);
    drag(hitCentre(1, 4, MainItemGroup), cellCentre(1, 5));
    EXPECT_EQ(strip(1, 5).mainItem().Text, "Buffalo Wrap");
    EXPECT_EQ(strip(1, 5).XOffsetFactor, -0.01);
    EXPECT_EQ(strip(1, 5).YOffsetFactor, 0.1);
    EXPECT_EQ(strip(1, 4), source);
    EXPECT_EQ(label(), "EDIT MODE:  IDLE");
    EXPECT_TRUE(controls.isEnabled(ControlId::Undo));
}

TEST_F(StripCommandsTest, MoveWithAltEmptiesTheSourceAndOneUndoRestoresBoth)
{
    const Strip source = strip(1, 4);
    const Strip target = strip(1, 5);
    drag(hitCentre(1, 4, MainItemGroup), cellCentre(1, 5), /*alt=*/true);
    EXPECT_EQ(strip(1, 5).mainItem().Text, "Buffalo Wrap");
    EXPECT_FALSE(IsStripInUse(strip(1, 4)));
    editor->UndoCommand();
    EXPECT_EQ(strip(1, 4), source);
    EXPECT_EQ(strip(1, 5), target);
    EXPECT_FALSE(controls.isEnabled(ControlId::Undo));
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage)) << "saving stays possible after an undo";
}

TEST_F(StripCommandsTest, DropOnAStripInUseLandsInTheFirstFreeCellBelow)
{
    drag(hitCentre(1, 4, MainItemGroup), hitCentre(1, 1, MainItemGroup));
    EXPECT_EQ(strip(1, 1).mainItem().Text, "Crispy Chicken");
    EXPECT_EQ(strip(1, 5).mainItem().Text, "Buffalo Wrap");

    // Column 0 is full down to its second-last row: nothing moves.
    const Strip combo = strip(0, 14);
    const Strip last = strip(0, 15);
    drag(hitCentre(1, 2, MainItemGroup), hitCentre(0, 14, MainItemGroup));
    EXPECT_EQ(strip(0, 14), combo);
    EXPECT_EQ(strip(0, 15), last);
}

TEST_F(StripCommandsTest, ACopiedPictureGetsAFileOfItsOwnWithItsProxy)
{
    const QString burger = strip(1, 12).Picture.SubImageFileName;
    const QString proxy = QString(burger).replace(".jpg", "_Proxy.jpg");
    QFile::copy(burger, proxy);
    const QRectF picture = ToQRectF(geo(1, 12).stripRect);
    const QPoint onBurger(int(picture.right() - 10), int(picture.bottom() - 10));

    drag(onBurger, cellCentre(0, 15));
    const QString copy = QString(burger).replace("burger.jpg", "burger(1).jpg");
    EXPECT_EQ(strip(0, 15).Picture.SubImageFileName, copy);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_TRUE(QFile::exists(QString(copy).replace(".jpg", "_Proxy.jpg")));

    editor->UndoCommand();
    drag(onBurger, cellCentre(0, 15));
    EXPECT_EQ(strip(0, 15).Picture.SubImageFileName, QString(burger).replace("burger.jpg", "burger(2).jpg"));
}

TEST_F(StripCommandsTest, ARightClickWithoutMovingChangesNoStrip)
{
    const Strip before = strip(0, 3);
    editor->document().markSaved();
    drag(hitCentre(0, 3, MainItemGroup), hitCentre(0, 3, MainItemGroup) + QPoint(3, -4));
    EXPECT_EQ(strip(0, 3), before);
    EXPECT_FALSE(IsStripInUse(strip(0, 15)));
    EXPECT_FALSE(editor->document().isModified()) << "nothing changed, so nothing is unsaved";
    EXPECT_EQ(label(), "EDIT MODE:  IDLE");
}

TEST_F(StripCommandsTest, ACopyThatWouldStickOutOfTheBoardIsShiftedInside)
{
    adjust([&](MenuLayout &board) {
        board.strip(0, 4).XOffsetFactor = 0.6; // half over column 1 already
    });
    drag(hitCentre(0, 4, MainItemGroup), cellCentre(1, 5));
    const QRectF frame = FrameRectOnPreview(editor->layout(), editor->geometry(), 1, 5);
    const RectF32 &lastCell = geo(1, 15).cellRect; // the board ends where its cells end
    EXPECT_LT(strip(1, 5).XOffsetFactor, 0.6);
    EXPECT_LE(frame.right(), lastCell.left + lastCell.width + 0.5);
}

TEST_F(StripCommandsTest, UndoWithAnEmptyListChangesNothing)
{
    auto before = std::make_unique<MenuLayout>(editor->layout());
    editor->UndoCommand();
    editor->layout().forEachBoardStrip([&](int c, int r, const Strip &s) { EXPECT_EQ(s, before->strip(c, r)); });
    EXPECT_FALSE(controls.isEnabled(ControlId::Undo));
}

TEST_F(StripCommandsTest, DeletesComeBackWithUndo)
{
    const Strip burger = strip(1, 12);
    editor->EnterPictureMode({1, 12});
    editor->DeletePictureCommand();
    EXPECT_TRUE(strip(1, 12).Picture.SubImageFileName.isEmpty());
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
    editor->UndoCommand();
    EXPECT_EQ(strip(1, 12).Picture.SubImageFileName, burger.Picture.SubImageFileName);

    const Strip item = strip(0, 2);
    click(hitCentre(0, 2, MainItemGroup));
    ASSERT_EQ(editor->editMode(), EditMode::Text);
    editor->DeleteMenuItemCommand();
    EXPECT_FALSE(IsStripInUse(strip(0, 2)));
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_FALSE(controls.isEnabled(ControlId::DeleteMenuItem));
    editor->UndoCommand();
    EXPECT_EQ(strip(0, 2).mainItem().Text, item.mainItem().Text);
}

} // namespace
} // namespace tavrin
