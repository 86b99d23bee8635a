#include "fonts/FontMatching.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"
#include "render/StripContent.h"
#include "render/TextMeasure.h"
#include "platform/HeadlessGui.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace tavrin {
namespace {


const QString kFont = QStringLiteral("DejaVu Sans");
const QString kTwentyZeros = QString(20, u'0');

using PixelTest = std::function<bool(QRgb)>;

bool AnyInk(QRgb p)
{
    return qRed(p) > 128 || qGreen(p) > 128 || qBlue(p) > 128;
}
bool Reddish(QRgb p)
{
    return qRed(p) > 128 && qGreen(p) < 100 && qBlue(p) < 100;
}
bool Bluish(QRgb p)
{
    return qBlue(p) > 128 && qRed(p) < 100 && qGreen(p) < 100;
}
PixelTest Near(QColor c)
{
    return [c](QRgb p) {
        return std::abs(qRed(p) - c.red()) < 12 && std::abs(qGreen(p) - c.green()) < 12
            && std::abs(qBlue(p) - c.blue()) < 12;
    };
}

struct InkRun {
    int first = 0;
    int last = 0;
};

// Runs of columns (or rows) of area that hold at least one pixel passing test.
std::vector<InkRun> InkRuns(const QImage &image, QRect area, const PixelTest &test, bool columns)
{
    area = area.intersected(image.rect());
    std::vector<InkRun> runs;
    const int from = columns ? area.left() : area.top();
    const int to = columns ? area.right() : area.bottom();
    bool inRun = false;
    for (int i = from; i <= to; ++i) {
        bool ink = false;
        const int crossFrom = columns ? area.top() : area.left();
        const int crossTo = columns ? area.bottom() : area.right();
        for (int j = crossFrom; j <= crossTo && !ink; ++j)
            ink = test(columns ? image.pixel(i, j) : image.pixel(j, i));
        if (ink && !inRun)
            runs.push_back({i, i});
        if (ink)
            runs.back().last = i;
        inRun = ink;
    }
    return runs;
}

// The bounding box of the pixels of area passing test; empty when there are none.
QRect InkBounds(const QImage &image, QRect area, const PixelTest &test)
{
    const std::vector<InkRun> xs = InkRuns(image, area, test, true);
    const std::vector<InkRun> ys = InkRuns(image, area, test, false);
    if (xs.empty())
        return {};
    return QRect(QPoint(xs.front().first, ys.front().first), QPoint(xs.back().last, ys.back().last));
}

int CountPixels(const QImage &image, QRect area, const PixelTest &test)
{
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// A board shown at half size at (10, 20), with its grid built as the refresh builds it.
class StripContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        makeBoard(1920, 1080, 2, 16);
    }

    void makeBoard(int width, int height, int columns, int rows, int resolution = 96)
    {
        layout->NumberOfColumns = columns;
        layout->NumberOfRows = rows;
        preview.boardWidth = width;
        preview.boardHeight = height;
        preview.boardResolution = resolution;
        preview.previewScale = 0.5;
        preview.previewArea = QRect(10, 20, width / 2, height / 2);
        RebuildGrid(*layout, preview, *geometry);
        image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
    }

    // A group of strip (c, r) in the test font, drawn in white without shadow.
    TextGroup &setGroup(int c, int r, int g, const QString &text)
    {
        TextGroup &group = layout->strip(c, r).Groups[g];
        group.Font = kFont;
        group.Text = text;
        return group;
    }

    QRectF frame(int c, int r) const { return FrameRect(*layout, *geometry, preview, c, r); }
    // Cell width and height in board pixels.
    double cellWidth() const { return double(preview.boardWidth) / layout->NumberOfColumns; }
    double cellHeight() const { return double(preview.boardHeight) / layout->NumberOfRows; }

    void render(int c, int r)
    {
        RenderContext context{*layout, *geometry, preview, options, workingFolder, &fontList, &probes,
                              &substitutions};
        QPainter painter(&image);
        DrawStripContent(context, painter, layout->strip(c, r), c, r, frame(c, r));
    }

