#include "app/FontWarningBar.h"
#include "layout/LayoutPackage.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/TempDataDir.h"
#include "TestApplication.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

// The window says once per opened layout what its board draws differently from the layout,
// and says nothing for a board drawn as it asks.
TEST(FontWarningBar, ShowsTheSubstitutionsOfTheOpenedBoard)
{
    test::App();
    test::TempDataDir data;
    test::EditorSession session;
    test::ScriptedPrompter &prompter = session.prompter;
    Editor *editor = &session.editor;
    // The installation is answered as the command line answers it: the board is drawn anyway.
    editor->provideMissingFonts = [](QString &, const QString &, const QString &) { return true; };
    FontWarningBar bar(*editor, nullptr);

    const QString menus = data.file("menus");
    QString error;
    const QString clean = samples::WriteSample(samples::SampleKind::Landscape, menus, &error).value(0);
    ASSERT_FALSE(clean.isEmpty()) << error.toStdString();
    const QString work = data.file("rewrite");
    auto layout = std::make_unique<MenuLayout>();
    samples::BuildSample(samples::SampleKind::Landscape, work, *layout);
    layout->strip(0, 1).mainItem().Font = "NoSuchFaceAnywhere";
    const QString odd = menus + "/Odd_LAYOUT.MARBIX";
    ASSERT_TRUE(WriteLayoutPackage(odd, {*layout, true, work + "/Background.jpg", {}, work}, prompter));

    prompter.fileNames = {odd};
    editor->OpenLayoutCommand();
    ASSERT_TRUE(editor->document().hasBoard());
    bar.follow();
    EXPECT_FALSE(bar.isHidden());
    EXPECT_TRUE(bar.warnings().contains("column 1, row 2 \"Classic Burger\": the font \"NoSuchFaceAnywhere\" is "
                                        "neither installed nor carried in the package; drawn with \"DejaVu Sans\""))
        << bar.warnings().toStdString();
    EXPECT_EQ(bar.currentMessage(), bar.warnings().section('\n', 0, 0));

    prompter.fileNames = {clean};
    editor->OpenLayoutCommand();
    bar.follow();
    EXPECT_TRUE(bar.isHidden());
    EXPECT_TRUE(bar.warnings().isEmpty());
}

} // namespace
} // namespace tavrin
