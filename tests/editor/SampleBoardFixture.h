#pragma once

#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin::test {

// An editor with the landscape sample shown as a new board made from it, nothing selected.
struct SampleBoardFixture : ::testing::Test {
    TempDataDir data;
    GuiApplicationMade gui;
    EditorSession session;
    TableControls &controls = session.controls;
    ScriptedPrompter &prompter = session.prompter;
    BoardDocument &document = session.document;
    Editor *const editor = &session.editor;

    void SetUp() override
    {
        const QString folder = data.file("sample");
        QDir().mkpath(folder);
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(samples::SampleKind::Landscape, folder, *layout);
        ASSERT_TRUE(session.show(*layout, folder + "/Background.jpg"));
        controls.setText(ControlId::ModeLabel, "EDIT MODE:  IDLE");
    }

    // The board the test starts from: the board shown now with edit's changes, shown anew as
    // a fresh board (no history, nothing to save).
    void adjust(const std::function<void(MenuLayout &)> &edit)
    {
        auto layout = std::make_unique<MenuLayout>(editor->layout());
        edit(*layout);
        ASSERT_TRUE(session.show(*layout, document.backgroundImagePath()));
        controls.setText(ControlId::ModeLabel, "EDIT MODE:  IDLE");
    }

    const Strip &strip(int c, int r) { return editor->layout().strip(c, r); }
    const StripGeometry &geo(int c, int r) { return editor->geometry()(c, r); }
    QPoint centreOf(const RectF32 &r) { return ToQRectF(r).center().toPoint(); }
    QPoint hitCentre(int c, int r, int group) { return centreOf(geo(c, r).hitBoxes[group]); }
    void click(QPoint p) { editor->BoardClick(p, editor->ignoreClicksBefore()); }
    // The user types a whole new text into a box.
    void type(int group, const QString &text)
    {
        const ControlId box = group == 0 ? ControlId::MainItemBox : group == 1 ? ControlId::SubItemsBox
                                                                               : ControlId::PricesBox;
        controls.setText(box, text);
        editor->TextChanged(group, int(text.size()));
    }
    QString label() { return controls.text(ControlId::ModeLabel); }
    // Changes the board as one step of its own.
    void change(const std::function<void(MenuLayout &)> &edit) { session.change(edit); }
};

} // namespace tavrin::test
