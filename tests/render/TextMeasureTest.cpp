#include "fonts/FontMatching.h"
#include "render/TextMeasure.h"
#include "platform/HeadlessGui.h"
#include "support/QtPrinters.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace tavrin {
namespace {

// Fonts load through Qt's platform plug-in, which needs the GUI application object.

// The em of ScaleFactor 1 on a 16-row 1080-pixel board: 0.736 x 67.5 pixels.
constexpr double kEm = 0.736 * 67.5;

class TextMeasure : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApplication(); }
};

// Numbers read from the fonts' hmtx, hhea and head tables (both have 2048 units per em):
// the advance of "0", the hhea ascender, descender and line gap.
TEST_F(TextMeasure, WidthsAndHeightsFollowTheFontTables)
{
    const struct {
        const char *family;
        bool bold;
        const char *familyUsed;
        int zeroAdvance, spaceAdvance, ascender, descender, lineGap;
    } cases[] = {
        {"DejaVu Sans", false, "DejaVu Sans", 1303, 651, 1901, -483, 0},
        {"DejaVu Sans", true, "DejaVu Sans", 1425, 713, 1901, -483, 0},
        {"Liberation Sans", false, "Liberation Sans", 1139, 569, 1854, -434, 67},
        // Drawn with its metric-compatible stand-in.
        {"Arial", false, "Liberation Sans", 1139, 569, 1854, -434, 67},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.family) + (c.bold ? " bold" : ""));
        const TextFont font = TextFont::Create(c.family, kEm, c.bold, false);
        ASSERT_TRUE(font.isValid());
        EXPECT_FALSE(font.usedFallback());
        EXPECT_EQ(font.familyUsed(), c.familyUsed);
        const double unit = kEm / 2048.0;
        const double margins = 2.0 * kEm / 6.0;
        EXPECT_NEAR(font.width("0"), c.zeroAdvance * unit + margins, 1e-3);
        EXPECT_NEAR(font.width(QString(20, '0')) / 20.0, (20 * c.zeroAdvance * unit + margins) / 20.0, 1e-3);
        // Trailing and leading spaces are measured like any other character.
        EXPECT_NEAR(font.width(" 0  "), (c.zeroAdvance + 3 * c.spaceAdvance) * unit + margins, 1e-3);
        EXPECT_NEAR(font.lineHeight(), (c.ascender - c.descender + c.lineGap) * unit + kEm / 8.0, 1e-3);
        EXPECT_NEAR(font.ascent(), c.ascender * unit, 1e-3);
    }
}

TEST_F(TextMeasure, ScalesLinearlyWithFractionalSizes)
{
    const TextFont small = TextFont::Create("DejaVu Sans", 10.25, false, false);
    const TextFont large = TextFont::Create("DejaVu Sans", 41.0, false, false);
    const QString text = "Grilled Chicken 6.49";
    EXPECT_NEAR(large.width(text), 4.0 * small.width(text), 1e-6);
    EXPECT_NEAR(large.lineHeight(), 4.0 * small.lineHeight(), 1e-6);
}

TEST_F(TextMeasure, MeasuredBoxIsPlacedByAlignment)
{
    const TextFont font = TextFont::Create("DejaVu Sans", kEm, false, false);
    const QRectF layout(100.5, 40.25, 600.0, 675.0);
    const QString text = "Fries ";
    const double w = font.width(text);
    const struct {
        TextAlignment alignment;
        double x;
    } cases[] = {
        {TextAlignment::Near, 100.5},
        {TextAlignment::Center, 100.5 + (600.0 - w) / 2.0},
        {TextAlignment::Far, 700.5 - w},
    };
    for (const auto &c : cases) {
        const QRectF box = font.measure(text, layout, c.alignment);
        EXPECT_NEAR(box.x(), c.x, 1e-9) << int(c.alignment);
        EXPECT_DOUBLE_EQ(box.y(), layout.y());
        EXPECT_DOUBLE_EQ(box.width(), w);
        EXPECT_DOUBLE_EQ(box.height(), font.lineHeight());
    }
    // A text wider than the layout is not wrapped: the box keeps the whole width.
    const QString longText(100, 'W');
    EXPECT_GT(font.measure(longText, layout).width(), layout.width());
    EXPECT_DOUBLE_EQ(font.measure(longText, layout).height(), font.lineHeight());
}

TEST_F(TextMeasure, EmptyTextMeasuresNothing)
{
    const TextFont font = TextFont::Create("DejaVu Sans", kEm, false, false);
    EXPECT_EQ(font.width(QString()), 0.0);
    const QRectF layout(12.0, 34.0, 200.0, 100.0);
    for (TextAlignment alignment : {TextAlignment::Near, TextAlignment::Center, TextAlignment::Far})
        EXPECT_EQ(font.measure(QString(), layout, alignment), QRectF(12.0, 34.0, 0.0, 0.0));
    // A single space is not empty.
    EXPECT_GT(font.width(" "), 2.0 * kEm / 6.0);
}

