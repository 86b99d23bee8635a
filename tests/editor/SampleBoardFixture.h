#pragma once

#include "editor/Editor.h"
#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin::test {

// An editor with the landscape sample shown, its geometry recorded as after an open.
struct SampleBoardFixture : ::testing::Test {
    TempDataDir data;
    TableControls controls;
    ScriptedPrompter prompter;
    std::unique_ptr<Editor> editor;

    void SetUp() override
    {
        EnsureGuiApplication();
        editor = std::make_unique<Editor>(controls, prompter);
        editor->Initialise(1733650000, 1, nullptr);
        const QString folder = data.file("sample");
        QDir().mkpath(folder);
        samples::BuildSample(samples::SampleKind::Landscape, folder, editor->layout);
        editor->backgroundName = "Background.jpg";
        editor->backgroundImagePath = folder + "/Background.jpg";
        editor->Refresh({true, true});
        RebuildGrid(editor->layout, editor->renderer.preview(), editor->geometry);
        editor->Refresh();
        editor->SetBoardReadyState();
        editor->SetIdleEditingControls();
        controls.setText(ControlId::ModeLabel, "EDIT MODE:  IDLE");
    }

    Strip &strip(int c, int r) { return editor->layout.strip(c, r); }
    const StripGeometry &geo(int c, int r) { return editor->geometry(c, r); }
    QPoint centreOf(const RectF32 &r) { return ToQRectF(r).center().toPoint(); }
    QPoint hitCentre(int c, int r, int group) { return centreOf(geo(c, r).hitBoxes[group]); }
    void click(QPoint p) { editor->BoardClick(p, editor->ignoreClicksBefore); }
    // The user types a whole new text into a box.
    void type(int group, const QString &text)
    {
        const ControlId box = group == 0 ? ControlId::MainItemBox : group == 1 ? ControlId::SubItemsBox
                                                                               : ControlId::PricesBox;
        controls.setText(box, text);
        editor->TextChanged(group, int(text.size()));
    }
    QString label() { return controls.text(ControlId::ModeLabel); }
};

} // namespace tavrin::test
