#include "layout/DocumentValues.h"
#include "layout/LayoutDocument.h"
#include "layout/StripOperations.h"

#include <QLocale>
#include <QStringList>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace tavrin {
namespace {

MenuLayout ResetLayout(int columns, int rows)
{
    MenuLayout layout;
    Strip working;
    ResetAllStrips(layout, working, kWhite);
    layout.NumberOfColumns = columns;
    layout.NumberOfRows = rows;
    return layout;
}

TEST(LayoutDocumentWriter, SmallLayoutDocumentIsExact)
{
    MenuLayout layout = ResetLayout(1, 3);
    layout.WhitePrintBackground = true;

    Strip &s = layout.strip(0, 0);
    s.BackGroundColor = MakeColour(1, 2, 3);
    s.CaloriesItalics = 1;
    s.Picture.SubImageFileName = "/w/fish.jpg";
    s.Picture.SubImageFrameIndex = 2;
    s.Picture.SubImageCropPercentageX = 100;
    s.Picture.SubImageCropPercentageY = 90;
    s.Picture.SubImageCropOriginPercentageX = 5;
    s.Picture.SubImageBrightnessFactor = -3;
    s.XOffsetFactor = -0.0004;
    s.YOffsetFactor = 0.1;
    s.YSizeFactor = 0.5;
    s.mainItem().Text = "Burger & <Fries>\r\nlarge";
    s.mainItem().Bold = 1;
    s.mainItem().GroupAlignment = 1;
    s.mainItem().Xref = 0.05;
    s.mainItem().ScaleFactor = 1.25;
    s.prices().Text = "4.99^";
    s.prices().TextColor = MakeColour(10, 20, 30);
    s.prices().DropShadowColor = kBlack;
    s.prices().Font = "DejaVu Sans";
    // Strip0-1 stays unused; Strip0-2 has only a picture border; column 1 lies outside the board.
    layout.strip(0, 2).Picture.SubImageFrameIndex = 4;
    layout.strip(1, 0).mainItem().Text = "hidden";

    const QString expected = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?><MenuData>"
        "<ApplicationData><NameAndVersion>%1</NameAndVersion></ApplicationData>"
        "<MenuGeneralData><BackgroundFileName>Lunch-MARBIXBGD.jpg</BackgroundFileName>"
        "<NumberOfColumns>1</NumberOfColumns><NumberOfRows>3</NumberOfRows>"
        "<WhitePrintBackground>Yes</WhitePrintBackground></MenuGeneralData>"
        "<StripsData><Strip0-0>"
        "<BackGroundColor>1,2,3</BackGroundColor><CaloriesTextColor>255,255,0</CaloriesTextColor>"
        "<CaloriesItalics>Yes</CaloriesItalics><PriceTabSpacingFactor>8.000</PriceTabSpacingFactor>"
        "<CaloriesSpacingFactor>3.800</CaloriesSpacingFactor><SubImageFileName>/w/fish.jpg</SubImageFileName>"
        "<ImageHiddenOnWhite>No</ImageHiddenOnWhite><SubImageFrameIndex>2</SubImageFrameIndex>"
        "<SubImageCropPercentageX>100</SubImageCropPercentageX><SubImageCropPercentageY>90</SubImageCropPercentageY>"
        "<SubImageCropOriginPercentageX>5</SubImageCropOriginPercentageX>"
        "<SubImageCropOriginPercentageY>0</SubImageCropOriginPercentageY>"
        "<SubImageBrightnessFactor>-3</SubImageBrightnessFactor>"
        "<XOffsetFactor>-0.000</XOffsetFactor><YOffsetFactor>0.100</YOffsetFactor>"
        "<XSizeFactor>1.000</XSizeFactor><YSizeFactor>0.500</YSizeFactor>"
        "<MainItemTextParams><Text>Burger & <Fries>\r\nlarge</Text><TextColor>255,255,255</TextColor>"
        "<DropShadowColor>0,0,1</DropShadowColor><Font>Arial</Font><Xref>0.050</Xref><Yref>0.000</Yref>"
        "<ScaleFactor>1.250</ScaleFactor><LineSpacingFactor>1.000</LineSpacingFactor><Bold>Yes</Bold>"
        "<Italics>No</Italics><CenterInStrip>No</CenterInStrip><GroupAlignment>Center</GroupAlignment>"
        "</MainItemTextParams>"
        "<PricesTextParams><Text>4.99^</Text><TextColor>10,20,30</TextColor>"
        "<DropShadowColor>0,0,0</DropShadowColor><Font>DejaVu Sans</Font><Xref>0.940</Xref><Yref>0.000</Yref>"
        "<ScaleFactor>1.000</ScaleFactor><LineSpacingFactor>1.000</LineSpacingFactor><Bold>No</Bold>"
        "<Italics>No</Italics><CenterInStrip>No</CenterInStrip><GroupAlignment>Right</GroupAlignment>"
        "</PricesTextParams>"
        "</Strip0-0><Strip0-1></Strip0-1><Strip0-2>"
        "<BackGroundColor>0,0,1</BackGroundColor><CaloriesTextColor>255,255,0</CaloriesTextColor>"
        "<CaloriesItalics>No</CaloriesItalics><PriceTabSpacingFactor>8.000</PriceTabSpacingFactor>"
        "<CaloriesSpacingFactor>3.800</CaloriesSpacingFactor><SubImageFileName></SubImageFileName>"
        "<ImageHiddenOnWhite>No</ImageHiddenOnWhite><SubImageFrameIndex>4</SubImageFrameIndex>"
        "<SubImageCropPercentageX>0</SubImageCropPercentageX><SubImageCropPercentageY>0</SubImageCropPercentageY>"
        "<SubImageCropOriginPercentageX>0</SubImageCropOriginPercentageX>"
        "<SubImageCropOriginPercentageY>0</SubImageCropOriginPercentageY>"
        "<SubImageBrightnessFactor>0</SubImageBrightnessFactor>"
        "<XOffsetFactor>0.000</XOffsetFactor><YOffsetFactor>0.000</YOffsetFactor>"
        "<XSizeFactor>1.000</XSizeFactor><YSizeFactor>1.000</YSizeFactor>"
        "<MainItemTextParams><Text></Text><TextColor>255,255,255</TextColor>"
        "<DropShadowColor>0,0,1</DropShadowColor><Font>Arial</Font><Xref>0.000</Xref><Yref>0.000</Yref>"
        "<ScaleFactor>1.000</ScaleFactor><LineSpacingFactor>1.000</LineSpacingFactor><Bold>No</Bold>"
        "<Italics>No</Italics><CenterInStrip>No</CenterInStrip><GroupAlignment>Left</GroupAlignment>"
        "</MainItemTextParams>"
        "</Strip0-2></StripsData></MenuData>").arg(NameAndVersionText());

