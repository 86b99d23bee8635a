#pragma once

#include "document/BoardHistory.h"
#include "document/DocumentResult.h"
#include "layout/FontList.h"
#include "layout/LayoutFileNames.h"
#include "layout/MenuLayout.h"
#include "layout/StripGeometry.h"
#include "render/BoardRenderer.h"
#include "render/FontUse.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tavrin {

// What a change may touch: the strips and grid, and the board's files.
struct BoardEdit {
    MenuLayout &layout;
    BoardFiles &files;
};

// How the open goes about the fonts the layout needs and this computer lacks.
struct OpenOptions {
    // Given the missing names (each followed by CR LF), the working folder the package's font
    // files were unpacked into and the background (a legacy layout's fonts lie beside it): makes
    // them available (installs them, or registers the package's own copies) and says whether the
    // open goes on. The list keeps the names still missing. Unset, the open goes on without them.
    std::function<bool(QString &missingFontsList, const QString &workingFolder, const QString &backgroundImagePath)>
        provideMissingFonts;
    // The TV image is written right after the open: the background and the pictures are decoded
    // on another thread while the open measures the texts.
    bool outputFollows = false;
};

struct SaveOptions {
    // Files already at the package's or the TV image's name may be replaced. Without it the save
    // refuses (WouldReplace) and writes nothing.
    bool replaceExisting = false;
    // The turn of a portrait board's TV image: 0 none, 1 clockwise, 2 counter-clockwise.
    int rotation = 0;
};

// What the document tells its listeners after the board changed.
struct BoardChanged {
    HistoryMove move;
    bool historyStep = false; // an undo or a redo, rather than a new change
    bool wholeBoard = false;  // another board is open now (opened, new, converted)
};

// One board, as a document: its layout, the working folder with its files (background,
// pictures, the fonts it carries), the names of its file and folders, its fonts, the white-print
// choice, the modified state and the undo/redo history. Every change to the board goes through
// apply(), from every front end, so that history, modified state and notices live here alone.
// Operations return a result with a reason; nothing here asks the user anything.
class BoardDocument {
public:
    // Working folders are made in dataFolder ("ZUP..." folders).
    explicit BoardDocument(const QString &dataFolder);
    ~BoardDocument();
    BoardDocument(const BoardDocument &) = delete;
    BoardDocument &operator=(const BoardDocument &) = delete;

    // --- the board as it is ------------------------------------------------------------------
    const MenuLayout &layout() const { return *layout_; }
    bool hasBoard() const { return !files_.backgroundName.isEmpty(); }
    const BoardFiles &files() const { return files_; }
    const QString &backgroundName() const { return files_.backgroundName; }
    const QString &backgroundImagePath() const { return files_.backgroundImagePath; }
    const QString &layoutBackgroundPath() const { return files_.layoutBackgroundPath; }
    const QString &dataFolder() const { return dataFolder_; }
    const QString &workingFolder() const { return workingFolder_; }
    // The names of the open layout's file: shown in the title, proposed by the save dialog.
    const LayoutFileNames &names() const { return names_; }
    bool fromPackage() const { return names_.isPackage; }
    const FontList &fontList() const { return fontList_; }
    const QString &missingFontsList() const { return missingFontsList_; }
    // What the last output render, or the open's pass over the strips, drew differently from the
    // layout: another family, a made-up style, characters no font has.
    const FontSubstitutions &fontSubstitutions() const { return substitutions_; }
    bool whitePrint() const { return layout_->WhitePrintBackground; }
    // True exactly when the board differs from what was last opened or saved.
    bool isModified() const { return !history_.atSavedPoint(); }

    // The working folder of a board not yet opened (the window makes its own at start-up);
    // the document takes it over and removes it when another takes its place.
    void adoptWorkingFolder(const QString &folder);

    // --- opening, saving, writing -------------------------------------------------------------
    // Everything an open does once the file is picked: a TV image leads to its package, a fresh
    // working folder, unpacking, reading, the path rules, the font check, the pass over the
    // opened strips. The open board changes only on success.
    DocumentResult open(const QString &pickedPath, const OpenOptions &options = {});

    // An empty board of columns x rows (1-9 x 1-201) on a copy of the background, in a fresh
    // working folder, unmodified, named "Untitled_LAYOUT.MARBIX" until its first save.
    DocumentResult newBoard(const QString &backgroundPath, int columns, int rows);

