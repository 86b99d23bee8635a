#include "editor/Editor.h"
#include "platform/DataFolders.h"
#include "layout/StripOperations.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

int RunCli(const QStringList &arguments, QString *errors = nullptr)
{
    QProcess process;
    process.start(TAVRIN_CLI_PATH, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

TEST(NewCommand, WritesAnEmptyBoardThatTheEditorOpens)
{
    test::TempDataDir data;
    const QString background = data.file("Wood.jpg");
    QImage image(1280, 720, QImage::Format_RGB32);
    image.fill(QColor(120, 80, 40));
    ASSERT_TRUE(image.save(background, "JPG"));

    QString errors;
    ASSERT_EQ(RunCli({"new", background, "--columns", "3", "--rows", "20", data.file("out/Board")}, &errors), 0)
        << errors.toStdString();
    EXPECT_TRUE(QFile::exists(data.file("out/Board_TV.jpg")));
    EXPECT_EQ(QImage(data.file("out/Board_TV.jpg")).size(), QSize(1280, 720));

    test::TableControls controls;
    test::ScriptedPrompter prompter;
    BoardDocument document(DataFolderPath());
    Editor editor(controls, prompter, document);
    editor.Initialise(1733650000, 1, nullptr);
    prompter.fileNames = {data.file("out/Board_LAYOUT.MARBIX")};
    editor.OpenLayoutCommand();
    ASSERT_FALSE(editor.document().backgroundName().isEmpty()) << prompter.shown.join("|").toStdString();
    EXPECT_EQ(editor.layout().NumberOfColumns, 3);
    EXPECT_EQ(editor.layout().NumberOfRows, 20);
    int used = 0;
    editor.layout().forEachBoardStrip([&](int, int, const Strip &s) { used += IsStripInUse(s) ? 1 : 0; });
    EXPECT_EQ(used, 0);

    // Counts outside the grid store and missing parts are usage errors; a missing background fails.
    for (const QStringList &bad : {QStringList{"new", background, "--columns", "10", "--rows", "20", data.file("x/B")},
                                   QStringList{"new", background, "--columns", "2", "--rows", "0", data.file("x/B")},
                                   QStringList{"new", background, "--columns", "2"}})
        EXPECT_EQ(RunCli(bad), 2) << bad.join(' ').toStdString();
    EXPECT_EQ(RunCli({"new", data.file("none.jpg"), "--columns", "2", "--rows", "3", data.file("x/B")}), 1);
    EXPECT_FALSE(QDir(data.file("x")).exists() && !QDir(data.file("x")).isEmpty());
}

} // namespace
} // namespace tavrin
