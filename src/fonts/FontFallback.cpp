#include "fonts/FontFallback.h"

#include "fonts/CarriedFontFiles.h"
#include "fonts/FontConfigurationLoading.h"
#include "fonts/FontconfigStyle.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

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

struct StyleKey {
    QString family; // lower case
    bool bold = false;
    bool italic = false;
    bool operator==(const StyleKey &) const = default;
};

size_t qHash(const StyleKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.bold, key.italic);
}

// fontconfig's fonts for a family in a style, best first: the family itself, its aliases, the
// configured defaults, then every other font. Sorting once per family and style and walking the
// list for each cluster keeps the choice the same whatever was drawn before.
struct SortedFonts {
    FcPattern *request = nullptr;
    FcFontSet *fonts = nullptr;
};

QHash<StyleKey, SortedFonts> sortedCache;

void ForgetSortedFonts()
{
    for (const SortedFonts &sorted : std::as_const(sortedCache)) {
        if (sorted.fonts)
            FcFontSetDestroy(sorted.fonts);
        if (sorted.request)
            FcPatternDestroy(sorted.request);
    }
    sortedCache.clear();
}

const SortedFonts &SortedFontsFor(const QString &family, bool bold, bool italic)
{
    const StyleKey key{family.toLower(), bold, italic};
    const auto found = sortedCache.constFind(key);
    if (found != sortedCache.constEnd())
        return *found;
    SortedFonts sorted;
    sorted.request = FcPatternCreate();
    if (sorted.request) {
        const QByteArray name = family.isEmpty() ? QByteArray("sans-serif") : family.toUtf8();
        FcPatternAddString(sorted.request, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
        FcPatternAddInteger(sorted.request, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(sorted.request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(sorted.request, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, sorted.request, FcMatchPattern);
        FcDefaultSubstitute(sorted.request);
        FcResult status = FcResultNoMatch;
        sorted.fonts = FcFontSort(nullptr, sorted.request, FcFalse, nullptr, &status);
    }
    return *sortedCache.insert(key, sorted);
}

bool Drawable(FcPattern *font)
{
    FcBool outline = FcFalse;
    FcBool colour = FcFalse;
    FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
    FcPatternGetBool(font, FC_COLOR, 0, &colour);
    // Outline fonts, and colour fonts, whose bitmaps are drawn as images; plain bitmap fonts do
    // not scale.
    return outline || colour;
}

MatchedFace Prepared(FcPattern *request, FcPattern *font, bool bold, bool italic)
{
    MatchedFace result;
    FcPattern *rendered = FcFontRenderPrepare(nullptr, request, font);
    FcPattern *source = rendered ? rendered : font;
    result.family = PatternString(source, FC_FAMILY);
    result.file = PatternString(source, FC_FILE);
    FcPatternGetInteger(source, FC_INDEX, 0, &result.faceIndex);
    result.installed = !result.file.isEmpty();
    result.styleAvailable = HasStyle(source, bold, italic);
    result.realBold = HasStyle(source, true, false);
    result.realItalic = HasStyle(source, false, true);
    if (rendered)
        FcPatternDestroy(rendered);
    return result;
}

// The families of the carried faces, in lower case.
QSet<QString> CarriedFamilies()
{
    QSet<QString> families;
    for (const QString &family : CurrentCarriedFamilies())
        families.insert(family.toLower());
    return families;
}

// Whether any of the font's family names is one of families (lower case).
bool OfFamilies(FcPattern *font, const QSet<QString> &families)
{
    FcChar8 *value = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &value) == FcResultMatch && value; ++i) {
        if (families.contains(QString::fromUtf8(reinterpret_cast<const char *>(value)).toLower()))
            return true;
    }
    return false;
}

MatchedFace Query(const QString &family, bool bold, bool italic, const std::u32string &codePoints)
{
    MatchedFace result;
    const SortedFonts &sorted = SortedFontsFor(family, bold, italic);
    if (!sorted.fonts)
        return result;
    // The families a layout package carries come first, in fontconfig's order: where the board
    // was saved they drew these characters, so they draw them here too. Of such a family, an
    // installed face that has the characters in the style is taken before the carried copy.
    const QSet<QString> carriedFamilies = CarriedFamilies();
    for (const bool carriedPass : {true, false}) {
        if (carriedPass && carriedFamilies.isEmpty())
            continue;
        for (int i = 0; i < sorted.fonts->nfont; ++i) {
            FcPattern *font = sorted.fonts->fonts[i];
            const QString name = PatternString(font, FC_FAMILY).toLower();
            if (carriedPass != OfFamilies(font, carriedFamilies) || !Drawable(font) || !Covers(font, codePoints))
                continue;
            MatchedFace found = Prepared(sorted.request, font, bold, italic);
            if (!found.installed)
                continue;
            if (carriedPass && IsCarriedFontFile(found.file)) {
                for (int j = i + 1; j < sorted.fonts->nfont; ++j) {
                    FcPattern *other = sorted.fonts->fonts[j];
                    if (PatternString(other, FC_FAMILY).toLower() != name || !Drawable(other)
                        || !Covers(other, codePoints))
                        continue;
                    const MatchedFace installed = Prepared(sorted.request, other, bold, italic);
                    if (installed.installed && !IsCarriedFontFile(installed.file)
                        && installed.styleAvailable >= found.styleAvailable) {
                        found = installed;
                        break;
                    }
                }
            }
            return found;
        }
    }
    return result;
}

} // namespace

MatchedFace MatchFallbackFace(const QString &family, bool bold, bool italic, const std::u32string &codePoints)
{
    if (codePoints.empty())
        return {};
    const FallbackKey key{family.toLower(), bold, italic, codePoints};
    FinishLoadingFontConfiguration();
    QMutexLocker lock(&FontConfigLock());
    AddPendingCarriedFontsToFontconfig();
    const std::uint64_t generation = FontMatchGeneration();
    if (generation != fallbackGeneration) {
        fallbackCache.clear();
        ForgetSortedFonts();
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
