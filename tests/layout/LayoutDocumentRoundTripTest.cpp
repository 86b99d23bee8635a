#include "layout/LayoutDocument.h"
#include "layout/StripOperations.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

class IdentityHost : public LayoutReaderHost {
public:
    QString background;
    void resolveBackground(const QString &name) override { background = name; }
    QString resolvePicture(const QString &name) override { return name; }
    void checkFont(const QString &, const QString &) override {}
};

void SetGroup(TextGroup &g, const QString &text, int seed)
{
    g.Text = text;
    g.Xref = 0.125 * seed;
    g.Yref = -0.25 + seed;
    g.Font = QString("Font %1").arg(seed);
    g.ScaleFactor = 1.5 + seed;
    g.Italics = seed % 2;
    g.Bold = 1 - seed % 2;
    g.CenterInStrip = 1;
    g.GroupAlignment = seed % 3;
    g.TextColor = MakeColour(seed, 2 * seed, 3 * seed);
    g.DropShadowColor = MakeColour(255 - seed, 0, seed);
    g.LineSpacingFactor = 0.875 + seed;
}

// Every field of every strip set to something other than its default survives a save in the
// stored form and a read: texts with markup characters, line breaks and characters outside the
// basic plane included.
TEST(LayoutDocumentRoundTrip, AllFieldsSurvive)
{
    MenuLayout layout;
    Strip working;
    ResetAllStrips(layout, working, kWhite);
    layout.NumberOfColumns = 3;
    layout.NumberOfRows = 4;
    layout.WhitePrintBackground = true;
    layout.forEachBoardStrip([](int c, int r, Strip &s) {
        const int seed = 1 + c * 4 + r;
        s.BackGroundColor = seed == 5 ? kBlack : MakeColour(seed, 100, 200);
        s.CaloriesTextColor = MakeColour(7, seed, 9);
        s.CaloriesItalics = seed % 2;
        s.Picture.SubImageFileName = QString("/work/pic%1.jpg").arg(seed);
        s.Picture.SubImageFrameIndex = seed % 10;
        s.Picture.ImageHiddenOnWhite = 1 - seed % 2;
        s.Picture.SubImageCropPercentageX = 40 + seed;
        s.Picture.SubImageCropPercentageY = 50 + seed;
        s.Picture.SubImageCropOriginPercentageX = seed;
        s.Picture.SubImageCropOriginPercentageY = 2 * seed;
        s.Picture.SubImageBrightnessFactor = -seed;
        s.XOffsetFactor = -0.375;
        s.YOffsetFactor = -0.5 * seed;
        s.XSizeFactor = 1.5;
        s.YSizeFactor = 2.25;
        SetGroup(s.mainItem(), QString("Fish & <Chips> %1\r\n").arg(seed) + QString::fromUcs4(U"\U0001F41F"), seed);
        SetGroup(s.subItems(), "with peas", seed + 1);
        SetGroup(s.prices(), "Small^ 3.99>250^ Large^ 5.99", seed + 2);
        s.PriceTabSpacingFactor = 9.5;
        s.CaloriesSpacingFactor = 2.5;
    });
    // A strip with only a background colour and untouched groups.
    Strip &plain = layout.strip(2, 3);
    ResetStrip(plain);
    plain.BackGroundColor = MakeColour(1, 1, 1);
    // Outside the board: neither written nor read back.
    layout.strip(3, 0).mainItem().Text = "hidden";

    const QString document = BuildLayoutDocument(layout, "C:\\Menus\\Lunch-MARBIXBGD.jpg");
    const QString stored = DocumentTextFromBytes(StoredDocumentBytes(document));

    MenuLayout readBack;
    ResetAllStrips(readBack, working, kWhite);
    IdentityHost host;
    ReadLayoutDocument(stored, readBack, host);

    EXPECT_EQ(host.background, "Lunch-MARBIXBGD.jpg");
    EXPECT_EQ(readBack.NumberOfColumns, 3);
    EXPECT_EQ(readBack.NumberOfRows, 4);
    EXPECT_TRUE(readBack.WhitePrintBackground);
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            SCOPED_TRACE(QString("strip %1-%2").arg(c).arg(r).toStdString());
            const Strip expected = c < 3 && r < 4 ? layout.strip(c, r) : readBack.strip(8, 200);
            ASSERT_EQ(readBack.strip(c, r), expected);
        }

    // Writing what was read gives the same document again.
    EXPECT_EQ(BuildLayoutDocument(readBack, "/w/Lunch-MARBIXBGD.jpg"), document);
}

// The editor's "~" marker leaves the three texts of a packaged document, and nothing else: a
// picture named "BURGER~1.JPG" must be found again under that name.
TEST(LayoutDocumentRoundTrip, EditorMarkerIsNotStoredButPictureNamesKeepTheirTilde)
{
    MenuLayout layout;
    Strip working;
    ResetAllStrips(layout, working, kWhite);
    layout.NumberOfColumns = 1;
    layout.NumberOfRows = 2;
    layout.strip(0, 0).mainItem().Text = "Ta~co";
    layout.strip(0, 0).subItems().Text = "with ~salsa";
    layout.strip(0, 0).prices().Text = "4.~99";
    layout.strip(0, 0).Picture.SubImageFileName = "/data/ZUP1-2/BURGER~1.JPG";
    layout.strip(0, 1).Picture.SubImageFileName = "C:\\Menus\\my~logo.png";
    MenuLayout readBack;
    ResetAllStrips(readBack, working, kWhite);
    IdentityHost host;
    const QString stored = DocumentTextFromBytes(
        StoredDocumentBytes(BuildLayoutDocument(layout, "b.jpg", DocumentForm::ForPackage)));
    ReadLayoutDocument(stored, readBack, host);
    EXPECT_EQ(readBack.strip(0, 0).mainItem().Text, "Taco");
    EXPECT_EQ(readBack.strip(0, 0).subItems().Text, "with salsa");
    EXPECT_EQ(readBack.strip(0, 0).prices().Text, "4.99");
    EXPECT_EQ(readBack.strip(0, 0).Picture.SubImageFileName, "BURGER~1.JPG");
    EXPECT_EQ(readBack.strip(0, 1).Picture.SubImageFileName, "my~logo.png");
}

} // namespace
} // namespace tavrin
