#pragma once

#include "platform/Prompter.h"

#include <QStringList>

#include "support/QtPrinters.h"

#include <deque>
#include <functional>

namespace tavrin::test {

// A prompter that answers from a script and records every text it was shown.
class ScriptedPrompter : public Prompter {
public:
    // Answers given in order to the ask* calls; when the script runs out the answer is Cancel
    // (or No for a yes/no question).
    std::deque<Answer> answers;
    // File names given in order to the file dialogs; when they run out the dialog is cancelled.
    std::deque<QString> fileNames;

    QStringList shown;       // every text shown, in order, whatever the kind of box
    QStringList dialogTitles; // titles of the file dialogs and of the font installation panel
    // What each save dialog started with: folder, proposed name and filter.
    QStringList saveDialogFolders, proposedNames, saveDialogFilters;

    // Answers of the font installation panel, in order: Ok when the user chose a file, Cancel for
    // "Done"; when they run out the panel answers Done. duringFontInstallation (when set) runs
    // while the panel is open, before it answers, to stand in for the user installing fonts.
    std::deque<Answer> fontPanelAnswers;
    std::function<void()> duringFontInstallation;
    QStringList fontPanelFolders; // the folder each panel showed

    // Choices of the TV rotation dialog, in order; when they run out the dialog keeps the
    // preselected choice. rotationQuestions records what each dialog had preselected.
    std::deque<int> rotations;
    QList<int> rotationQuestions;

    // Answers of the grid-size question, in order (nothing: cancelled); when they run out the
    // question is cancelled. gridQuestions records what each question proposed.
    std::deque<std::optional<GridSize>> gridSizes;
    QList<GridSize> gridQuestions;

    void showMessage(const QString &text) override;
    Answer askOkCancel(const QString &text) override;
    Answer askYesNo(const QString &text) override;
    Answer askYesNoCancel(const QString &text) override;
    QString askOpenFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                            const QString &filter) override;
    Answer askFontInstallation(const QString &title, const QString &fontFolder) override;
    int askTvRotation(int lastChoice) override;
    std::optional<GridSize> askGridSize(GridSize proposed) override;

private:
    Answer next(Answer whenEmpty);
    QString nextFileName(const QString &title);
};

} // namespace tavrin::test
