#include "layout/LayoutFileNames.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(LayoutFileNames, PickedFilesGiveTheNamesTheEditorShows)
{
    const struct {
        QString picked;
        QString mapped;
        bool isPackage;
        QString layoutName;
        QString legacyDocumentName;
        QString baseName;
        QString documentPath;
    } cases[] = {
        {"/m/Lunch_LAYOUT.MARBIX", "/m/Lunch_LAYOUT.MARBIX", true, "Lunch_LAYOUT.MARBIX", "", "Lunch_LAYOUT",
         "/w/Layout.XMARBIX"},
        {"/m/Lunch_TV.jpg", "/m/Lunch_LAYOUT.MARBIX", true, "Lunch_LAYOUT.MARBIX", "", "Lunch_LAYOUT",
         "/w/Layout.XMARBIX"},
        {"/m/Lunch_TV_WHITE_PRINT_BGND.jpg", "/m/Lunch_LAYOUT_WHITE_PRINT_BGND.MARBIX", true,
         "Lunch_LAYOUT_WHITE_PRINT_BGND.MARBIX", "", "Lunch_LAYOUT_WHITE_PRINT_BGND", "/w/Layout.XMARBIX"},
        {"/m/MarbixLayout_Lunch.XMARBIX", "/m/MarbixLayout_Lunch.XMARBIX", false, "Lunch.jpg",
         "MarbixLayout_Lunch.XMARBIX", "Lunch", "/m/MarbixLayout_Lunch.XMARBIX"},
        // Only the exact upper-case extension is a package; anything else is read as a document.
        {"/m/Lunch_LAYOUT.marbix", "/m/Lunch_LAYOUT.marbix", false, "Lunch_LAYOUT.marbix", "Lunch_LAYOUT.marbix",
         "Lunch_LAYOUT", "/m/Lunch_LAYOUT.marbix"},
    };
    for (const auto &c : cases) {
        const QString mapped = MapTvImageToPackage(c.picked);
        EXPECT_EQ(mapped, c.mapped);
        const LayoutFileNames names = NamesForPickedFile(mapped, "/w");
        EXPECT_EQ(names.isPackage, c.isPackage) << c.picked.toStdString();
        EXPECT_EQ(names.pickedFolder, "/m/");
        EXPECT_EQ(names.layoutFolder, "/m");
        EXPECT_EQ(names.layoutName, c.layoutName);
        EXPECT_EQ(names.legacyDocumentName, c.legacyDocumentName);
        EXPECT_EQ(names.baseName, c.baseName);
        EXPECT_EQ(names.documentPath, c.documentPath);
    }
}

// Folders are where the user keeps layouts: "_TV" or ".jpg" in a folder name is not mapped.
TEST(LayoutFileNames, OnlyTheFileNameIsMappedFromTvImageToPackage)
{
    const struct {
        QString picked;
        QString mapped;
        QString documentPath;
    } cases[] = {
        {"/Store_TV/Lunch_LAYOUT.MARBIX", "/Store_TV/Lunch_LAYOUT.MARBIX", "/w/Layout.XMARBIX"},
        {"/Store_TV/Lunch_TV.jpg", "/Store_TV/Lunch_LAYOUT.MARBIX", "/w/Layout.XMARBIX"},
        {"/a.jpg/Lunch_TV.jpg", "/a.jpg/Lunch_LAYOUT.MARBIX", "/w/Layout.XMARBIX"},
        {"/Old_TV/MarbixLayout_Lunch.XMARBIX", "/Old_TV/MarbixLayout_Lunch.XMARBIX",
         "/Old_TV/MarbixLayout_Lunch.XMARBIX"},
    };
    for (const auto &c : cases) {
        const QString mapped = MapTvImageToPackage(c.picked);
        EXPECT_EQ(mapped, c.mapped);
        const LayoutFileNames names = NamesForPickedFile(mapped, "/w");
        EXPECT_EQ(names.documentPath, c.documentPath);
        EXPECT_EQ(names.pickedFolder, c.mapped.left(c.mapped.lastIndexOf('/') + 1));
    }
}

} // namespace
} // namespace tavrin
