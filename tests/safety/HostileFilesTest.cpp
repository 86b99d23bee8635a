// Files that are not what their names say: devices and pipes picked as layouts. Each must be
// refused at once with the open-failure message; a regression here would hang or exhaust memory,
// so every run is bounded by a timer that fails the test instead.
#include "editor/Editor.h"
#include "platform/DataFolders.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;

// The files below stand in for a layout; each is made in folder and its path returned.
struct HostileFile {
    const char *name;
    bool pipe; // a named pipe; otherwise a link to /dev/zero
};

const HostileFile kHostileFiles[] = {
    {"Zero.XMARBIX", false},
    {"Zero_LAYOUT.MARBIX", false},
    {"Fifo_LAYOUT.MARBIX", true},
    {"Fifo.XMARBIX", true},
};

QString MakeHostileFile(const QString &folder, const HostileFile &file)
{
    QDir().mkpath(folder);
    const QString path = folder + u'/' + QString::fromLatin1(file.name);
    const QByteArray name = QFile::encodeName(path);
    if (file.pipe)
        EXPECT_EQ(::mkfifo(name.constData(), 0644), 0);
    else
        EXPECT_EQ(::symlink("/dev/zero", name.constData()), 0);
    return path;
}

// Frees a reader stuck on the pipe at path (by opening it for writing and closing it again) when
// the work has not finished within the time allowed; true when that was needed.
class PipeRescue {
public:
    explicit PipeRescue(const QString &path) : path_(QFile::encodeName(path))
    {
        thread_ = std::thread([this] {
            for (int waited = 0; waited < 100 && !done_; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            while (!done_) {
                rescued_ = true;
                const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    bool finish()
    {
        done_ = true;
        thread_.join();
        return rescued_;
    }

private:
    QByteArray path_;
    std::atomic<bool> done_{false};
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

TEST(HostileFiles, DevicesAndPipesAreRefusedAtOnceByTheEditor)
{
    for (const HostileFile &hostile : kHostileFiles) {
        SCOPED_TRACE(hostile.name);
        TempDataDir data;
        const QString path = MakeHostileFile(data.file("menus"), hostile);
        test::EnsureGuiApplication();
        TableControls controls;
        ScriptedPrompter prompter;
        BoardDocument document(DataFolderPath());
        Editor editor(controls, prompter, document);
        editor.Initialise(1733650000, 1, nullptr);
        prompter.fileNames = {path};

        PipeRescue rescue(path);
        editor.OpenLayoutCommand();
        EXPECT_FALSE(rescue.finish()) << "the open waited on the pipe";
        ASSERT_EQ(prompter.shown.size(), 1) << prompter.shown.join("|").toStdString();
        EXPECT_TRUE(prompter.shown[0].startsWith("Unable to open file")) << prompter.shown[0].toStdString();
        EXPECT_TRUE(prompter.shown[0].contains(path));
        EXPECT_TRUE(editor.document().names().layoutName.isEmpty());
    }
}

// A background or a picture that is a pipe or a device: loading it is refused at once and the
// board keeps what it had.
TEST(HostileFiles, DevicesAndPipesAreRefusedAsBackgrounds)
{
    for (const HostileFile &hostile : {HostileFile{"Fifo.jpg", true}, HostileFile{"Zero.jpg", false}}) {
        SCOPED_TRACE(hostile.name);
        TempDataDir data;
        const QString path = MakeHostileFile(data.file("pictures"), hostile);
        test::EnsureGuiApplication();
        TableControls controls;
        ScriptedPrompter prompter;
        BoardDocument document(DataFolderPath());
        Editor editor(controls, prompter, document);
        editor.Initialise(1733650000, 1, nullptr);
        prompter.fileNames = {path};

        PipeRescue rescue(path);
        editor.LoadBackgroundCommand();
        EXPECT_FALSE(rescue.finish()) << "loading waited on the pipe";
        ASSERT_EQ(prompter.shown.size(), 1) << prompter.shown.join("|").toStdString();
        EXPECT_TRUE(prompter.shown[0].contains("could not be copied")) << prompter.shown[0].toStdString();
        EXPECT_TRUE(editor.document().backgroundImagePath().isEmpty());
    }
}

TEST(HostileFiles, DevicesAndPipesAreRefusedAtOnceByTheCommandLine)
{
    for (const HostileFile &hostile : kHostileFiles) {
        {
            SCOPED_TRACE(hostile.name);
            TempDataDir data;
            const QString path = MakeHostileFile(data.file("menus"), hostile);
            QProcess process;
            process.start(TAVRIN_CLI_PATH, QStringList{"document", path});
            const bool finished = process.waitForFinished(10000);
            if (!finished) {
                process.kill();
                process.waitForFinished();
            }
            ASSERT_TRUE(finished) << "still running after 10 s";
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 1);
            const QString err = QString::fromUtf8(process.readAllStandardError());
            EXPECT_TRUE(err.contains("Unable to open file")) << err.toStdString();
            EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        }
    }
}

} // namespace
} // namespace tavrin
