#pragma once

#include <QString>

#include <optional>

namespace tavrin {

enum class Answer { Ok, Cancel, Yes, No };

// The grid of a new board.
struct GridSize {
    int columns = 2;
    int rows = 16;
};

// Every modal question of the program goes through this interface. The window shows real
// dialogs; tests script the answers and record the texts.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Message box with one OK button.
    virtual void showMessage(const QString &text) = 0;
    // Message box with OK and Cancel; returns Ok or Cancel.
    virtual Answer askOkCancel(const QString &text) = 0;
    // Message box with Yes and No; returns Yes or No.
    virtual Answer askYesNo(const QString &text) = 0;
    // Message box with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString &text) = 0;
    // Open-file dialog; an empty result means the user cancelled. The filter is a Qt name
    // filter ("Description (*.a *.b)").
    virtual QString askOpenFileName(const QString &title, const QString &folder, const QString &filter) = 0;
    // Save-file dialog; an empty result means the user cancelled.
    virtual QString askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                                    const QString &filter) = 0;
    // The font installation panel on the font files of fontFolder: the user installs fonts in it
    // and closes it with "Done" (Cancel), or by choosing a file (Ok).
    virtual Answer askFontInstallation(const QString &title, const QString &fontFolder) = 0;
    // The TV image rotation question for a portrait board, with lastChoice preselected; returns
    // the choice the dialog holds when it closes: 0 none, 1 clockwise, 2 counter-clockwise.
    virtual int askTvRotation(int lastChoice) { return lastChoice; }
    // The save command's result window (confirmation or failure), closed with OK.
    virtual void showSaveResult(const QString &text) { showMessage(text); }
    // The grid of a new board, starting from proposed; nothing when the user cancelled.
    virtual std::optional<GridSize> askGridSize(GridSize) { return std::nullopt; }
};

} // namespace tavrin