    // The area of the board below the top of strip (c, r), rows rows high, over its frame's width.
    QRect areaOf(int c, int r, int rows = 3) const
    {
        const QRectF f = frame(c, r);
        return QRect(int(f.x()), int(f.y()), int(f.width()), int(rows * cellHeight()));
    }

    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    PreviewGeometry preview;
    RenderOptions options;
    QString workingFolder;
    FontList fontList;
    FontSubstitutions substitutions;
    EditorProbes probes;
    QImage image;
};

TEST_F(StripContentTest, EmSizeFollowsTheCellHeightAtAnyResolution)
{
    const struct {
        int width, height, rows, resolution;
        double em; // 0.736 x cell height, in pixels
        double lineSpacing;
    } cases[] = {
        {1920, 1080, 16, 96, 49.68, 1.0},
        {1920, 1080, 16, 300, 49.68, 1.0},
        {1920, 1080, 16, 96, 49.68, 1.5},
        {3840, 2160, 16, 72, 99.36, 1.0},
        {1920, 1080, 8, 600, 99.36, 1.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " / " << c.rows << " rows at "
                                        << c.resolution << " ppi, line spacing " << c.lineSpacing);
        makeBoard(c.width, c.height, 2, c.rows, c.resolution);
        setGroup(0, 0, MainItemGroup, "H\r\nH").LineSpacingFactor = c.lineSpacing;
        setGroup(0, 0, PricesGroup, "0");
        render(0, 0);

        // The price-tab width is eight digit widths of the prices font.
        const TextFont font = TextFont::Create(kFont, c.em, false, false);
        EXPECT_EQ(geometry->at[0][0].priceTabWidth, float(int(8.0 * font.width(kTwentyZeros) / 20.0)));

        // Lines are 1.14 em x the line spacing apart.
        QRect mainItem = areaOf(0, 0, 5);
        mainItem.setWidth(mainItem.width() / 2);
        const std::vector<InkRun> lines = InkRuns(image, mainItem, AnyInk, false);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NEAR(lines[1].first - lines[0].first, 1.14 * c.lineSpacing * c.em, 1.0);
    }
}

TEST_F(StripContentTest, AlignedLinesMeetAtTheXrefPoint)
{
    // Measured boxes meet the Xref point; the glyphs sit 1/6 em inside them, plus side bearings.
    const double em = 49.68;
    const struct {
        int alignment;
        double xref;
    } cases[] = {{2, 0.94}, {2, 0.5}, {0, 0.1}, {0, 0.5}, {1, 0.5}, {1, 0.3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << " Xref " << c.xref);
        image.fill(Qt::black);
        TextGroup &group = setGroup(0, 2, MainItemGroup, "HH\r\nHHHH");
        group.GroupAlignment = c.alignment;
        group.Xref = c.xref;
        render(0, 2);

        const double x = frame(0, 2).x() + c.xref * cellWidth();
        const std::vector<InkRun> lines = InkRuns(image, areaOf(0, 2), AnyInk, false);
        ASSERT_EQ(lines.size(), 2u);
        for (const InkRun &line : lines) {
            const QRect area(0, line.first, image.width(), line.last - line.first + 1);
            const QRect ink = InkBounds(image, area, AnyInk);
            if (c.alignment == 2) {
                EXPECT_LE(ink.right() + 1, x - em / 6.0 + 1.0);
                EXPECT_GE(ink.right() + 1, x - em / 6.0 - 8.0);
            } else if (c.alignment == 0) {
                EXPECT_GE(ink.left(), x + em / 6.0 - 1.0);
                EXPECT_LE(ink.left(), x + em / 6.0 + 8.0);
            } else {
                EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, x, 1.5);
            }
        }
    }
}

