#include "layout/DocumentValues.h"
#include "layout/LayoutDocument.h"
#include "layout/StripOperations.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

namespace tavrin {
namespace {

// Records what the reader asks for, in order; pictures resolve to "/resolved/" + the value.
class RecordingHost : public LayoutReaderHost {
public:
    QStringList calls;
    void resolveBackground(const QString &name) override { calls << "background:" + name; }
    QString resolvePicture(const QString &name) override
    {
        calls << "picture:" + name;
        return "/resolved/" + name;
    }
    void checkFont(const QString &font, const QString &text) override { calls << "font:" + font + "|" + text; }
};

MenuLayout FreshLayout()
{
    MenuLayout layout;
    Strip working;
    ResetAllStrips(layout, working, kWhite);
    return layout;
}

QString OneStripDocument(const QString &stripContent)
{
    return "<MenuData><MenuGeneralData><NumberOfColumns>1</NumberOfColumns><NumberOfRows>1</NumberOfRows>"
           "</MenuGeneralData><StripsData><Strip0-0>"
        + stripContent + "</Strip0-0></StripsData></MenuData>";
}

QString Group(const char *element, const QString &inner)
{
    return QString("<%1>%2</%1>").arg(element, inner);
}

Strip ReadOneStrip(const QString &content)
{
    MenuLayout layout = FreshLayout();
    RecordingHost host;
    ReadLayoutDocument(OneStripDocument(content), layout, host);
    return layout.strip(0, 0);
}

Strip ResetStripValue()
{
    Strip s;
    ResetStrip(s);
    return s;
}

struct ReaderCase {
    const char *name;
    QString content;
    std::function<void(const Strip &)> check;
};

TEST(LayoutDocumentReader, StripRules)
{
    const QString prices = "<PricesTextParams><Text>%1</Text></PricesTextParams>";
    const ReaderCase cases[] = {
        {"empty strip element keeps the reset strip", "",
         [](const Strip &s) { EXPECT_EQ(s, ResetStripValue()); }},
        {"missing background colour reads black, not clear", "<SubImageFrameIndex>1</SubImageFrameIndex>",
         [](const Strip &s) {
             EXPECT_EQ(s.BackGroundColor, kBlack);
             EXPECT_EQ(s.Picture.SubImageFrameIndex, 1);
         }},
        {"group with empty text gets the generic defaults, not the per-group ones",
         Group("SubItemsTextParams", "<Text></Text><Xref>0.700</Xref><Font>Serif</Font>"),
         [](const Strip &s) {
             EXPECT_EQ(s.subItems(), TextGroup{});
             EXPECT_EQ(s.prices(), ResetStripValue().prices()); // absent: keeps the per-group reset
         }},
        {"missing group shadow takes the strip's first shadow",
         Group("MainItemTextParams", "<Text>A</Text><DropShadowColor>1,2,3</DropShadowColor>")
             + Group("PricesTextParams", "<Text>B</Text>"),
         [](const Strip &s) {
             EXPECT_EQ(s.mainItem().DropShadowColor, MakeColour(1, 2, 3));
             EXPECT_EQ(s.prices().DropShadowColor, MakeColour(1, 2, 3));
         }},
        {"no shadow anywhere reads black", Group("MainItemTextParams", "<Text>A</Text>"),
         [](const Strip &s) { EXPECT_EQ(s.mainItem().DropShadowColor, kBlack); }},
        {"legacy crop sets both and wins over the new ones",
         "<SubImageCropPercentage>50</SubImageCropPercentage><SubImageCropPercentageX>70</SubImageCropPercentageX>",
         [](const Strip &s) {
             EXPECT_EQ(s.Picture.SubImageCropPercentageX, 50);
             EXPECT_EQ(s.Picture.SubImageCropPercentageY, 50);
         }},
        {"missing crop reads 100, each on its own", "<SubImageCropPercentageX>30</SubImageCropPercentageX>",
         [](const Strip &s) {
             EXPECT_EQ(s.Picture.SubImageCropPercentageX, 30);
             EXPECT_EQ(s.Picture.SubImageCropPercentageY, 100);
             EXPECT_EQ(s.Picture.SubImageCropOriginPercentageX, 0);
         }},
        {"zero or missing spacings take their defaults",
         "<PriceTabSpacingFactor>0.000</PriceTabSpacingFactor>",
         [](const Strip &s) {
             EXPECT_EQ(s.PriceTabSpacingFactor, 8.0);
             EXPECT_EQ(s.CaloriesSpacingFactor, 3.8);
         }},
        {"missing frame factors read 0, also the sizes", "<XOffsetFactor>0.250</XOffsetFactor>",
         [](const Strip &s) {
             EXPECT_EQ(s.XOffsetFactor, 0.25);
             EXPECT_EQ(s.XSizeFactor, 0.0);
             EXPECT_EQ(s.YSizeFactor, 0.0);
         }},
        {"picture path goes through the host; hidden flag", 
         "<SubImageFileName>C:\\x\\fish.jpg</SubImageFileName><ImageHiddenOnWhite>Yes</ImageHiddenOnWhite>",
         [](const Strip &s) {
             EXPECT_EQ(s.Picture.SubImageFileName, "/resolved/C:\\x\\fish.jpg");
             EXPECT_EQ(s.Picture.ImageHiddenOnWhite, 1);
         }},
        {"numbers read like atoi and atof with a point",
         "<SubImageFrameIndex>  -3x</SubImageFrameIndex><SubImageBrightnessFactor>99999999999</SubImageBrightnessFactor>"
         "<SubImageCropOriginPercentageX>abc</SubImageCropOriginPercentageX>"
         "<XOffsetFactor> -1.5e1cm</XOffsetFactor><YOffsetFactor>1,5</YOffsetFactor><XSizeFactor>.5</XSizeFactor>",
         [](const Strip &s) {
             EXPECT_EQ(s.Picture.SubImageFrameIndex, -3);
             EXPECT_EQ(s.Picture.SubImageBrightnessFactor, INT_MAX);
             EXPECT_EQ(s.Picture.SubImageCropOriginPercentageX, 0);
             EXPECT_EQ(s.XOffsetFactor, -15.0);
             EXPECT_EQ(s.YOffsetFactor, 1.0);
             EXPECT_EQ(s.XSizeFactor, 0.5);
         }},
        {"flags and alignment are case-sensitive; empty line spacing is 1",
         Group("MainItemTextParams", "<Text>A</Text><Bold>yes</Bold><Italics>Yes</Italics>"
                                     "<GroupAlignment>center</GroupAlignment><LineSpacingFactor></LineSpacingFactor>")
             + Group("SubItemsTextParams", "<Text>B</Text><GroupAlignment>Right</GroupAlignment>"
                                           "<LineSpacingFactor>1.500</LineSpacingFactor><CenterInStrip>Yes</CenterInStrip>"),
         [](const Strip &s) {
             EXPECT_EQ(s.mainItem().Bold, 0);
             EXPECT_EQ(s.mainItem().Italics, 1);
             EXPECT_EQ(s.mainItem().GroupAlignment, 0);
             EXPECT_EQ(s.mainItem().LineSpacingFactor, 1.0);
             EXPECT_EQ(s.mainItem().ScaleFactor, 0.0); // missing factors read 0
             EXPECT_EQ(s.mainItem().Font, "");
             EXPECT_EQ(s.subItems().GroupAlignment, 2);
             EXPECT_EQ(s.subItems().LineSpacingFactor, 1.5);
             EXPECT_EQ(s.subItems().CenterInStrip, 1);
         }},
        {"old calorie marker and one trailing blank of the prices", prices.arg("1.99\\2.49  "),
         [](const Strip &s) { EXPECT_EQ(s.prices().Text, "1.99>2.49 "); }},
        {"backslash only becomes a marker in the prices",
         Group("MainItemTextParams", "<Text>A\\B </Text>") + prices.arg("1.99\\2.49 "),
         [](const Strip &s) {
             EXPECT_EQ(s.mainItem().Text, "A\\B ");
             EXPECT_EQ(s.prices().Text, "1.99>2.49");
         }},
        {"empty price entries get a blank", prices.arg("Small^^250^^^x^\r\ny^"),
         [](const Strip &s) { EXPECT_EQ(s.prices().Text, "Small^ ^250^ ^ ^x^ \r\ny^ "); }},
        {"markers untouched without a tab", prices.arg("a\r\nb"),
         [](const Strip &s) { EXPECT_EQ(s.prices().Text, "a\r\nb"); }},
        {"calorie spacing shrinks in steps when the prices have tabs",
         "<PriceTabSpacingFactor>4.000</PriceTabSpacingFactor><CaloriesSpacingFactor>3.800</CaloriesSpacingFactor>"
             + prices.arg("1.99^"),
         [](const Strip &s) {
             EXPECT_EQ(s.PriceTabSpacingFactor, 4.0);
             EXPECT_EQ(s.CaloriesSpacingFactor, 3.8 - 0.2 - 0.2 - 0.2 - 0.2 - 0.2);
             EXPECT_EQ(FactorText(s.CaloriesSpacingFactor), "2.800");
         }},
        {"tab spacing grows in steps when the prices have no tabs",
         "<PriceTabSpacingFactor>4.000</PriceTabSpacingFactor><CaloriesSpacingFactor>3.800</CaloriesSpacingFactor>"
             + prices.arg("1.99"),
         [](const Strip &s) {
             EXPECT_EQ(s.CaloriesSpacingFactor, 3.8);
             EXPECT_EQ(s.PriceTabSpacingFactor, 4.0 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2);
             EXPECT_EQ(FactorText(s.PriceTabSpacingFactor), "5.600");
         }},
        {"correction also runs for a prices element with empty text",
         "<PriceTabSpacingFactor>4.000</PriceTabSpacingFactor>" + prices.arg(""),
         [](const Strip &s) { EXPECT_EQ(FactorText(s.PriceTabSpacingFactor), "5.600"); }},
        {"no correction without a prices element",
         "<PriceTabSpacingFactor>1.000</PriceTabSpacingFactor><CaloriesSpacingFactor>3.800</CaloriesSpacingFactor>",
         [](const Strip &s) { EXPECT_EQ(s.PriceTabSpacingFactor, 1.0); }},
        {"huge calorie spacing ends at the bound",
         "<PriceTabSpacingFactor>1</PriceTabSpacingFactor><CaloriesSpacingFactor>1e300</CaloriesSpacingFactor>"
             + prices.arg("1^"),
         [](const Strip &s) { EXPECT_EQ(s.CaloriesSpacingFactor, 0.7); }},
        {"huge calorie spacing without tabs ends at the bound",
         "<CaloriesSpacingFactor>1e300</CaloriesSpacingFactor>" + prices.arg("1"),
         [](const Strip &s) {
             EXPECT_FALSE(s.CaloriesSpacingFactor > 0.7 * s.PriceTabSpacingFactor);
             EXPECT_LT(s.PriceTabSpacingFactor, 1.5e300);
         }},
        {"spacings beyond any double end",
         "<PriceTabSpacingFactor>-1e999</PriceTabSpacingFactor><CaloriesSpacingFactor>1e999</CaloriesSpacingFactor>"
             + prices.arg("1"),
         [](const Strip &s) { EXPECT_FALSE(s.CaloriesSpacingFactor > 0.7 * s.PriceTabSpacingFactor); }},
        {"a large calorie spacing is stepped all the way down",
         "<CaloriesSpacingFactor>2500</CaloriesSpacingFactor>" + prices.arg("1^"),
         [](const Strip &s) {
             double calories = 2500;
             while (calories > 0.7 * 8.0)
                 calories -= 0.2;
             EXPECT_EQ(s.CaloriesSpacingFactor, calories);
             EXPECT_EQ(FactorText(s.CaloriesSpacingFactor), "5.400");
         }},
        {"a large calorie spacing grows the tab spacing all the way",
         "<CaloriesSpacingFactor>7000.5</CaloriesSpacingFactor>" + prices.arg("1"),
         [](const Strip &s) {
             double tab = 8.0;
             while (7000.5 > 0.7 * tab)
                 tab += 0.2;
             EXPECT_EQ(s.PriceTabSpacingFactor, tab);
         }},
        {"spacings that are not decimal numbers read as missing",
         "<PriceTabSpacingFactor>nan</PriceTabSpacingFactor><CaloriesSpacingFactor>0x10</CaloriesSpacingFactor>"
             + prices.arg("1^"),
         [](const Strip &s) {
             EXPECT_EQ(s.PriceTabSpacingFactor, 8.0);
             EXPECT_EQ(s.CaloriesSpacingFactor, 3.8);
         }},
        {"calorie colour falls back to the prices colour",
         Group("PricesTextParams", "<Text>1</Text><TextColor>9,8,7</TextColor>"),
         [](const Strip &s) { EXPECT_EQ(s.CaloriesTextColor, MakeColour(9, 8, 7)); }},
        {"calorie colour without prices falls back to the reset prices colour", "<CaloriesItalics>Yes</CaloriesItalics>",
         [](const Strip &s) {
             EXPECT_EQ(s.CaloriesTextColor, kWhite);
             EXPECT_EQ(s.CaloriesItalics, 1);
         }},
        {"texts of one blank become empty",
         Group("MainItemTextParams", "<Text> </Text><Xref>0.500</Xref>") + prices.arg("  "),
         [](const Strip &s) {
             EXPECT_EQ(s.mainItem().Text, "");
             EXPECT_EQ(s.mainItem().Xref, 0.5);
             EXPECT_EQ(s.prices().Text, "");
         }},
        {"a text holding the closing tag is cut there",
         Group("MainItemTextParams", "<Text>a</Text>b</Text>"),
         [](const Strip &s) { EXPECT_EQ(s.mainItem().Text, "a"); }},
    };
    for (const ReaderCase &c : cases) {
        SCOPED_TRACE(c.name);
        c.check(ReadOneStrip(c.content));
    }
}

TEST(LayoutDocumentReader, ColourText)
{
    const struct {
        const char *text;
        Colour colour;
    } cases[] = {
        {"255,255,0", kYellow}, {"0,0,1", kClearColour}, {"", kBlack},         {"255", MakeColour(0, 0, 255)},
        {"10,20", MakeColour(10, 0, 20)}, {"256,-1,1,9", MakeColour(0, 255, 1)}, {" 1 , 2 ,3", MakeColour(1, 2, 3)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseColour(QString(c.text)), c.colour) << c.text;
}

TEST(LayoutDocumentReader, GeneralValuesAndHostCallsInOrder)
{
    MenuLayout layout = FreshLayout();
    layout.WhitePrintBackground = true;
    RecordingHost host;
    const QString document =
        "<MenuGeneralData><BackgroundFileName>C:\\a\\Lunch-BG.jpg</BackgroundFileName>"
        "<NumberOfColumns>2</NumberOfColumns><NumberOfRows> 2</NumberOfRows><WhitePrintBackground></WhitePrintBackground>"
        "</MenuGeneralData>"
        "<Strip0-0><SubImageFileName>p.jpg</SubImageFileName>"
        "<MainItemTextParams><Text>Fish</Text><Font>Serif</Font></MainItemTextParams>"
        "<PricesTextParams><Text>2</Text><Font>Mono</Font></PricesTextParams></Strip0-0>"
        "<Strip1-1><MainItemTextParams><Text>Tea</Text><Font>Sans</Font></MainItemTextParams>"
        "<SubItemsTextParams><Text>hot</Text><Font></Font></SubItemsTextParams></Strip1-1>";
    ReadLayoutDocument(document, layout, host);
    EXPECT_EQ(layout.NumberOfColumns, 2);
    EXPECT_EQ(layout.NumberOfRows, 2);
    EXPECT_FALSE(layout.WhitePrintBackground);
    EXPECT_EQ(host.calls, QStringList({"background:C:\\a\\Lunch-BG.jpg", "picture:p.jpg", "font:Serif|Fish",
                                       "font:Mono|2", "font:Sans|Tea"}));
}

TEST(LayoutDocumentReader, WhitePrintFlag)
{
    for (const auto &[value, expected] : {std::pair{"Yes", true}, {"yes", false}, {"No", false}}) {
        MenuLayout layout = FreshLayout();
        RecordingHost host;
        ReadLayoutDocument(QString("<WhitePrintBackground>%1</WhitePrintBackground>").arg(value), layout, host);
        EXPECT_EQ(layout.WhitePrintBackground, expected) << value;
    }
}

TEST(LayoutDocumentReader, NotALayoutGivesAnEmptyBoard)
{
    MenuLayout layout = FreshLayout();
    RecordingHost host;
    ReadLayoutDocument("just some text <Strip0-0><MainItemTextParams><Text>x</Text>", layout, host);
    EXPECT_EQ(layout.NumberOfColumns, 0);
    EXPECT_EQ(layout.NumberOfRows, 0);
    EXPECT_EQ(layout.strip(0, 0), ResetStripValue());
    EXPECT_EQ(host.calls, QStringList({"background:"}));
}

TEST(LayoutDocumentReader, CountsBeyondTheStoreAreKeptButReadOnlyInside)
{
    MenuLayout layout = FreshLayout();
    RecordingHost host;
    ReadLayoutDocument("<NumberOfColumns>12</NumberOfColumns><NumberOfRows>2147483648</NumberOfRows>"
                       "<Strip8-200><MainItemTextParams><Text>last</Text></MainItemTextParams></Strip8-200>"
                       "<Strip9-0><MainItemTextParams><Text>outside</Text></MainItemTextParams></Strip9-0>",
                       layout, host);
    EXPECT_EQ(layout.NumberOfColumns, 12);
    EXPECT_EQ(layout.NumberOfRows, INT_MAX);
    EXPECT_EQ(layout.strip(8, 200).mainItem().Text, "last");
}

TEST(LayoutDocumentReader, ScrambledAndPlainReadTheSame)
{
    MenuLayout source = FreshLayout();
    source.NumberOfColumns = 2;
    source.NumberOfRows = 3;
    source.strip(1, 2).mainItem().Text = "Soup";
    source.strip(1, 2).prices().Text = "3.50^";
    const QString plain = BuildLayoutDocument(source, "/w/Background.jpg");
    const QString stored = DocumentTextFromBytes(StoredDocumentBytes(plain));
    ASSERT_TRUE(stored.startsWith(u'?'));

    MenuLayout fromPlain = FreshLayout(), fromStored = FreshLayout();
    RecordingHost host1, host2;
    ReadLayoutDocument(plain, fromPlain, host1);
    ReadLayoutDocument(stored, fromStored, host2);
    EXPECT_EQ(fromStored.strip(1, 2).prices().Text, "3.50^ ");
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            ASSERT_EQ(fromPlain.strip(c, r), fromStored.strip(c, r));
    EXPECT_EQ(host1.calls, host2.calls);
}

// Every strip encloses the same long middle (all opening tags first, all closing tags last), so
// every strip reads the same long values. They are read once and shared, not copied and
// searched again for each of the 1,809 strips.
TEST(LayoutDocumentReader, StripsEnclosingTheSameLongPieceShareItsValues)
{
    QString opening, closing;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            opening += QString("<Strip%1-%2>").arg(c).arg(r);
            closing += QString("</Strip%1-%2>").arg(c).arg(r);
        }
    const QString longText = QString(100'000, u'a') + "^^";
    const QString document =
        "<NumberOfColumns>9</NumberOfColumns><NumberOfRows>201</NumberOfRows>" + opening
        + "<BackGroundColor>1," + QString(100'000, u' ') + "2,3</BackGroundColor>"
        + Group("MainItemTextParams", "<Text>" + longText + "</Text><Xref>" + QString(100'000, u'0') + "1.5</Xref>")
        + Group("PricesTextParams", "<Text>" + longText + "</Text>") + closing;
    MenuLayout layout = FreshLayout();
    RecordingHost host;
    ReadLayoutDocument(document, layout, host);

    const Strip &first = layout.strip(0, 0);
    EXPECT_EQ(first.BackGroundColor, MakeColour(1, 2, 3));
    EXPECT_EQ(first.mainItem().Text, longText);
    EXPECT_EQ(first.mainItem().Xref, 1.5);
    EXPECT_EQ(first.prices().Text, QString(100'000, u'a') + "^ ^ ");
    layout.forEachBoardStrip([&](int c, int r, const Strip &s) {
        ASSERT_EQ(s, first) << c << "-" << r;
        ASSERT_EQ(s.mainItem().Text.constData(), first.mainItem().Text.constData()) << c << "-" << r;
        ASSERT_EQ(s.prices().Text.constData(), first.prices().Text.constData()) << c << "-" << r;
    });
}

} // namespace
} // namespace tavrin
