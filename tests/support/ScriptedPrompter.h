#pragma once

#include "platform/Prompter.h"

#include <QStringList>

#include "support/QtPrinters.h"

#include <deque>

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
    QStringList dialogTitles; // titles of the file dialogs

    void showMessage(const QString &text) override;
    Answer askOkCancel(const QString &text) override;
    Answer askYesNo(const QString &text) override;
    Answer askYesNoCancel(const QString &text) override;
    QString askOpenFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                            const QString &filter) override;

private:
    Answer next(Answer whenEmpty);
    QString nextFileName(const QString &title);
};

} // namespace tavrin::test
