#include "editor/ColourPalette.h"
#include "editor/Editor.h"
#include "support/EditorSession.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tavrin {
namespace {

TEST(ColourPalette, NamesValuesAndLookUp)
{
    const auto &palette = ColourPalette();
    EXPECT_STREQ(palette[0].name, "Clear");
    EXPECT_EQ(palette[0].value, kClearColour);
    EXPECT_STREQ(palette[2].name, "White");
    EXPECT_STREQ(palette[19].name, "Bright Red");
    EXPECT_EQ(palette[19].value, MakeColour(230, 13, 46));
    EXPECT_STREQ(palette[41].name, "Mint");
    EXPECT_EQ(palette[41].value, MakeColour(135, 222, 209));

    EXPECT_EQ(LookUpPaletteEntry(kClearColour), 0);
    EXPECT_EQ(LookUpPaletteEntry(kBlack), 1);
    EXPECT_EQ(LookUpPaletteEntry(MakeColour(0, 105, 122)), 34); // Teal
    EXPECT_EQ(LookUpPaletteEntry(MakeColour(1, 2, 3)), 42);     // not in the table
    EXPECT_EQ(PaletteColour(42), kWhite);
}

struct ControlSetFixture : ::testing::Test {
    test::TempDataDir data;
    test::EditorSession session{/*initialise=*/false};
    test::TableControls &controls = session.controls;
    Editor &editor = session.editor;
};

TEST_F(ControlSetFixture, EditingControlsSwitchTogetherAndSelectionControlsStayOff)
{
    const ControlId switched[] = {
        ControlId::SaveLayoutAndTvImage, ControlId::Print, ControlId::WhitePrintFormat, ControlId::LoadNewPicture,
        ControlId::MoveUp, ControlId::MoveDown, ControlId::MoveTextGroup, ControlId::SizeLarger, ControlId::SizeWider,
        ControlId::SizeTextGroup, ControlId::SizeReadout, ControlId::LineSpacingUp, ControlId::LineSpacingLabel,
        ControlId::SizeAndMoveIncrementGroup, ControlId::Micro, ControlId::Macro, ControlId::TabSpacingReadout,
        ControlId::CalSpacingUp, ControlId::TabInstructions, ControlId::DisplayVerticalGrid};
    const ControlId needSelection[] = {ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText,
                                       ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup};
    controls.setChecked(ControlId::Macro, true);

    editor.EnableEditingControls(false);
    for (ControlId id : switched)
        EXPECT_FALSE(controls.isEnabled(id)) << int(id);
    editor.EnableEditingControls(true);
    for (ControlId id : switched)
        EXPECT_TRUE(controls.isEnabled(id)) << int(id);
    for (ControlId id : needSelection)
        EXPECT_FALSE(controls.isEnabled(id)) << int(id);
    EXPECT_FALSE(controls.isChecked(ControlId::Macro));

    // A loaded board: what waits for a selection is off again.
    editor.SetBoardReadyState();
    for (ControlId id : {ControlId::SizeNarrower, ControlId::SizeWider, ControlId::SizeTextGroup,
                         ControlId::TabSpacingUp, ControlId::CalSpacingReadout})
        EXPECT_FALSE(controls.isEnabled(id)) << int(id);
    EXPECT_TRUE(controls.isEnabled(ControlId::MoveUp));
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage));
}

TEST_F(ControlSetFixture, AOneColumnBoardNeverEnablesTheVerticalGrid)
{
    session.change([](MenuLayout &layout) { layout.NumberOfColumns = 1; });
    editor.EnableEditingControls(false);
    controls.setEnabled(ControlId::DisplayVerticalGrid, false);
    editor.EnableEditingControls(true);
    EXPECT_FALSE(controls.isEnabled(ControlId::DisplayVerticalGrid));
}

} // namespace
} // namespace tavrin
