#include "fonts/FontMatching.h"
#include "support/QtPrinters.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// The fonts the setup installs: DejaVu (fonts-dejavu-core) and Liberation (fonts-liberation).
TEST(FontMatching, InstalledFacesAndMetricAliases)
{
    const struct {
        const char *face;
        bool installed;
        const char *drawnWith;
    } cases[] = {
        {"", true, ""},
        {"DejaVu Sans", true, "DejaVu Sans"},
        {"dejavu SANS", true, "DejaVu Sans"}, // case does not matter
        {"DejaVu Sans Mono", true, "DejaVu Sans Mono"},
        {"Liberation Serif", true, "Liberation Serif"},
        // Metric-compatible aliases from fontconfig's configuration.
        {"Arial", true, "Liberation Sans"},
        {"Times New Roman", true, "Liberation Serif"},
        {"Courier New", true, "Liberation Mono"},
        // fontconfig would draw these with a generic fallback: not installed.
        {"NoSuchFontFamily", false, ""},
        {"DejaVu", false, ""},
        {"DejaVuSans", false, ""},
        {"Comic Sans MS", false, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IsFontInstalled(c.face), c.installed) << c.face;
        EXPECT_EQ(ResolveDrawableFamily(c.face), QString(c.drawnWith)) << c.face;
    }
}

TEST(FontMatching, FontFilesPerStyle)
{
    const struct {
        const char *face;
        bool bold, italic;
        const char *fileName;
    } cases[] = {
        {"DejaVu Sans", false, false, "DejaVuSans.ttf"},
        {"DejaVu Sans", true, false, "DejaVuSans-Bold.ttf"},
        {"DejaVu Sans", false, true, "DejaVuSans-Oblique.ttf"},
        {"DejaVu Sans", true, true, "DejaVuSans-BoldOblique.ttf"},
        {"Arial", false, false, "LiberationSans-Regular.ttf"},
        {"Arial", true, true, "LiberationSans-BoldItalic.ttf"},
        {"Courier New", false, false, "LiberationMono-Regular.ttf"},
        {"NoSuchFontFamily", false, false, ""},
        {"", false, false, ""},
    };
    for (const auto &c : cases) {
        const QString path = FindFontFile(c.face, c.bold, c.italic);
        EXPECT_EQ(QFileInfo(path).fileName(), QString(c.fileName)) << c.face << " " << c.bold << c.italic;
        if (!path.isEmpty()) {
            EXPECT_TRUE(QFileInfo(path).isAbsolute()) << path.toStdString();
            EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        }
    }
}

TEST(FontMatching, StylesAFamilyReallyHas)
{
    for (bool bold : {false, true})
        for (bool italic : {false, true}) {
            const MatchedFace dejaVu = MatchFace("DejaVu Sans", bold, italic);
            EXPECT_TRUE(dejaVu.installed);
            EXPECT_TRUE(dejaVu.styleAvailable) << bold << italic;
            const MatchedFace generic = MatchGenericSansSerif(bold, italic);
            EXPECT_EQ(generic.family, "DejaVu Sans");
            EXPECT_TRUE(generic.styleAvailable) << bold << italic;
        }

    // A family with one upright face: fontconfig offers to fake its bold and italic, which does
    // not count as having them.
    const QString uprightOnly = "DejaVu Math TeX Gyre";
    if (!IsFontInstalled(uprightOnly))
        GTEST_SKIP() << uprightOnly.toStdString() << " is not installed";
    EXPECT_TRUE(MatchFace(uprightOnly, false, false).styleAvailable);
    EXPECT_FALSE(MatchFace(uprightOnly, true, false).styleAvailable);
    EXPECT_FALSE(MatchFace(uprightOnly, false, true).styleAvailable);
    EXPECT_FALSE(MatchFace(uprightOnly, true, true).styleAvailable);
}

TEST(FontMatching, ClearingTheCacheAsksAgain)
{
    const std::uint64_t before = FontMatchGeneration();
    const QString file = FindFontFile("Arial");
    ClearFontMatchCache();
    EXPECT_GT(FontMatchGeneration(), before);
    EXPECT_EQ(FindFontFile("Arial"), file);
    EXPECT_TRUE(ReloadFontConfiguration());
    EXPECT_EQ(FindFontFile("Arial"), file);
    EXPECT_FALSE(IsFontInstalled("NoSuchFontFamily"));
}

} // namespace
} // namespace tavrin