TEST_F(StripContentTest, CentredTextIsCentredInTheWholeFrame)
{
    const struct {
        double xSizeFactor;
        int alignment;
        double centre;
    } cases[] = {
        {2.0, 0, 960.0}, {2.0, 1, 960.0}, {2.0, 2, 960.0}, {1.0, 0, 480.0}, {1.0, 2, 480.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "XSizeFactor " << c.xSizeFactor << " alignment " << c.alignment);
        image.fill(Qt::black);
        layout->strip(0, 4).XSizeFactor = c.xSizeFactor;
        TextGroup &group = setGroup(0, 4, SubItemsGroup, "HHH");
        group.CenterInStrip = 1;
        group.GroupAlignment = c.alignment;
        group.Xref = 0.3; // ignored
        render(0, 4);
        const QRect ink = InkBounds(image, areaOf(0, 4), AnyInk);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, c.centre, 1.5);
    }
}

TEST_F(StripContentTest, ShadowOffsetIsATenthOfThePointSizeAtLeastOnePixel)
{
    const struct {
        double scaleFactor;
        int resolution;
        int offset;
    } cases[] = {
        {40.0 / 49.68, 96, 3},              // 40 pixels at 96 ppi: 30 points
        {(5.0 * 600 / 72) / 49.68, 600, 1}, // 5 points: the minimum
        {1.0, 600, 1},                      // 49.68 pixels at 600 ppi: 5.96 points
        {1.0, 72, 5},                       // 49.68 points
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "ScaleFactor " << c.scaleFactor << " at " << c.resolution << " ppi");
        makeBoard(1920, 1080, 2, 16, c.resolution);
        TextGroup &group = setGroup(0, 1, MainItemGroup, "H");
        group.ScaleFactor = c.scaleFactor;
        group.TextColor = MakeColour(255, 0, 0);
        group.DropShadowColor = MakeColour(0, 0, 255);
        render(0, 1);
        const QRect text = InkBounds(image, areaOf(0, 1), Reddish);
        const QRect shadow = InkBounds(image, areaOf(0, 1), Bluish);
        ASSERT_FALSE(text.isEmpty());
        ASSERT_FALSE(shadow.isEmpty());
        if (c.offset == 5) { // 4.968 pixels: not a whole pixel, allow the edge to fall either way
            EXPECT_NEAR(shadow.right() - text.right(), 5, 1);
            EXPECT_NEAR(shadow.bottom() - text.bottom(), 5, 1);
        } else {
            EXPECT_EQ(shadow.right() - text.right(), c.offset);
            EXPECT_EQ(shadow.bottom() - text.bottom(), c.offset);
        }
    }
}

TEST_F(StripContentTest, WhitePrintMakesTextBlackUnlessItIsOverAShownPicture)
{
    const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0), white(255, 255, 255);
    const struct {
        bool whitePrint;
        bool picture;
        bool hiddenOnWhite;
        QColor text, shadow;
    } cases[] = {
        {false, false, false, red, blue},
        {true, false, false, black, white},
        {true, true, false, red, blue},
        {true, true, true, black, white},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "white print " << c.whitePrint << " picture " << c.picture
                                        << " hidden " << c.hiddenOnWhite);
        image.fill(QColor(128, 128, 128));
        options.whitePrint = c.whitePrint;
        Strip &strip = layout->strip(1, 5);
        // A picture that is not there: only the text is drawn.
        strip.Picture.SubImageFileName = c.picture ? QStringLiteral("/nonexistent/dish.png") : QString();
        strip.Picture.ImageHiddenOnWhite = c.hiddenOnWhite ? 1 : 0;
        TextGroup &group = setGroup(1, 5, MainItemGroup, "HHH");
        group.TextColor = MakeColour(255, 0, 0);
        group.DropShadowColor = MakeColour(0, 0, 255);
        render(1, 5);
        const QRect area = areaOf(1, 5);
        EXPECT_GT(CountPixels(image, area, Near(c.text)), 200);
        EXPECT_GT(CountPixels(image, area, Near(c.shadow)), 50);
        for (const QColor &other : {red, blue, black, white})
            if (other != c.text && other != c.shadow) {
                EXPECT_EQ(CountPixels(image, area, Near(other)), 0) << other.name().toStdString();
            }
    }
}

