// A new layout: an empty board of the chosen grid on the chosen background, ready to edit and
// saved as a package that opens again with the same grid.
#include "editor/Editor.h"
#include "render/BoardGeometry.h"
#include "layout/StripOperations.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

struct NewLayoutTest : ::testing::Test {
    test::TempDataDir data;
    test::TableControls controls;
    test::ScriptedPrompter prompter;
    std::unique_ptr<BoardDocument> document;
    std::unique_ptr<Editor> editor;
    QString background;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        document = std::make_unique<BoardDocument>(DataFolderPath());
        editor = std::make_unique<Editor>(controls, prompter, *document);
        editor->Initialise(1733650000, 1, nullptr);
        QDir().mkpath(data.file("pictures"));
        background = data.file("pictures/Chalkboard.jpg");
        QImage image(1920, 1080, QImage::Format_RGB32);
        image.fill(QColor(40, 60, 50));
        ASSERT_TRUE(image.save(background, "JPG"));
    }
    int stripsInUse(Editor &e)
    {
        int used = 0;
        e.layout().forEachBoardStrip([&](int, int, const Strip &s) { used += IsStripInUse(s) ? 1 : 0; });
        return used;
    }
    void openSample()
    {
        QString error;
        const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("samples"), &error);
        ASSERT_EQ(written.size(), 2) << error.toStdString();
        prompter.fileNames = {written[0]};
        editor->OpenLayoutCommand();
        ASSERT_GT(stripsInUse(*editor), 0);
    }
};

TEST_F(NewLayoutTest, ANewThreeByTwentyBoardSavesAndOpensAgainEmpty)
{
    openSample();
    test::MakeUnsavedChange(*editor);
    prompter.answers = {Answer::No}; // do not save the sample
    prompter.fileNames = {background};
    prompter.gridSizes = {GridSize{3, 20}};
    editor->NewLayoutCommand();

    ASSERT_EQ(prompter.gridQuestions.size(), 1);
    EXPECT_EQ(prompter.gridQuestions[0].columns, 2);
    EXPECT_EQ(prompter.gridQuestions[0].rows, 16);
    EXPECT_EQ(prompter.shown, QStringList{"Do you wish to save this image?"});
    EXPECT_EQ(editor->layout().NumberOfColumns, 3);
    EXPECT_EQ(editor->layout().NumberOfRows, 20);
    EXPECT_EQ(stripsInUse(*editor), 0);
    EXPECT_FALSE(editor->document().isModified());
    EXPECT_TRUE(!editor->document().canUndo());
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage));
    EXPECT_TRUE(QFile::exists(editor->document().workingFolder() + "/Background.jpg"));
    // The board is laid out to its last cell, ready for the first strip.
    EXPECT_FALSE(ToQRectF(editor->geometry()(2, 19).cellRect).isEmpty());
    EXPECT_TRUE(ToQRectF(editor->geometry()(3, 0).cellRect).isEmpty());

    const QString out = data.file("out");
    QDir().mkpath(out);
    prompter.fileNames = {out + "/Board"};
    editor->SaveLayoutAndTvImageCommand();
    EXPECT_EQ(prompter.proposedNames, QStringList{"Untitled_LAYOUT.MARBIX"});
    ASSERT_TRUE(QFile::exists(out + "/Board_LAYOUT.MARBIX"));
    EXPECT_TRUE(QFile::exists(out + "/Board_TV.jpg"));

    test::EditorSession other(true, 1733650001, 2);
    Editor &reopened = other.editor;
    other.prompter.fileNames = {out + "/Board_LAYOUT.MARBIX"};
    reopened.OpenLayoutCommand();
    ASSERT_TRUE(reopened.document().hasBoard()) << other.prompter.shown.join("|").toStdString();
    EXPECT_EQ(reopened.layout().NumberOfColumns, 3);
    EXPECT_EQ(reopened.layout().NumberOfRows, 20);
    EXPECT_EQ(stripsInUse(reopened), 0);
}

TEST_F(NewLayoutTest, CancellingAnyQuestionOrABadGridKeepsTheOpenBoard)
{
    openSample();
    const QString document = editor->document().names().layoutName;
    const int used = stripsInUse(*editor);
    const struct {
        const char *name;
        std::deque<QString> files;
        std::deque<std::optional<GridSize>> grids;
    } cases[] = {
        {"no background", {}, {}},
        {"no grid", {background}, {std::nullopt}},
        {"missing background", {data.file("nowhere.jpg")}, {GridSize{3, 20}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        test::MakeUnsavedChange(*editor);
        prompter.answers = {Answer::No};
        prompter.fileNames = c.files;
        prompter.gridSizes = c.grids;
        editor->NewLayoutCommand();
        EXPECT_EQ(editor->document().names().layoutName, document);
        EXPECT_EQ(stripsInUse(*editor), used);
        EXPECT_TRUE(editor->document().isModified()) << "the open board's edits are still unsaved";
    }
    for (GridSize bad : {GridSize{0, 16}, GridSize{10, 16}, GridSize{2, 0}, GridSize{2, 202}})
        EXPECT_FALSE(editor->NewLayout(background, bad.columns, bad.rows));
    EXPECT_EQ(stripsInUse(*editor), used);
}

} // namespace
} // namespace tavrin
