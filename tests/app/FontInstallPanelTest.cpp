#include "dialogs/FontInstallPanel.h"
#include "fonts/FontInstallation.h"
#include "ModalDialogs.h"
#include "TestApplication.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fontconfig/fontconfig.h>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::App;
using test::WhenModal;

const QString kSystemFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Whether fontconfig's running configuration holds the file among the program's own fonts.
bool FontconfigHasApplicationFont(const QString &path)
{
    FcFontSet *fonts = FcConfigGetFonts(nullptr, FcSetApplication);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8 *file = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch
            && QFile::decodeName(reinterpret_cast<const char *>(file)) == path)
            return true;
    }
    return false;
}

// A working folder holding a real font file, a file that only looks like one, and other files;
// and an empty user font folder that does not exist yet.
struct FontFolders : ::testing::Test {
    QTemporaryDir temp;
    QString working;
    QString userFonts;
    QByteArray fontBytes;

    void SetUp() override
    {
        App();
        ASSERT_TRUE(temp.isValid());
        working = temp.filePath(QStringLiteral("ZUP-working"));
        userFonts = temp.filePath(QStringLiteral("home/.local/share/fonts"));
        ASSERT_TRUE(QDir().mkpath(working));
        fontBytes = ReadAll(kSystemFont);
        ASSERT_FALSE(fontBytes.isEmpty()) << "DejaVu Sans is needed";
        ASSERT_TRUE(WriteAll(QDir(working).filePath(QStringLiteral("Menu Sans.ttf")), fontBytes));
        ASSERT_TRUE(WriteAll(QDir(working).filePath(QStringLiteral("fake.ttf")), "not a font"));
        ASSERT_TRUE(WriteAll(QDir(working).filePath(QStringLiteral("background.jpg")), "jpeg"));
    }
    QString workingFile(const QString &name) const { return QDir(working).filePath(name); }
    QString installed(const QString &name) const { return QDir(userFonts).filePath(name); }
};

TEST_F(FontFolders, ListsOnlyTheFontFilesOfTheFolder)
{
    for (const char *name : {"b.TTF", "Y.OTF", "x.ttc", "notes.txt", "ttf", "a.ttf.bak"})
        ASSERT_TRUE(WriteAll(workingFile(QLatin1String(name)), "x"));
    ASSERT_TRUE(QDir(working).mkdir(QStringLiteral("folder.ttf")));
    ASSERT_TRUE(QFile::link(kSystemFont, workingFile(QStringLiteral("link.ttf"))));

    const QStringList expected = {"b.TTF", "fake.ttf", "Menu Sans.ttf", "x.ttc", "Y.OTF"};
    EXPECT_EQ(FontFilesInFolder(working), expected);
    FontInstallPanel panel(working, userFonts);
    EXPECT_EQ(panel.listedFiles(), expected);
    EXPECT_EQ(panel.windowTitle(),
              "TO INSTALL MISSING FONT(S), Right Click on font File(s) and click INSTALL FOR ALL USERS");
    EXPECT_EQ(panel.doneButton()->text(), "Done");
    EXPECT_TRUE(FontFilesInFolder(temp.filePath(QStringLiteral("missing"))).isEmpty());
}

TEST_F(FontFolders, InstallingCopiesTheFileAndRegistersIt)
{
    QString error;
    ASSERT_TRUE(InstallFontFile(workingFile(QStringLiteral("Menu Sans.ttf")), userFonts, &error)) << qPrintable(error);
    const QString target = installed(QStringLiteral("Menu Sans.ttf"));
    EXPECT_EQ(ReadAll(target), fontBytes);
    EXPECT_TRUE(FontconfigHasApplicationFont(target));
    // Installing the same file again is harmless.
    EXPECT_TRUE(InstallFontFile(workingFile(QStringLiteral("Menu Sans.ttf")), userFonts, &error)) << qPrintable(error);
    EXPECT_EQ(QDir(userFonts).entryList(QDir::Files), QStringList{"Menu Sans.ttf"});
}