TEST_F(StripContentTest, PricesDrawOnlyTheirFirstTwoLines)
{
    const struct {
        int group;
        size_t lines;
    } cases[] = {{MainItemGroup, 3}, {SubItemsGroup, 3}, {PricesGroup, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.group);
        image.fill(Qt::black);
        layout->strip(0, 6) = Strip{};
        TextGroup &group = setGroup(0, 6, c.group, "H\r\nH\r\nH");
        group.Xref = 0.5;
        group.ScaleFactor = 1.0;
        render(0, 6);
        EXPECT_EQ(InkRuns(image, areaOf(0, 6, 5), AnyInk, false).size(), c.lines);
    }
}

TEST_F(StripContentTest, PriceEntriesStepOneTabWidthLeft)
{
    const struct {
        const char *text;
        int alignment;
        size_t entries;
    } cases[] = {
        {"H^H^H", 2, 3},
        {"H^H^H", 0, 3},
        {"H^H^H", 1, 3},
        // Two tab marks in a row move the entry before them one tab width only.
        {"H^^H", 2, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " alignment " << c.alignment);
        image.fill(Qt::black);
        TextGroup &prices = setGroup(0, 7, PricesGroup, c.text);
        prices.GroupAlignment = c.alignment;
        prices.Xref = 0.9;
        render(0, 7);
        const double tabWidth = geometry->at[0][7].priceTabWidth;
        ASSERT_GT(tabWidth, 200.0);
        const std::vector<InkRun> entries = InkRuns(image, areaOf(0, 7), AnyInk, true);
        ASSERT_EQ(entries.size(), c.entries);
        for (size_t i = 1; i < entries.size(); ++i)
            EXPECT_NEAR(entries[i].last - entries[i - 1].last, tabWidth, 1.5);
        // The last entry is aligned at the anchor, Xref cell widths into the frame.
        const double anchor = 0.9 * cellWidth();
        EXPECT_NEAR(entries.back().last, anchor, 49.68 / 2.0);
    }
}

TEST_F(StripContentTest, CaloriePartsAreDrawnInTheCalorieColour)
{
    const QColor text(255, 0, 0), calories(0, 255, 0), black(0, 0, 0), grey(64, 64, 64);
    const struct {
        const char *prices;
        bool whitePrint;
        std::vector<QColor> colours; // of the drawn parts, left to right
    } cases[] = {
        {"H", false, {text}},
        {"H>H", false, {text, calories}},
        {"H<H", false, {calories, text}},
        {"<H", false, {text}},
        {">H", false, {calories}},
        {"H>H^H", false, {text, calories, text}},
        // On white paper: black text and dark grey calories.
        {"H>H", true, {black, grey}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.prices);
        image.fill(c.whitePrint ? QColor(Qt::white) : QColor(Qt::black));
        options.whitePrint = c.whitePrint;
        Strip &strip = layout->strip(0, 8);
        strip.CaloriesTextColor = MakeColour(0, 255, 0);
        TextGroup &prices = setGroup(0, 8, PricesGroup, c.prices);
        prices.GroupAlignment = 2;
        prices.Xref = 0.9;
        prices.TextColor = MakeColour(255, 0, 0);
        const QRect area = areaOf(0, 8);
        const PixelTest drawn = [&](QRgb p) { return c.whitePrint ? qGray(p) < 128 : AnyInk(p); };
        render(0, 8);
        const std::vector<InkRun> parts = InkRuns(image, area, drawn, true);
        ASSERT_EQ(parts.size(), c.colours.size());
        for (size_t i = 0; i < parts.size(); ++i) {
            const QRect part(parts[i].first, area.top(), parts[i].last - parts[i].first + 1, area.height());
            EXPECT_GT(CountPixels(image, part, Near(c.colours[i])), 50) << "part " << i;
        }
    }
}

TEST_F(StripContentTest, PlaceholderIsDrawnOnScreenButNotInOutput)
{
    for (const bool output : {false, true}) {
        SCOPED_TRACE(output ? "output" : "screen");
        image.fill(Qt::black);
        options.outputRendering = output;
        setGroup(1, 9, MainItemGroup, "[]");
        TextGroup &sub = setGroup(1, 9, SubItemsGroup, "[]x");
        sub.Yref = 1.2;
        sub.ScaleFactor = 1.0;
        render(1, 9);
        QRect mainArea = areaOf(1, 9, 1);
        QRect subArea = areaOf(1, 9, 3).adjusted(0, int(cellHeight()), 0, 0);
        EXPECT_EQ(CountPixels(image, mainArea, AnyInk) > 0, !output);
        // Only a text that is exactly "[]" is left out.
        EXPECT_GT(CountPixels(image, subArea, AnyInk), 0);
    }
}

