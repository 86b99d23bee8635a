#pragma once

#include "app/EventClock.h"

#include <QWidget>

class QPainter;

namespace tavrin {

class Editor;

// The window's client area: the controls sit on it and the board is shown on it, scaled into
// the preview area, with the screen-only overlays (vertical grid, marquees) over it.
class BoardPreview : public QWidget {
    Q_OBJECT
public:
    explicit BoardPreview(QWidget *parent = nullptr) : QWidget(parent) {}
    // Also starts watching the program's input: see eventFilter.
    void setEditor(Editor *editor);

protected:
    // Every input event of the program keeps the event clock in step, so that even the first
    // click after a long handler is told apart; left presses on any control that were made
    // while the editor was busy (a load, an arrow's step) are dropped.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // A left press is a board click; the second press of a double click is not.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The marquee of the active edit mode, over the board.
    void drawSelection(QPainter &painter);

    Editor *editor_ = nullptr;
    EventClock clock_;
};

} // namespace tavrin
