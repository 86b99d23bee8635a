#include "editor/EditingControls.h"

#include "editor/Controls.h"

namespace tavrin {

int GroupOfTextBox(ControlId id)
{
    for (int g = 0; g < kGroupCount; ++g)
        if (kTextBoxes[g] == id)
            return g;
    return -1;
}

void SetEnabled(Controls &controls, std::initializer_list<ControlId> ids, bool enabled)
{
    for (ControlId id : ids)
        controls.setEnabled(id, enabled);
}

void EnableArrows(Controls &controls)
{
    SetEnabled(controls,
               {ControlId::MoveUp, ControlId::MoveLeft, ControlId::MoveRight, ControlId::MoveDown,
                ControlId::SizeLarger, ControlId::SizeSmaller, ControlId::MoveTextGroup, ControlId::SizeTextGroup,
                ControlId::SizeAndMoveIncrementGroup, ControlId::Micro, ControlId::Macro},
               true);
    controls.setVisible(ControlId::SizeTextGroup, true);
    controls.setChecked(ControlId::Micro, true);
    controls.setChecked(ControlId::Macro, false);
}

void EnableLineSpacing(Controls &controls, bool enabled)
{
    SetEnabled(controls, {ControlId::LineSpacingUp, ControlId::LineSpacingDown, ControlId::LineSpacingLabel},
               enabled);
}

void ShowSpacingControls(Controls &controls)
{
    for (ControlId id : {ControlId::TabSpacingLabel, ControlId::TabSpacingReadout, ControlId::TabSpacingUp,
                         ControlId::TabSpacingDown, ControlId::CalSpacingLabel, ControlId::CalSpacingReadout,
                         ControlId::CalSpacingUp, ControlId::CalSpacingDown, ControlId::SizeReadout}) {
        controls.setVisible(id, true);
        controls.setEnabled(id, true);
    }
}

void SetArrowCaptions(Controls &controls, const char *size, const char *move)
{
    controls.setText(ControlId::SizeTextGroup, QString::fromLatin1(size));
    controls.setText(ControlId::MoveTextGroup, QString::fromLatin1(move));
}

void ShowStripTexts(Controls &controls, const Strip &strip)
{
    for (int g = 0; g < kGroupCount; ++g) {
        const QString &text = strip.Groups[g].Text;
        controls.setText(kTextBoxes[g], text);
        controls.setSelection(kTextBoxes[g], int(text.size()), int(text.size()));
    }
}

} // namespace tavrin