TEST_F(StripContentTest, PriceProbeIsAnsweredOnceByThePartUnderIt)
{
    const QRectF f = frame(0, 10);
    const double anchor = 0.9 * cellWidth();
    const struct {
        QPointF point;
        bool right, left, pointReset;
    } cases[] = {
        {QPointF(anchor - 10.0, f.y() + 20.0), true, false, true},   // the calorie part
        {QPointF(anchor - 160.0, f.y() + 20.0), false, true, true},  // the price before it
        {QPointF(anchor + 200.0, f.y() + 20.0), false, false, false}, // beside both
        {QPointF(0.0, f.y() + 20.0), false, false, false},            // no probe waiting
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << ", " << c.point.y());
        TextGroup &prices = setGroup(0, 10, PricesGroup, "HH>H");
        prices.GroupAlignment = 2;
        prices.Xref = 0.9;
        probes = EditorProbes{};
        probes.pricePoint = c.point;
        render(0, 10);
        EXPECT_EQ(probes.rightPartHit, c.right);
        EXPECT_EQ(probes.leftPartHit, c.left);
        EXPECT_EQ(probes.pricePoint, c.pointReset ? QPointF(0, 0) : c.point);

        // The next render finds no probe waiting.
        probes.rightPartHit = probes.leftPartHit = false;
        render(0, 10);
        EXPECT_FALSE(probes.rightPartHit);
        EXPECT_FALSE(probes.leftPartHit);
    }

    // The digit width is handed back only while it is asked for.
    probes = EditorProbes{};
    render(0, 10);
    EXPECT_EQ(probes.cachedDigitWidth, 0.0);
    probes.digitWidthRequestX = 0.0;
    render(0, 10);
    const TextFont font = TextFont::Create(kFont, 49.68, false, false);
    EXPECT_NEAR(probes.cachedDigitWidth, font.width(QString(10, u'0')) / 10.0, 1e-6);
}

TEST_F(StripContentTest, CaretOutlinesThePartThatHoldsIt)
{
    probes.selectionColour = MakeColour(0, 0, 255);
    const struct {
        const char *prices;
        QColor outline;
    } cases[] = {
        {"H>H~", QColor(0, 255, 0)}, // calorie part: the calorie colour
        {"H~>H", QColor(0, 0, 255)}, // price part: the selection colour
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.prices);
        const QRect area = areaOf(0, 11);
        int outlineColoured[2] = {0, 0}; // without and with the caret
        for (const bool caret : {false, true}) {
            image.fill(Qt::black);
            layout->strip(0, 11).CaloriesTextColor = MakeColour(0, 255, 0);
            QString text = QString::fromUtf8(c.prices);
            if (!caret)
                text.remove(u'~');
            TextGroup &prices = setGroup(0, 11, PricesGroup, text);
            prices.GroupAlignment = 2;
            prices.Xref = 0.9;
            prices.TextColor = MakeColour(255, 0, 0);
            render(0, 11);
            outlineColoured[caret] = CountPixels(image, area, Near(c.outline));
            // The marker itself is never drawn: one red part (the price) in both renders.
            EXPECT_EQ(InkRuns(image, area, Reddish, true).size(), 1u);
        }
        // A rectangle of a 4-pixel pen around a letter.
        EXPECT_GT(outlineColoured[1] - outlineColoured[0], 400);
    }
}

