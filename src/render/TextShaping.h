#pragma once

#include "render/FontFace.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace tavrin {

// Glyphs of one face, in visual order.
struct ShapedRun {
    std::shared_ptr<TextFont::Face> face;
    QList<quint32> glyphs;
    QList<QPointF> positions; // in ems from the line's first origin; y grows downwards
};

// One line laid out for drawing: runs in visual order, left to right, and the advance of the
// whole line in ems.
struct ShapedLine {
    std::vector<ShapedRun> runs;
    double advancePerEm = 0.0;
    // The faces that draw the line, in order of first use (the chosen face among them where it
    // draws some of it), and the characters that no face has, drawn as the chosen face's
    // missing-glyph box.
    std::vector<std::shared_ptr<TextFont::Face>> faces;
    std::u32string undrawable;
};

// Lays out a line the chosen face cannot draw one glyph per character: each cluster (a
// character with its combining marks) is drawn by the chosen face when it has it, else by the
// fallback face fontconfig names for it; the paragraph direction is that of the first strong
// character (left to right without one), and runs are ordered by the bidirectional algorithm;
// each run of one face, script and direction is shaped by HarfBuzz with kerning and optional
// ligatures off, like the plain layout. Results are kept by the face.
std::shared_ptr<const ShapedLine> ShapeLine(const std::shared_ptr<TextFont::Face> &face, const QString &text);

// The families of the fallback faces that draw some of text for face, in order of first use.
QStringList FallbackFamilies(const std::shared_ptr<TextFont::Face> &face, const QString &text);

// The faces that draw text for face, in order of first use: face alone when it has every
// character.
std::vector<std::shared_ptr<TextFont::Face>> FacesUsed(const std::shared_ptr<TextFont::Face> &face,
                                                       const QString &text);

// The characters of text that no face can draw (each once, in order).
std::u32string UndrawableCharacters(const std::shared_ptr<TextFont::Face> &face, const QString &text);

} // namespace tavrin
