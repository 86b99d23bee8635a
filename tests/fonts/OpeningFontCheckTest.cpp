#include "fonts/FontMatching.h"
#include "fonts/OpeningFontCheck.h"
#include "FontTestServices.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

bool Touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("font") == 4;
}

TEST(OpeningFontCheck, DeletesCopiesOfInstalledFontsAndListsMissingOnesOnceInOrder)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QDir dir(work.path());
    for (const char *name : {"cubano.ttf", "segoeui.ttf", "arialblack.ttf", "arial.ttf", "keep.ttf"})
        ASSERT_TRUE(Touch(dir.filePath(name)));

    test::FakeFonts fonts;
    fonts.installed = {"Cubano", "Segoe UI"};
    OpeningFontCheck check(work.path(), fonts.services());
    const struct {
        const char *font;
        const char *text;
    } groups[] = {
        {"Cubano", "Soup"},
        {"Arial Black", "Specials"},
        {"Brush", ""},   // empty text: counts as installed, is not listed
        {"Segoe UI", ""}, // installed and without text: its copy goes all the same
        {"Arial", "Tea"}, // part of a listed name, listed on its own
        {"Arial Black", "Coffee"},
        {"Brush", "Cake"},
    };
    for (const auto &g : groups)
        check.check(g.font, g.text);

    EXPECT_EQ(check.missingFonts, "Arial Black\r\nArial\r\nBrush\r\n");
    EXPECT_EQ(check.handled, "Cubano,Brush,Segoe UI,");
    EXPECT_FALSE(QFile::exists(dir.filePath("cubano.ttf")));
    EXPECT_FALSE(QFile::exists(dir.filePath("segoeui.ttf")));
    // The copies of missing fonts stay for the installation panel.
    EXPECT_TRUE(QFile::exists(dir.filePath("arialblack.ttf")));
    EXPECT_TRUE(QFile::exists(dir.filePath("arial.ttf")));
    EXPECT_TRUE(QFile::exists(dir.filePath("keep.ttf")));

    // A font is handled once: a copy that reappears is not looked at again.
    ASSERT_TRUE(Touch(dir.filePath("cubano.ttf")));
    check.check("Cubano", "More soup");
    EXPECT_TRUE(QFile::exists(dir.filePath("cubano.ttf")));
    EXPECT_EQ(check.handled, "Cubano,Brush,Segoe UI,");
}

// With the system's fonts: the package's copy of an installed font goes, the installed file
// itself stays.
TEST(OpeningFontCheck, SystemFontsKeepTheirFiles)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString installedFile = FindFontFile("DejaVu Sans");
    ASSERT_FALSE(installedFile.isEmpty());
    const QString copy = QDir(work.path()).filePath(QFileInfo(installedFile).fileName());
    ASSERT_TRUE(QFile::copy(installedFile, copy));

    OpeningFontCheck check(work.path());
    check.check("DejaVu Sans", "Soup");
    check.check("NoSuchFontFamily", "Tea");
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(QFile::exists(installedFile));
    EXPECT_EQ(check.missingFonts, "NoSuchFontFamily\r\n");
}

// A face drawn from the file in the working folder itself keeps that file.
TEST(OpeningFontCheck, NeverDeletesTheFileAFaceIsDrawnFrom)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString file = QDir(work.path()).filePath("local.ttf");
    ASSERT_TRUE(Touch(file));
    FontServices services{[](const QString &) { return true; }, [file](const QString &) { return file; }};
    OpeningFontCheck check(work.path(), services);
    check.check("Local", "Soup");
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(check.handled, "Local,");
}

} // namespace
} // namespace tavrin
