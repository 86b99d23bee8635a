// The time from a keystroke in a text box to the redrawn board, on the landscape sample with
// the proxies the editor uses while typing.
#include "Scenarios.h"

#include "editor/Editor.h"
#include "editor/HeadlessControls.h"
#include "platform/SilentPrompter.h"
#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"

#include <QTemporaryDir>

#include <memory>

namespace tavrin::bench {
namespace {

struct TypingScene {
    QTemporaryDir folder;
    HeadlessControls controls;
    SilentPrompter prompter;
    BoardDocument document{folder.path()};
    Editor editor{controls, prompter, document};
    QString typed;

    TypingScene()
    {
        controls.client = QSize(1920, 1040); // a maximised window on a full-HD screen
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(samples::SampleKind::Landscape, folder.path(), *layout);
        // Shown as a new board made from it: with the proxies the editor types on.
        document.newBoardFrom(*layout, folder.path() + "/Background.jpg");
        const RectF32 box = editor.geometry()(0, 1).hitBoxes[MainItemGroup];
        editor.BoardClick(ToQRectF(box).center().toPoint(), editor.ignoreClicksBefore());
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
