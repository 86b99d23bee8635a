// The command line drives the editor's own commands: what it writes is what the window writes,
// whatever the window's size.
#include "support/GuiApplication.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include "editor/Editor.h"
#include "platform/DataFolders.h"
#include "document/RotationSetting.h"
#include "layout/LayoutPackage.h"
#include "samples/SampleBoards.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using test::CliRun;

class OneEngine : public ::testing::Test {
protected:
    TempDataDir data; // the data folder of the editor here and of the command line
    QString home;     // the command line's home: nothing may be installed for its user

    void SetUp() override
    {
        test::EnsureGuiApplication();
        home = data.file("home");
        QDir().mkpath(home);
    }

    CliRun cli(const QStringList &arguments) { return test::RunCli(arguments, data.path(), home); }

    QString sample(samples::SampleKind kind)
    {
        QString error;
        const QStringList written = samples::WriteSample(kind, data.file("samples"), &error);
        EXPECT_EQ(written.size(), 2) << error.toStdString();
        return written.value(0);
    }

    // The sample's layout changed by edit, stored in a package of its own.
    QString changedSample(samples::SampleKind kind, const QString &name, const std::function<void(MenuLayout &)> &edit)
    {
        const QString work = data.file("build-" + name);
        QDir().mkpath(work);
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(kind, work, *layout);
        edit(*layout);
        QDir().mkpath(data.file("layouts"));
        const QString package = data.file("layouts/" + name + "_LAYOUT.MARBIX");
        ScriptedPrompter quiet;
        EXPECT_TRUE(WriteLayoutPackage(package, {*layout, true, work + "/Background.jpg", {}, work}, quiet));
        return package;
    }

    struct Saved {
        QString package, tvImage;
    };
    // The window's way: the layout opened and saved as folder/base in an editor whose window has
    // the given size; the rotation dialog keeps its preselected choice.
    Saved saveInEditor(const QString &layout, QSize window, const QString &folder, const QString &base)
    {
        TableControls controls;
        controls.client = window;
        ScriptedPrompter prompter;
        BoardDocument document(DataFolderPath());
        Editor editor(controls, prompter, document);
        editor.Initialise(1733650000, 7, nullptr);
        QDir().mkpath(folder);
        prompter.fileNames = {layout, folder + "/" + base};
        editor.OpenLayoutCommand();
        EXPECT_FALSE(editor.document().backgroundName().isEmpty()) << prompter.shown.join('|').toStdString();
        editor.SaveLayoutAndTvImageCommand();
        const bool whitePrint = editor.whitePrintChecked();
        const QString suffix = whitePrint ? "_WHITE_PRINT_BGND" : "";
        return {folder + "/" + base + "_LAYOUT" + suffix + ".MARBIX", folder + "/" + base + "_TV" + suffix + ".jpg"};
    }

    // Every member of a package, unpacked into a folder of its own: name -> bytes. The archive's
    // member dates are the times the files were written, so packages are compared by content.
    std::map<QString, QByteArray> membersOf(const QString &package)
    {
        static int n = 0;
        const QString folder = data.file("unpacked" + QString::number(++n));
        QDir().mkpath(folder);
        EXPECT_TRUE(UnpackLayoutPackage(package, folder).complete()) << package.toStdString();
        std::map<QString, QByteArray> members;
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            members[name] = ReadAll(folder + "/" + name);
        EXPECT_FALSE(members.empty()) << package.toStdString();
        return members;
    }

    void expectSameFiles(const Saved &a, const Saved &b)
    {
        EXPECT_TRUE(QFile::exists(a.tvImage)) << a.tvImage.toStdString();
        EXPECT_TRUE(ReadAll(a.tvImage) == ReadAll(b.tvImage))
            << a.tvImage.toStdString() << " and " << b.tvImage.toStdString() << " differ";
        const auto membersA = membersOf(a.package), membersB = membersOf(b.package);
        for (const auto &[name, bytes] : membersA)
            EXPECT_TRUE(membersB.count(name) && membersB.at(name) == bytes)
                << name.toStdString() << " of " << a.package.toStdString() << " and " << b.package.toStdString();
        EXPECT_EQ(membersA.size(), membersB.size());
    }
};

