#include "fonts/FontMatching.h"
#include "render/TextMeasure.h"
#include "platform/HeadlessGui.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrin {
namespace {

constexpr double kEm = 0.736 * 67.5;

QImage Draw(const TextFont &font, const QString &text, const QRectF &layout, TextAlignment alignment)
{
    QImage image(800, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    font.draw(painter, text, layout, alignment, Qt::black);
    return image;
}

// Bounding box of the pixels darker than mid grey.
QRect InkBounds(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

class TextScripts : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApplication(); }
    const QRectF layout{20.0, 20.0, 760.0, 260.0};
};

// Menus name dishes in their own script: every character is drawn with a real glyph, from the
// chosen face or a fallback face, never with the missing-glyph box.
TEST_F(TextScripts, EveryScriptIsDrawnWithRealGlyphs)
{
    const char *texts[] = {
        "مرحبا بكم",       // Arabic
        "寿司 ラーメン",     // Chinese and Japanese
        "עברית",           // Hebrew
        "ไทย",             // Thai
        "\xF0\x9F\x8D\x94", // emoji
        "Cafe\xCC\x81",    // e with a combining acute accent
        "Burger 5.99",
    };
    for (const bool bold : {false, true}) {
        const TextFont font = TextFont::Create("Liberation Sans", kEm, bold, false);
        ASSERT_TRUE(font.isValid());
        for (const char *text : texts) {
            const QString string = QString::fromUtf8(text);
            SCOPED_TRACE(string.toStdString() + (bold ? " bold" : ""));
            const QList<QGlyphRun> runs = font.glyphRuns(string);
            ASSERT_FALSE(runs.isEmpty());
            for (const QGlyphRun &run : runs)
                EXPECT_FALSE(run.glyphIndexes().contains(0u)) << run.rawFont().familyName().toStdString();
            EXPECT_FALSE(InkBounds(Draw(font, string, layout, TextAlignment::Near)).isEmpty());
        }
    }
}

// A letter with a combining accent looks like the precomposed letter, in a face that has the
// accent as a mark of its own and in one that has only the precomposed letter.
TEST_F(TextScripts, CombiningMarkSitsOnItsLetter)
{
    // Two sizes: small glyphs go through Qt's glyph cache, large ones are drawn by the face.
    for (const auto &[family, em] : {std::pair{"Liberation Sans", kEm}, std::pair{"DejaVu Sans", kEm},
                                     std::pair{"DejaVu Sans", 100.0}}) {
        SCOPED_TRACE(testing::Message() << family << " at " << em);
        const TextFont font = TextFont::Create(family, em, false, false);
        const QString combined = QString::fromUtf8("Cafe\xCC\x81");
        const QString precomposed = QString::fromUtf8("Caf\xC3\xA9");
        EXPECT_NEAR(font.width(combined), font.width(precomposed), 0.5);
        const QRect a = InkBounds(Draw(font, combined, layout, TextAlignment::Near));
        const QRect b = InkBounds(Draw(font, precomposed, layout, TextAlignment::Near));
        EXPECT_NEAR(a.left(), b.left(), 1);
        EXPECT_NEAR(a.right(), b.right(), 1);
        EXPECT_NEAR(a.top(), b.top(), 1);
        EXPECT_NEAR(a.bottom(), b.bottom(), 1);
    }
}

// Right-to-left text reads from the right: aligned right, the line ends where a Latin line would
// and its first letter is the rightmost one; digits in it stay in their own order.
TEST_F(TextScripts, HebrewRunsRightToLeft)
{
    const TextFont font = TextFont::Create("DejaVu Sans", kEm, false, false);
    const QString word = QString::fromUtf8("שלום");
    const QString first = word.left(1);
    const QString last = word.right(1);
    const double right = layout.right() - kEm / 6.0;

    // The measured advance ends at the aligned edge; the ink of the first letter is at that end.
    const QRect wordInk = InkBounds(Draw(font, word, layout, TextAlignment::Far));
    const QRect firstInk = InkBounds(Draw(font, first, layout, TextAlignment::Far));
    EXPECT_NEAR(wordInk.right(), firstInk.right(), 1);
    EXPECT_LE(wordInk.right(), right + 1);
    EXPECT_GT(wordInk.right(), right - kEm / 4.0);
    const QRect lastInk = InkBounds(Draw(font, last, layout, TextAlignment::Near));
    EXPECT_NEAR(InkBounds(Draw(font, word, layout, TextAlignment::Near)).left(), lastInk.left(), 1);

    // A Hebrew name followed by a price: the line reads right to left, so the price is on the left
    // and keeps its digit order.
    const QString priced = word + QStringLiteral(" 12");
    const QList<QGlyphRun> runs = font.glyphRuns(priced);
    ASSERT_FALSE(runs.isEmpty());
    QList<quint32> visual;
    QList<double> xs;
    for (const QGlyphRun &run : runs) {
        visual += run.glyphIndexes();
        for (const QPointF &p : run.positions())
            xs.append(p.x());
    }
    const QList<quint32> one = font.glyphRuns("1").first().glyphIndexes();
    const QList<quint32> two = font.glyphRuns("2").first().glyphIndexes();
    const QList<quint32> shin = font.glyphRuns(first).first().glyphIndexes();
    ASSERT_EQ(visual.size(), 7);
    EXPECT_EQ(visual.first(), one.first());
    EXPECT_EQ(visual[1], two.first());
    EXPECT_EQ(visual.last(), shin.first());
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
}

// Arabic letters join: a word takes less room than its letters set apart.
TEST_F(TextScripts, ArabicLettersJoin)
{
    const TextFont font = TextFont::Create("DejaVu Sans", kEm, false, false);
    const QString word = QString::fromUtf8("مرحبا");
    double isolated = 0.0;
    for (const QChar letter : word)
        isolated += InkBounds(Draw(font, QString(letter), layout, TextAlignment::Near)).width();
    const int joined = InkBounds(Draw(font, word, layout, TextAlignment::Near)).width();
    EXPECT_LT(joined, 0.9 * isolated);
}

// The chosen face draws what it has, so Latin text keeps its measurements when other scripts
// join it on the line.
TEST_F(TextScripts, LatinKeepsItsWidthNextToOtherScripts)
{
    const TextFont font = TextFont::Create("Liberation Sans", kEm, false, false);
    const QString latin = QStringLiteral("Burger ");
    const QString cjk = QString::fromUtf8("寿司");
    const double alone = font.width(latin) + font.width(cjk) - 2.0 * kEm / 6.0;
    EXPECT_NEAR(font.width(latin + cjk), alone, 1e-6);
    EXPECT_TRUE(font.fallbackFamilies(latin).isEmpty());
    EXPECT_FALSE(font.fallbackFamilies(cjk).isEmpty());
}

// Colour emoji fonts keep their glyphs as bitmaps, which are drawn as images in their own
// colours; a shadow takes only their shape, in the shadow's colour.
TEST_F(TextScripts, ColourEmojiKeepTheirColours)
{
    const QString colourEmoji = QStringLiteral("Noto Color Emoji");
    if (!IsFontInstalled(colourEmoji))
        GTEST_SKIP() << "no colour bitmap emoji font installed";
    const TextFont font = TextFont::Create(colourEmoji, kEm, false, false);
    EXPECT_FALSE(font.usedFallback());
    const QString burger = QString::fromUtf8("\xF0\x9F\x8D\x94");
    const auto colouredPixels = [](const QImage &image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 60;
            }
        return n;
    };
    const QImage drawn = Draw(font, burger, layout, TextAlignment::Near);
    const QRect ink = InkBounds(drawn);
    EXPECT_GT(colouredPixels(drawn), 200);
    EXPECT_NEAR(ink.left(), layout.x() + kEm / 6.0, 0.15 * kEm);
    EXPECT_NEAR(ink.width(), kEm, 0.3 * kEm);

    QImage shadow(800, 300, QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::white);
    QPainter painter(&shadow);
    font.draw(painter, burger, layout, TextAlignment::Near, Qt::black, /*shadow=*/true);
    painter.end();
    EXPECT_EQ(colouredPixels(shadow), 0);
    EXPECT_FALSE(InkBounds(shadow).isEmpty());
}

} // namespace
} // namespace tavrin