    const QString document = BuildLayoutDocument(layout, "C:\\Menus\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg");
    EXPECT_EQ(document.toStdString(), expected.toStdString());
    EXPECT_EQ(document.indexOf(u'>'), 55); // the declaration is 56 characters
}

TEST(LayoutDocumentWriter, NameAndVersionCarriesFourPartVersion)
{
    EXPECT_TRUE(QRegularExpression("^Tavrin Version\\d+\\.\\d+\\.\\d+\\.\\d+$").match(NameAndVersionText()).hasMatch())
        << NameAndVersionText().toStdString();
}

TEST(LayoutDocumentWriter, StripsComeColumnsOuterRowsInner)
{
    MenuLayout layout = ResetLayout(2, 16);
    const QString document = BuildLayoutDocument(layout, "/menus/Background.jpg");
    EXPECT_TRUE(document.contains("<BackgroundFileName>Background.jpg</BackgroundFileName>"));
    QStringList order;
    const QRegularExpression opening("<(Strip\\d+-\\d+)>");
    for (auto it = opening.globalMatch(document); it.hasNext();)
        order << it.next().captured(1);
    QStringList expected;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 16; ++r)
            expected << QString("Strip%1-%2").arg(c).arg(r);
    EXPECT_EQ(order, expected);
}

TEST(LayoutDocumentValues, FactorTextRoundsTheBinaryValueLikePrintf)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0.3, "0.300"},      {-0.0004, "-0.000"}, {8, "8.000"},        {-2.5, "-2.500"},
        {1.0005, "1.000"},   // 1.0005 is stored a little below: rounds down
        {0.0125, "0.013"},   // stored a little above: rounds up
        {2.0625, "2.062"},   // exactly halfway: to even, as printf does
        {1e15, "1000000000000000.000"},
    };
    for (const auto &c : cases) {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%0.3f", c.value); // the test runs in the "C" locale
        EXPECT_EQ(FactorText(c.value).toStdString(), c.text) << c.value;
        EXPECT_EQ(FactorText(c.value).toStdString(), std::string(printed)) << c.value;
    }
    EXPECT_EQ(FactorText(1.7976931348623157e308).size(), 309 + 4);
}

TEST(LayoutDocumentValues, OtherFormats)
{
    EXPECT_EQ(ColourText(kClearColour), "0,0,1");
    EXPECT_EQ(ColourText(kYellow), "255,255,0");
    EXPECT_EQ(ColourText(MakeColour(1, 2, 3)), "1,2,3");
    EXPECT_EQ(FlagText(0), "No");
    EXPECT_EQ(FlagText(-7), "Yes");
    EXPECT_EQ(AlignmentText(0), "Left");
    EXPECT_EQ(AlignmentText(1), "Center");
    EXPECT_EQ(AlignmentText(2), "Right");
    EXPECT_EQ(AlignmentText(3), "Left");
    EXPECT_EQ(IntegerText(-42), "-42");
}

} // namespace
} // namespace tavrin