TEST_F(OneEngine, EditorAtTwoWindowSizesAndCommandLineWriteTheSameFiles)
{
    for (samples::SampleKind kind : samples::AllSamples()) {
        const QString layout = sample(kind);
        SCOPED_TRACE(layout.toStdString());
        const QString name = samples::Spec(kind).baseName;
        const Saved large = saveInEditor(layout, QSize(1600, 900), data.file("large"), name);
        const Saved small = saveInEditor(layout, QSize(1000, 700), data.file("small"), name);
        const CliRun run = cli({"save", layout, data.file("cli/" + name)});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        const Saved commandLine{data.file("cli/" + name + "_LAYOUT.MARBIX"), data.file("cli/" + name + "_TV.jpg")};
        EXPECT_EQ(run.output, commandLine.package + "\n" + commandLine.tvImage + "\n");
        expectSameFiles(large, small);
        expectSameFiles(large, commandLine);

        // render writes the very TV image of the save.
        const QString rendered = data.file("rendered-" + name + ".jpg");
        ASSERT_EQ(cli({"render", layout, "-o", rendered}).exitCode, 0);
        EXPECT_TRUE(ReadAll(rendered) == ReadAll(large.tvImage)) << "render and save differ";
    }
}

TEST_F(OneEngine, PricesWhitePrintAndRotationComeOutAsTheEditorSavesThem)
{
    using samples::SampleKind;
    const struct {
        QString name;
        SampleKind kind;
        std::function<void(MenuLayout &)> edit;
        int rememberedRotation;
    } cases[] = {
        {"Tilde", SampleKind::Landscape,
         [](MenuLayout &l) {
             l.strip(1, 1).prices().Text = "~$5.99  \r\n~$7.49 ";
             l.strip(1, 2).prices().Text += "  ";
         },
         0},
        {"WhiteStored", SampleKind::Landscape, [](MenuLayout &l) { l.WhitePrintBackground = true; }, 0},
        {"Turned", SampleKind::Portrait, [](MenuLayout &) {}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString layout = changedSample(c.kind, c.name, c.edit);
        ASSERT_TRUE(WriteRotationSetting(data.path(), c.rememberedRotation));
        const Saved editor = saveInEditor(layout, QSize(1280, 760), data.file("editor"), c.name);
        const CliRun run = cli({"save", layout, data.file("cli/" + c.name)});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        const QStringList written = run.output.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(written.size(), 2);
        EXPECT_EQ(QFileInfo(written[0]).fileName(), QFileInfo(editor.package).fileName());
        expectSameFiles(editor, {written[0], written[1]});
        const QString rendered = data.file("rendered-" + c.name + ".jpg");
        ASSERT_EQ(cli({"render", layout, "-o", rendered}).exitCode, 0);
        EXPECT_TRUE(ReadAll(rendered) == ReadAll(editor.tvImage)) << "render and save differ";
    }

    // The options override what the layout stores and what the editor remembers.
    const QString white = data.file("layouts/WhiteStored_LAYOUT.MARBIX");
    const CliRun dark = cli({"save", white, data.file("over/Dark"), "--no-white-print"});
    ASSERT_EQ(dark.exitCode, 0) << dark.errors.toStdString();
    EXPECT_TRUE(QFile::exists(data.file("over/Dark_TV.jpg")));
    EXPECT_TRUE(cli({"document", data.file("over/Dark_LAYOUT.MARBIX")}).output.contains("WhitePrintBackground>No<"));
    EXPECT_TRUE(cli({"document", white}).output.contains("WhitePrintBackground>Yes<"));
    ASSERT_EQ(cli({"render", data.file("layouts/Turned_LAYOUT.MARBIX"), "-o", data.file("upright.jpg"), "--rotation",
                   "0"})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(data.file("upright.jpg")).size(), QSize(1080, 1920));
    EXPECT_EQ(QImage(data.file("rendered-Turned.jpg")).size(), QSize(1920, 1080));
}

} // namespace
} // namespace tavrin
