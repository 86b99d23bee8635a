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
    EXPECT_FALSE(list.add("DejaVu Sans", "/f/DejaVuSans.ttf")); // each pair once
    EXPECT_TRUE(list.add("DejaVu Sans", "/f/DejaVuSans-Bold.ttf")); // a face drawn from two files
    EXPECT_EQ(list.faces(), QStringList({"Arial Black", "DejaVu Sans", "Semi,colon;Face", "DejaVu Sans"}));
}

// "FontFileNames.txt" as every version wrote it (each face once) and as faces with several files
// write it; entries that are not "face,file" are passed over, and nothing loops.
TEST(FontList, ListTextsAreReadAsPairs)
{
    const struct {
        const char *text;
        std::vector<GatheredFont> pairs;
    } cases[] = {
        {"", {}},
        {"Arial,arial.ttf;Segoe UI,segoeui.ttf;", {{"Arial", "arial.ttf"}, {"Segoe UI", "segoeui.ttf"}}},
        {"DejaVu Sans,DejaVuSans.ttf;DejaVu Sans,DejaVuSans-Oblique.ttf;Lohit Devanagari,Lohit-Devanagari.ttf",
         {{"DejaVu Sans", "DejaVuSans.ttf"}, {"DejaVu Sans", "DejaVuSans-Oblique.ttf"},
          {"Lohit Devanagari", "Lohit-Devanagari.ttf"}}},
        {";;no comma;,nameless.ttf;Fileless,;A,a,b.ttf;", {{"A", "a,b.ttf"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadFontListText(QString::fromUtf8(c.text)), c.pairs) << c.text;
}

TEST(FontList, GatheringListsAFaceWhoseNameIsPartOfAListedOne)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    FontList list;
    EXPECT_TRUE(GatherFontFile(list, "DejaVu Sans", "/nonexistent/dvs.ttf", work.path()));
    EXPECT_TRUE(GatherFontFile(list, "Sans", "/nonexistent/sans.ttf", work.path()));
    EXPECT_FALSE(GatherFontFile(list, "Sans", "/nonexistent/sans.ttf", work.path()));
    EXPECT_FALSE(GatherFontFile(list, "Sans", QString(), work.path()));
    EXPECT_EQ(list.text(), "DejaVu Sans,dvs.ttf;Sans,sans.ttf;");
    EXPECT_EQ(list.entries()[1].fontFile, "/nonexistent/sans.ttf");
}

// The board's output render gathers the files the drawn texts are drawn from: each face and file
// once across groups and strips, in the order first drawn, with its file copied into the working
// folder; a face that is not installed is drawn from the stand-in family's file, which is listed
// under that family; every output render starts the list afresh, and the preview gathers nothing.
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
    set(*layout, 1, 1, &Strip::subItems, "NoSuchFontFamily", "plain"); // drawn with DejaVu Sans

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

    session.change([&](MenuLayout &board) {
        set(board, 0, 0, &Strip::subItems, "DejaVu Sans", "");
        set(board, 1, 1, &Strip::subItems, "NoSuchFontFamily", "");
    });
    ASSERT_FALSE(document.renderOutput().isNull());
    EXPECT_EQ(document.fontList().text(), "Arial,LiberationSans-Regular.ttf;");
    ASSERT_TRUE(session.editor.Refresh());
    EXPECT_EQ(document.fontList().text(), "Arial,LiberationSans-Regular.ttf;");
}

} // namespace
} // namespace tavrin
