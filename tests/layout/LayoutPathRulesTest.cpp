#include "layout/LayoutPathRules.h"
#include "layout/PathText.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(PathText, FileNamePartSplitsAtEitherSeparator)
{
    EXPECT_EQ(FileNamePart(u"C:\\Menus\\a/b\\fish.jpg"), "fish.jpg");
    EXPECT_EQ(FileNamePart(u"/w/x\\y/fish.jpg"), "fish.jpg");
    EXPECT_EQ(FileNamePart(u"fish.jpg"), "fish.jpg");
    EXPECT_EQ(FileNamePart(u"C:\\Menus\\"), "");
    EXPECT_EQ(WithoutTrailingSeparators(u"/menus//"), "/menus");
    EXPECT_EQ(WithoutTrailingSeparators(u"/"), "/");
}

TEST(LayoutPathRules, PackageIgnoresWhatTheDocumentSays)
{
    EXPECT_EQ(PackageBackgroundPaths("/data/ZUP1-2"),
              (BackgroundPaths{"Background.jpg", "Background.jpg", "/data/ZUP1-2/Background.jpg"}));
    EXPECT_EQ(PackagePicturePath("/data/ZUP1-2", "C:\\Old\\Lunch_SupportFiles\\fish.jpg"), "/data/ZUP1-2/fish.jpg");
    EXPECT_EQ(PackagePicturePath("/data/ZUP1-2/", "/home/u/pics/fish.jpg"), "/data/ZUP1-2/fish.jpg");
    EXPECT_EQ(PackagePicturePath("/data/ZUP1-2", "fish.jpg"), "/data/ZUP1-2/fish.jpg");
    EXPECT_EQ(PackagePicturePath("/data/ZUP1-2", "C:\\Menus\\.."), "");
}

TEST(LayoutPathRules, LegacyBackground)
{
    const struct {
        const char *value;
        const char *expected;
    } cases[] = {
        // Moved with its support folder: the last folder and the file name below the picked folder.
        {"C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg", "/menus/picked/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"/old/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg", "/menus/picked/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg", "/menus/picked/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"\\Lunch-MARBIXBGD.jpg", "/menus/picked/Lunch-MARBIXBGD.jpg"},
        // A last folder that leads out of the picked folder: the layout's support folder instead.
        {"C:\\Old\\..\\Lunch-MARBIXBGD.jpg", "/menus/layout/Dinner_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"./Lunch-MARBIXBGD.jpg", "/menus/layout/Dinner_SupportFiles/Lunch-MARBIXBGD.jpg"},
        // A bare name: its support folder is named by the text before the last "-".
        {"Lunch-MARBIXBGD.jpg", "/menus/layout/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"Happy-Hour-MARBIXBGD.jpg", "/menus/layout/Happy-Hour_SupportFiles/Happy-Hour-MARBIXBGD.jpg"},
        // Without "-" the layout's own support folder.
        {"board.jpg", "/menus/layout/Dinner_SupportFiles/board.jpg"},
    };
    for (const auto &c : cases) {
        const BackgroundPaths paths = LegacyBackgroundPaths(c.value, "/menus/picked/", "/menus/layout", "Dinner");
        EXPECT_EQ(paths, (BackgroundPaths{c.expected, c.expected, c.expected})) << c.value;
    }
    EXPECT_EQ(LegacyBackgroundPaths("", "/menus/picked/", "/menus/layout", "Dinner"), BackgroundPaths{});
    for (const char *notAFile : {"C:\\Old\\..", "..", "C:\\Old\\"})
        EXPECT_EQ(LegacyBackgroundPaths(notAFile, "/menus/picked/", "/menus/layout", "Dinner"), BackgroundPaths{})
            << notAFile;
}

TEST(LayoutPathRules, LegacyPicture)
{
    const struct {
        const char *value;
        const char *expected;
    } cases[] = {
        {"C:\\Old\\Lunch_SupportFiles\\fish.jpg", "/menus/Lunch_SupportFiles/fish.jpg"},
        {"/old/Lunch_SupportFiles/fish.jpg", "/menus/Lunch_SupportFiles/fish.jpg"},
        // Only the file name counts: no stored path leads out of the support folder.
        {"C:\\Old\\Lunch_SupportFiles\\sub\\fish.jpg", "/menus/Lunch_SupportFiles/fish.jpg"},
        {"C:\\Old\\Lunch_SupportFiles\\..\\..\\secret.txt", "/menus/Lunch_SupportFiles/secret.txt"},
        {"Lunch_SupportFiles/../../../../etc/hostname", "/menus/Lunch_SupportFiles/hostname"},
        {"C:\\Old\\Lunch_SupportFiles\\..", ""},
        {"Lunch_SupportFiles/.", ""},
        {"C:\\Old\\Lunch_SupportFiles\\", ""},
        // Not in the support folder (case differs, or elsewhere): looked for there by name.
        {"C:\\Old\\lunch_supportfiles\\fish.jpg", "/menus/Lunch_SupportFiles/fish.jpg"},
        {"D:\\Pictures\\fish.jpg", "/menus/Lunch_SupportFiles/fish.jpg"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LegacyPicturePath(c.value, "/menus", "Lunch"), c.expected) << c.value;
}

} // namespace
} // namespace tavrin
