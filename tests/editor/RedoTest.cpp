// Undo and Redo walk one history: Redo gives back exactly the board the Undo took back, and a
// new change after an Undo drops what could have been redone.
#include "SampleBoardFixture.h"

#include "layout/LayoutDocument.h"

namespace tavrin {
namespace {

struct RedoTest : test::SampleBoardFixture {
    QString document() { return BuildLayoutDocument(editor->layout(), editor->document().backgroundImagePath()); }
    void drag(QPoint from, QPoint to, bool alt = false)
    {
        editor->RightButtonDown(from, {alt, false});
        editor->RightButtonUp(to);
    }
    QPoint cellCentre(int c, int r) { return centreOf(geo(c, r).cellRect); }
};

TEST_F(RedoTest, UndoAndRedoWalkOneHistoryOfChainedAndSingleSteps)
{
    const QString start = document();
    EXPECT_FALSE(controls.isEnabled(ControlId::Redo));

    // A move (two chained snapshots), then a typed change.
    drag(hitCentre(1, 4, MainItemGroup), cellCentre(1, 5), /*alt=*/true);
    const QString afterMove = document();
    click(hitCentre(0, 1, MainItemGroup));
    type(MainItemGroup, "Spicy Chicken");
    editor->LeaveCurrentMode();
    const QString afterTyping = document();
    ASSERT_NE(afterMove, afterTyping);

    editor->UndoCommand();
    EXPECT_EQ(document(), afterMove);
    editor->UndoCommand();
    EXPECT_EQ(document(), start);
    EXPECT_TRUE(controls.isEnabled(ControlId::Redo));
    EXPECT_FALSE(controls.isEnabled(ControlId::Undo));

    editor->RedoCommand();
    EXPECT_EQ(document(), afterMove);
    editor->RedoCommand();
    EXPECT_EQ(document(), afterTyping);
    EXPECT_FALSE(controls.isEnabled(ControlId::Redo));
    EXPECT_TRUE(editor->document().isModified());

    // The redone steps undo again, the chained move in one go.
    editor->UndoCommand();
    EXPECT_EQ(document(), afterMove);
    editor->UndoCommand();
    EXPECT_EQ(document(), start);
    EXPECT_TRUE(!editor->document().canUndo());
}

TEST_F(RedoTest, ANewChangeAfterUndoDropsTheRedoButASelectionWithoutChangeKeepsIt)
{
    drag(hitCentre(1, 4, MainItemGroup), cellCentre(1, 5), /*alt=*/true);
    const QString afterMove = document();
    editor->UndoCommand();
    const QString undone = document();

    // Selecting a strip's background and leaving it unchanged is no change.
    editor->EnterBackgroundMode({0, 1});
    editor->LeaveCurrentMode();
    EXPECT_TRUE(controls.isEnabled(ControlId::Redo));
    editor->RedoCommand();
    EXPECT_EQ(document(), afterMove);

    editor->UndoCommand();
    drag(hitCentre(0, 1, MainItemGroup), cellCentre(1, 15));
    EXPECT_FALSE(controls.isEnabled(ControlId::Redo));
    const QString afterCopy = document();
    editor->RedoCommand(); // nothing to redo
    EXPECT_EQ(document(), afterCopy);
    editor->UndoCommand();
    EXPECT_EQ(document(), undone);
}

} // namespace
} // namespace tavrin