    // A new board with the strips and grid of board (a template, a board made by a program) on
    // a copy of the background, as newBoard makes it otherwise.
    DocumentResult newBoardFrom(const MenuLayout &board, const QString &backgroundPath);

    // The package at packagePath (as PackagePathForChosenName gives it) and the TV image beside
    // it, written together: temporaries first, moved into place together, permission bits kept.
    // On success the board counts as saved there and takes that file's names.
    DocumentResult save(const QString &packagePath, const SaveOptions &options);

    // The file name the save dialog proposes for the board ("Lunch_LAYOUT.MARBIX"): a layout that
    // did not come from a package is named as one.
    QString proposedSaveName(bool whitePrint) const;

    // The TV image alone, as the save would write it, to target (replaced when there). The font
    // list is not touched, as no package is written.
    DocumentResult exportTvImage(const QString &target, int rotation);

    // The board at its own resolution as the TV image draws it, before any turn; gathers the
    // fonts the package would carry. A null image when the background cannot be drawn.
    QImage renderOutput();

    // The package a legacy layout converts to ("Lunch_LAYOUT.MARBIX" beside the document); empty
    // when the open board is not legacy or the conversion must not happen.
    QString convertedPackagePath() const;
    // Replaces the open legacy layout's document and support folder by one package, read back
    // before anything of the old files goes; the board is the package's then.
    DocumentResult convertLegacy();

    // A new background for the board (copied into the working folder for the package), as one
    // change. The board keeps its background when the copy cannot be made.
    DocumentResult loadBackground(const QString &chosen);

    // --- changing the board ------------------------------------------------------------------
    // The one door for every change: edit changes the board, then the document records what
    // differs as one history step (or part of the last one, as info says), and tells its
    // listeners. A change that leaves the board as it was records nothing. Returns whether the
    // board changed. A change made while another is under way is part of that one.
    bool apply(const ChangeInfo &info, const std::function<void(BoardEdit &)> &edit);
    // The history's clock, in milliseconds; tests set their own.
    std::function<qint64()> clock;

    bool canUndo() const { return history_.canUndo(); }
    // How many steps Undo can take back.
    int undoSteps() const { return history_.position(); }
    bool canRedo() const { return history_.canRedo(); }
    QString undoLabel() const { return history_.undoLabel(); }
    QString redoLabel() const { return history_.redoLabel(); }
    // The cells of the strips the next Undo would change.
    std::vector<std::pair<int, int>> undoCells() const { return history_.undoCells(); }
    std::optional<HistoryMove> undo();
    std::optional<HistoryMove> redo();
    // The board as it is now counts as saved. The save does this itself; a stand-in for the save
    // (a test's) calls it.
    void markSaved() { history_.markSaved(); notify({}); }
    // The next change is a step of its own (a pause, another box, another selection).
    void endMerging() { history_.endMerging(); }

    // The white-print format of the board (shown and exported); a display choice, not an edit.
    void setWhitePrint(bool on) { layout_->WhitePrintBackground = on; }
    // Whether the next save gathers the layout's font files into the working folder while it
    // draws (a legacy layout, whose fonts are not in a package yet).
    bool gatheringFonts() const { return fontGathering_; }

    // Called after every change, undo and redo; the number given back takes it off again.
    int addListener(std::function<void(const BoardChanged &)> listener);
    void removeListener(int id);

    // Every caret mark and one trailing blank go from each prices text, as part of the last
    // change: what a save or an export writes never holds them.
    void cleanPriceTexts();

    // The board's size in pixels, from the background's header; empty without one.
    QSize boardSize() const;

private:
    BoardSources sourcesForOutput() const;
    QImage renderForOutput(bool gatherFonts);
    // The folder fresh becomes the working folder; the old one is removed.
    void switchWorkingFolder(const QString &fresh);
    void notify(const BoardChanged &change);
    qint64 now() const;

    QString dataFolder_;
    QString workingFolder_;
    std::unique_ptr<MenuLayout> layout_;
    BoardFiles files_;
    LayoutFileNames names_;
    FontList fontList_;
    QString missingFontsList_;
    FontSubstitutions substitutions_;
    bool fontGathering_ = false;
    BoardHistory history_;
    int changeDepth_ = 0;
    std::vector<std::pair<int, std::function<void(const BoardChanged &)>>> listeners_;
    int nextListener_ = 1;
    // Draws at the board's own scale for the outputs and the open's pass; never the preview.
    std::unique_ptr<GeometryRecords> outputGeometry_;
    std::unique_ptr<BoardRenderer> outputRenderer_;
};

} // namespace tavrin
