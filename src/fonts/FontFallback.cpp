#include "fonts/FontFallback.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <fontconfig/fontconfig.h>

namespace tavrin {
namespace {

struct FallbackKey {
    QString family; // lower case, as fontconfig compares families
    bool bold = false;
    bool italic = false;
    std::u32string codePoints;
    bool operator==(const FallbackKey &) const = default;
};

size_t qHash(const FallbackKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.bold, key.italic,
                      QByteArrayView(reinterpret_cast<const char *>(key.codePoints.data()),
                                     qsizetype(key.codePoints.size() * sizeof(char32_t))));
}

QHash<FallbackKey, MatchedFace> fallbackCache;
std::uint64_t fallbackGeneration = 0;

QString PatternString(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

bool Covers(FcPattern *font, const std::u32string &codePoints)
{
    FcCharSet *charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || !charset)
        return false;
    for (const char32_t c : codePoints) {
        if (!FcCharSetHasChar(charset, c))
            return false;
    }
    return true;
}

MatchedFace Query(const QString &family, bool bold, bool italic, const std::u32string &codePoints)
{
    MatchedFace result;
    FcPattern *request = FcPatternCreate();
    FcCharSet *wanted = FcCharSetCreate();
    if (!request || !wanted) {
        if (request)
            FcPatternDestroy(request);
        if (wanted)
            FcCharSetDestroy(wanted);
        return result;
    }
    for (const char32_t c : codePoints)
        FcCharSetAddChar(wanted, c);
    const QByteArray name = family.isEmpty() ? QByteArray("sans-serif") : family.toUtf8();
    FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcPatternAddInteger(request, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddCharSet(request, FC_CHARSET, wanted);
    FcPatternAddBool(request, FC_SCALABLE, FcTrue);
    FcPatternAddBool(request, FC_OUTLINE, FcTrue);
    FcPatternAddBool(request, FC_COLOR, FcFalse);
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    FcDefaultSubstitute(request);

    // The best match ranks coverage above the family; the sorted list is the way on when the best
    // match is a font that cannot be drawn.
    FcResult status = FcResultNoMatch;
    FcFontSet *sorted = FcFontSort(nullptr, request, FcFalse, nullptr, &status);
    if (sorted) {
        for (int i = 0; i < sorted->nfont; ++i) {
            FcPattern *font = sorted->fonts[i];
            FcBool outline = FcFalse;
            FcBool colour = FcFalse;
            FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
            FcPatternGetBool(font, FC_COLOR, 0, &colour);
            if (!outline || colour || !Covers(font, codePoints))
                continue;
            FcPattern *rendered = FcFontRenderPrepare(nullptr, request, font);
            FcPattern *source = rendered ? rendered : font;
            result.family = PatternString(source, FC_FAMILY);
            result.file = PatternString(source, FC_FILE);
            FcPatternGetInteger(source, FC_INDEX, 0, &result.faceIndex);
            result.installed = !result.file.isEmpty();
            result.styleAvailable = true;
            if (rendered)
                FcPatternDestroy(rendered);
            if (result.installed)
                break;
        }
        FcFontSetDestroy(sorted);
    }
    FcCharSetDestroy(wanted);
    FcPatternDestroy(request);
    return result;
}

} // namespace

MatchedFace MatchFallbackFace(const QString &family, bool bold, bool italic, const std::u32string &codePoints)
{
    if (codePoints.empty())
        return {};
    const FallbackKey key{family.toLower(), bold, italic, codePoints};
    QMutexLocker lock(&FontConfigLock());
    const std::uint64_t generation = FontMatchGeneration();
    if (generation != fallbackGeneration) {
        fallbackCache.clear();
        fallbackGeneration = generation;
    }
    const auto found = fallbackCache.constFind(key);
    if (found != fallbackCache.constEnd())
        return *found;
    MatchedFace result = Query(family, bold, italic, codePoints);
    fallbackCache.insert(key, result);
    return result;
}

} // namespace tavrin
