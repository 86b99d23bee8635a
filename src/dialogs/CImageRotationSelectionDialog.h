#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tavrin {

// Asks how the TV image of a portrait board is turned: 0 none, 1 clockwise, 2 counter-clockwise.
// The caller sets the last choice, runs the dialog and reads rotation() afterwards, however the
// dialog was closed (OK, Enter, Escape, the close box): the dialog's own result is not used.
class CImageRotationSelectionDialog : public QDialog {
    Q_OBJECT
public:
    enum : int { NoRotation = 0, Clockwise = 1, CounterClockwise = 2 };

    explicit CImageRotationSelectionDialog(int rotation = NoRotation, QWidget *parent = nullptr);

    // Runs the dialog modally with preselected checked and returns the choice it holds when closed.
    static int Ask(int preselected, QWidget *parent = nullptr);

    int rotation() const { return rotation_; }
    void setRotation(int rotation);

    QLabel *explanation() const { return explanation_; }
    QRadioButton *noneButton() const { return none_; }
    QRadioButton *clockwiseButton() const { return clockwise_; }
    QRadioButton *counterClockwiseButton() const { return counterClockwise_; }
    QPushButton *okButton() const { return ok_; }
    QPushButton *cancelButton() const { return cancel_; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Checks the button of the current rotation and no other (none for an unknown value).
    void showRotation();
    void choose(int rotation);

    int rotation_ = NoRotation;
    QLabel *explanation_;
    QRadioButton *none_;
    QRadioButton *clockwise_;
    QRadioButton *counterClockwise_;
    QPushButton *ok_;
    QPushButton *cancel_;
};

} // namespace tavrin
