#pragma once

#include "editor/Controls.h"

#include <map>

class QWidget;

namespace tavrin {

// The window's widgets registered under their control ids, so that the editing logic can
// switch them by id. Edit boxes report their text with CR LF line breaks.
class WidgetControls : public Controls {
public:
    explicit WidgetControls(QWidget *window) : window_(window) {}

    void add(ControlId id, QWidget *widget) { widgets_[id] = widget; }
    QWidget *widget(ControlId id) const;

    void setEnabled(ControlId id, bool enabled) override;
    bool isEnabled(ControlId id) const override;
    void setVisible(ControlId id, bool visible) override;
    bool isVisible(ControlId id) const override;
    void setChecked(ControlId id, bool checked) override;
    bool isChecked(ControlId id) const override;
    void setText(ControlId id, const QString &text) override;
    QString text(ControlId id) const override;
    void setFocus(ControlId id) override;
    void setSelection(ControlId id, int start, int end) override;
    void setWindowTitle(const QString &title) override;
    QRect controlRect(ControlId id) const override;
    QSize clientSize() const override;

    // The widget the controls sit on; its coordinates are the client coordinates.
    void setClient(QWidget *client) { client_ = client; }

private:
    QWidget *window_;
    QWidget *client_ = nullptr;
    std::map<ControlId, QWidget *> widgets_;
};

} // namespace tavrin
