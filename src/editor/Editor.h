#pragma once

#include "editor/Controls.h"
#include "editor/EditMode.h"
#include "document/StripPlacement.h"
#include "editor/UndoList.h"
#include "layout/FontList.h"
#include "layout/StripGeometry.h"
#include "platform/Prompter.h"
#include "render/BoardRenderer.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace tavrin {

class InstanceLock;
class SaveFeedback;

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

// What the style controls act on now: the active text group in Text mode, the strip in Picture
// and Background mode.
struct StyleSelection {
    int group = -1;             // the active text group; -1 none
    bool stripSelected = false; // a picture or background strip is selected
    Strip strip;                // the selected strip as it is now
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
    FontList fontList;            // the fonts the last output render drew, with their files
    // What the last output render (or the open's pass at the board's scale) drew differently
    // from the layout: another family, a made-up style, characters no font has.
    FontSubstitutions fontSubstitutions;
    QString missingFontsList;     // one face name + CR LF each
    QString currentFontName;
    bool fromPackage = false;
    bool fontGathering = false;
    bool migrationPending = false;
    bool modified = false;
    int paletteEntry = 2;

    // Whether a window shows the board. Work without one (the command line) composes no
    // preview and makes no proxies for it; the files written never depend on the preview.
    bool previewShown = true;
    // Whether the TV image is written right after an open (the command line): the open then
    // has the background and the pictures decoded on another thread while it measures the texts.
    bool outputFollowsOpen = false;

    // Draws the board and keeps the preview geometry between refreshes.
    BoardRenderer renderer{layout, geometry};

    // --- start and end -----------------------------------------------------------------
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

    // The save command ("Save Layout && TV Image Files"); the window installs it. It clears the
    // modified flag only when both files were written.
    void RunSaveCommand();
    std::function<void()> saveCommand;

    // --- background and picture loading (ImageCommands.cpp) ------------------------------
    // Whether the board is drawn from "Background_Proxy.jpg" and the pictures from their proxies;
    // Refresh hands both to the renderer. Recomputed when a background or a layout is loaded.
    bool backgroundProxyInUse = false;
    bool pictureProxiesInUse = false;

    // The window menu's "&Open...": a new background image for the board.
    void LoadBackgroundCommand();
    QString AskBackgroundFile(); // empty when the user cancelled
    // Copies the chosen background into folder as the package's background; tells the user and
    // returns false when it cannot.
    bool CopyBackgroundInto(const QString &chosen, const QString &folder);
    // The chosen file becomes the board's background: proxies, grid, refresh, and the message
    // when it cannot be drawn.
    void ShowChosenBackground(const QString &chosen);
    // "Load New Picture" for the strip at column, row. The edit modes pass the strip of the
    // selected picture or background; a picture edit mode pushes the strip's undo record between
    // AskPictureFile and LoadPictureInto, and ends its mode afterwards.
    void LoadPictureCommand(int column, int row);
    // The "Load New Picture" button: into the strip of the selected picture or background, or,
    // in Text mode, the chosen file as it is for the strip of the selected text.
    void LoadNewPictureButton();
    QString AskPictureFile(); // empty when the user cancelled
    void LoadPictureInto(const QString &path, int column, int row);
    // Copies the picture into the working folder and gives it to the strip, with its proxy.
    // False when the picture was not imported (not a picture name, or it could not be copied:
    // the user was told); the strip is then unchanged.
    bool ImportPicture(const QString &sourcePath, int column, int row);
    // Proxies made anew when a layout is opened or a background loaded.
    void MakeProxiesForLoadedBoard();
    // After an undo restored the strip with its picture. True when the proxy was written.
    bool RebuildStripProxy(int column, int row);

    // --- starting a new layout (NewLayoutCommand.cpp) ------------------------------------
    // "New Layout...": asks to save, then for the background and the grid size, and shows an
    // empty board.
    void NewLayoutCommand();
    // An empty board of columns x rows (1-9 x 1-201) on the background, in a fresh working
    // folder, with no undo history and unmodified; its save proposes kUntitledLayoutName.
    // False (the open board unchanged) when the counts are out of range or the background
    // cannot be copied.
    bool NewLayout(const QString &backgroundPath, int columns, int rows);

    // --- opening a layout and converting legacy layouts (OpenLayoutCommand.cpp) ----------
    // Fonts the opened layout needs that this computer lacks (the list holds each name followed
    // by CR LF). Unset, the user is walked through installing them from the package; work
    // without a user sets its own way. Returns whether the open goes on to show the board.
    std::function<bool(QString &missingFontsList)> provideMissingFonts;
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

