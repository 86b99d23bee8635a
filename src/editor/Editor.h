#pragma once

#include "editor/Controls.h"
#include "layout/StripGeometry.h"
#include "platform/Prompter.h"
#include "render/BoardRenderer.h"

#include <QString>

#include <functional>

namespace tavrin {

class InstanceLock;

// Folders the editor works with.
struct EditorPaths {
    QString dataFolder;    // shared by every run
    QString workingFolder; // this run's unpacked and temporary files
    QString programFolder; // folder of the program file, ending in "/"
    QString currentFolder; // where the open and save dialogs start
};

// What a refresh of the board should do.
struct RefreshRequest {
    bool erase = false;
    bool geometryOnly = false;
};

// The editing logic behind the editor window: it owns the layout and every piece of edit
// state, switches the window's controls through Controls and asks its questions through
// Prompter, so that every handler can run in a test without a screen.
class Editor {
public:
    Editor(Controls &controls, Prompter &prompter);

    // --- state of the open board -------------------------------------------------------
    MenuLayout layout;
    Strip workingStrip;
    GeometryRecords geometry;
    EditorPaths paths;

    bool otherInstanceRunning = false;
    QString backgroundName;       // empty: no layout is loaded
    QString backgroundImagePath;  // full-resolution background in use
    QString layoutBackgroundPath; // background path as resolved when the layout was opened
    QString layoutName;           // file name of the open layout, shown in the title
    QString legacyDocumentName;   // "MarbixLayout_<name>.XMARBIX" of an open legacy layout
    QString baseName;             // layout name up to its last "."
    QString pickedFolder;         // folder of the last picked layout file, ending in "/"
    QString layoutFolder;         // folder of the open layout file, no final "/"
    QString lastPictureFolder;
    QString fontList;             // "face,file;" entries
    QString missingFontsList;     // one face name + CR LF each
    QString currentFontName;
    bool fromPackage = false;
    bool fontGathering = false;
    bool migrationPending = false;
    bool modified = false;
    int paletteEntry = 2;

    // Draws the board and keeps the preview geometry between refreshes.
    BoardRenderer renderer{layout, geometry};

    // --- start and end -----------------------------------------------------------------
    // The editor's start-up: folders, clean-up of earlier runs, title, controls.
    // startTime is in seconds since 1970; lock (may be null) is taken once the data folder exists.
    void Initialise(qint64 startTime, qint64 processId, InstanceLock *lock);

    // The close check: may ask to save. Returns false when the user cancelled.
    bool PromptSaveOnClose();
    // The Exit button. Returns true when the program must end now (exit code 0); the working
    // folder has then been removed.
    bool ExitButton();
    // The window's close box, Alt+F4, the system menu's Close. Returns true when it may close.
    bool CloseRequested();
    // The window is going away after a close: remove the working folder.
    void WindowDestroyed();

    // --- controls ------------------------------------------------------------------------
    void EnableEditingControls(bool enable);
    // Controls of a loaded board: editing on, but what waits for a selection stays off.
    void SetBoardReadyState();
    void SetTitle(const QString &name);

    bool whitePrintChecked() const;
    void setWhitePrint(bool on);

    // The refresh: recomputes the preview geometry from the window's client area and, unless
    // geometry-only, composes the board; then tells the window to show it. Returns false when
    // the background cannot be drawn.
    bool Refresh(RefreshRequest request = {});
    // Called after every refresh so that the window repaints.
    std::function<void(RefreshRequest)> onRefresh;
    // The window changed size: the board is laid out anew.
    void WindowResized();

    // The save command ("Save Layout && TV Image Files"); the window installs it.
    void RunSaveCommand();
    std::function<void()> saveCommand;

    // --- background and picture loading (ImageCommands.cpp) ------------------------------
    // Whether the board is drawn from "Background_Proxy.jpg" and the pictures from their proxies;
    // Refresh hands both to the renderer. Recomputed when a background or a layout is loaded.
    bool backgroundProxyInUse = false;
    bool pictureProxiesInUse = false;

    // The window menu's "&Open...": a new background image for the board.
    void LoadBackgroundCommand();
    // "Load New Picture" for the strip at column, row. The edit modes pass the strip of the
    // selected picture or background; a picture edit mode pushes the strip's undo record between
    // AskPictureFile and LoadPictureInto, and ends its mode afterwards.
    void LoadPictureCommand(int column, int row);
    QString AskPictureFile(); // empty when the user cancelled
    void LoadPictureInto(const QString &path, int column, int row);
    // Copies the picture into the working folder and gives it to the strip, with its proxy.
    void ImportPicture(const QString &sourcePath, int column, int row);
    // Proxies made anew when a layout is opened or a background loaded.
    void MakeProxiesForLoadedBoard();
    // After an undo restored the strip with its picture. True when the proxy was written.
    bool RebuildStripProxy(int column, int row);

    // --- opening a layout and converting legacy layouts (OpenLayoutCommand.cpp) ----------
    // "Open Marbix Layout File": asks to save, lets the user pick a package, a TV image or a
    // legacy layout document, reads it and shows the board.
    void OpenLayoutCommand();
    // Offered at the first paint after a legacy layout was opened: replace the legacy document
    // and its support folder by one package. True when the layout was converted.
    bool MigrateLegacyLayout();
    // Called by the window at the end of a paint: runs the pending conversion question once.
    void RunPendingMigration();
    // The edit modes' idle state of the editing controls, as after an open.
    void SetIdleEditingControls();
    // Mouse presses made before this moment (milliseconds of the event clock) are dropped:
    // clicks made while a layout was loading have no effect.
    qint64 ignoreClicksBefore = 0;

    Controls &controls() { return controls_; }
    Prompter &prompter() { return *prompter_; }
    // Tests and the window may swap in another prompter.
    void setPrompter(Prompter &prompter) { prompter_ = &prompter; }

private:
    void RemoveWorkingFolder();

    Controls &controls_;
    Prompter *prompter_;
};

} // namespace tavrin
