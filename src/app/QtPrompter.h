#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace tavrin {

// Real message boxes and file dialogs, all owned by parent (the editor window). Texts are shown
// as given; CR LF line breaks are shown as plain line breaks.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    void showMessage(const QString &text) override;
    Answer askOkCancel(const QString &text) override;
    Answer askYesNo(const QString &text) override;
    Answer askYesNoCancel(const QString &text) override;
    QString askOpenFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                            const QString &filter) override;
    Answer askFontInstallation(const QString &title, const QString &fontFolder) override;
    int askTvRotation(int lastChoice) override;
    void showSaveResult(const QString &text) override;

private:
    QWidget *parent_;
};

} // namespace tavrin
