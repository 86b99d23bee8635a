#pragma once

#include "editor/SaveFeedback.h"
#include "platform/Prompter.h"

#include <QStringList>

#include <optional>

namespace tavrin::cli {

// The editor's questions answered for a run without a user: the open dialog picks the layout
// being worked on, the save dialog the name given on the command line (or the editor's own
// proposal in the folder given), the rotation question the rotation given (else the choice it
// preselects), and yes/no questions the answer set for the command. Messages are kept for the
// command to print.
class CliPrompter : public Prompter {
public:
    QString openPath;
    QString savePath;   // the save dialog's answer, when set
    QString saveFolder; // else the editor's proposed name in this folder
    std::optional<int> rotation;
    Answer yesNoAnswer = Answer::No;

    QStringList messages;   // every message and question shown, in order
    QString savedAs;        // what the save dialog answered
    QString saveResult;     // the save's confirmation or failure text

    void showMessage(const QString &text) override { messages << text; }
    Answer askOkCancel(const QString &text) override
    {
        messages << text;
        return Answer::Cancel;
    }
    Answer askYesNo(const QString &) override { return yesNoAnswer; }
    Answer askYesNoCancel(const QString &) override { return Answer::No; }
    QString askOpenFileName(const QString &, const QString &, const QString &) override { return openPath; }
    QString askSaveFileName(const QString &, const QString &, const QString &proposedName, const QString &) override
    {
        savedAs = !savePath.isEmpty() ? savePath
                  : !saveFolder.isEmpty() ? saveFolder + QLatin1Char('/') + proposedName
                                          : QString();
        return savedAs;
    }
    Answer askFontInstallation(const QString &, const QString &) override { return Answer::Cancel; }
    int askTvRotation(int lastChoice) override { return rotation.value_or(lastChoice); }
    void showSaveResult(const QString &text) override { saveResult = text; }
};

// The save's screen feedback without a screen: nothing is shown and nothing waited for, on any
// drive.
class CliSaveFeedback : public SaveFeedback {
public:
    bool isRemovableDrive(const QString &) override { return false; }
};

} // namespace tavrin::cli
