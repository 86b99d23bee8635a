#include "render/TextMeasure.h"

#include "fonts/FontFallback.h"
#include "fonts/FontMatching.h"
#include "render/FontFace.h"
#include "render/TextShaping.h"

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
#include <atomic>
#include <cmath>

namespace tavrin {

namespace {

// Beyond this em size glyphs are not drawn (FreeType sizes are 16-bit); measuring still works.
constexpr double kMaxDrawnEmPixels = 16000.0;
// Qt's raster engine keeps rendered glyphs only up to this size and fills larger ones as paths on
// every draw, which makes the text of a 3840 x 2160 board about a hundred times slower to draw
// (and its glyph store cannot hold glyphs over about 127 pixels at all). Above it the glyphs are
// rendered by the face once per size and colour and kept as images.
constexpr double kLargestQtCachedGlyph = 64.0;
// Beyond this the glyph images would take megabytes each; such text is rare and goes as paths.
constexpr double kLargestOwnCachedGlyph = 512.0;

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

std::shared_ptr<TextFont::Face> LoadFace(const MatchedFace &match, bool bold, bool italic, bool emboldened,
                                         bool slanted)
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
    face->colourBitmap = !face->design.fontTable("CBDT").isEmpty() || !face->design.fontTable("sbix").isEmpty();
    // One pixel per font unit: advances read at this size are the design advances.
    const double unitsPerEm = face->design.unitsPerEm();
    if (unitsPerEm > 0)
        face->design.setPixelSize(unitsPerEm);
    ReadLineMetrics(*face);
    face->file = match.file;
    face->faceIndex = match.faceIndex;
    face->family = match.family;
    face->bold = bold;
    face->italic = italic;
    // Colour bitmaps have no outlines to embolden or slant.
    face->emboldened = emboldened && !face->colourBitmap;
    face->slanted = slanted && !face->colourBitmap;
    return face;
}

struct FaceKey {
    QThread *thread = nullptr; // font engines belong to the thread that uses them
    QString file;
    int faceIndex = 0;
    bool bold = false;
    bool italic = false;
    bool emboldened = false;
    bool slanted = false;
    bool operator==(const FaceKey &) const = default;
};

size_t qHash(const FaceKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.thread, key.file, key.faceIndex, key.bold, key.italic, key.emboldened, key.slanted);
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

struct LoadedFace {
    std::shared_ptr<TextFont::Face> face;
    ResolvedFace resolved;
};

// The faces loaded so far, and which face each requested family and style resolved to.
struct FaceCache {
    QMutex mutex;
    std::uint64_t generation = 0;
    QHash<FaceKey, std::shared_ptr<TextFont::Face>> faces;
    QHash<RequestKey, LoadedFace> requests;
    bool cleanUpRegistered = false;

    void clear(bool applicationEnds = false)
    {
        QMutexLocker lock(&mutex);
        dropFaces();
        if (applicationEnds)
            cleanUpRegistered = false; // a later application object registers again
    }

