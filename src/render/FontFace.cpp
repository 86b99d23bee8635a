#include "render/FontFace.h"

#include <QPainter>
#include <QTransform>

#include <hb-ot.h>
#include <hb.h>

#include <QFile>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace tavrin {

namespace {

// How many sizes of one face keep a ready font for drawing.
constexpr int kMaxSizesPerFace = 16;
// Bytes of large-glyph images one face keeps before it starts again.
constexpr qsizetype kMaxLargeGlyphBytes = 48 * 1024 * 1024;

// Characters that are laid out by the shaper even when the face has them: they combine with or
// reorder their neighbours, or take part in joining.
bool NeedsShaping(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        break;
    }
    switch (QChar::direction(codePoint)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirPDF:
    case QChar::DirRLI:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        break;
    }
    // Scripts whose letters change shape or order by context although none of them is a mark.
    return (codePoint >= 0x0900 && codePoint <= 0x0DFF) // Indic
        || (codePoint >= 0x1000 && codePoint <= 0x109F) // Myanmar
        || (codePoint >= 0x1100 && codePoint <= 0x11FF) // Hangul jamo
        || (codePoint >= 0x1780 && codePoint <= 0x17FF); // Khmer
}

} // namespace

struct SyntheticOutlines {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    bool tried = false;
};

void SyntheticOutlinesDeleter::operator()(SyntheticOutlines *outlines) const
{
    if (outlines->face)
        FT_Done_Face(outlines->face);
    if (outlines->library)
        FT_Done_FreeType(outlines->library);
    delete outlines;
}