TEST_F(StripContentTest, HitBoxesAreRecordedInPreviewPixels)
{
    geometry->at[1][3].hitBoxes[SubItemsGroup] = {1, 2, 3, 4};
    TextGroup &main = setGroup(1, 3, MainItemGroup, "HHH\r\nHH");
    main.Xref = 0.1;
    main.Yref = 0.1;
    TextGroup &prices = setGroup(1, 3, PricesGroup, "H^H");
    prices.GroupAlignment = 2;
    prices.Xref = 0.9;
    prices.Yref = 0.1;
    render(1, 3);

    const QRect area = areaOf(1, 3, 4);
    const auto toPreview = [this](QRect ink) {
        const double s = preview.previewScale;
        return QRectF(ink.x() * s + preview.previewArea.x(), ink.y() * s + preview.previewArea.y(),
                      (ink.width()) * s, ink.height() * s);
    };
    const auto box = [this](int g) {
        const RectF32 &r = geometry->at[1][3].hitBoxes[g];
        return QRectF(r.left, r.top, r.width, r.height);
    };
    QRect left = area, right = area;
    left.setWidth(area.width() / 2);
    right.setLeft(area.left() + area.width() / 2);

    // The main item's box covers both lines: from above the first line's letters to the second's.
    const std::vector<InkRun> lines = InkRuns(image, left, AnyInk, false);
    ASSERT_EQ(lines.size(), 2u);
    const QRectF mainInk = toPreview(InkBounds(image, left, AnyInk));
    const QRectF mainBox = box(MainItemGroup);
    EXPECT_LT(mainBox.left(), mainInk.left());
    EXPECT_GT(mainBox.right(), mainInk.right());
    EXPECT_LT(mainBox.top(), mainInk.top());
    EXPECT_GT(mainBox.bottom(), toPreview(QRect(0, lines[1].first, 1, 1)).top());
    EXPECT_LT(mainBox.bottom(), mainInk.bottom() + 2.0);

    // The prices box spans both entries.
    const QRectF pricesInk = toPreview(InkBounds(image, right, AnyInk));
    const QRectF pricesBox = box(PricesGroup);
    EXPECT_LT(pricesBox.left(), pricesInk.left() + 2.0);
    EXPECT_GT(pricesBox.right(), pricesInk.right() - 2.0);
    EXPECT_GT(pricesBox.width(), 0.8 * pricesInk.width());
    EXPECT_LT(pricesBox.top(), pricesInk.top());

    // A group that is not drawn keeps its earlier box.
    EXPECT_EQ(geometry->at[1][3].hitBoxes[SubItemsGroup], (RectF32{1, 2, 3, 4}));
}

TEST_F(StripContentTest, StripsNotInUseAndEmptyFramesDrawNothing)
{
    setGroup(0, 12, MainItemGroup, "HHH").TextColor = MakeColour(255, 255, 255);
    layout->strip(0, 12).XSizeFactor = 0.0;
    render(0, 12);
    render(0, 13); // not in use
    EXPECT_EQ(CountPixels(image, image.rect(), AnyInk), 0);
    EXPECT_EQ(geometry->at[0][12].hitBoxes[MainItemGroup], RectF32{});
}

TEST_F(StripContentTest, FontGatheringListsEachFaceOnceAndNeverOverwrites)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString work = folder.path();
    const auto writeFile = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    ASSERT_TRUE(writeFile(work + "/LiberationSans-Regular.ttf", "older copy"));
    const auto readFile = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    workingFolder = work;
    setGroup(0, 0, MainItemGroup, "A").Font = "DejaVu Sans";
    setGroup(0, 0, SubItemsGroup, "B").Font = "DejaVu Sans";
    setGroup(0, 0, PricesGroup, "1").Font = "Liberation Sans";
    TextGroup &bold = setGroup(0, 1, MainItemGroup, "C");
    bold.Font = "Liberation Sans";
    bold.Bold = 1;
    layout->strip(0, 1).subItems().Font = "Never Drawn"; // no text

    // Nothing is gathered on the screen unless gathering is on.
    render(0, 0);
    EXPECT_TRUE(fontList.isEmpty());

    for (const bool output : {true, false}) {
        options = RenderOptions{};
        (output ? options.outputRendering : options.fontGathering) = true;
        fontList.clear();
        QFile::remove(work + "/DejaVuSans.ttf");
        for (int pass = 0; pass < 2; ++pass) {
            render(0, 0);
            render(0, 1);
        }
        // Each face with the file of every style it was drawn in, once.
        EXPECT_EQ(fontList.text(), "DejaVu Sans,DejaVuSans.ttf;Liberation Sans,LiberationSans-Regular.ttf;"
                                   "Liberation Sans,LiberationSans-Bold.ttf;");
        EXPECT_EQ(fontList.entries()[0].fontFile, FindFontFile("DejaVu Sans"));
        EXPECT_EQ(readFile(work + "/DejaVuSans.ttf"), readFile(FindFontFile("DejaVu Sans")));
        EXPECT_EQ(readFile(work + "/LiberationSans-Regular.ttf"), "older copy");
    }
}

