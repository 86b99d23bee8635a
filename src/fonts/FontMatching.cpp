#include "fonts/FontMatching.h"

#include "fonts/CarriedFontFiles.h"
#include "fonts/FontConfigurationLoading.h"
#include "fonts/FontconfigStyle.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <optional>
#include <vector>

namespace tavrin {
namespace {

struct CacheKey {
    QString face; // lower case: fontconfig compares family names without regard to case
    bool bold = false;
    bool italic = false;
    bool generic = false; // the generic sans-serif family, whatever face says
    bool operator==(const CacheKey &) const = default;
};

size_t qHash(const CacheKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.face, key.bold, key.italic, key.generic);
}

QMutex cacheMutex;
QHash<CacheKey, MatchedFace> cache;
std::atomic<std::uint64_t> generation{0};

QString PatternString(FcPattern *pattern, const char *object, int index)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

// Every family the substituted request binds strongly: the name itself and the aliases
// fontconfig's configuration declares metric-compatible with it. Generic fallbacks are
// appended with weak binding and are left out.
QSet<QString> StronglyBoundFamilies(FcPattern *request)
{
    QSet<QString> families;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(request, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type == FcTypeString && binding == FcValueBindingStrong)
            families.insert(QString::fromUtf8(reinterpret_cast<const char *>(value.u.s)).toLower());
    }
    return families;
}