namespace {

struct PathBuilder {
    QPainterPath path;
    static QPointF At(const FT_Vector *v) { return QPointF(double(v->x), -double(v->y)); }
};

int MoveTo(const FT_Vector *to, void *user)
{
    auto *b = static_cast<PathBuilder *>(user);
    b->path.closeSubpath();
    b->path.moveTo(PathBuilder::At(to));
    return 0;
}

int LineTo(const FT_Vector *to, void *user)
{
    static_cast<PathBuilder *>(user)->path.lineTo(PathBuilder::At(to));
    return 0;
}

int ConicTo(const FT_Vector *control, const FT_Vector *to, void *user)
{
    static_cast<PathBuilder *>(user)->path.quadTo(PathBuilder::At(control), PathBuilder::At(to));
    return 0;
}

int CubicTo(const FT_Vector *c1, const FT_Vector *c2, const FT_Vector *to, void *user)
{
    static_cast<PathBuilder *>(user)->path.cubicTo(PathBuilder::At(c1), PathBuilder::At(c2), PathBuilder::At(to));
    return 0;
}

// The glyph's outline in font units, emboldened and slanted as FreeType's own synthesis does
// (FT_GlyphSlot_Embolden, FT_GlyphSlot_Oblique), for a face loaded without scaling.
QPainterPath SyntheticOutline(TextFont::Face &face, quint32 glyph)
{
    if (!face.synthetic)
        face.synthetic.reset(new SyntheticOutlines);
    SyntheticOutlines &ft = *face.synthetic;
    if (!ft.tried) {
        ft.tried = true;
        if (FT_Init_FreeType(&ft.library) == 0) {
            const QByteArray path = QFile::encodeName(face.file);
            if (FT_New_Face(ft.library, path.constData(), face.faceIndex, &ft.face) != 0)
                ft.face = nullptr;
        }
    }
    if (!ft.face || FT_Load_Glyph(ft.face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0
        || ft.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return face.design.pathForGlyph(glyph);
    FT_Outline *outline = &ft.face->glyph->outline;
    if (face.emboldened) {
        const FT_Pos strength = FT_Pos(face.unitsPerEm * kEmboldenPerEm);
        FT_Outline_EmboldenXY(outline, strength, strength);
    }
    if (face.slanted) {
        FT_Matrix shear{0x10000L, FT_Fixed(kObliqueShear * 0x10000), 0, 0x10000L};
        FT_Outline_Transform(outline, &shear);
    }
    const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    PathBuilder builder;
    FT_Outline_Decompose(outline, &funcs, &builder);
    builder.path.closeSubpath();
    builder.path.setFillRule((outline->flags & FT_OUTLINE_EVEN_ODD_FILL) ? Qt::OddEvenFill : Qt::WindingFill);
    return builder.path;
}

} // namespace

size_t qHash(const LargeGlyphKey &key, size_t seed)
{
    return qHashMulti(seed, key.glyph, key.emPixels, key.colour);
}

void HarfBuzzFontDeleter::operator()(hb_font_t *font) const
{
    hb_font_destroy(font);
}

const QPainterPath &TextFont::Face::outline(quint32 glyph)
{
    auto found = outlines.find(glyph);
    if (found == outlines.end())
        found = outlines.insert(glyph, isSynthetic() ? SyntheticOutline(*this, glyph) : design.pathForGlyph(glyph));
    return *found;
}

LargeGlyph TextFont::Face::largeGlyph(quint32 glyph, double emPixels, const QColor &colour)
{
    const LargeGlyphKey key{glyph, emPixels, colour.rgba()};
    const auto found = largeGlyphs.constFind(key);
    if (found != largeGlyphs.constEnd())
        return *found;
    LargeGlyph rendered;
    const QPainterPath &path = outline(glyph);
    const double scale = emPixels / unitsPerEm;
    const QRectF box = QTransform::fromScale(scale, scale).mapRect(path.boundingRect());
    if (!box.isEmpty()) {
        const QRect bounds(QPoint(qFloor(box.left()) - 1, qFloor(box.top()) - 1),
                           QPoint(qCeil(box.right()) + 1, qCeil(box.bottom()) + 1));
        rendered.offset = bounds.topLeft();
        rendered.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        rendered.image.fill(Qt::transparent);
        QPainter painter(&rendered.image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-bounds.x(), -bounds.y());
        painter.scale(scale, scale);
        painter.fillPath(path, colour);
    }
    if (largeGlyphBytes + rendered.image.sizeInBytes() > kMaxLargeGlyphBytes) {
        largeGlyphs.clear();
        largeGlyphBytes = 0;
    }
    largeGlyphBytes += rendered.image.sizeInBytes();
    largeGlyphs.insert(key, rendered);
    return rendered;
}

const GlyphAdvance &TextFont::Face::lookUp(char32_t codePoint)
{
    GlyphAdvance *entry = codePoint < latin1.size() ? &latin1[codePoint] : &others[codePoint];
    if (entry->glyph == kUnknownGlyph && colourBitmap) {
        hb_codepoint_t glyph = 0;
        hb_font_t *font = harfBuzzFont();
        if (font && hb_font_get_nominal_glyph(font, codePoint, &glyph)) {
            entry->glyph = glyph;
            entry->advancePerEm = hb_font_get_glyph_h_advance(font, glyph) / unitsPerEm;
        } else {
            entry->glyph = 0;
        }
        entry->plain = false; // drawn by the shaped path, which knows colour glyphs
    } else if (entry->glyph == kUnknownGlyph) {
        const char32_t text[] = {codePoint};
        const QList<quint32> glyphs = design.glyphIndexesForString(QString::fromUcs4(text, 1));
        entry->glyph = glyphs.isEmpty() ? 0 : glyphs.first();
        const QList<QPointF> advances =
            design.advancesForGlyphIndexes(QList<quint32>{entry->glyph}, QRawFont::UseDesignMetrics);
        entry->advancePerEm = advances.isEmpty() ? 0.0 : advances.first().x() / unitsPerEm;
        entry->plain = entry->glyph != 0 && !NeedsShaping(codePoint);
        if (emboldened && entry->advancePerEm > 0.0)
            entry->advancePerEm += kEmboldenPerEm;
    }
    return *entry;
}

QRawFont TextFont::Face::atSize(double emPixels)
{
    const auto found = sized.constFind(emPixels);
    if (found != sized.constEnd())
        return *found;
    if (sized.size() >= kMaxSizesPerFace)
        sized.clear();
    QRawFont font = design;
    font.setPixelSize(emPixels);
    sized.insert(emPixels, font);
    return font;
}

const ColourGlyph &TextFont::Face::colourGlyph(quint32 glyph)
{
    auto found = colourGlyphs.find(glyph);
    if (found != colourGlyphs.end())
        return *found;
    ColourGlyph colour;
    if (hb_font_t *font = harfBuzzFont()) {
        hb_blob_t *png = hb_ot_color_glyph_reference_png(font, glyph);
        unsigned length = 0;
        const char *data = hb_blob_get_data(png, &length);
        if (data && length > 0)
            colour.image = QImage::fromData(reinterpret_cast<const uchar *>(data), int(length), "PNG");
        hb_blob_destroy(png);
        hb_glyph_extents_t extents{};
        if (!colour.image.isNull() && hb_font_get_glyph_extents(font, glyph, &extents)) {
            colour.box = QRectF(extents.x_bearing / unitsPerEm, -extents.y_bearing / unitsPerEm,
                                extents.width / unitsPerEm, -extents.height / unitsPerEm);
            colour.image.convertTo(QImage::Format_ARGB32_Premultiplied);
        } else {
            colour.image = QImage();
        }
    }
    return *colourGlyphs.insert(glyph, colour);
}

hb_font_t *TextFont::Face::harfBuzzFont()
{
    if (harfBuzzTried)
        return harfBuzz.get();
    harfBuzzTried = true;
    const QByteArray path = file.toLocal8Bit();
    hb_blob_t *blob = hb_blob_create_from_file_or_fail(path.constData());
    if (!blob)
        return nullptr;
    hb_face_t *hbFace = hb_face_create(blob, unsigned(faceIndex));
    hb_blob_destroy(blob);
    hb_font_t *font = hb_font_create(hbFace);
    hb_face_destroy(hbFace);
    // Positions in font units, like the advances of the plain layout.
    const int scale = int(unitsPerEm);
    hb_font_set_scale(font, scale, scale);
    harfBuzz.reset(font);
    return font;
}

} // namespace tavrin
