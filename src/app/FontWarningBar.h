#pragma once

#include <QStatusBar>

namespace tavrin {

class Editor;

// The status line at the foot of the window that shows, once per opened layout, what its board
// is drawn with differently from the layout: faces of another family, made-up styles, characters
// no font has. Hidden while there is nothing to say, so that it takes no room from the board.
class FontWarningBar : public QStatusBar {
    Q_OBJECT
public:
    FontWarningBar(Editor &editor, QWidget *parent);

    // Called after every refresh: a layout opened since the last call shows its warnings (or
    // hides the bar); anything else leaves the bar as it is.
    void follow();

    // The warnings on show, one a line; empty when the bar is hidden.
    QString warnings() const { return warnings_; }

private:
    Editor &editor_;
    QString shownFor_; // the working folder of the layout whose warnings were looked at
    QString warnings_;
};

} // namespace tavrin
