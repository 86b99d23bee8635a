#pragma once

#include "platform/Prompter.h"

#include <QStringList>

namespace tavrin {

// A prompter for work without a user (the command-line tool): it keeps the messages it is
// given, declines every question and cancels every file dialog.
class SilentPrompter : public Prompter {
public:
    QStringList messages;

    void showMessage(const QString &text) override { messages << text; }
    Answer askOkCancel(const QString &text) override
    {
        messages << text;
        return Answer::Cancel;
    }
    Answer askYesNo(const QString &text) override
    {
        messages << text;
        return Answer::No;
    }
    Answer askYesNoCancel(const QString &text) override
    {
        messages << text;
        return Answer::Cancel;
    }
    QString askOpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString askSaveFileName(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    Answer askFontInstallation(const QString &, const QString &) override { return Answer::Cancel; }
    std::optional<GridSize> askGridSize(GridSize) override { return std::nullopt; }
};

} // namespace tavrin
