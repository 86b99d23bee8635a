#pragma once

#include "editor/ControlId.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace tavrin {

// How the editing logic reads and switches the window's controls, by id. The window
// implements it with real widgets; tests implement it with a table.
class Controls {
public:
    virtual ~Controls() = default;

    virtual void setEnabled(ControlId id, bool enabled) = 0;
    virtual bool isEnabled(ControlId id) const = 0;
    virtual void setVisible(ControlId id, bool visible) = 0;
    virtual bool isVisible(ControlId id) const = 0;
    virtual void setChecked(ControlId id, bool checked) = 0;
    virtual bool isChecked(ControlId id) const = 0;
    // Caption of a button, label or group; the contents of an edit box.
    virtual void setText(ControlId id, const QString &text) = 0;
    virtual QString text(ControlId id) const = 0;
    virtual void setFocus(ControlId id) = 0;
    // Selection inside an edit box, in UTF-16 code units.
    virtual void setSelection(ControlId id, int start, int end) = 0;
    // The window's caption.
    virtual void setWindowTitle(const QString &title) = 0;
    // A control's rectangle in client coordinates; empty when there is no such control.
    virtual QRect controlRect(ControlId id) const = 0;
    // Size of the window's client area (below its menu bar).
    virtual QSize clientSize() const = 0;
};

} // namespace tavrin
