#include "support/ScriptedPrompter.h"

namespace tavrin::test {

Answer ScriptedPrompter::next(Answer whenEmpty)
{
    if (answers.empty())
        return whenEmpty;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedPrompter::nextFileName(const QString &title)
{
    dialogTitles << title;
    if (fileNames.empty())
        return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

void ScriptedPrompter::showMessage(const QString &text) { shown << text; }

Answer ScriptedPrompter::askOkCancel(const QString &text)
{
    shown << text;
    return next(Answer::Cancel);
}

Answer ScriptedPrompter::askYesNo(const QString &text)
{
    shown << text;
    return next(Answer::No);
}

Answer ScriptedPrompter::askYesNoCancel(const QString &text)
{
    shown << text;
    return next(Answer::Cancel);
}

QString ScriptedPrompter::askOpenFileName(const QString &title, const QString &, const QString &)
{
    return nextFileName(title);
}

QString ScriptedPrompter::askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                                          const QString &filter)
{
    saveDialogFolders << folder;
    proposedNames << proposedName;
    saveDialogFilters << filter;
    return nextFileName(title);
}

Answer ScriptedPrompter::askFontInstallation(const QString &title, const QString &fontFolder)
{
    dialogTitles << title;
    fontPanelFolders << fontFolder;
    if (duringFontInstallation)
        duringFontInstallation();
    if (fontPanelAnswers.empty())
        return Answer::Cancel;
    const Answer a = fontPanelAnswers.front();
    fontPanelAnswers.pop_front();
    return a;
}

int ScriptedPrompter::askTvRotation(int lastChoice)
{
    rotationQuestions << lastChoice;
    if (rotations.empty())
        return lastChoice;
    const int choice = rotations.front();
    rotations.pop_front();
    return choice;
}

std::optional<GridSize> ScriptedPrompter::askGridSize(GridSize proposed)
{
    gridQuestions << proposed;
    if (gridSizes.empty())
        return std::nullopt;
    const std::optional<GridSize> answer = gridSizes.front();
    gridSizes.pop_front();
    return answer;
}

} // namespace tavrin::test
