#include "fonts/FontInventory.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(FontList, FacesAreWholeNames)
{
    FontList list;
    list.add("Arial Black", "/f/ariblk.ttf");
    list.add("DejaVu Sans", "/f/DejaVuSans.ttf");
    list.add("Semi,colon;Face", "/f/odd.ttf");
    for (const char *face : {"Arial", "Sans", "arial black", "Semi", "colon", ""})
        EXPECT_FALSE(list.hasFace(face)) << face;
    for (const char *face : {"Arial Black", "DejaVu Sans", "Semi,colon;Face"})
        EXPECT_TRUE(list.hasFace(face)) << face;
    EXPECT_FALSE(list.add("DejaVu Sans", "/f/other.ttf")); // listed once, with its first file
    EXPECT_EQ(list.faces(), QStringList({"Arial Black", "DejaVu Sans", "Semi,colon;Face"}));
}

TEST(FontList, GatheringListsAFaceWhoseNameIsPartOfAListedOne)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const FontFileLookup lookup = [](const QString &face) {
        return face == "Sans" ? QStringLiteral("/nonexistent/sans.ttf") : QStringLiteral("/nonexistent/dvs.ttf");
    };
    FontList list;
    EXPECT_TRUE(GatherFontFile(list, "DejaVu Sans", work.path(), lookup));
    EXPECT_TRUE(GatherFontFile(list, "Sans", work.path(), lookup));
    EXPECT_FALSE(GatherFontFile(list, "Sans", work.path(), lookup));
    EXPECT_EQ(list.text(), "DejaVu Sans,dvs.ttf;Sans,sans.ttf;");
    EXPECT_EQ(list.entries()[1].fontFile, "/nonexistent/sans.ttf");
}

// The board's output render gathers the fonts of the drawn texts from fontconfig: each face once
// across groups and strips, in the order first drawn, with its file copied into the working
// folder; every output render starts the list afresh, and the editor's preview gathers nothing.
TEST(FontGathering, OutputRendersListEachDrawnFaceOnce)
{
    test::EnsureGuiApplication();
    test::TempDataDir data;
    const QString backgroundPath = data.file("Background.png");
    QImage background(400, 200, QImage::Format_RGB32);
    background.fill(Qt::gray);
    ASSERT_TRUE(background.save(backgroundPath));

    auto layout = std::make_unique<MenuLayout>();
    layout->NumberOfColumns = 2;
    layout->NumberOfRows = 2;
    const auto set = [](MenuLayout &board, int c, int r, TextGroup &(Strip::*group)(), const char *font,
                        const char *text) {
        TextGroup &g = (board.strip(c, r).*group)();
        g.Font = font;
        g.Text = text;
    };
    set(*layout, 0, 0, &Strip::mainItem, "Arial", "Soup");
    set(*layout, 0, 0, &Strip::subItems, "DejaVu Sans", "of the day");
    set(*layout, 1, 1, &Strip::mainItem, "Arial", "Bread");
    set(*layout, 1, 1, &Strip::prices, "Liberation Serif", ""); // no text: not drawn, not listed
    set(*layout, 1, 1, &Strip::subItems, "NoSuchFontFamily", "plain"); // no file: not listed

    test::EditorSession session;
    session.controls.client = QSize(800, 600);
    BoardDocument &document = session.document;
    ASSERT_TRUE(session.show(*layout, backgroundPath));
    ASSERT_TRUE(session.editor.Refresh());
    EXPECT_TRUE(document.fontList().entries().empty()); // the screen alone gathers nothing

    const QString expected = "Arial,LiberationSans-Regular.ttf;DejaVu Sans,DejaVuSans.ttf;";
    ASSERT_FALSE(document.renderOutput().isNull());
    EXPECT_EQ(document.fontList().text(), expected);
    EXPECT_TRUE(QFile::exists(QDir(document.workingFolder()).filePath("LiberationSans-Regular.ttf")));
    EXPECT_TRUE(QFile::exists(QDir(document.workingFolder()).filePath("DejaVuSans.ttf")));

    session.change([&](MenuLayout &board) { set(board, 0, 0, &Strip::subItems, "DejaVu Sans", ""); });
    ASSERT_FALSE(document.renderOutput().isNull());
    EXPECT_EQ(document.fontList().text(), "Arial,LiberationSans-Regular.ttf;");
    ASSERT_TRUE(session.editor.Refresh());
    EXPECT_EQ(document.fontList().text(), "Arial,LiberationSans-Regular.ttf;");
}

} // namespace
} // namespace tavrin
