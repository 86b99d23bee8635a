#pragma once

#include "document/BoardDocument.h"
#include "editor/Editor.h"
#include "platform/DataFolders.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"

#include <QImage>
#include <QString>

#include <memory>

namespace tavrin::test {

// The editing screen as the window has it, without a window: its controls as a table, a
// scripted prompter, the board document in the data folder (TAVRIN_DATA_DIR, so make the
// TempDataDir first) and the editor, initialised as at start-up unless told otherwise.
struct EditorSession {
    TableControls controls;
    ScriptedPrompter prompter;
    BoardDocument document{DataFolderPath()};
    Editor editor{controls, prompter, document};

    explicit EditorSession(bool initialise = true, qint64 startTime = 1733650000, qint64 processId = 1)
    {
        if (initialise)
            editor.Initialise(startTime, processId, nullptr);
    }

    // Shows board on a copy of the background, as a new board made from it; the editor shows it
    // with nothing selected. True when the background could be copied.
    bool show(const MenuLayout &board, const QString &backgroundPath)
    {
        return document.newBoardFrom(board, backgroundPath).ok();
    }

    // Changes the board as one step of its own (a test's setup, an edit made elsewhere).
    void change(const std::function<void(MenuLayout &)> &edit);
};

// Changes the board as one step of its own (a test's setup, an edit made elsewhere).
inline void ChangeBoard(Editor &editor, const std::function<void(MenuLayout &)> &edit)
{
    editor.StartNewAction();
    editor.ChangeBoard(QStringLiteral("Test"), edit);
    editor.StartNewAction();
}

// A change that leaves the board unsaved without touching what it shows: a strip of the store
// outside every grid.
inline void MakeUnsavedChange(Editor &editor)
{
    editor.StartNewAction();
    editor.ChangeBoard(QStringLiteral("Test"), [](MenuLayout &layout) {
        layout.strip(kMaxColumns - 1, kMaxRows - 1).mainItem().Text += QStringLiteral("unsaved ");
    });
    editor.StartNewAction();
}

// A plain background of the given size for a board made in a test.
inline QString MakeBackground(const QString &path, int width, int height, QColor colour = QColor(40, 60, 90))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, "JPEG", 95);
    return path;
}

inline void EditorSession::change(const std::function<void(MenuLayout &)> &edit) { ChangeBoard(editor, edit); }

} // namespace tavrin::test
