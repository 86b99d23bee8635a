#pragma once

#include "app/QtPrompter.h"
#include "app/WidgetControls.h"
#include "editor/Editor.h"

#include <QDialog>

#include <functional>

class QMenuBar;
class QUrl;

namespace tavrin {

class InstanceLock;
class StylePanel;

// The editor window: every control of the editor, the board preview, the menu, and the
// routing of the user's actions into the editing logic.
class FontWarningBar;

class CTavrinDlg : public QDialog {
    Q_OBJECT
public:
    CTavrinDlg(bool otherInstanceRunning, InstanceLock *lock, QWidget *parent = nullptr);
    ~CTavrinDlg() override;

    Editor &editor() { return editor_; }
    BoardDocument &document() { return document_; }
    WidgetControls &controls() { return controls_; }

    // How the Exit button and the menu's Exit end the process; tests replace it.
    std::function<void(int)> endProcess;
    // How "Help Videos" opens the page; false when no browser could be started. Tests replace it.
    std::function<bool(const QUrl &)> openUrl;
    // Replaces the prompter (tests script the answers).
    void usePrompter(Prompter &prompter);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void connectButtons();
    void addNewLayoutCommand();
    void addStylePanel();
    void onButton(ControlId id);
    void onMenuExit();
    void showAboutBox();

    QtPrompter qtPrompter_;
    WidgetControls controls_;
    BoardDocument document_;
    Editor editor_;
    QMenuBar *menuBar_ = nullptr;
    QWidget *client_ = nullptr;
    StylePanel *stylePanel_ = nullptr;
    FontWarningBar *fontWarnings_ = nullptr; // what the opened board draws differently
    bool closing_ = false;
};

// The application's own icon, drawn rather than loaded so the program needs no resource files.
QIcon ApplicationIcon();

} // namespace tavrin
