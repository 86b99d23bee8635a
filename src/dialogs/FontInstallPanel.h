#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tavrin {

// The font installation panel: lists the font files of a folder (the working folder, where a
// layout package's fonts were unpacked) and installs the ones the user picks into the user's font
// folder, through the list's context menu or the Install button. "Done" closes it with Rejected;
// choosing a file (double click, Enter) closes it with Accepted and chosenFile() names the file,
// as an open-file dialog would.
class FontInstallPanel : public QDialog {
    Q_OBJECT
public:
    static const QString kTitle;

    // userFontFolder: where installed fonts go (UserFontFolder() in the program; tests pass a
    // temporary folder).
    FontInstallPanel(const QString &fontFolder, const QString &userFontFolder, QWidget *parent = nullptr);

    // Shows the panel for fontFolder, installing into the user's font folder, until it is closed;
    // returns Accepted when a file was chosen, Rejected for Done.
    static int Run(const QString &fontFolder, QWidget *parent = nullptr);

    // The names of the font files listed, in list order.
    QStringList listedFiles() const;
    // Full path of the file chosen to close the panel; empty when it was closed with Done.
    QString chosenFile() const { return chosenFile_; }

    // Installs the listed file of that name and reports the outcome in the panel's status line.
    bool installFile(const QString &fileName);
    // The last outcome shown: what was installed or why it failed.
    QString statusText() const;

    QListWidget *fileList() const { return files_; }
    QPushButton *installButton() const { return install_; }
    QPushButton *doneButton() const { return done_; }

private:
    void installSelected();
    void chooseFile(QListWidgetItem *item);
    void showContextMenu(const QPoint &position);

    QString fontFolder_;
    QString userFontFolder_;
    QString chosenFile_;
    QListWidget *files_;
    QLabel *status_;
    QPushButton *install_;
    QPushButton *done_;
};

} // namespace tavrin
