#pragma once

#include <QString>

namespace tavrin {

// What a board click put the editor into. Idle, Text, Picture and Background are the editing
// states; MovingStrip and CopyingStrip only last while the right button drags a strip.
enum class EditMode { Idle, Text, Picture, Background, MovingStrip, CopyingStrip };

// The mode label's text for a mode (two blanks after the colon).
inline QString ModeLabelText(EditMode mode)
{
    switch (mode) {
    case EditMode::Text:
        return QStringLiteral("EDIT MODE:  TEXT");
    case EditMode::Picture:
        return QStringLiteral("EDIT MODE:  PICTURE");
    case EditMode::Background:
        return QStringLiteral("EDIT MODE:  BACKGROUND");
    case EditMode::MovingStrip:
        return QStringLiteral("EDIT MODE:  MOVING STRIP");
    case EditMode::CopyingStrip:
        return QStringLiteral("EDIT MODE:  COPYING STRIP");
    case EditMode::Idle:
        break;
    }
    return QStringLiteral("EDIT MODE:  IDLE");
}

// Shown when a click on the board ends Text mode (one blank only).
inline const QString kIdleAfterTextLabel = QStringLiteral("EDIT MODE: IDLE");

} // namespace tavrin
