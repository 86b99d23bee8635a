#pragma once

#include "render/TextMeasure.h"

#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRectF>
#include <QRawFont>

#include <array>
#include <memory>
#include <string>

struct hb_font_t;

namespace tavrin {

struct ShapedLine;

inline constexpr quint32 kUnknownGlyph = 0xFFFFFFFFu;

// The character at i; a surrogate pair counts as one character and leaves i on its second half.
inline char32_t NextCodePoint(const QChar *units, qsizetype length, qsizetype &i)
{
    const QChar first = units[i];
    if (first.isHighSurrogate() && i + 1 < length && units[i + 1].isLowSurrogate()) {
        ++i;
        return QChar::surrogateToUcs4(first, units[i]);
    }
    return first.unicode();
}

struct LargeGlyphKey {
    quint32 glyph = 0;
    double emPixels = 0.0;
    QRgb colour = 0;
    bool operator==(const LargeGlyphKey &) const = default;
};

size_t qHash(const LargeGlyphKey &key, size_t seed = 0);

// A glyph rendered in one colour; offset is the image's top-left from the glyph's origin.
struct LargeGlyph {
    QImage image;
    QPoint offset;
};

// A colour bitmap glyph and the box it fills, in ems from the glyph's origin (y grows downwards).
struct ColourGlyph {
    QImage image;
    QRectF box;
};

struct GlyphAdvance {
    quint32 glyph = kUnknownGlyph;
    double advancePerEm = 0.0; // advance width in ems, without hinting or kerning
    // The face has the character and it needs no shaping: it is not a combining mark, not
    // right-to-left and not a format control. Text made only of such characters is laid out one
    // glyph per character with these advances.
    bool plain = false;
};

struct HarfBuzzFontDeleter {
    void operator()(hb_font_t *font) const;
};

// Made-up styles, as FreeType makes them: emboldening widens every stroke and every advance by
// 1/24 em, the oblique slants by 12 degrees (x grows by tan 12 degrees of the height above the
// baseline).
inline constexpr double kEmboldenPerEm = 1.0 / 24.0;
inline constexpr double kObliqueShear = 0.2126; // tan(12 degrees)

// The outlines of a face with a made-up style, read and changed by FreeType.
struct SyntheticOutlines;
struct SyntheticOutlinesDeleter {
    void operator()(SyntheticOutlines *outlines) const;
};

// One face loaded from its file: the font at its design size (one pixel per font unit, so that
// advances come out in font units), its vertical metrics in ems, and the glyphs and advances of
// the characters measured so far. Advances scale linearly with the size because nothing is
// hinted, so one table serves every size; shaped lines are kept in ems for the same reason.
// A face belongs to one thread.
struct TextFont::Face {
    QRawFont design;
    QString file;
    int faceIndex = 0;
    QString family;
    bool bold = false;
    bool italic = false;
    // The style asked for is missing from the file and made up from the face: every glyph is
    // drawn from its outline, emboldened and/or slanted, and emboldened advances are wider.
    bool emboldened = false;
    bool slanted = false;
    std::unique_ptr<SyntheticOutlines, SyntheticOutlinesDeleter> synthetic;
    // Glyphs are colour bitmaps (emoji in CBDT or sbix): Qt's glyph renderer cannot draw them, so
    // they are read through HarfBuzz and drawn as images.
    bool colourBitmap = false;
    double unitsPerEm = 1.0;
    double ascentPerEm = 0.0;
    double lineSpacingPerEm = 0.0;
    std::array<GlyphAdvance, 256> latin1{};
    QHash<char32_t, GlyphAdvance> others;
    QHash<double, QRawFont> sized;
    QHash<quint32, QPainterPath> outlines; // in font units
    QHash<LargeGlyphKey, LargeGlyph> largeGlyphs;
    qsizetype largeGlyphBytes = 0;
    QHash<quint32, ColourGlyph> colourGlyphs;

    // For text that needs shaping: the HarfBuzz font (made on first use), the faces that draw
    // characters this one lacks (by the characters of one cluster), and the lines shaped so far.
    std::unique_ptr<hb_font_t, HarfBuzzFontDeleter> harfBuzz;
    bool harfBuzzTried = false;
    QHash<QString, std::shared_ptr<Face>> fallbacks;
    QHash<QString, std::shared_ptr<const ShapedLine>> shapedLines;

    bool isSynthetic() const { return emboldened || slanted; }
    // The glyph's outline in font units (y grows downwards), in the made-up style when there is one.
    const QPainterPath &outline(quint32 glyph);
    LargeGlyph largeGlyph(quint32 glyph, double emPixels, const QColor &colour);
    const GlyphAdvance &lookUp(char32_t codePoint);
    QRawFont atSize(double emPixels);
    const ColourGlyph &colourGlyph(quint32 glyph);
    hb_font_t *harfBuzzFont();
};

// The face that draws a cluster of characters the face lacks, loaded through the same cache as
// the chosen faces (in the chosen face's style, made up where the fallback family lacks it);
// null when no installed or carried font covers them.
std::shared_ptr<TextFont::Face> LoadFallbackFace(const TextFont::Face &face, const std::u32string &cluster);

} // namespace tavrin
