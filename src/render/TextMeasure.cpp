#include "render/TextMeasure.h"

#include "fonts/FontMatching.h"

#include <QCoreApplication>
#include <QFont>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QtEndian>

#include <array>
#include <cmath>

namespace tavrin {

namespace {

// Beyond this em size glyphs are not drawn (FreeType sizes are 16-bit); measuring still works.
constexpr double kMaxDrawnEmPixels = 16000.0;
// How many sizes of one face keep a ready font for drawing.
constexpr int kMaxSizesPerFace = 16;
constexpr quint32 kUnknownGlyph = 0xFFFFFFFFu;

// Qt's raster engine keeps rendered glyphs only up to this size and fills larger ones as paths on
// every draw, which makes the text of a 3840 x 2160 board about a hundred times slower to draw
// (and its glyph store cannot hold glyphs over about 127 pixels at all). Above it the glyphs are
// rendered here once per size and colour and kept as images.
constexpr double kLargestQtCachedGlyph = 64.0;
// Beyond this the glyph images would take megabytes each; such text is rare and goes as paths.
constexpr double kLargestOwnCachedGlyph = 512.0;
// Bytes of large-glyph images one face keeps before it starts again.
constexpr qsizetype kMaxLargeGlyphBytes = 48 * 1024 * 1024;

// The character at i; a surrogate pair counts as one character and leaves i on its second half.
char32_t NextCodePoint(const QChar *units, qsizetype length, qsizetype &i)
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

size_t qHash(const LargeGlyphKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.glyph, key.emPixels, key.colour);
}

// A glyph rendered in one colour; offset is the image's top-left from the glyph's origin.
struct LargeGlyph {
    QImage image;
    QPoint offset;
};

struct GlyphAdvance {
    quint32 glyph = kUnknownGlyph;
    double advancePerEm = 0.0; // advance width in ems, without hinting or kerning
};

} // namespace

// One face loaded from its file: the font at its design size (one pixel per font unit, so that
// advances come out in font units), its vertical metrics in ems, and the glyphs and advances of
// the characters measured so far. Advances scale linearly with the size because nothing is
// hinted, so one table serves every size.
struct TextFont::Face {
    QRawFont design;
    double unitsPerEm = 1.0;
    double ascentPerEm = 0.0;
    double lineSpacingPerEm = 0.0;
    std::array<GlyphAdvance, 256> latin1{};
    QHash<char32_t, GlyphAdvance> others;
    QHash<double, QRawFont> sized;
    QHash<quint32, QPainterPath> outlines; // in font units
    QHash<LargeGlyphKey, LargeGlyph> largeGlyphs;
    qsizetype largeGlyphBytes = 0;

    const QPainterPath &outline(quint32 glyph)
    {
        auto found = outlines.find(glyph);
        if (found == outlines.end())
            found = outlines.insert(glyph, design.pathForGlyph(glyph));
        return *found;
    }

    LargeGlyph largeGlyph(quint32 glyph, double emPixels, const QColor &colour)
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

    const GlyphAdvance &lookUp(char32_t codePoint)
    {
        GlyphAdvance *entry = codePoint < latin1.size() ? &latin1[codePoint] : &others[codePoint];
        if (entry->glyph == kUnknownGlyph) {
            const char32_t text[] = {codePoint};
            const QList<quint32> glyphs = design.glyphIndexesForString(QString::fromUcs4(text, 1));
            entry->glyph = glyphs.isEmpty() ? 0 : glyphs.first();
            const QList<QPointF> advances =
                design.advancesForGlyphIndexes(QList<quint32>{entry->glyph}, QRawFont::UseDesignMetrics);
            entry->advancePerEm = advances.isEmpty() ? 0.0 : advances.first().x() / unitsPerEm;
        }
        return *entry;
    }

    QRawFont atSize(double emPixels)
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
};