    // Forgets every face. Shaped lines and fallback choices hold faces of their own (a face may
    // even hold itself through them); those of this thread's faces are let go first, so that the
    // faces can go. Faces of other threads are theirs to touch.
    void dropFaces()
    {
        for (auto it = faces.begin(); it != faces.end(); ++it) {
            if (it.key().thread == QThread::currentThread() && it.value()) {
                it.value()->shapedLines.clear();
                it.value()->fallbacks.clear();
            }
        }
        requests.clear();
        faces.clear();
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

std::shared_ptr<TextFont::Face> FaceFor(FaceCache &cache, const MatchedFace &match, bool bold, bool italic,
                                        bool emboldened, bool slanted)
{
    const FaceKey key{QThread::currentThread(), match.file, match.faceIndex, bold, italic, emboldened, slanted};
    const auto found = cache.faces.constFind(key);
    if (found != cache.faces.constEnd())
        return *found;
    std::shared_ptr<TextFont::Face> face = LoadFace(match, bold, italic, emboldened, slanted);
    cache.faces.insert(key, face);
    return face;
}

LoadedFace Resolve(FaceCache &cache, const QString &family, bool bold, bool italic)
{
    LoadedFace loaded;
    loaded.resolved = ResolveFace(family, bold, italic);
    loaded.face = FaceFor(cache, loaded.resolved.match, bold, italic, loaded.resolved.emboldened,
                          loaded.resolved.slanted);
    if (!loaded.face && !loaded.resolved.otherFamily) {
        // A file that cannot be loaded after all: the generic family stands in.
        loaded.resolved = ResolveFace(QString(), bold, italic);
        loaded.resolved.otherFamily = true;
        loaded.face = FaceFor(cache, loaded.resolved.match, bold, italic, loaded.resolved.emboldened,
                              loaded.resolved.slanted);
    }
    return loaded;
}

} // namespace

std::shared_ptr<TextFont::Face> LoadFallbackFace(const TextFont::Face &face, const std::u32string &cluster)
{
    const MatchedFace match = MatchFallbackFace(face.family, face.bold, face.italic, cluster);
    if (!match.installed)
        return {};
    FaceCache &cache = Cache();
    QMutexLocker lock(&cache.mutex);
    // A fallback family without the style is given it the way the chosen face would be.
    return FaceFor(cache, match, face.bold, face.italic, face.bold && !match.realBold,
                   face.italic && !match.realItalic);
}

TextFont TextFont::Create(const QString &family, double emPixels, bool bold, bool italic)
{
    FaceCache &cache = Cache();
    LoadedFace resolved;
    {
        QMutexLocker lock(&cache.mutex);
        const std::uint64_t generation = FontMatchGeneration();
        if (cache.generation != generation) {
            cache.dropFaces();
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
    font.usedFallback_ = resolved.resolved.otherFamily || resolved.resolved.emboldened || resolved.resolved.slanted;
    font.otherFamily_ = resolved.resolved.otherFamily;
    font.carried_ = resolved.resolved.carried;
    return font;
}

void TextFont::ClearFaceCache()
{
    Cache().clear();
}

namespace {
std::atomic<bool> shapingEnabled{true};
} // namespace

void TextFont::SetShapingEnabled(bool on) { shapingEnabled.store(on, std::memory_order_relaxed); }

double TextFont::advance(const QString &text) const
{
    const bool shaping = shapingEnabled.load(std::memory_order_relaxed);
    double ems = 0.0;
    const qsizetype length = text.size();
    const QChar *units = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t codePoint = NextCodePoint(units, length, i);
        const GlyphAdvance &glyph = face_->lookUp(codePoint);
        if (!glyph.plain && shaping)
            return ShapeLine(face_, text)->advancePerEm * em_;
        ems += glyph.advancePerEm;
    }
    return ems * em_;
}

std::vector<TextFont::Run> TextFont::runs(const QString &text, double &advance) const
{
    std::vector<Run> runs;
    advance = 0.0;
    if (text.isEmpty() || !face_)
        return runs;
    // Text the face has glyph for glyph, left to right and without marks, is laid out one glyph
    // per character with the measured advances; everything else goes through the shaper.
    const bool shaping = shapingEnabled.load(std::memory_order_relaxed);
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
        if (!glyph.plain && shaping) {
            const std::shared_ptr<const ShapedLine> shaped = ShapeLine(face_, text);
            for (const ShapedRun &run : shaped->runs) {
                QList<QPointF> scaled;
                scaled.reserve(run.positions.size());
                for (const QPointF &position : run.positions)
                    scaled.append(position * em_);
                runs.push_back({run.face, run.glyphs, std::move(scaled)});
            }
            advance = shaped->advancePerEm * em_;
            return runs;
        }
        glyphs.append(glyph.glyph);
        positions.append(QPointF(pen, 0.0));
        pen += glyph.advancePerEm * em_;
    }
    runs.push_back({face_, std::move(glyphs), std::move(positions)});
    advance = pen;
    return runs;
}

QList<QGlyphRun> TextFont::glyphRuns(const QString &text) const
{
    QList<QGlyphRun> result;
    double advance = 0.0;
    for (const Run &run : runs(text, advance)) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(run.face->atSize(em_));
        glyphRun.setGlyphIndexes(run.glyphs);
        glyphRun.setPositions(run.positions);
        result.append(glyphRun);
    }
    return result;
}

QStringList TextFont::fallbackFamilies(const QString &text) const
{
    return face_ ? FallbackFamilies(face_, text) : QStringList();
}

bool TextFont::emboldened() const { return face_ && face_->emboldened; }

bool TextFont::slanted() const { return face_ && face_->slanted; }

QString TextFont::fontFile() const { return face_ ? face_->file : QString(); }

std::vector<TextFont::FaceUse> TextFont::facesUsed(const QString &text) const
{
    std::vector<FaceUse> uses;
    if (!face_)
        return uses;
    for (const std::shared_ptr<Face> &face : FacesUsed(face_, text))
        uses.push_back({face->family, face->file, face->emboldened, face->slanted, face == face_});
    return uses;
}

std::u32string TextFont::undrawableCharacters(const QString &text) const
{
    return face_ ? UndrawableCharacters(face_, text) : std::u32string();
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

QRectF TextFont::inkBox(const QString &text, const QRectF &layout, TextAlignment alignment) const
{
    if (text.isEmpty() || !face_ || em_ <= 0.0 || em_ > kMaxDrawnEmPixels || layout.isEmpty())
        return QRectF();
    double pen = 0.0;
    const std::vector<Run> glyphRuns = runs(text, pen);
    const QPointF origin(originX(pen, layout, alignment), layout.y() + ascent_ + em_ / 16.0);
    QRectF ink;
    for (const Run &run : glyphRuns) {
        const QRawFont sized = run.face->colourBitmap ? QRawFont() : run.face->atSize(em_);
        for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
            QRectF box;
            if (run.face->colourBitmap) {
                const ColourGlyph &glyph = run.face->colourGlyph(run.glyphs[i]);
                if (!glyph.image.isNull())
                    box = QRectF(glyph.box.topLeft() * em_, glyph.box.size() * em_);
            } else {
                box = sized.boundingRect(run.glyphs[i]);
            }
            if (box.isEmpty())
                continue;
            box.translate(origin + run.positions[i]);
            ink = ink.isEmpty() ? box : ink.united(box);
        }
    }
    return ink.intersected(layout);
}

double TextFont::capHeight() const
{
    if (!face_ || em_ <= 0.0)
        return 0.0;
    // At the design size (a pixel per font unit), so that nothing is rounded to whole pixels.
    const QRawFont &design = face_->design;
    const double perUnit = em_ / face_->unitsPerEm;
    const double fromTable = design.capHeight();
    if (fromTable > 0.0)
        return fromTable * perUnit;
    const QList<quint32> glyphs = design.glyphIndexesForString(QStringLiteral("H"));
    return glyphs.isEmpty() ? 0.0 : design.boundingRect(glyphs.front()).height() * perUnit;
}

void TextFont::draw(QPainter &painter, const QString &text, const QRectF &layout, TextAlignment alignment,
                    const QColor &colour, bool shadow) const
{
    if (text.isEmpty() || !face_ || em_ <= 0.0 || em_ > kMaxDrawnEmPixels || layout.isEmpty() || colour.alpha() == 0)
        return;

    // Glyph positions are the measured advances, so the drawn text ends where measuring said.
    double pen = 0.0;
    const std::vector<Run> glyphRuns = runs(text, pen);
    const QPointF origin(originX(pen, layout, alignment), layout.y() + ascent_ + em_ / 16.0);
    painter.save();
    painter.setClipRect(layout, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Colour glyphs are images scaled into their boxes; in a shadow only their shape counts.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Run &run : glyphRuns) {
        if (!run.face->colourBitmap)
            continue;
        for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
            const ColourGlyph &glyph = run.face->colourGlyph(run.glyphs[i]);
            if (glyph.image.isNull())
                continue;
            const QRectF box(origin + run.positions[i] + glyph.box.topLeft() * em_, glyph.box.size() * em_);
            if (!shadow) {
                painter.drawImage(box, glyph.image);
                continue;
            }
            QImage silhouette(glyph.image.size(), QImage::Format_ARGB32_Premultiplied);
            silhouette.fill(colour);
            QPainter mask(&silhouette);
            mask.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            mask.drawImage(0, 0, glyph.image);
            mask.end();
            painter.drawImage(box, silhouette);
        }
    }
    // Faces of a made-up style are drawn from their changed outlines: Qt's glyph renderer
    // knows only the file's own.
    painter.setPen(colour);
    const double outlineScale = em_;
    for (const Run &run : glyphRuns) {
        if (run.face->colourBitmap || !run.face->isSynthetic())
            continue;
        QPainterPath path;
        const double scale = outlineScale / run.face->unitsPerEm;
        for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
            const QPointF at = origin + run.positions[i];
            path.addPath(QTransform(scale, 0, 0, scale, at.x(), at.y()).map(run.face->outline(run.glyphs[i])));
        }
        painter.fillPath(path, colour);
    }
    if (em_ > kLargestQtCachedGlyph && em_ <= kLargestOwnCachedGlyph
        && painter.transform().type() <= QTransform::TxTranslate) {
        // Large glyphs land on whole pixels: half a pixel is nothing at this size.
        for (const Run &run : glyphRuns) {
            if (run.face->colourBitmap || run.face->isSynthetic())
                continue;
            for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
                const LargeGlyph glyph = run.face->largeGlyph(run.glyphs[i], em_, colour);
                if (!glyph.image.isNull())
                    painter.drawImage(QPoint(qRound(origin.x() + run.positions[i].x()),
                                             qRound(origin.y() + run.positions[i].y()))
                                          + glyph.offset,
                                      glyph.image);
            }
        }
    } else {
        for (const Run &run : glyphRuns) {
            if (run.face->colourBitmap || run.face->isSynthetic())
                continue;
            QGlyphRun glyphRun;
            glyphRun.setRawFont(run.face->atSize(em_));
            glyphRun.setGlyphIndexes(run.glyphs);
            glyphRun.setPositions(run.positions);
            painter.drawGlyphRun(origin, glyphRun);
        }
    }
    painter.restore();
}

} // namespace tavrin
