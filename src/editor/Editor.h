#pragma once

#include "document/BoardDocument.h"
#include "document/StripPlacement.h"
#include "editor/Controls.h"
#include "editor/EditMode.h"
#include "layout/StripGeometry.h"
#include "platform/Prompter.h"
#include "render/BoardRenderer.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace tavrin {

class InstanceLock;
class SaveFeedback;

// Folders the editing screen works with besides the board's own working folder.
struct EditorPaths {
    QString dataFolder;    // shared by every run
    QString programFolder; // folder of the program file, ending in "/"
    QString currentFolder; // where the open and save dialogs start
};

// What a refresh of the board should do.
struct RefreshRequest {
    bool erase = false;
    bool geometryOnly = false;
};

// What the style controls act on now: the active text group in Text mode, the strip in Picture
// and Background mode.
struct StyleSelection {
    int group = -1;             // the active text group; -1 none
    bool stripSelected = false; // a picture or background strip is selected
    Strip strip;                // the selected strip as it is now
};

// The editing screen of the window: edit modes and selection, the three text boxes, the arrows
// and read-outs, the preview and its geometry, and the questions it asks through Prompter. The
// board itself is the BoardDocument's: the editor reads it there and changes it only through
// the document's apply(), so that every front end shares one history and one modified state.
// It switches the window's controls through Controls, so every handler runs in a test without
// a screen.
class Editor {
public:
    Editor(Controls &controls, Prompter &prompter, BoardDocument &document);
    ~Editor();
    Editor(const Editor &) = delete;
    Editor &operator=(const Editor &) = delete;

    // --- the board and the screen's own state (read only from outside) ----------------------
    BoardDocument &document() { return document_; }
    const BoardDocument &document() const { return document_; }
    const MenuLayout &layout() const { return document_.layout(); }
    const GeometryRecords &geometry() const { return geometry_; }
    const BoardRenderer &renderer() const { return renderer_; }
    const EditorPaths &paths() const { return paths_; }
    const Strip &workingStrip() const { return workingStrip_; }
    EditMode editMode() const { return editMode_; }
    CellPosition textCell() const { return textCell_; }
    CellPosition pictureCell() const { return pictureCell_; }
    CellPosition backgroundCell() const { return backgroundCell_; }
    int selectedGroup() const { return selectedGroup_; }
    int activeTextBox() const { return activeTextBox_; }
    Colour selectionColour() const { return selectionColour_; }
    int paletteEntry() const { return paletteEntry_; }
    void setPaletteEntry(int entry) { paletteEntry_ = entry; }
    bool migrationPending() const { return migrationPending_; }
    qint64 ignoreClicksBefore() const { return ignoreClicksBefore_; }
    bool backgroundProxyInUse() const { return backgroundProxyInUse_; }
    bool pictureProxiesInUse() const { return pictureProxiesInUse_; }
    const QString &currentFontName() const { return currentFontName_; }
    // The strip that a picture or background selection, or the text being edited, belongs to.
    bool copyingStrip() const { return copyingStrip_; }
    bool movingStrip() const { return movingStrip_; }
    bool dragMarquee() const { return dragMarquee_; }
    CellPosition dragSource() const { return dragSource_; }

    // --- start and end -----------------------------------------------------------------
    // Whether another run of the program was going on at start (its working folders stay).
    void setOtherInstanceRunning(bool running) { otherInstanceRunning_ = running; }
    // The editor's start-up: folders, clean-up of earlier runs, title, controls.
    // startTime is in seconds since 1970; lock (may be null) is taken once the data folder exists.
    void Initialise(qint64 startTime, qint64 processId, InstanceLock *lock);

    // The close check: may ask to save. Returns false when the user cancelled, or answered Yes
    // and that save was cancelled or failed (the edits are still unsaved).
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
    // The title for the open board: its name and, once read, its background's resolution.
    void ShowTitle();

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