// Characters the group's face lacks are drawn with fallback faces, and those faces go into the
// package's font list with the group's own.
TEST_F(StripContentTest, FallbackFacesOfTheTextAreGathered)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    workingFolder = folder.path();
    options.outputRendering = true;
    const QString arabic = QString::fromUtf8("مرحبا بكم");
    const QString cjk = QString::fromUtf8("寿司 ラーメン");
    setGroup(0, 0, MainItemGroup, arabic).Font = "Liberation Sans";
    setGroup(0, 0, SubItemsGroup, cjk).Font = "Liberation Sans";
    render(0, 0);

    const TextFont font = TextFont::Create("Liberation Sans", 10.0, false, false);
    QStringList expected{"Liberation Sans"};
    for (const QString &text : {arabic, cjk})
        for (const QString &family : font.fallbackFamilies(text))
            if (!expected.contains(family))
                expected.append(family);
    ASSERT_GE(expected.size(), 3);
    QStringList listed = fontList.faces();
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_FALSE(InkBounds(image, areaOf(0, 0), AnyInk).isEmpty());
}

// A clear text or calorie colour means no colour: that text is not drawn at all.
TEST_F(StripContentTest, ClearTextColoursDrawNothing)
{
    const struct {
        int group;
        const char *text;
        Colour textColour;
        Colour calorieColour;
        bool redShown;
    } cases[] = {
        {MainItemGroup, "Burger", kClearColour, kWhite, false},
        {SubItemsGroup, "with fries", kClearColour, kWhite, false},
        {PricesGroup, "5.99", kClearColour, kWhite, false},
        {PricesGroup, "5.99>250", MakeColour(255, 0, 0), kClearColour, true},
        {PricesGroup, "5.99>250", kClearColour, MakeColour(255, 0, 0), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        image.fill(Qt::white);
        layout->strip(0, 4) = Strip{};
        layout->strip(0, 4).CaloriesTextColor = c.calorieColour;
        TextGroup &group = setGroup(0, 4, c.group, c.text);
        group.TextColor = c.textColour;
        group.GroupAlignment = 2;
        group.Xref = 0.9;
        render(0, 4);
        // Only red text may show on the white board (red over white keeps its red channel full);
        // clear text would show as near black.
        const PixelTest notRed = [](QRgb p) { return qRed(p) < 240; };
        EXPECT_EQ(CountPixels(image, areaOf(0, 4), notRed), 0);
        EXPECT_EQ(CountPixels(image, areaOf(0, 4), Reddish) > 50, c.redShown);
        EXPECT_GT(geometry->at[0][4].hitBoxes[c.group].width, 0.0f) << "the text still has its place";
    }
}

// Only the first two prices lines are drawn, and a third one does not move them either: it is
// not measured.
TEST_F(StripContentTest, ThirdPricesLineTakesNoRoom)
{
    QImage drawn[2];
    for (int i = 0; i < 2; ++i) {
        image.fill(Qt::black);
        layout->strip(0, 6) = Strip{};
        TextGroup &prices = setGroup(0, 6, PricesGroup, i == 0 ? "5.99\r\n6.49" : "5.99\r\n6.49\r\n1234567890123");
        prices.CenterInStrip = 1;
        prices.GroupAlignment = 1;
        render(0, 6);
        drawn[i] = image;
    }
    EXPECT_EQ(InkRuns(drawn[1], areaOf(0, 6, 5), AnyInk, false).size(), 2u);
    EXPECT_EQ(drawn[0], drawn[1]);
}

} // namespace
} // namespace tavrin