namespace {

// Reads the line metrics the board's text placement is built on: ascender, descender and line gap
// from hhea, units per em from head. Fonts without those tables (Type 1) use what FreeType
// reports.
void ReadLineMetrics(TextFont::Face &face)
{
    const QByteArray head = face.design.fontTable("head");
    const QByteArray hhea = face.design.fontTable("hhea");
    double unitsPerEm = face.design.unitsPerEm();
    if (head.size() >= 20) {
        const quint16 fromTable = qFromBigEndian<quint16>(head.constData() + 18);
        if (fromTable > 0)
            unitsPerEm = fromTable;
    }
    if (unitsPerEm <= 0)
        unitsPerEm = face.design.pixelSize() > 0 ? face.design.pixelSize() : 1.0;
    face.unitsPerEm = unitsPerEm;
    if (hhea.size() >= 10) {
        const double ascender = qFromBigEndian<qint16>(hhea.constData() + 4);
        const double descender = qFromBigEndian<qint16>(hhea.constData() + 6);
        const double lineGap = qFromBigEndian<qint16>(hhea.constData() + 8);
        face.ascentPerEm = ascender / unitsPerEm;
        face.lineSpacingPerEm = (ascender - descender + lineGap) / unitsPerEm;
    } else {
        const double size = face.design.pixelSize();
        face.ascentPerEm = face.design.ascent() / size;
        face.lineSpacingPerEm = (face.design.ascent() + face.design.descent() + face.design.leading()) / size;
    }
}

std::shared_ptr<TextFont::Face> LoadFace(const MatchedFace &match, bool bold, bool italic)
{
    auto face = std::make_shared<TextFont::Face>();
    if (match.faceIndex == 0) {
        face->design = QRawFont(match.file, 1000.0, QFont::PreferNoHinting);
    } else {
        // QRawFont opens only the first face of a collection file; go through Qt's font database,
        // which knows the family from the same fontconfig.
        QFont font(match.family);
        font.setBold(bold);
        font.setItalic(italic);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::NoFontMerging);
        font.setPixelSize(1000);
        face->design = QRawFont::fromFont(font);
    }
    if (!face->design.isValid())
        return {};
    // One pixel per font unit: advances read at this size are the design advances.
    const double unitsPerEm = face->design.unitsPerEm();
    if (unitsPerEm > 0)
        face->design.setPixelSize(unitsPerEm);
    ReadLineMetrics(*face);
    return face;
}

struct FaceKey {
    QThread *thread = nullptr; // font engines belong to the thread that uses them
    QString file;
    int faceIndex = 0;
    bool bold = false;
    bool italic = false;
    bool operator==(const FaceKey &) const = default;
};

size_t qHash(const FaceKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.thread, key.file, key.faceIndex, key.bold, key.italic);
}

struct RequestKey {
    QThread *thread = nullptr;
    QString family; // as asked for; the lookup behind it ignores case, so does this cache
    bool bold = false;
    bool italic = false;
    bool operator==(const RequestKey &) const = default;
};

size_t qHash(const RequestKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.thread, key.family, key.bold, key.italic);
}

struct ResolvedFace {
    std::shared_ptr<TextFont::Face> face;
    bool usedFallback = false;
};

// The faces loaded so far, and which face each requested family and style resolved to.
struct FaceCache {
    QMutex mutex;
    std::uint64_t generation = 0;
    QHash<FaceKey, std::shared_ptr<TextFont::Face>> faces;
    QHash<RequestKey, ResolvedFace> requests;
    bool cleanUpRegistered = false;

    void clear(bool applicationEnds = false)
    {
        QMutexLocker lock(&mutex);
        requests.clear();
        faces.clear();
        if (applicationEnds)
            cleanUpRegistered = false; // a later application object registers again
    }
};

// Never destroyed: at exit the font engines may already be gone with Qt's own globals. An
// application object that is destroyed empties it first (below).
FaceCache &Cache()
{
    static FaceCache *cache = new FaceCache;
    return *cache;
}

// Fonts must be gone before the application object that owns the font engines.
void ClearCacheAtExit()
{
    Cache().clear(true);
}

std::shared_ptr<TextFont::Face> FaceFor(FaceCache &cache, const MatchedFace &match, bool bold, bool italic)
{
    const FaceKey key{QThread::currentThread(), match.file, match.faceIndex, bold, italic};
    const auto found = cache.faces.constFind(key);
    if (found != cache.faces.constEnd())
        return *found;
    std::shared_ptr<TextFont::Face> face = LoadFace(match, bold, italic);
    cache.faces.insert(key, face);
    return face;
}

ResolvedFace Resolve(FaceCache &cache, const QString &family, bool bold, bool italic)
{
    ResolvedFace resolved;
    const MatchedFace match = MatchFace(family, bold, italic);
    if (match.installed && match.styleAvailable)
        resolved.face = FaceFor(cache, match, bold, italic);
    if (!resolved.face) {
        resolved.usedFallback = true;
        resolved.face = FaceFor(cache, MatchGenericSansSerif(bold, italic), bold, italic);
    }
    return resolved;
}

} // namespace