    // The save command ("Save Layout && TV Image Files"); the window may install its own.
    void RunSaveCommand();
    std::function<void()> saveCommand;

    // --- background and picture loading (ImageCommands.cpp) ------------------------------
    // The window menu's "&Open...": a new background image for the board.
    void LoadBackgroundCommand();
    QString AskBackgroundFile(); // empty when the user cancelled
    // "Load New Picture" for the strip at column, row: asks for the file, then loads it there.
    void LoadPictureCommand(int column, int row);
    // The "Load New Picture" button: into the strip of the selected picture or background, or,
    // in Text mode, the chosen file as it is for the strip of the selected text.
    void LoadNewPictureButton();
    QString AskPictureFile(); // empty when the user cancelled
    // The picture at path into the strip at column, row, as one change.
    void LoadPictureInto(const QString &path, int column, int row);
    // Proxies made anew when a layout is opened or a background loaded.
    void MakeProxiesForLoadedBoard();

    // --- starting a new layout (NewLayoutCommand.cpp) ------------------------------------
    // "New Layout...": asks to save, then for the background and the grid size, and shows an
    // empty board.
    void NewLayoutCommand();
    // An empty board of columns x rows on the background, shown with nothing selected. False
    // (the open board unchanged, the user told why) when it cannot be made.
    bool NewLayout(const QString &backgroundPath, int columns, int rows);

    // --- opening a layout and converting legacy layouts (OpenLayoutCommand.cpp) ----------
    // Fonts the opened layout needs that this computer lacks (the list holds each name followed
    // by CR LF). Unset, the user is walked through installing them from the package. Returns
    // whether the open goes on to show the board.
    std::function<bool(QString &missingFontsList, const QString &workingFolder, const QString &backgroundImagePath)>
        provideMissingFonts;
    // "Open Marbix Layout File": asks to save, lets the user pick a package, a TV image or a
    // legacy layout document, and opens it. A file dropped on the window is given as path: it
    // is opened without the dialog.
    void OpenLayoutCommand(const QString &path = {});
    // Opens the file at path (a package, a TV image or a legacy document) and shows the board;
    // a failure is shown and leaves the open board as it was. True when it opened.
    bool OpenLayoutFile(const QString &path);
    // Offered at the first paint after a legacy layout was opened: replace the legacy document
    // and its support folder by one package. True when the layout was converted.
    bool MigrateLegacyLayout();
    // Called by the window at the end of a paint: runs the pending conversion question once.
    void RunPendingMigration();
    // The edit modes' idle state of the editing controls, as after an open.
    void SetIdleEditingControls();

    // --- edit modes and selection (EditModes.cpp), the three text boxes (TextEntry.cpp), the
    // --- arrows and spacing controls (Nudges.cpp) ------------------------------------------
    // A left click on the board at a client point; receivedAtMs is when the window got it
    // (milliseconds since 1970), so that clicks made during a load are dropped.
    void BoardClick(QPoint point, qint64 receivedAtMs);
    void LeaveCurrentMode();
    void EnterPictureMode(CellPosition cell);
    void EnterBackgroundMode(CellPosition cell);
    void EnterTextMode(CellPosition cell, int group, QPoint click);
    // In Text mode on the prices group: selects the price entry under the click in the prices box.
    void PickPriceEntry(QPoint click);
    // Shows the "ACTIVE" mark of a group; in Text mode the group becomes the selected one.
    void ShowActiveLabel(int group);
    // Escape ends any mode without the leaving steps; it is always consumed.
    void EscapePressed();
    // The pointer the board shows while a strip is dragged; Qt::ArrowCursor otherwise.
    Qt::CursorShape PointerShape() const;
    void SetArrowsIdle();
    // Every control that acts on a selection is off, the arrows idle, the read-outs empty.
    void ShowNothingSelected();

    // A text box's text changed by the user; caret is its caret position (CR LF counted as two).
    void TextChanged(int group, int caret);
    void TextBoxFocused(int group);
    void TextBoxLostFocus(int group);
    void TabInstructions();

