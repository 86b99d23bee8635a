#pragma once

#include <QString>

class QWidget;

namespace tavrin {

class Editor;

// What a file dropped on the window does.
enum class DroppedFileKind {
    Refused,
    Picture, // goes into the strip it is dropped on, as "Load New Picture" would put it there
    Layout,  // a layout package, its TV image or an older layout document: opened
};

// Judged on the name, as the open and picture dialogs judge what they list.
DroppedFileKind KindOfDroppedFile(const QString &path);

// Lets files be dropped on client (the window's client area, in the board's coordinates). A
// picture dropped on a strip of the open board runs the picture import for that strip, with
// an undo record of the strip first; a layout dropped anywhere runs the open command for it,
// with its question about unsaved changes. Everything else is refused while it is dragged.
void AcceptDroppedFiles(QWidget *client, Editor &editor);

} // namespace tavrin
