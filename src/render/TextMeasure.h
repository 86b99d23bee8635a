#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace tavrin {

enum class TextAlignment { Near = 0, Center = 1, Far = 2 };

// One font at one size, measuring and drawing text the way the board's text placement rules
// expect:
// - the measured width of a string is its advance width (trailing spaces counted, no kerning)
//   plus a margin of 1/6 em at each end;
// - the height of one line is the font's line spacing from its hhea table plus 1/8 em;
// - text drawn into a layout rectangle is not wrapped and is clipped to the rectangle; near
//   alignment puts the first glyph's origin 1/6 em right of the rectangle's left edge, far
//   alignment ends the advance 1/6 em left of its right edge, centre is symmetric; the first
//   baseline is the ascent (plus 1/16 em) below the rectangle's top;
// - drawing is anti-aliased.
// Measuring and drawing use the same font data at a fractional pixel size, so what is measured
// is what is drawn.
//
// Text in any script: characters the face lacks are drawn with a fallback face that has them,
// complex scripts are shaped, and right-to-left runs are ordered by the bidirectional algorithm;
// measuring and drawing use the same shaped glyphs, and the margins, line height and placement
// above apply to the shaped line. Text the face has glyph for glyph, left to right and without
// combining marks, is laid out one glyph per character with the face's advances, as before.
class TextFont {
public:
    // Font data shared by every TextFont of one face (see TextMeasure.cpp).
    struct Face;

    TextFont() = default;

    // family at an em size in pixels, drawn with the face ResolveFace (FontMatching.h) picks: an
    // installed or carried face of the family in the style, else the family's nearest style made
    // into the requested one (emboldened, slanted 12 degrees); a family that is neither installed
    // (nor there through an alias that is metric-compatible) nor carried is drawn with the
    // generic sans-serif family. The font files are opened once per process and face; creating a
    // font afterwards is a table look-up. A font is used on the thread that created it. Without
    // a QGuiApplication no font can be loaded and the result is not valid.
    static TextFont Create(const QString &family, double emPixels, bool bold, bool italic);

    // Forgets the loaded faces (fonts were installed or removed while the program runs); fonts
    // created before keep working.
    static void ClearFaceCache();

    // Off, every text is laid out one glyph per character with the face's own glyphs, as before
    // text was shaped (no fallback faces, no bidirectional order): for timing the cost of
    // shaping only. On by default.
    static void SetShapingEnabled(bool on);

    bool isValid() const { return raw_.isValid(); }
    // Another family stands in, or the style is made up.
    bool usedFallback() const { return usedFallback_; }
    // The family is neither installed nor carried: the generic sans-serif family stands in.
    bool otherFamily() const { return otherFamily_; }
    // The style asked for is made up: bold by emboldening, italic by slanting.
    bool emboldened() const;
    bool slanted() const;
    // The face is drawn from a file a layout package carried.
    bool carried() const { return carried_; }
    // The file the face is drawn from.
    QString fontFile() const;
    QString familyUsed() const { return raw_.familyName(); }
    double emPixels() const { return em_; }
    bool bold() const { return bold_; }
    bool italic() const { return italic_; }

    // Advance width of text plus the two 1/6 em margins; 0 for an empty text.
    double width(const QString &text) const;
    // Height of one line: hhea line spacing + 1/8 em.
    double lineHeight() const;
    // Distance from the top of a line to its baseline before the 1/16 em that drawing adds:
    // the hhea ascender at this size.
    double ascent() const;

    // The box a single line of text occupies when laid out in layout with the alignment:
    // width() wide, lineHeight() high, placed at layout's top; an empty text gives an empty box
    // at layout's top-left.
    QRectF measure(const QString &text, const QRectF &layout, TextAlignment alignment = TextAlignment::Near) const;

    // The glyphs drawing uses for one line, at this size, in visual order; positions are relative
    // to the first glyph's origin on the baseline. Runs of colour bitmap faces are for reading
    // only: Qt cannot draw them.
    QList<QGlyphRun> glyphRuns(const QString &text) const;
    // The families of the fallback faces that draw part of text (not the chosen face's own).
    QStringList fallbackFamilies(const QString &text) const;

    // The box the glyphs of one line of text cover when drawn into layout with the alignment:
    // the union of their outlines' bounds (colour glyphs: their image boxes), clipped to layout
    // as the drawing is. Empty when nothing is drawn.
    QRectF inkBox(const QString &text, const QRectF &layout, TextAlignment alignment) const;
    // The height of the face's capital letters (and so about its digits) at this size: the cap
    // height its OS/2 table gives, else the height of its "H".
    double capHeight() const;
    // A face that draws some of a text.
    struct FaceUse {
        QString family;
        QString file;
        bool emboldened = false;
        bool slanted = false;
        bool chosen = false; // this font's own face (else a fallback face)
    };
    // The faces that draw text, in order of first use: this font's own face alone when it has
    // every character.
    std::vector<FaceUse> facesUsed(const QString &text) const;
    // The characters of text no face can draw (they show as the missing-glyph box), each once.
    std::u32string undrawableCharacters(const QString &text) const;

    // Draws one line of text into layout (no wrapping, clipped to layout). A fully transparent
    // colour draws nothing. Colour glyphs (emoji) keep their own colours, except in a shadow,
    // where every glyph is drawn in the colour.
    void draw(QPainter &painter, const QString &text, const QRectF &layout, TextAlignment alignment,
              const QColor &colour, bool shadow = false) const;

private:
    // Left end of the first glyph's origin for a text of the given advance in layout.
    double originX(double advance, const QRectF &layout, TextAlignment alignment) const;
    // Sum of the advances of text at this size, without margins.
    double advance(const QString &text) const;
    // Glyphs of one face with their positions in pixels from the line's first origin.
    struct Run {
        std::shared_ptr<Face> face;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    // The runs that draw text, and its advance in pixels.
    std::vector<Run> runs(const QString &text, double &advance) const;

    std::shared_ptr<Face> face_;
    QRawFont raw_; // the face at its design size; drawing uses a copy at emPixels()
    double em_ = 0.0;
    double lineHeight_ = 0.0;
    double ascent_ = 0.0;
    bool bold_ = false;
    bool italic_ = false;
    bool usedFallback_ = false;
    bool otherFamily_ = false;
    bool carried_ = false;
};

} // namespace tavrin
