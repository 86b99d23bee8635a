#include "fonts/CarriedFontFiles.h"

#include "fonts/FontInstallation.h"
#include "fonts/FontMatching.h"
#include "layout/FontList.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace tavrin {

namespace {

struct CharSetDeleter {
    void operator()(FcCharSet *set) const { FcCharSetDestroy(set); }
};

struct Entry {
    CarriedFace face;
    std::shared_ptr<FcCharSet> charset;
    bool current = false; // carried by the package registered last
};

struct Registry {
    QMutex mutex;
    QString folder;                      // this process's copies, one subfolder per file
    QHash<QByteArray, QString> copyOfDigest; // file digest -> its copy
    QSet<QString> copies;
    std::vector<Entry> entries;          // the most recently registered package first
};

Registry &TheRegistry()
{
    static Registry *registry = new Registry; // never destroyed: faces may be looked up at exit
    return *registry;
}

QByteArray Digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result();
}

QString PatternString(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

// The faces of one font file as fontconfig reads them; named instances of variable fonts are
// left out (the file's own default face stands for them).
std::vector<Entry> FacesOfFile(const QString &copy, const QString &memberName, const QStringList &listedAs)
{
    std::vector<Entry> faces;
    FcFontSet *set = FcFontSetCreate();
    if (!set)
        return faces;
    const QByteArray encoded = QFile::encodeName(copy);
    FcFreeTypeQueryAll(reinterpret_cast<const FcChar8 *>(encoded.constData()), -1, nullptr, nullptr, set);
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern *pattern = set->fonts[i];
        int index = 0;
        FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
        if ((index >> 16) != 0)
            continue;
        Entry entry;
        entry.face.family = PatternString(pattern, FC_FAMILY);
        if (entry.face.family.isEmpty())
            continue;
        entry.face.styleName = PatternString(pattern, FC_STYLE);
        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(pattern, FC_WEIGHT, 0, &weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
        entry.face.bold = weight >= FC_WEIGHT_DEMIBOLD;
        entry.face.italic = slant != FC_SLANT_ROMAN;
        entry.face.file = copy;
        entry.face.faceIndex = index & 0xFFFF;
        entry.face.memberName = memberName;
        for (const QString &name : listedAs) {
            if (name.compare(entry.face.family, Qt::CaseInsensitive) != 0 && !entry.face.listedAs.contains(name))
                entry.face.listedAs.append(name);
        }
        FcCharSet *charset = nullptr;
        if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &charset) == FcResultMatch && charset)
            entry.charset.reset(FcCharSetCopy(charset), CharSetDeleter{});
        faces.push_back(std::move(entry));
    }
    FcFontSetDestroy(set);
    return faces;
}

// Makes fontconfig's configuration of this process know the file (so that the fallback search
// weighs it with the installed fonts), and Qt's font database too where a face inside a
// collection file is drawn through it.
void RegisterFile(const QString &copy, bool collection)
{
    const QByteArray encoded = QFile::encodeName(copy);
    {
        QMutexLocker lock(&FontConfigLock());
        FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(encoded.constData()));
    }
    if (collection && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QFontDatabase::addApplicationFont(copy);
}

} // namespace

bool CarriedFace::answersTo(const QString &face) const
{
    if (family.compare(face, Qt::CaseInsensitive) == 0)
        return true;
    return std::any_of(listedAs.begin(), listedAs.end(),
                       [&face](const QString &name) { return name.compare(face, Qt::CaseInsensitive) == 0; });
}

QString CarriedFace::displayName() const
{
    if (!bold && !italic)
        return family;
    QString style = styleName;
    if (style.isEmpty())
        style = bold && italic ? QStringLiteral("Bold Italic") : bold ? QStringLiteral("Bold") : QStringLiteral("Italic");
    return family + u' ' + style;
}

