#pragma once

#include "layout/Colour.h"

#include <QString>

namespace tavrin {

enum class GroupAlignment : int { Left = 0, Center = 1, Right = 2 };

// One block of text of a strip. Field order matters: copies, the layout document and
// the undo records all follow it.
struct TextGroup {
    double Xref = 0.0;   // anchor, in cell widths from the frame's left edge
    double Yref = 0.0;   // anchor, in cell heights from the frame's top edge
    QString Font = QStringLiteral("Arial");
    double ScaleFactor = 1.0;
    int Italics = 0;
    int Bold = 0;
    int CenterInStrip = 0;
    int GroupAlignment = 0; // 0 left, 1 centre, 2 right
    Colour TextColor = kWhite;
    Colour DropShadowColor = kClearColour;
    QString Text;           // empty: the group is not shown; line breaks are CR LF
    double LineSpacingFactor = 1.0;

    bool operator==(const TextGroup &) const = default;
};

} // namespace tavrin