TEST_F(FontFolders, RefusesWhatItMustNotInstall)
{
    ASSERT_TRUE(QDir().mkpath(userFonts));
    const QString other = installed(QStringLiteral("Menu Sans.ttf"));
    const QByteArray otherBytes = ReadAll(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    ASSERT_FALSE(otherBytes.isEmpty());
    ASSERT_TRUE(WriteAll(other, otherBytes));

    struct Case {
        const char *file;
        const char *messagePart;
    };
    const Case cases[] = {
        {"Menu Sans.ttf", "already installed"}, // a different font of that name is kept
        {"fake.ttf", "not a font"},
        {"gone.ttf", "not found"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        QString error;
        EXPECT_FALSE(InstallFontFile(workingFile(QLatin1String(c.file)), userFonts, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.messagePart))) << qPrintable(error);
    }
    EXPECT_EQ(ReadAll(other), otherBytes);
    EXPECT_EQ(QDir(userFonts).entryList(QDir::Files), QStringList{"Menu Sans.ttf"});
}

TEST(UserFontFolder, FollowsXdgDataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QString home = QDir::home().filePath(QStringLiteral(".local/share/fonts"));
    const std::pair<const char *, QString> cases[] = {
        {"/srv/data", QStringLiteral("/srv/data/fonts")}, {"", home}, {"relative/data", home}};
    for (const auto &[value, expected] : cases) {
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(UserFontFolder(), expected) << value;
    }
    if (had)
        qputenv("XDG_DATA_HOME", saved);
    else
        qunsetenv("XDG_DATA_HOME");
}

// The panel installs the selected file into the user font folder and stays open; Done closes it
// as cancelled.
TEST_F(FontFolders, PanelInstallsTheSelectedFileAndDoneCancels)
{
    QString status;
    WhenModal<FontInstallPanel>([&status](FontInstallPanel *panel) {
        const QList<QListWidgetItem *> items = panel->fileList()->findItems(QStringLiteral("Menu Sans.ttf"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        items.front()->setSelected(true);
        QTest::mouseClick(panel->installButton(), Qt::LeftButton);
        status = panel->statusText();
        EXPECT_TRUE(panel->isVisible());
        QTest::mouseClick(panel->doneButton(), Qt::LeftButton);
    });
    FontInstallPanel panel(working, userFonts);
    EXPECT_EQ(panel.exec(), QDialog::Rejected);
    EXPECT_TRUE(panel.chosenFile().isEmpty());
    EXPECT_EQ(status, "Installed Menu Sans.ttf.");
    EXPECT_EQ(ReadAll(installed(QStringLiteral("Menu Sans.ttf"))), fontBytes);
}

TEST_F(FontFolders, PanelReportsAFailedInstallation)
{
    FontInstallPanel panel(working, userFonts);
    EXPECT_FALSE(panel.installFile(QStringLiteral("fake.ttf")));
    EXPECT_TRUE(panel.statusText().contains(QLatin1String("fake.ttf is not a font file"))) << qPrintable(panel.statusText());
    EXPECT_FALSE(QFileInfo::exists(installed(QStringLiteral("fake.ttf"))));
}

// Choosing a file closes the panel as an open-file dialog's OK would, naming the file.
TEST_F(FontFolders, ChoosingAFileClosesThePanelWithIt)
{
    WhenModal<FontInstallPanel>([](FontInstallPanel *panel) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
        QListWidget *list = panel->fileList();
        const QList<QListWidgetItem *> items = list->findItems(QStringLiteral("fake.ttf"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        const QPoint centre = list->visualItemRect(items.front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
    FontInstallPanel panel(working, userFonts);
    EXPECT_EQ(panel.exec(), QDialog::Accepted);
    EXPECT_EQ(panel.chosenFile(), workingFile(QStringLiteral("fake.ttf")));
    EXPECT_FALSE(QDir(userFonts).exists());
}

} // namespace
} // namespace tavrin
