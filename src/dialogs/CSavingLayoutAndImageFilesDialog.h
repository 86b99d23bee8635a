#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace tavrin {

// A caption-less text window with one OK button, used two ways by the save command:
// - modeless as the please-wait notice: showCentred(), setText() while the work runs; it stays up
//   until the caller closes it (or the user presses OK);
// - modal as the result window: setMessage(), exec(); returns when OK is pressed.
// Whenever the window itself is painted or moved the mouse pointer is moved onto the centre of OK,
// so that a press of the mouse button confirms at once. A text longer than the template's text
// area makes the window grow until all of it shows.
class CSavingLayoutAndImageFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSavingLayoutAndImageFilesDialog(QWidget *parent = nullptr);

    // Runs the result window modally with message and returns when OK is pressed.
    static void ShowResult(const QString &message, QWidget *parent = nullptr);

    // The text put into the text control when the window is shown (and at once when it is
    // already shown). "\r\n" shows as a line break.
    void setMessage(const QString &message);
    QString message() const { return message_; }

    // Sets the text control directly.
    void setText(const QString &text);
    QString text() const;

    // Centres the window on its screen and shows it without blocking.
    void showCentred();

    QLabel *textControl() const { return text_; }
    QPushButton *okButton() const { return ok_; }
    // The point at the centre of OK, in screen coordinates: where the pointer is moved.
    QPoint okButtonCentre() const;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void centreOnScreen();
    // Grows the window (up to the screen) until the whole text shows; never below the template.
    void fitToText();
    void movePointerToOk();

    QString message_;
    QLabel *text_;
    QPushButton *ok_;
    QPushButton *cancel_;
    bool placed_ = false;
};

} // namespace tavrin