    struct ArrowKeys {
        bool alt = false;
        bool shift = false;
    };
    // Any of the move, size, line-spacing, tab-spacing and calorie-spacing arrows.
    void ArrowClicked(ControlId arrow, ArrowKeys keys);
    // "Micro"/"Macro" and "Selected Text"/"All Text" behave as pairs.
    void PairedCheckBoxClicked(ControlId box);
    void UpdateReadouts();

    // --- saving the layout and the TV image, printing (SaveCommand.cpp, PrintCommand.cpp) ---
    // The wait cursor, pointer moves, please-wait window, its clock, the drive test and the
    // printer; null uses the plain stand-in (nothing shown). The window installs its own.
    void setSaveFeedback(SaveFeedback *feedback) { saveFeedback_ = feedback; }
    SaveFeedback &feedback();
    // "Save Layout && TV Image Files", "Save &As..." and the close check's Yes: the layout
    // package and the TV image side by side in a folder the user picks.
    void SaveLayoutAndTvImageCommand();
    // The Print button: the board into "print.jpg" in the data folder, then the print dialog.
    void PrintCommand();
    // The edit modes end for a save or a print, without the leaving steps of LeaveCurrentMode:
    // the mode is idle, the mode label says so and the controls that act on a selection are off.
    void LeaveEditModes();
    // The save dialog: the package path to write, or empty when the user cancelled, or said No
    // to replacing an existing package or TV image of the chosen name.
    QString AskSavePath();
    // The turn of a portrait board's TV image, asked from the remembered choice and remembered
    // again; 0 for a landscape board.
    int AskTvRotation();

    // --- the look of the selection (StyleCommands.cpp) ------------------------------------
    // Each returns true when it changed the board: one undo step and a refresh. The group
    // setters act in Text mode on the active group; calorie colour and italics on the prices
    // group; the strip setters in Picture and Background mode.
    StyleSelection CurrentStyleSelection() const;
    bool SetGroupFont(const QString &family);
    bool SetGroupBold(bool on);
    bool SetGroupItalic(bool on);
    bool SetGroupAlignment(GroupAlignment alignment);
    bool SetGroupCentreInStrip(bool on);
    bool SetGroupColour(Colour colour);
    bool SetGroupDropShadow(Colour colour); // kClearColour: no shadow
    bool SetCalorieColour(Colour colour);
    bool SetCalorieItalics(bool on);
    bool SetStripBackground(Colour colour); // kClearColour: no fill
    bool SetPictureBorder(int frameIndex);  // 0 to kPictureFrameCount - 1
    bool SetHiddenOnWhite(bool on);

    // --- moving and copying strips, deleting, undo (StripCommands.cpp) -------------------
    // Right button on the board: Alt makes the drag a move, Shift leaves empty cells out.
    void RightButtonDown(QPoint point, ArrowKeys keys);
    void RightButtonUp(QPoint point);
    void UndoCommand();
    // Puts back what the last Undo took back; a change made after that Undo drops it.
    void RedoCommand();
    void DeleteMenuItemCommand();
    void DeletePictureCommand();

    // Runs edit as one change of the board for the current action (see the document's apply);
    // everything that changes the board goes through here. Returns whether the board changed.
    bool ChangeBoard(const QString &label, const std::function<void(MenuLayout &)> &edit);
    // The current selection ends: the next change starts a step of its own.
    void StartNewAction();

