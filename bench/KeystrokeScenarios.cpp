// The time from a keystroke in a text box to the redrawn board, on the landscape sample with
// the proxies the editor uses while typing.
#include "Scenarios.h"

#include "editor/Editor.h"
#include "platform/SilentPrompter.h"
#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"

#include <QTemporaryDir>

#include <map>
#include <memory>

namespace tavrin::bench {
namespace {

// Controls kept in a table: the editing logic runs as it does behind the window.
class TableControls : public Controls {
public:
    void setEnabled(ControlId id, bool on) override { state[id].enabled = on; }
    bool isEnabled(ControlId id) const override { return get(id).enabled; }
    void setVisible(ControlId id, bool on) override { state[id].visible = on; }
    bool isVisible(ControlId id) const override { return get(id).visible; }
    void setChecked(ControlId id, bool on) override { state[id].checked = on; }
    bool isChecked(ControlId id) const override { return get(id).checked; }
    void setText(ControlId id, const QString &text) override { state[id].text = text; }
    QString text(ControlId id) const override { return get(id).text; }
    void setFocus(ControlId) override {}
    void setSelection(ControlId, int, int) override {}
    void setWindowTitle(const QString &) override {}
    QRect controlRect(ControlId id) const override
    {
        return id == ControlId::MainItemBox ? QRect(208, 26, 290, 84) : QRect();
    }
    QSize clientSize() const override { return QSize(1920, 1040); }

private:
    struct State {
        bool enabled = true, visible = true, checked = false;
        QString text;
    };
    State get(ControlId id) const
    {
        auto it = state.find(id);
        return it == state.end() ? State{} : it->second;
    }
    std::map<ControlId, State> state;
};

struct TypingScene {
    QTemporaryDir folder;
    TableControls controls;
    SilentPrompter prompter;
    Editor editor{controls, prompter};
    QString typed;

    TypingScene()
    {
        editor.paths.workingFolder = folder.path();
        samples::BuildSample(samples::SampleKind::Landscape, folder.path(), editor.layout);
        editor.backgroundName = "Background.jpg";
        editor.backgroundImagePath = folder.path() + "/Background.jpg";
        editor.fromPackage = true;
        editor.MakeProxiesForLoadedBoard();
        editor.Refresh({true, true});
        RebuildGrid(editor.layout, editor.renderer.preview(), editor.geometry);
        editor.Refresh();
        const RectF32 box = editor.geometry(0, 1).hitBoxes[MainItemGroup];
        editor.BoardClick(ToQRectF(box).center().toPoint(), editor.ignoreClicksBefore);
        typed = controls.text(ControlId::MainItemBox);
    }
    void keystroke()
    {
        typed += typed.size() % 12 == 0 ? QStringLiteral(" ") : QStringLiteral("x");
        if (typed.size() > 40)
            typed = QStringLiteral("Classic Burger");
        controls.setText(ControlId::MainItemBox, typed);
        editor.TextChanged(MainItemGroup, int(typed.size()));
    }
};

std::unique_ptr<TypingScene> scene;

const bool registered = Register({"keystroke: landscape sample, main item typed, board redrawn", 40,
                                  [] {
                                      EnsureGuiApplication();
                                      scene = std::make_unique<TypingScene>();
                                  },
                                  [] { scene->keystroke(); }});

} // namespace
} // namespace tavrin::bench