    // --- edit modes and selection (EditModes.cpp), the three text boxes (TextEntry.cpp), the
    // --- arrows and spacing controls (Nudges.cpp), the undo snapshots (UndoList.h) --------
    EditMode editMode = EditMode::Idle; // Idle, Text, Picture or Background
    CellPosition textCell;       // strip selected in Text mode
    CellPosition pictureCell;    // strip selected in Picture mode
    CellPosition backgroundCell; // strip selected in Background mode
    int selectedGroup = -1;      // group hit by the last click; -1 none
    int clickedGroup = 0;        // the selected group when Text mode was entered
    int activeTextBox = 0;       // 0 main item, 1 sub-items, 2 prices
    Colour selectionColour = kWhite;
    bool calorieMarker = false;  // the picked price entry holds "<" or ">"
    bool boxClickFallback = false; // the next click may select the frame of the strip just left
    QString currentPictureName;
    ControlId lastFocusedBox = ControlId::MainItemBox; // where the arrows give the focus back
    UndoList undoList;
    RedoList redoList;
    bool copyingStrip = false; // a right-button drag is under way (set by the strip drag)
    bool movingStrip = false;

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
    // Records the strip at (column, row) before a command changes it.
    void PushUndoSnapshot(int column, int row, int chained);
    // Records the free cells a relocation or a frame fit moved content into, chained.
    void PushReplacedSnapshots(const std::vector<ReplacedStrip> &replaced);
    void SetArrowsIdle();
    // Every control that acts on a selection is off, the arrows idle, the read-outs empty.
    void ShowNothingSelected();
    int lastTextEditedGroup = -1; // the selected group when Text mode was last left

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
    SaveFeedback *saveFeedback = nullptr;
    // Whether the rotation question of a portrait board starts from the remembered choice and
    // keeps the answer for the next save ("RotationData.txt" in the data folder). Off, the
    // answer is for this save only.
    bool rememberTvRotation = true;
    SaveFeedback &feedback();
    // "Save Layout && TV Image Files", "Save &As..." and the close check's Yes: the layout
    // package and the TV image side by side in a folder the user picks.
    void SaveLayoutAndTvImageCommand();
    // The Print button: the board into "print.jpg" in the data folder, then the print dialog.
    void PrintCommand();
    // Every "~" and one trailing blank go from each prices text of the board.
    void CleanPriceTexts();
    // The edit modes end for a save or a print, without the leaving steps of LeaveCurrentMode:
    // the mode is idle, the mode label says so and the controls that act on a selection are off.
    void LeaveEditModes();
    // The board at the background's full resolution with output rendering and the proxies off,
    // gathering the fonts it draws; the preview is refreshed as usual afterwards.
    QImage RenderOutputBoard();
    // The save dialog: the package path to write, or empty when the user cancelled, or said No
    // to replacing an existing package or TV image of the chosen name.
    QString AskSavePath();
    // The TV image the save command writes for the open board (prices cleaned, output render, a
    // portrait board turned as the rotation question answers, the answer not remembered), written
    // to target instead of beside a package; no fonts are gathered, as no package is written.
    // False when nothing was written.
    bool ExportTvImage(const QString &target);
    // The TV image writer for an output board: the TV image named after packagePath (the
    // rotation asked for a portrait board), or "print.jpg" when printing. Empty on failure.
    QString WriteTvImage(const QImage &board, const QString &packagePath, bool printing);

    // --- the look of the selection (StyleCommands.cpp) ------------------------------------
    // Each returns true when it changed the board: one undo snapshot, the modified flag, a
    // refresh. The group setters act in Text mode on the active group; calorie colour and
    // italics on the prices group; the strip setters in Picture and Background mode.
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
    CellPosition dragSource;  // the strip picked by the right-button press
    QPoint dragPressPoint;    // where the right button went down; (0, 0) when no drag is under way
    bool dragMarquee = false; // the selected picture or background strip's texts are outlined
    // Right button on the board: Alt makes the drag a move, Shift leaves empty cells out.
    void RightButtonDown(QPoint point, ArrowKeys keys);
    void RightButtonUp(QPoint point);
    void UndoCommand();
    // Puts back what the last Undo took back; a change made after that Undo drops it.
    void RedoCommand();
    void DeleteMenuItemCommand();
    void DeletePictureCommand();

    Controls &controls() { return controls_; }
    Prompter &prompter() { return *prompter_; }
    // Tests and the window may swap in another prompter.
    void setPrompter(Prompter &prompter) { prompter_ = &prompter; }

private:
    void RemoveWorkingFolder();
    // Where the working folder of a layout being opened goes: the data folder, else beside the
    // current working folder.
    QString OpeningFolderParent() const;
    // A new working folder for a layout being opened; empty on failure.
    QString MakeOpeningFolder() const;
    // The layout read into fresh is the open one now: fresh becomes the working folder and the
    // previous one is removed.
    void SwitchWorkingFolder(const QString &fresh);
    // The files, proxies and format the next render draws with, from the editor's state.
    void HandStateToRenderer();
    // Where the board is shown: below the main item box, as the window is laid out now.
    QRect PreviewRegionOfWindow() const;
    // The board laid out and composed anew for the window after a layout at another scale.
    void LayOutPreview(bool erase);
    void DropStrip(QPoint point);
    // Shifts a dropped strip's offsets so that its frame and text stay on the board.
    // recordUndo: no undo snapshot was taken of the strip yet. True when the strip was shifted.
    bool KeepStripOnBoard(CellPosition cell, bool recordUndo);
    // Text of the strip being edited that grew or moved past the board's edge comes back onto it.
    void KeepTextStripOnBoard();
    void EndModeAfterDelete();
    // After Undo or Redo: no mode, the boxes empty, the board as a loaded board with nothing
    // selected.
    void ShowBoardAfterHistoryStep();
    void EnableHistoryButtons();
    // Applies change to the active group when it changes something.
    bool ChangeGroupStyle(const std::function<void(TextGroup &)> &change);
    // inTextMode: the strip of the active prices group; else the picture or background strip.
    bool ChangeStripStyle(bool inTextMode, const std::function<void(Strip &)> &change);
    // Putting an undo snapshot for a mode's entry aside the redo steps until the mode shows a
    // change: a click that selects and changes nothing keeps what can be redone.
    RedoList parkedRedo_;
    int parkedAtUndoSize_ = -1;

    Controls &controls_;
    Prompter *prompter_;
};

} // namespace tavrin
