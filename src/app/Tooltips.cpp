#include "app/Tooltips.h"

#include "app/Shortcuts.h"
#include "app/WidgetControls.h"

#include <QWidget>

#include <utility>

namespace tavrin {

namespace {

const std::pair<ControlId, const char *> kTooltips[] = {
    {ControlId::OpenLayout, "Open a layout package, its TV image or an older layout document"},
    {ControlId::SaveLayoutAndTvImage, "Save the layout package and the TV image side by side"},
    {ControlId::Print, "Print the board"},
    {ControlId::Exit, "End Tavrin, asking first to save unsaved changes"},
    {ControlId::LoadNewPicture, "Put a new picture into the selected strip (a picture can also be dropped on a strip)"},
    {ControlId::DeleteMenuItem, "Delete the selected menu item"},
    {ControlId::DeletePicture, "Delete the selected picture"},
    {ControlId::Undo, "Undo the last change to a strip"},
    {ControlId::HelpVideos, "Open the help videos in the web browser"},
    {ControlId::WhitePrintFormat, "Show the board on white, as it prints"},
    {ControlId::DisplayVerticalGrid, "Show the columns of the board's grid"},
    {ControlId::ModeLabel, "What a click on the board selects now"},
    {ControlId::MenuItemTextToBeMovedGroup, "Which text the arrows move"},
    {ControlId::SelectedText, "The arrows move the selected text only"},
    {ControlId::AllText, "The arrows move all text of the strip"},
    {ControlId::SizeAndMoveIncrementGroup, "How far one arrow click moves or sizes"},
    {ControlId::Micro, "Move and size in the smallest steps"},
    {ControlId::Macro, "Move and size in large steps"},
    {ControlId::MoveTextGroup, "Move the selected text or picture"},
    {ControlId::MoveUp, "Move up"},
    {ControlId::MoveLeft, "Move left"},
    {ControlId::MoveRight, "Move right"},
    {ControlId::MoveDown, "Move down"},
    {ControlId::SizeTextGroup, "Size the selected text or picture"},
    {ControlId::SizeLarger, "Larger (taller)"},
    {ControlId::SizeSmaller, "Smaller (lower)"},
    {ControlId::SizeNarrower, "Narrower"},
    {ControlId::SizeWider, "Wider"},
    {ControlId::SizeReadout, "The size of the selected text"},
    {ControlId::LineSpacingLabel, "The space between the lines of the selected text"},
    {ControlId::LineSpacingUp, "More space between lines"},
    {ControlId::LineSpacingDown, "Less space between lines"},
    {ControlId::TabSpacingLabel, "The space between the price columns"},
    {ControlId::TabSpacingUp, "Wider price columns"},
    {ControlId::TabSpacingDown, "Narrower price columns"},
    {ControlId::TabSpacingReadout, "The space between the price columns"},
    {ControlId::CalSpacingLabel, "The space before the calorie counts"},
    {ControlId::CalSpacingUp, "More space before the calorie counts"},
    {ControlId::CalSpacingDown, "Less space before the calorie counts"},
    {ControlId::CalSpacingReadout, "The space before the calorie counts"},
    {ControlId::MainItemLabel, "The main item text of the selected strip"},
    {ControlId::MainItemBox, "The main item text of the selected strip"},
    {ControlId::SubItemsLabel, "The sub-item lines of the selected strip"},
    {ControlId::SubItemsBox, "The sub-item lines of the selected strip"},
    {ControlId::PricesLabel, "The prices and calories of the selected strip, one column after each Tab"},
    {ControlId::PricesBox, "The prices and calories of the selected strip, one column after each Tab"},
    {ControlId::MainItemActive, "This box is being edited"},
    {ControlId::SubItemsActive, "This box is being edited"},
    {ControlId::PricesActive, "This box is being edited"},
    {ControlId::TabInstructions, "How to put prices and calories into columns"},
};

} // namespace

void SetTooltips(WidgetControls &controls)
{
    for (const auto &[id, text] : kTooltips) {
        QWidget *widget = controls.widget(id);
        if (!widget)
            continue;
        QString tip = QString::fromUtf8(text);
        const QKeySequence keys = ShortcutOf(id);
        if (!keys.isEmpty())
            tip += QStringLiteral(" (%1)").arg(keys.toString(QKeySequence::NativeText));
        widget->setToolTip(tip);
    }
}

} // namespace tavrin
