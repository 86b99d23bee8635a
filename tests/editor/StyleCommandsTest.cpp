// The style controls change one field of the selected group or strip, as one undo step that
// Undo and Redo walk byte for byte.
#include "SampleBoardFixture.h"

#include "editor/ColourPalette.h"
#include "layout/LayoutDocument.h"

#include <functional>

namespace tavrin {
namespace {

struct StyleCommandsTest : test::SampleBoardFixture {
    // The document as a save writes it: without the caret mark of a picked price entry.
    QString document()
    {
        auto board = std::make_unique<MenuLayout>(editor->layout());
        board->forEachBoardStrip([](int, int, Strip &s) { s.prices().Text.remove('~'); });
        return BuildLayoutDocument(*board, editor->document().backgroundImagePath());
    }
    // The first strip with a picture, or the first without one whose group has text.
    CellPosition find(int group, bool picture)
    {
        CellPosition found{-1, -1};
        editor->layout().forEachBoardStrip([&](int c, int r, const Strip &s) {
            const bool fits = picture ? !s.Picture.SubImageFileName.isEmpty()
                                      : s.Picture.SubImageFileName.isEmpty() && !s.Groups[group].Text.isEmpty();
            if (found.column < 0 && fits)
                found = {c, r};
        });
        return found;
    }
    void select(const char *mode, CellPosition cell, int group)
    {
        if (std::string(mode) == "text")
            click(hitCentre(cell.column, cell.row, group));
        else if (std::string(mode) == "picture")
            editor->EnterPictureMode(cell);
        else
            editor->EnterBackgroundMode(cell);
    }
};

TEST_F(StyleCommandsTest, EachControlChangesItsFieldAsOneStepThatUndoAndRedoWalk)
{
    const Colour red = ColourPalette()[5].value;
    const struct {
        const char *name;
        const char *mode;
        int group;
        bool picture;
        std::function<bool(Editor &)> act;
        std::function<void(Strip &, int group)> expected;
    } cases[] = {
        {"font", "text", MainItemGroup, false, [](Editor &e) { return e.SetGroupFont("DejaVu Serif"); },
         [](Strip &s, int g) { s.Groups[g].Font = "DejaVu Serif"; }},
        {"bold", "text", SubItemsGroup, false, [](Editor &e) { return e.SetGroupBold(!e.CurrentStyleSelection().strip.Groups[1].Bold); },
         [](Strip &s, int g) { s.Groups[g].Bold = !s.Groups[g].Bold; }},
        {"italic", "text", MainItemGroup, false, [](Editor &e) { return e.SetGroupItalic(true); },
         [](Strip &s, int g) { s.Groups[g].Italics = 1; }},
        {"alignment", "text", MainItemGroup, false, [](Editor &e) { return e.SetGroupAlignment(GroupAlignment::Right); },
         [](Strip &s, int g) { s.Groups[g].GroupAlignment = 2; }},
        {"centre in strip", "text", MainItemGroup, false,
         [](Editor &e) { return e.SetGroupCentreInStrip(!e.CurrentStyleSelection().strip.Groups[0].CenterInStrip); },
         [](Strip &s, int g) { s.Groups[g].CenterInStrip = !s.Groups[g].CenterInStrip; }},
        {"text colour", "text", PricesGroup, false, [&](Editor &e) { return e.SetGroupColour(red); },
         [&](Strip &s, int g) { s.Groups[g].TextColor = red; }},
        {"drop shadow", "text", MainItemGroup, false, [](Editor &e) { return e.SetGroupDropShadow(MakeColour(1, 2, 3)); },
         [](Strip &s, int g) { s.Groups[g].DropShadowColor = MakeColour(1, 2, 3); }},
        {"calorie colour", "text", PricesGroup, false, [&](Editor &e) { return e.SetCalorieColour(red); },
         [&](Strip &s, int) { s.CaloriesTextColor = red; }},
        {"calorie italics", "text", PricesGroup, false, [](Editor &e) { return e.SetCalorieItalics(true); },
         [](Strip &s, int) { s.CaloriesItalics = 1; }},
        {"strip background", "background", MainItemGroup, false, [&](Editor &e) { return e.SetStripBackground(red); },
         [&](Strip &s, int) { s.BackGroundColor = red; }},
        {"picture border", "picture", MainItemGroup, true, [](Editor &e) { return e.SetPictureBorder(8); },
         [](Strip &s, int) { s.Picture.SubImageFrameIndex = 8; }},
        {"hidden on white", "picture", MainItemGroup, true, [](Editor &e) { return e.SetHiddenOnWhite(true); },
         [](Strip &s, int) { s.Picture.ImageHiddenOnWhite = 1; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CellPosition cell = find(c.group, c.picture);
        ASSERT_GE(cell.column, 0);
        select(c.mode, cell, c.group);
        ASSERT_NE(editor->editMode(), EditMode::Idle);
        editor->document().markSaved();
        const QString before = document();
        Strip expected = strip(cell.column, cell.row);
        c.expected(expected, c.group);
        const int steps = editor->document().undoSteps();

        ASSERT_TRUE(c.act(*editor));
        EXPECT_EQ(strip(cell.column, cell.row), expected);
        EXPECT_EQ(editor->document().undoSteps(), steps + 1);
        EXPECT_TRUE(editor->document().isModified());
        const QString after = document();
        EXPECT_NE(after, before);

        editor->UndoCommand();
        EXPECT_EQ(document(), before);
        editor->RedoCommand();
        EXPECT_EQ(document(), after);
        editor->UndoCommand();
        ASSERT_EQ(document(), before);
        while (editor->document().canUndo())
            editor->UndoCommand();
    }
}

TEST_F(StyleCommandsTest, ControlsActOnlyOnWhatTheModeSelected)
{
    EXPECT_FALSE(editor->SetGroupBold(true)) << "nothing selected";
    EXPECT_FALSE(editor->SetStripBackground(kBlack));
    const CellPosition text = find(MainItemGroup, false);
    click(hitCentre(text.column, text.row, MainItemGroup));
    EXPECT_FALSE(editor->SetStripBackground(kBlack)) << "strip controls wait for Picture or Background mode";
    EXPECT_FALSE(editor->SetCalorieItalics(true)) << "calorie controls belong to the prices group";
    EXPECT_FALSE(editor->SetGroupColour(kClearColour)) << "text cannot be made clear";
    const int steps = editor->document().undoSteps();
    const Colour now = strip(text.column, text.row).mainItem().TextColor;
    EXPECT_FALSE(editor->SetGroupColour(now)) << "the same colour again is no change";
    EXPECT_EQ(editor->document().undoSteps(), steps);
    editor->LeaveCurrentMode();
    editor->EnterBackgroundMode(text);
    EXPECT_FALSE(editor->SetGroupBold(true));
    EXPECT_FALSE(editor->SetPictureBorder(kPictureFrameCount));
    EXPECT_FALSE(editor->SetPictureBorder(-1));
}

} // namespace
} // namespace tavrin
