#pragma once

#include <QString>

namespace tavrin {
class Editor;
}

namespace tavrin::cli {

// The TV image the editor's save would write into folder for the open layout under the name
// its save dialog proposes (in the chosen white-print format).
QString ProposedTvImagePath(const Editor &editor, const QString &folder);

} // namespace tavrin::cli