TEST_F(TextMeasure, MissingFamilyFallsBackToSansSerif)
{
    const TextFont reference = TextFont::Create("DejaVu Sans", kEm, false, true);
    const QString sansSerif = MatchGenericSansSerif(false, false).family;
    ASSERT_EQ(sansSerif, "DejaVu Sans") << "the expected widths below are DejaVu Sans";

    for (const char *family : {"NoSuchFontFamily", ""}) {
        const TextFont font = TextFont::Create(family, kEm, false, true);
        ASSERT_TRUE(font.isValid()) << family;
        EXPECT_TRUE(font.usedFallback()) << family;
        EXPECT_TRUE(font.otherFamily()) << family;
        EXPECT_FALSE(font.slanted()) << family; // DejaVu Sans has an oblique face of its own
        EXPECT_EQ(font.familyUsed(), "DejaVu Sans") << family;
        EXPECT_TRUE(font.italic());
        EXPECT_DOUBLE_EQ(font.width("Oblique 0"), reference.width("Oblique 0")) << family;
    }
}

// Where the family has no italic or bold face, installed or carried, the style is made from its
// upright face, as FreeType makes it: the strokes slant 12 degrees, emboldened strokes and
// advances grow by 1/24 em. Another family never stands in.
TEST_F(TextMeasure, MissingStylesAreMadeFromTheFamilysOwnFace)
{
    const QString uprightOnly = "DejaVu Math TeX Gyre";
    if (!IsFontInstalled(uprightOnly))
        GTEST_SKIP() << uprightOnly.toStdString() << " is not installed";
    const TextFont upright = TextFont::Create(uprightOnly, kEm, false, false);
    const TextFont italic = TextFont::Create(uprightOnly, kEm, false, true);
    const TextFont bold = TextFont::Create(uprightOnly, kEm, true, false);
    EXPECT_FALSE(upright.usedFallback());
    for (const TextFont *font : {&italic, &bold}) {
        EXPECT_EQ(font->familyUsed(), upright.familyUsed());
        EXPECT_FALSE(font->otherFamily());
    }
    EXPECT_TRUE(italic.slanted());
    EXPECT_FALSE(italic.emboldened());
    EXPECT_TRUE(bold.emboldened());
    EXPECT_FALSE(bold.slanted());
    EXPECT_DOUBLE_EQ(italic.width("Il"), upright.width("Il"));
    EXPECT_NEAR(bold.width("Il"), upright.width("Il") + 2.0 * kEm / 24.0, 1e-9);

    // The column of ink of an "l": where the ink starts on each row. Upright it is the same on
    // every row; slanted it moves right by tan 12 degrees of the height climbed.
    const auto inkStarts = [](const TextFont &font) {
        QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        font.draw(painter, "l", QRectF(20, 10, 160, 100), TextAlignment::Near, Qt::black);
        painter.end();
        std::vector<std::pair<int, int>> starts; // row, first inked column
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    starts.push_back({y, x});
                    break;
                }
        return starts;
    };
    const auto slope = [](const std::vector<std::pair<int, int>> &starts) {
        // Between rows a quarter and three quarters down the stroke, away from its ends.
        const auto &top = starts[starts.size() / 4];
        const auto &bottom = starts[starts.size() * 3 / 4];
        return double(top.second - bottom.second) / double(bottom.first - top.first);
    };
    const auto uprightInk = inkStarts(upright);
    const auto italicInk = inkStarts(italic);
    ASSERT_GT(uprightInk.size(), 20u);
    ASSERT_GT(italicInk.size(), 20u);
    EXPECT_NEAR(slope(uprightInk), 0.0, 0.03);
    EXPECT_NEAR(slope(italicInk), 0.2126, 0.04);

    // Emboldened strokes are wider: 1/24 em, some two pixels at this size.
    const int middleRow = uprightInk[uprightInk.size() / 2].first;
    const auto inkWidth = [middleRow](const TextFont &font) {
        QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        font.draw(painter, "l", QRectF(20, 10, 160, 100), TextAlignment::Near, Qt::black);
        painter.end();
        int inked = 0;
        for (int x = 0; x < image.width(); ++x)
            inked += qGray(image.pixel(x, middleRow)) < 128;
        return inked;
    };
    EXPECT_GE(inkWidth(upright), 3);
    EXPECT_GE(inkWidth(bold), inkWidth(upright) + 1);
}

TEST_F(TextMeasure, CachedFacesSurviveClearing)
{
    const TextFont before = TextFont::Create("Liberation Sans", kEm, false, false);
    const double width = before.width("Menu 0");
    TextFont::ClearFaceCache();
    ClearFontMatchCache();
    const TextFont after = TextFont::Create("Liberation Sans", kEm, false, false);
    EXPECT_DOUBLE_EQ(before.width("Menu 0"), width);
    EXPECT_DOUBLE_EQ(after.width("Menu 0"), width);
}

