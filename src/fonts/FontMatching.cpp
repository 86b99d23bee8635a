#include "fonts/FontMatching.h"

#include "fonts/FontConfigurationLoading.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <atomic>

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

// The style the matched font really has: fontconfig marks styles it would fake (a slanted or
// emboldened regular face) with a matrix or the embolden flag and reports the asked-for style.
bool HasStyle(FcPattern *font, bool bold, bool italic)
{
    FcBool embolden = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
    FcMatrix *matrix = nullptr;
    const bool slantedByMatrix = FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix
                                 && matrix->xy != 0.0;
    if (bold) {
        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(font, FC_WEIGHT, 0, &weight);
        if (embolden || weight < FC_WEIGHT_DEMIBOLD)
            return false;
    }
    if (italic) {
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        if (slantedByMatrix || slant == FC_SLANT_ROMAN)
            return false;
    }
    return true;
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