    Controls &controls() { return controls_; }
    Prompter &prompter() { return *prompter_; }
    // Tests and the window may swap in another prompter.
    void setPrompter(Prompter &prompter) { prompter_ = &prompter; }

private:
    void RemoveWorkingFolder();
    // The board of the document as the screen shows it once it was opened or made.
    void ShowOpenedBoard();
    // The files, proxies and format the next render draws with, from the document and the editor.
    void HandStateToRenderer();
    // Where the board is shown: below the main item box, as the window is laid out now.
    QRect PreviewRegionOfWindow() const;
    // The board laid out and composed anew for the window after a layout at another scale.
    void LayOutPreview(bool erase);
    void DropStrip(QPoint point);
    // Shifts a dropped strip's offsets so that its frame and text stay on the board. True when
    // the strip was shifted.
    bool KeepStripOnBoard(CellPosition cell);
    // Text of the strip being edited that grew or moved past the board's edge comes back onto it.
    void KeepTextStripOnBoard();
    void EndModeAfterDelete();
    // After Undo or Redo: no mode, the boxes empty, the board as a loaded board with nothing
    // selected; the pictures the step brought back get their proxies again.
    void ShowBoardAfterHistoryStep(const std::optional<HistoryMove> &move);
    void EnableHistoryButtons();
    // Copies the picture into the working folder and gives it to the strip, with its proxy.
    // False when the picture was not imported (not a picture name, or it could not be copied:
    // the user was told); the strip is then unchanged.
    bool ImportPicture(const QString &sourcePath, int column, int row);
    // After an undo restored the strip with its picture. True when the proxy was written.
    bool RebuildStripProxy(int column, int row);
    // Applies change to the active group when it changes something.
    bool ChangeGroupStyle(const std::function<void(TextGroup &)> &change);
    // inTextMode: the strip of the active prices group; else the picture or background strip.
    bool ChangeStripStyle(bool inTextMode, const std::function<void(Strip &)> &change);
    // The document told of a change: the title's unsaved mark and the history buttons follow.
    void OnBoardChanged(const BoardChanged &change);

    BoardDocument &document_;
    int listener_ = 0;
    Controls &controls_;
    Prompter *prompter_;

    Strip workingStrip_;
    GeometryRecords geometry_;
    EditorPaths paths_;
    // Draws the preview and keeps its geometry between refreshes.
    BoardRenderer renderer_;

    bool otherInstanceRunning_ = false;
    QString lastPictureFolder_;
    QString currentFontName_;
    bool migrationPending_ = false;
    int paletteEntry_ = 2;
    // Whether the board is drawn from "Background_Proxy.jpg" and the pictures from their proxies.
    bool backgroundProxyInUse_ = false;
    bool pictureProxiesInUse_ = false;
    // Mouse presses made before this moment (milliseconds of the event clock) are dropped:
    // clicks made while a layout was loading have no effect.
    qint64 ignoreClicksBefore_ = 0;

    EditMode editMode_ = EditMode::Idle; // Idle, Text, Picture or Background
    CellPosition textCell_;       // strip selected in Text mode
    CellPosition pictureCell_;    // strip selected in Picture mode
    CellPosition backgroundCell_; // strip selected in Background mode
    int selectedGroup_ = -1;      // group hit by the last click; -1 none
    int clickedGroup_ = 0;        // the selected group when Text mode was entered
    int activeTextBox_ = 0;       // 0 main item, 1 sub-items, 2 prices
    Colour selectionColour_ = kWhite;
    bool calorieMarker_ = false;    // the picked price entry holds "<" or ">"
    bool boxClickFallback_ = false; // the next click may select the frame of the strip just left
    QString currentPictureName_;
    ControlId lastFocusedBox_ = ControlId::MainItemBox; // where the arrows give the focus back
    int lastTextEditedGroup_ = -1; // the selected group when Text mode was last left
    // Each selection is one action for the history: its number keys the changes made in it.
    int actionSerial_ = 0;

    bool copyingStrip_ = false; // a right-button drag is under way
    bool movingStrip_ = false;
    CellPosition dragSource_;  // the strip picked by the right-button press
    QPoint dragPressPoint_;    // where the right button went down; (0, 0) when no drag is under way
    bool dragMarquee_ = false; // the selected picture or background strip's texts are outlined

    SaveFeedback *saveFeedback_ = nullptr;
};

} // namespace tavrin
