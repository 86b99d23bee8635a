// The look of the selected text group or strip: font, emphasis, alignment, colours, the picture
// border and the white-print hiding. Each change is one undo step and shows at once.
#include "editor/Editor.h"

namespace tavrin {

StyleSelection Editor::CurrentStyleSelection() const
{
    StyleSelection selection;
    if (editMode_ == EditMode::Text && selectedGroup_ >= 0 && selectedGroup_ < kGroupCount) {
        selection.group = selectedGroup_;
        selection.strip = layout().strip(textCell_.column, textCell_.row);
    } else if (editMode_ == EditMode::Picture || editMode_ == EditMode::Background) {
        const CellPosition cell = editMode_ == EditMode::Picture ? pictureCell_ : backgroundCell_;
        selection.stripSelected = true;
        selection.strip = layout().strip(cell.column, cell.row);
    }
    return selection;
}

bool Editor::ChangeGroupStyle(const std::function<void(TextGroup &)> &change)
{
    if (editMode_ != EditMode::Text || selectedGroup_ < 0 || selectedGroup_ >= kGroupCount)
        return false;
    // Each change of the look is one step of its own.
    StartNewAction();
    const bool changed = ChangeBoard(QStringLiteral("Style"), [&](MenuLayout &layout) {
        change(layout.strip(textCell_.column, textCell_.row).Groups[selectedGroup_]);
    });
    StartNewAction();
    if (!changed)
        return false;
    // The strip being edited is kept twice while text is typed: both copies take the change.
    change(workingStrip_.Groups[selectedGroup_]);
    Refresh();
    return true;
}

bool Editor::ChangeStripStyle(bool inTextMode, const std::function<void(Strip &)> &change)
{
    CellPosition cell;
    if (inTextMode && editMode_ == EditMode::Text && selectedGroup_ == PricesGroup)
        cell = textCell_;
    else if (!inTextMode && editMode_ == EditMode::Picture)
        cell = pictureCell_;
    else if (!inTextMode && editMode_ == EditMode::Background)
        cell = backgroundCell_;
    else
        return false;
    StartNewAction();
    const bool changed = ChangeBoard(QStringLiteral("Style"),
                                     [&](MenuLayout &layout) { change(layout.strip(cell.column, cell.row)); });
    StartNewAction();
    if (!changed)
        return false;
    if (inTextMode)
        change(workingStrip_);
    Refresh();
    return true;
}

bool Editor::SetGroupFont(const QString &family)
{
    if (family.trimmed().isEmpty())
        return false;
    const bool changed = ChangeGroupStyle([&](TextGroup &g) { g.Font = family; });
    if (changed) {
        currentFontName_ = family;
        controls_.setText(ControlId::FontBox, currentFontName_);
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