// Drawing probes ------------------------------------------------------------------------------

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

bool IsInk(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The left-most, right-most, top-most and bottom-most pixels darker than mid-grey.
QRect InkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image, x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage Draw(const TextFont &font, const QString &text, const QRectF &layout, TextAlignment alignment)
{
    QImage image = WhiteImage(600, 300);
    QPainter painter(&image);
    font.draw(painter, text, layout, alignment, Qt::black);
    return image;
}

// "H" of DejaVu Sans: advance 1540, ink from x 201 to 1339 and from y 0 to 1493 (font units).
// Two sizes: Qt keeps small glyphs as images and fills large ones as outlines unless told
// otherwise; both must land where the measurement says.
TEST_F(TextMeasure, DrawnGlyphsSitWhereTheMeasurementPutsThem)
{
    for (const double em : {60.0, 150.0}) {
        SCOPED_TRACE(em);
        const double unit = em / 2048.0;
        const TextFont font = TextFont::Create("DejaVu Sans", em, false, false);
        const QRectF layout(20.25, 10.5, 560.0, font.lineHeight());
        const double baseline = layout.y() + font.ascent() + em / 16.0;

        const QRect near = InkBounds(Draw(font, "H", layout, TextAlignment::Near));
        EXPECT_NEAR(near.left(), layout.x() + em / 6.0 + 201 * unit, 1.0);
        EXPECT_NEAR(near.right() + 1, layout.x() + em / 6.0 + 1339 * unit, 1.0);
        EXPECT_NEAR(near.top(), baseline - 1493 * unit, 1.0);
        EXPECT_NEAR(near.bottom() + 1, baseline, 1.0);

        const QRect far = InkBounds(Draw(font, "H", layout, TextAlignment::Far));
        EXPECT_NEAR(far.right() + 1, layout.right() - em / 6.0 - (1540 - 1339) * unit, 1.0);

        const QRect centre = InkBounds(Draw(font, "H", layout, TextAlignment::Center));
        EXPECT_NEAR((centre.left() + centre.right() + 1) / 2.0, layout.center().x(), 1.0);

        // Each glyph advances by its measured width: the second "H" starts one advance later.
        const QImage two = Draw(font, "H H", layout, TextAlignment::Near);
        const double secondLeft = layout.x() + em / 6.0 + (1540 + 651 + 201) * unit;
        const int probeY = qRound(baseline - 10);
        EXPECT_FALSE(IsInk(two, qFloor(secondLeft) - 2, probeY));
        EXPECT_TRUE(IsInk(two, qCeil(secondLeft) + 2, probeY));
        EXPECT_NEAR(InkBounds(two).right() + 1, layout.x() + font.width("H H") - em / 6.0 - 201 * unit, 1.0);
    }
}

TEST_F(TextMeasure, DrawingIsAntiAliased)
{
    for (const double em : {40.3, 150.0}) {
        const TextFont font = TextFont::Create("DejaVu Sans", em, false, false);
        const QImage image = Draw(font, "0", QRectF(0, 0, 300, 250), TextAlignment::Near);
        int partial = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(image.pixel(x, y));
                partial += grey > 20 && grey < 235;
            }
        EXPECT_GT(partial, 10) << em;
    }
}

TEST_F(TextMeasure, DrawingIsClippedToTheLayoutRectangle)
{
    for (const double em : {60.0, 150.0}) {
        SCOPED_TRACE(em);
        const TextFont font = TextFont::Create("DejaVu Sans", em, false, false);
        // Narrower and lower than the text: the glyphs are cut at the rectangle's right and bottom.
        const QRect layout(30, 20, 100, qRound(0.6 * em));
        const QRect ink = InkBounds(Draw(font, "WWWWWW", layout, TextAlignment::Near));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(layout.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_EQ(ink.right(), layout.right());
        EXPECT_EQ(ink.bottom(), layout.bottom());

        // A clip set by the caller still applies, and is the painter's clip again afterwards.
        // The clip ends in the middle of the first "W".
        const QRect callerClip(0, 0, qRound(30 + em / 6.0 + em / 2.0), 300);
        QImage clipped = WhiteImage(600, 300);
        {
            QPainter painter(&clipped);
            painter.setClipRect(callerClip);
            font.draw(painter, "WWWWWW", QRectF(30, 20, 500, 250), TextAlignment::Near, Qt::black);
            EXPECT_EQ(painter.clipBoundingRect(), QRectF(callerClip));
        }
        const QRect clippedInk = InkBounds(clipped);
        ASSERT_FALSE(clippedInk.isEmpty());
        EXPECT_EQ(clippedInk.right(), callerClip.right());
    }
}

} // namespace
} // namespace tavrin
