#pragma once

#include <QString>

namespace tavrin {

// The message the user sees whenever the layout package or the TV image could not be written.
inline const QString kSaveFailureText = QStringLiteral(
    "\n\n\nUNABLE TO SAVE FILE.\n\n Please try again.  If saving to a flash drive,\n do not remove flash drive "
    "until file save is confirmed.\n\n If problem persists call Tessal Design Tech Support.");

// The name a new layout carries until its first save.
inline const QString kUntitledLayoutName = QStringLiteral("Untitled_LAYOUT.MARBIX");

} // namespace tavrin
