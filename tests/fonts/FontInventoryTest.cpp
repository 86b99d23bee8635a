#include "editor/Editor.h"
#include "fonts/FontInventory.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(FontList, FacesAreWholeEntries)
{
    const struct {
        const char *list;
        const char *face;
        bool listed;
    } cases[] = {
        {"Arial,arial.ttf;Segoe UI,segoeui.ttf;", "Arial", true},
        {"Arial,arial.ttf;Segoe UI,segoeui.ttf;", "Segoe UI", true},
        {"Arial,arial.ttf;Segoe UI,segoeui.ttf;", "UI", false}, // the end of a listed face
        {"DejaVu Sans,DejaVuSans.ttf;", "Sans", false},
        {"Arial Black,ariblk.ttf;", "Arial", false},
        {"Arial,arial.ttf;", "arial", false}, // case counts
        {"Arial,arial.ttf", "Arial", false},  // no ";": not an entry
        {"nocomma;Arial,arial.ttf;", "Arial", true},
        {"", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FontListHasFace(c.list, c.face), c.listed) << c.list << " / " << c.face;
    EXPECT_EQ(FontListFaces("Arial,arial.ttf;nocomma;Segoe UI,segoeui.ttf;rest"),
              QStringList({"Arial", "Segoe UI"}));
}

TEST(FontList, GatheringListsAFaceWhoseNameIsPartOfAListedOne)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const FontFileLookup lookup = [](const QString &face) {
        return face == "Sans" ? QStringLiteral("/nonexistent/sans.ttf") : QStringLiteral("/nonexistent/dvs.ttf");
    };
    QString list;
    EXPECT_TRUE(GatherFontFile(list, "DejaVu Sans", work.path(), lookup));
    EXPECT_TRUE(GatherFontFile(list, "Sans", work.path(), lookup));
    EXPECT_FALSE(GatherFontFile(list, "Sans", work.path(), lookup));
    EXPECT_EQ(list, "DejaVu Sans,dvs.ttf;Sans,sans.ttf;");
}

// The editor's renderer gathers the fonts of the drawn texts from fontconfig: each face once
// across groups and strips, in the order first drawn, with its file copied into the working
// folder; every output render, and every gathering refresh, starts the list afresh.
TEST(FontGathering, EditorRendersListEachDrawnFaceOnce)
{
    test::EnsureGuiApplication();
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    QImage background(400, 200, QImage::Format_RGB32);
    background.fill(Qt::gray);
    ASSERT_TRUE(background.save(QDir(work.path()).filePath("Background.png")));

    test::TableControls controls;
    controls.client = QSize(800, 600);
    test::ScriptedPrompter prompter;
    auto editor = std::make_unique<Editor>(controls, prompter);
    editor->paths.workingFolder = work.path();
    editor->backgroundName = "Background.png";
    editor->backgroundImagePath = QDir(work.path()).filePath("Background.png");
    MenuLayout &layout = editor->layout;
    layout.NumberOfColumns = 2;
    layout.NumberOfRows = 2;
    const auto set = [&layout](int c, int r, TextGroup &(Strip::*group)(), const char *font, const char *text) {
        TextGroup &g = (layout.strip(c, r).*group)();
        g.Font = font;
        g.Text = text;
    };
    set(0, 0, &Strip::mainItem, "Arial", "Soup");
    set(0, 0, &Strip::subItems, "DejaVu Sans", "of the day");
    set(1, 1, &Strip::mainItem, "Arial", "Bread");
    set(1, 1, &Strip::prices, "Liberation Serif", ""); // no text: not drawn, not listed
    set(1, 1, &Strip::subItems, "NoSuchFontFamily", "plain"); // no file: not listed

    const QString stale = "Gone,gone.ttf;";
    editor->fontList = stale;
    ASSERT_TRUE(editor->Refresh());
    EXPECT_EQ(editor->fontList, stale); // the screen alone gathers nothing

    const QString expected = "Arial,LiberationSans-Regular.ttf;DejaVu Sans,DejaVuSans.ttf;";
    ASSERT_FALSE(editor->renderer.renderForOutput(QRect(0, 0, 800, 600), false).isNull());
    EXPECT_EQ(editor->fontList, expected);
    EXPECT_TRUE(QFile::exists(QDir(work.path()).filePath("LiberationSans-Regular.ttf")));
    EXPECT_TRUE(QFile::exists(QDir(work.path()).filePath("DejaVuSans.ttf")));

    set(0, 0, &Strip::subItems, "DejaVu Sans", "");
    ASSERT_FALSE(editor->renderer.renderForOutput(QRect(0, 0, 800, 600), false).isNull());
    EXPECT_EQ(editor->fontList, "Arial,LiberationSans-Regular.ttf;");

    editor->fontList = stale;
    editor->fontGathering = true;
    ASSERT_TRUE(editor->Refresh());
    EXPECT_EQ(editor->fontList, "Arial,LiberationSans-Regular.ttf;");
}

} // namespace
} // namespace tavrin
