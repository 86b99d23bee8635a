// The look of the selected text group or strip: font, emphasis, alignment, colours, the picture
// border and the white-print hiding. Each change is one undo step and shows at once.
#include "editor/Editor.h"

namespace tavrin {

StyleSelection Editor::CurrentStyleSelection() const
{
    StyleSelection selection;
    if (editMode == EditMode::Text && selectedGroup >= 0 && selectedGroup < kGroupCount) {
        selection.group = selectedGroup;
        selection.strip = layout.strip(textCell.column, textCell.row);
    } else if (editMode == EditMode::Picture || editMode == EditMode::Background) {
        const CellPosition cell = editMode == EditMode::Picture ? pictureCell : backgroundCell;
        selection.stripSelected = true;
        selection.strip = layout.strip(cell.column, cell.row);
    }
    return selection;
}

bool Editor::ChangeGroupStyle(const std::function<void(TextGroup &)> &change)
{
    if (editMode != EditMode::Text || selectedGroup < 0 || selectedGroup >= kGroupCount)
        return false;
    Strip &strip = layout.strip(textCell.column, textCell.row);
    TextGroup changed = strip.Groups[selectedGroup];
    change(changed);
    if (changed == strip.Groups[selectedGroup])
        return false;
    PushUndoSnapshot(textCell.column, textCell.row, 0);
    undoList.newest().exact = true;
    // The strip being edited is kept twice while text is typed: both copies take the change.
    change(strip.Groups[selectedGroup]);
    change(workingStrip.Groups[selectedGroup]);
    modified = true;
    Refresh();
    return true;
}

bool Editor::ChangeStripStyle(bool inTextMode, const std::function<void(Strip &)> &change)
{
    CellPosition cell;
    if (inTextMode && editMode == EditMode::Text && selectedGroup == PricesGroup)
        cell = textCell;
    else if (!inTextMode && editMode == EditMode::Picture)
        cell = pictureCell;
    else if (!inTextMode && editMode == EditMode::Background)
        cell = backgroundCell;
    else
        return false;
    Strip &strip = layout.strip(cell.column, cell.row);
    Strip changed = strip;
    change(changed);
    if (changed == strip)
        return false;
    PushUndoSnapshot(cell.column, cell.row, 0);
    undoList.newest().exact = true;
    change(strip);
    if (inTextMode)
        change(workingStrip);
    modified = true;
    Refresh();
    return true;
}

bool Editor::SetGroupFont(const QString &family)
{
    if (family.trimmed().isEmpty())
        return false;
    const bool changed = ChangeGroupStyle([&](TextGroup &g) { g.Font = family; });
    if (changed) {
        currentFontName = family;
        controls_.setText(ControlId::FontBox, currentFontName);
    }
    return changed;
}

bool Editor::SetGroupBold(bool on)
{
    return ChangeGroupStyle([&](TextGroup &g) { g.Bold = on ? 1 : 0; });
}

bool Editor::SetGroupItalic(bool on)
{
    return ChangeGroupStyle([&](TextGroup &g) { g.Italics = on ? 1 : 0; });
}

bool Editor::SetGroupAlignment(GroupAlignment alignment)
{
    const int value = int(alignment);
    if (value < 0 || value > 2)
        return false;
    return ChangeGroupStyle([&](TextGroup &g) { g.GroupAlignment = value; });
}

bool Editor::SetGroupCentreInStrip(bool on)
{
    return ChangeGroupStyle([&](TextGroup &g) { g.CenterInStrip = on ? 1 : 0; });
}

bool Editor::SetGroupColour(Colour colour)
{
    // Clear is no colour for text: the text would not be drawn at all.
    if (IsClear(colour))
        return false;
    return ChangeGroupStyle([&](TextGroup &g) { g.TextColor = colour; });
}

bool Editor::SetGroupDropShadow(Colour colour)
{
    return ChangeGroupStyle([&](TextGroup &g) { g.DropShadowColor = colour; });
}

bool Editor::SetCalorieColour(Colour colour)
{
    if (IsClear(colour))
        return false;
    return ChangeStripStyle(true, [&](Strip &s) { s.CaloriesTextColor = colour; });
}

bool Editor::SetCalorieItalics(bool on)
{
    return ChangeStripStyle(true, [&](Strip &s) { s.CaloriesItalics = on ? 1 : 0; });
}

bool Editor::SetStripBackground(Colour colour)
{
    return ChangeStripStyle(false, [&](Strip &s) { s.BackGroundColor = colour; });
}

bool Editor::SetPictureBorder(int frameIndex)
{
    if (frameIndex < 0 || frameIndex >= kPictureFrameCount)
        return false;
    return ChangeStripStyle(false, [&](Strip &s) { s.Picture.SubImageFrameIndex = frameIndex; });
}

bool Editor::SetHiddenOnWhite(bool on)
{
    return ChangeStripStyle(false, [&](Strip &s) { s.Picture.ImageHiddenOnWhite = on ? 1 : 0; });
}

} // namespace tavrin