std::vector<CarriedFace> RegisterCarriedFonts(const QString &workingFolder, const QString &copyParent)
{
    std::vector<CarriedFace> result;
    if (workingFolder.isEmpty())
        return result;
    const QDir folder(workingFolder);
    // The font list first, in its order, then any other font file of the folder by name.
    QStringList files;
    QHash<QString, QStringList> listedNames;
    for (const GatheredFont &pair : ReadFontListFile(folder.filePath(QStringLiteral("FontFileNames.txt")))) {
        if (!files.contains(pair.fontFile))
            files.append(pair.fontFile);
        listedNames[pair.fontFile].append(pair.face);
    }
    for (const QString &name : FontFilesInFolder(workingFolder)) {
        if (!files.contains(name))
            files.append(name);
    }

    Registry &registry = TheRegistry();
    std::vector<Entry> added;
    std::vector<std::pair<QString, bool>> toRegister; // copy, whether it is a collection
    bool changed = false;
    {
        QMutexLocker lock(&registry.mutex);
        for (const QString &name : std::as_const(files)) {
            const QFileInfo source(folder.filePath(name));
            // Only plain files directly in the folder: a name of the list cannot lead elsewhere.
            if (!IsFontFileName(name) || name.contains(u'/') || !source.isFile() || source.isSymLink())
                continue;
            const QByteArray digest = Digest(source.filePath());
            if (digest.isEmpty())
                continue;
            QString copy = registry.copyOfDigest.value(digest);
            const bool known = !copy.isEmpty();
            if (!known) {
                if (registry.folder.isEmpty())
                    registry.folder = MakeFreshWorkingFolder(copyParent.isEmpty() ? QFileInfo(workingFolder).absolutePath() : copyParent);
                if (registry.folder.isEmpty())
                    break;
                // Under its own name (a save names the package's member after it), one folder per file.
                const QString copyFolder = registry.folder + u'/' + QString::number(registry.copyOfDigest.size());
                copy = copyFolder + u'/' + name;
                if (!QDir().mkpath(copyFolder) || !QFile::copy(source.filePath(), copy))
                    continue;
            }
            std::vector<Entry> faces = FacesOfFile(copy, name, listedNames.value(name));
            if (faces.empty()) {
                if (!known)
                    QFile::remove(copy);
                continue;
            }
            if (!known) {
                registry.copyOfDigest.insert(digest, copy);
                registry.copies.insert(copy);
                toRegister.push_back({copy, faces.size() > 1});
            }
            for (Entry &face : faces)
                added.push_back(std::move(face));
        }
        // The newest package's faces come first; a file carried again moves up with its new names.
        bool hadCurrent = false;
        for (Entry &old : registry.entries) {
            hadCurrent = hadCurrent || old.current;
            old.current = false;
        }
        changed = hadCurrent || !added.empty();
        for (Entry &entry : added)
            entry.current = true;
        for (const Entry &entry : added) {
            registry.entries.erase(std::remove_if(registry.entries.begin(), registry.entries.end(),
                                                  [&entry](const Entry &old) {
                                                      return old.face.file == entry.face.file
                                                             && old.face.faceIndex == entry.face.faceIndex;
                                                  }),
                                   registry.entries.end());
        }
        registry.entries.insert(registry.entries.begin(), added.begin(), added.end());
        for (const Entry &entry : added)
            result.push_back(entry.face);
    }
    // Outside the registry's lock: fontconfig's lock is taken before it elsewhere.
    for (const auto &[copy, collection] : toRegister)
        RegisterFile(copy, collection);
    // The lookups answer anew, with the carried faces among the fonts (and new listed names).
    if (changed)
        ClearFontMatchCache();
    return result;
}

std::vector<CarriedFace> CarriedFaces()
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    std::vector<CarriedFace> faces;
    for (const Entry &entry : registry.entries)
        faces.push_back(entry.face);
    return faces;
}

QStringList CurrentCarriedFamilies()
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    QStringList families;
    for (const Entry &entry : registry.entries) {
        if (entry.current && !families.contains(entry.face.family, Qt::CaseInsensitive))
            families.append(entry.face.family);
    }
    return families;
}

bool IsCarriedFontFile(const QString &path)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    return registry.copies.contains(path);
}

void ForgetCarriedFonts()
{
    Registry &registry = TheRegistry();
    QString folder;
    {
        QMutexLocker lock(&registry.mutex);
        registry.entries.clear();
        registry.copies.clear();
        registry.copyOfDigest.clear();
        folder = registry.folder;
        registry.folder.clear();
    }
    {
        // The files go out of fontconfig's configuration of this process as well.
        QMutexLocker lock(&FontConfigLock());
        FcConfigAppFontClear(nullptr);
    }
    if (!folder.isEmpty())
        RemoveOwnFolder(folder);
    ClearFontMatchCache();
}

std::optional<CarriedFace> FindCarriedFace(const QString &face, bool bold, bool italic)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    for (const Entry &entry : registry.entries) {
        if (entry.face.bold == bold && entry.face.italic == italic && entry.face.answersTo(face))
            return entry.face;
    }
    return std::nullopt;
}

std::vector<CarriedFace> CarriedFacesNamed(const QString &face)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    std::vector<CarriedFace> faces;
    for (const Entry &entry : registry.entries) {
        if (entry.face.answersTo(face))
            faces.push_back(entry.face);
    }
    return faces;
}

bool CarriedFaceCovers(const CarriedFace &face, const std::u32string &codePoints)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    for (const Entry &entry : registry.entries) {
        if (entry.face.file != face.file || entry.face.faceIndex != face.faceIndex)
            continue;
        if (!entry.charset)
            return false;
        return std::all_of(codePoints.begin(), codePoints.end(),
                           [&entry](char32_t c) { return FcCharSetHasChar(entry.charset.get(), c) == FcTrue; });
    }
    return false;
}

} // namespace tavrin
