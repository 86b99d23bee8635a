#pragma once

#include "editor/ControlId.h"
#include "layout/Strip.h"

namespace tavrin {

class Controls;

// Control groups the edit modes, the text boxes and the arrows switch together.

inline constexpr ControlId kTextBoxes[kGroupCount] = {ControlId::MainItemBox, ControlId::SubItemsBox,
                                                      ControlId::PricesBox};
inline constexpr ControlId kActiveLabels[kGroupCount] = {ControlId::MainItemActive, ControlId::SubItemsActive,
                                                         ControlId::PricesActive};

// The group a text box holds; -1 for any other control.
int GroupOfTextBox(ControlId id);

void SetEnabled(Controls &controls, std::initializer_list<ControlId> ids, bool enabled);
// The four move arrows and the two vertical size arrows with their group boxes, and the step
// boxes with "Micro" checked.
void EnableArrows(Controls &controls);
void EnableLineSpacing(Controls &controls, bool enabled);
void ShowSpacingControls(Controls &controls);
void SetArrowCaptions(Controls &controls, const char *size, const char *move);
// The three texts of a strip into the three boxes, the caret at the end of each.
void ShowStripTexts(Controls &controls, const Strip &strip);

inline bool HoldsLineBreak(const QString &text) { return text.contains(QLatin1String("\r\n")); }
inline void RemoveCaretMarker(QString &text) { text.remove(QLatin1Char('~')); }

} // namespace tavrin
