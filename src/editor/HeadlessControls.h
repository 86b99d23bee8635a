#pragma once

#include "editor/Controls.h"

#include <map>

namespace tavrin {

// Controls kept in a table, so the editing logic can run without a window (tests, the
// benchmark, batch work). Every control starts enabled, visible, unchecked and empty; the main
// item box sits where the window puts it, so the board is laid out as on the screen.
class HeadlessControls : public Controls {
public:
    struct State {
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        QString text;
        int selectionStart = 0;
        int selectionEnd = 0;
    };

    void setEnabled(ControlId id, bool enabled) override { table[id].enabled = enabled; }
    bool isEnabled(ControlId id) const override { return get(id).enabled; }
    void setVisible(ControlId id, bool visible) override { table[id].visible = visible; }
    bool isVisible(ControlId id) const override { return get(id).visible; }
    void setChecked(ControlId id, bool checked) override { table[id].checked = checked; }
    bool isChecked(ControlId id) const override { return get(id).checked; }
    void setText(ControlId id, const QString &text) override { table[id].text = text; }
    QString text(ControlId id) const override { return get(id).text; }
    void setFocus(ControlId id) override { focused = id; }
    void setSelection(ControlId id, int start, int end) override
    {
        table[id].selectionStart = start;
        table[id].selectionEnd = end;
    }

    void setWindowTitle(const QString &title) override { windowTitle = title; }
    QRect controlRect(ControlId id) const override
    {
        auto it = rects.find(id);
        return it == rects.end() ? QRect() : it->second;
    }
    QSize clientSize() const override { return client; }

    // Where the window would put its controls: the main item box as the window places it.
    std::map<ControlId, QRect> rects{{ControlId::MainItemBox, QRect(208, 26, 290, 84)}};
    QSize client{1280, 760};

    std::map<ControlId, State> table;
    QString windowTitle;
    ControlId focused = ControlId::Ok;

private:
    State get(ControlId id) const
    {
        auto it = table.find(id);
        return it == table.end() ? State{} : it->second;
    }
};

} // namespace tavrin