// One fontconfig query, for face or for the generic sans-serif family.
MatchedFace Query(const QString &face, bool genericSansSerif, bool bold, bool italic)
{
    MatchedFace result;
    FcPattern *request = FcPatternCreate();
    if (!request)
        return result;
    const QByteArray family = genericSansSerif ? QByteArray("sans-serif") : face.toUtf8();
    FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
    FcPatternAddInteger(request, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(request, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    FcDefaultSubstitute(request);

    const QSet<QString> accepted = StronglyBoundFamilies(request);
    FcResult status = FcResultNoMatch;
    FcPattern *font = FcFontMatch(nullptr, request, &status);
    // A layout's carried fonts are known to fontconfig too, but they are not installed: the best
    // installed font is the first of the sorted list that is not one of them.
    if (font && IsCarriedFontFile(PatternString(font, FC_FILE, 0))) {
        FcPatternDestroy(font);
        font = nullptr;
        if (FcFontSet *sorted = FcFontSort(nullptr, request, FcFalse, nullptr, &status)) {
            for (int i = 0; i < sorted->nfont && !font; ++i) {
                if (!IsCarriedFontFile(PatternString(sorted->fonts[i], FC_FILE, 0)))
                    font = FcFontRenderPrepare(nullptr, request, sorted->fonts[i]);
            }
            FcFontSetDestroy(sorted);
        }
    }
    if (font) {
        const QString wanted = face.toLower();
        QString first;
        QString exact;
        bool acceptedFamily = false;
        for (int i = 0;; ++i) {
            const QString name = PatternString(font, FC_FAMILY, i);
            if (name.isEmpty())
                break;
            if (first.isEmpty())
                first = name;
            if (!genericSansSerif && name.toLower() == wanted)
                exact = name;
            if (accepted.contains(name.toLower()))
                acceptedFamily = true;
        }
        result.installed = genericSansSerif ? !first.isEmpty() : (!exact.isEmpty() || acceptedFamily);
        result.family = exact.isEmpty() ? first : exact;
        result.file = PatternString(font, FC_FILE, 0);
        FcPatternGetInteger(font, FC_INDEX, 0, &result.faceIndex);
        result.styleAvailable = HasStyle(font, bold, italic);
        result.realBold = HasStyle(font, true, false);
        result.realItalic = HasStyle(font, false, true);
        if (result.file.isEmpty())
            result.installed = false;
        FcPatternDestroy(font);
    }
    FcPatternDestroy(request);
    return result;
}

MatchedFace CachedQuery(const QString &face, bool genericSansSerif, bool bold, bool italic)
{
    const CacheKey key{face.toLower(), bold, italic, genericSansSerif};
    FinishLoadingFontConfiguration();
    QMutexLocker lock(&cacheMutex);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    MatchedFace result = Query(face, genericSansSerif, bold, italic);
    cache.insert(key, result);
    return result;
}

} // namespace

MatchedFace MatchFace(const QString &face, bool bold, bool italic)
{
    if (face.isEmpty())
        return {};
    return CachedQuery(face, false, bold, italic);
}

MatchedFace MatchGenericSansSerif(bool bold, bool italic)
{
    return CachedQuery(QString(), true, bold, italic);
}

namespace {

MatchedFace FromCarried(const CarriedFace &carried)
{
    MatchedFace match;
    match.installed = true;
    match.styleAvailable = true;
    match.family = carried.family;
    match.file = carried.file;
    match.faceIndex = carried.faceIndex;
    match.realBold = carried.bold;
    match.realItalic = carried.italic;
    return match;
}

// The real faces of face in the style, best first: installed, then carried.
std::optional<ResolvedFace> RealFace(const QString &face, bool bold, bool italic, bool generic)
{
    const MatchedFace installed = generic ? MatchGenericSansSerif(bold, italic) : MatchFace(face, bold, italic);
    if (installed.installed && installed.styleAvailable)
        return ResolvedFace{installed, false, false, false, false};
    // The stand-in family's faces may be carried too (a board drawn with it where it was saved).
    const QString name = generic ? MatchGenericSansSerif(false, false).family : face;
    if (!name.isEmpty()) {
        if (const std::optional<CarriedFace> carried = FindCarriedFace(name, bold, italic))
            return ResolvedFace{FromCarried(*carried), false, false, true, false};
    }
    return std::nullopt;
}

} // namespace

ResolvedFace ResolveFace(const QString &face, bool bold, bool italic)
{
    // The style asked for first, then the nearest real styles the rest is made from: for bold
    // italic the bold face slanted, else the italic emboldened, else the regular face with both.
    std::vector<std::pair<bool, bool>> styles{{bold, italic}};
    if (bold && italic)
        styles.insert(styles.end(), {{true, false}, {false, true}});
    if (bold || italic)
        styles.push_back({false, false});
    for (const bool generic : {false, true}) {
        if (!generic && face.isEmpty())
            continue;
        for (const auto &[realBold, realItalic] : styles) {
            if (std::optional<ResolvedFace> real = RealFace(face, realBold, realItalic, generic)) {
                real->emboldened = bold && !realBold;
                real->slanted = italic && !realItalic;
                real->otherFamily = generic;
                return *real;
            }
        }
        if (!generic) {
            // A carried family without the faces above (only its bold face was carried): that
            // face draws every style.
            const std::vector<CarriedFace> carried = CarriedFacesNamed(face);
            if (!carried.empty())
                return ResolvedFace{FromCarried(carried.front()), false, false, true, false};
        }
    }
    // Not even a sans-serif face: whatever fontconfig gives for it.
    return ResolvedFace{MatchGenericSansSerif(bold, italic), false, false, false, true};
}

bool IsFontInstalled(const QString &face)
{
    return face.isEmpty() || MatchFace(face, false, false).installed;
}

QString FindFontFile(const QString &face, bool bold, bool italic)
{
    const MatchedFace match = MatchFace(face, bold, italic);
    return match.installed ? match.file : QString();
}

QString ResolveDrawableFamily(const QString &face)
{
    const MatchedFace match = MatchFace(face, false, false);
    return match.installed ? match.family : QString();
}

void ClearFontMatchCache()
{
    QMutexLocker lock(&cacheMutex);
    cache.clear();
    ++generation;
}

bool ReloadFontConfiguration()
{
    bool reloaded;
    FinishLoadingFontConfiguration();
    {
        QMutexLocker lock(&cacheMutex);
        reloaded = FcInitReinitialize() == FcTrue;
    }
    ClearFontMatchCache();
    return reloaded;
}

QMutex &FontConfigLock()
{
    return cacheMutex;
}

std::uint64_t FontMatchGeneration()
{
    return generation.load();
}

} // namespace tavrin