TextFont TextFont::Create(const QString &family, double emPixels, bool bold, bool italic)
{
    FaceCache &cache = Cache();
    ResolvedFace resolved;
    {
        QMutexLocker lock(&cache.mutex);
        const std::uint64_t generation = FontMatchGeneration();
        if (cache.generation != generation) {
            cache.requests.clear();
            cache.faces.clear();
            cache.generation = generation;
        }
        const RequestKey key{QThread::currentThread(), family.toLower(), bold, italic};
        const auto found = cache.requests.constFind(key);
        if (found != cache.requests.constEnd()) {
            resolved = *found;
        } else {
            if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
                return {};
            if (!cache.cleanUpRegistered) {
                qAddPostRoutine(ClearCacheAtExit);
                cache.cleanUpRegistered = true;
            }
            resolved = Resolve(cache, family, bold, italic);
            cache.requests.insert(key, resolved);
        }
    }

    TextFont font;
    if (!resolved.face)
        return font;
    font.face_ = resolved.face;
    font.raw_ = resolved.face->design;
    font.em_ = std::isfinite(emPixels) && emPixels > 0.0 ? emPixels : 0.0;
    font.lineHeight_ = resolved.face->lineSpacingPerEm * font.em_ + font.em_ / 8.0;
    font.ascent_ = resolved.face->ascentPerEm * font.em_;
    font.bold_ = bold;
    font.italic_ = italic;
    font.usedFallback_ = resolved.usedFallback;
    return font;
}

void TextFont::ClearFaceCache()
{
    Cache().clear();
}

double TextFont::advance(const QString &text) const
{
    double ems = 0.0;
    const qsizetype length = text.size();
    const QChar *units = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t codePoint = NextCodePoint(units, length, i);
        ems += face_->lookUp(codePoint).advancePerEm;
    }
    return ems * em_;
}

double TextFont::width(const QString &text) const
{
    if (text.isEmpty() || !face_)
        return 0.0;
    return advance(text) + 2.0 * em_ / 6.0;
}

double TextFont::lineHeight() const
{
    return lineHeight_;
}

double TextFont::ascent() const
{
    return ascent_;
}

QRectF TextFont::measure(const QString &text, const QRectF &layout, TextAlignment alignment) const
{
    if (text.isEmpty() || !face_)
        return QRectF(layout.topLeft(), QSizeF(0.0, 0.0));
    const double w = width(text);
    double x = layout.x();
    if (alignment == TextAlignment::Center)
        x = layout.x() + (layout.width() - w) / 2.0;
    else if (alignment == TextAlignment::Far)
        x = layout.right() - w;
    return QRectF(x, layout.y(), w, lineHeight_);
}

double TextFont::originX(double advance, const QRectF &layout, TextAlignment alignment) const
{
    const double margin = em_ / 6.0;
    switch (alignment) {
    case TextAlignment::Center:
        return layout.x() + (layout.width() - advance) / 2.0;
    case TextAlignment::Far:
        return layout.right() - margin - advance;
    case TextAlignment::Near:
        break;
    }
    return layout.x() + margin;
}

void TextFont::draw(QPainter &painter, const QString &text, const QRectF &layout, TextAlignment alignment,
                    const QColor &colour) const
{
    if (text.isEmpty() || !face_ || em_ <= 0.0 || em_ > kMaxDrawnEmPixels || layout.isEmpty())
        return;

    // Glyph positions are the measured advances, so the drawn text ends where measuring said.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(text.size());
    positions.reserve(text.size());
    double pen = 0.0;
    const qsizetype length = text.size();
    const QChar *units = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t codePoint = NextCodePoint(units, length, i);
        const GlyphAdvance &glyph = face_->lookUp(codePoint);
        glyphs.append(glyph.glyph);
        positions.append(QPointF(pen, 0.0));
        pen += glyph.advancePerEm * em_;
    }

    const QPointF origin(originX(pen, layout, alignment), layout.y() + ascent_ + em_ / 16.0);
    painter.save();
    painter.setClipRect(layout, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (em_ > kLargestQtCachedGlyph && em_ <= kLargestOwnCachedGlyph
        && painter.transform().type() <= QTransform::TxTranslate) {
        // Large glyphs land on whole pixels: half a pixel is nothing at this size.
        const int baseline = qRound(origin.y());
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const LargeGlyph glyph = face_->largeGlyph(glyphs[i], em_, colour);
            if (!glyph.image.isNull())
                painter.drawImage(QPoint(qRound(origin.x() + positions[i].x()), baseline) + glyph.offset, glyph.image);
        }
    } else {
        QGlyphRun run;
        run.setRawFont(face_->atSize(em_));
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.setPen(colour);
        painter.drawGlyphRun(origin, run);
    }
    painter.restore();
}

} // namespace tavrin
