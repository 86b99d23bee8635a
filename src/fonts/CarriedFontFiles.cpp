#include "fonts/CarriedFontFiles.h"

#include "fonts/FontInstallation.h"
#include "fonts/FontMatching.h"
#include "layout/FontList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

namespace tavrin {

namespace {

struct Entry {
    CarriedFace face;
    QStringList otherFamilies; // more family names of the file's (its name table has several)
    bool current = false;      // carried by the package registered last
};

// A carried file, read when a lookup first needs its faces: an open whose board the installed
// fonts draw whole never reads one.
struct CarriedFile {
    QString path;
    QString memberName;
    QStringList listedAs;
    bool current = false;
};

struct Registry {
    QMutex mutex;
    std::vector<CarriedFile> unread; // in the order the faces are to come
    std::vector<Entry> entries;      // the most recently registered package first
    QSet<QString> files;             // every file registered
    // Files not yet in fontconfig's set of fonts: reading a file for fontconfig (its character
    // map above all) takes some milliseconds, and only the fallback search needs it; they go in
    // just before the first fallback lookup.
    QStringList pending;
    bool inFontconfig = false; // some were put into fontconfig's set
};

Registry &TheRegistry()
{
    static Registry *registry = new Registry; // never destroyed: faces may be looked up at exit
    return *registry;
}

QString SfntName(FT_Face face, FT_UShort nameId)
{
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    QString fallback;
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId)
            continue;
        // Windows names are UTF-16 big-endian; Macintosh Roman names are taken as Latin-1.
        if (name.platform_id == TT_PLATFORM_MICROSOFT) {
            QString text(int(name.string_len / 2), Qt::Uninitialized);
            for (int k = 0; k < text.size(); ++k)
                text[k] = QChar(char16_t((name.string[2 * k] << 8) | name.string[2 * k + 1]));
            if (name.language_id == 0x0409)
                return text;
            if (fallback.isEmpty())
                fallback = text;
        } else if (name.platform_id == TT_PLATFORM_MACINTOSH && fallback.isEmpty()) {
            fallback = QString::fromLatin1(reinterpret_cast<const char *>(name.string), int(name.string_len));
        }
    }
    return fallback;
}

// The faces of one font file as FreeType reads them (names and style only: quick); named
// instances of variable fonts are left out (the file's own default face stands for them).
std::vector<Entry> FacesOfFile(const CarriedFile &file)
{
    std::vector<Entry> faces;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return faces;
    const QByteArray encoded = QFile::encodeName(file.path);
    FT_Long count = 1;
    for (FT_Long index = 0; index < count; ++index) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, encoded.constData(), index, &face) != 0)
            break;
        count = face->num_faces;
        Entry entry;
        // The typographic family where there is one (as fontconfig names the face first), and
        // the plain family name beside it.
        const QString typographic = SfntName(face, TT_NAME_ID_TYPOGRAPHIC_FAMILY);
        const QString plain = face->family_name ? QString::fromUtf8(face->family_name) : QString();
        entry.face.family = !typographic.isEmpty() ? typographic : plain;
        if (!plain.isEmpty() && plain.compare(entry.face.family, Qt::CaseInsensitive) != 0)
            entry.otherFamilies << plain;
        entry.face.styleName = face->style_name ? QString::fromUtf8(face->style_name) : QString();
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const bool heavy = os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600;
        entry.face.bold = heavy || (face->style_flags & FT_STYLE_FLAG_BOLD);
        entry.face.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC)
                            || entry.face.styleName.contains(QLatin1String("Italic"), Qt::CaseInsensitive)
                            || entry.face.styleName.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
        entry.face.file = file.path;
        entry.face.faceIndex = int(index);
        entry.face.memberName = file.memberName;
        for (const QString &listed : file.listedAs) {
            if (listed.compare(entry.face.family, Qt::CaseInsensitive) != 0 && !entry.face.listedAs.contains(listed))
                entry.face.listedAs.append(listed);
        }
        entry.current = file.current;
        const bool scalable = FT_IS_SCALABLE(face);
        FT_Done_Face(face);
        if (!entry.face.family.isEmpty() && scalable)
            faces.push_back(std::move(entry));
    }
    FT_Done_FreeType(library);
    return faces;
}

// Reads the files registered but not read yet; their faces come first. Called with the
// registry's lock held.
void ReadRegisteredFiles(Registry &registry)
{
    if (registry.unread.empty())
        return;
    std::vector<Entry> read;
    QStringList collections;
    for (const CarriedFile &file : registry.unread) {
        std::vector<Entry> faces = FacesOfFile(file);
        if (faces.empty())
            continue; // not a font after all, or gone
        registry.pending.append(file.path);
        if (faces.size() > 1)
            collections.append(file.path);
        for (Entry &face : faces)
            read.push_back(std::move(face));
    }
    registry.unread.clear();
    registry.entries.insert(registry.entries.begin(), read.begin(), read.end());
    // Faces of a collection after its first are drawn through Qt's font database.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        for (const QString &file : std::as_const(collections))
            QFontDatabase::addApplicationFont(file);
    }
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

void RegisterCarriedFonts(const QString &workingFolder)
{
    if (workingFolder.isEmpty())
        return;
    const QDir folder(workingFolder);
    // The font list first, in its order, then any other font file of the folder by name.
    QStringList names;
    QHash<QString, QStringList> listedNames;
    for (const GatheredFont &pair : ReadFontListFile(folder.filePath(QStringLiteral("FontFileNames.txt")))) {
        if (!names.contains(pair.fontFile))
            names.append(pair.fontFile);
        listedNames[pair.fontFile].append(pair.face);
    }
    for (const QString &name : FontFilesInFolder(workingFolder)) {
        if (!names.contains(name))
            names.append(name);
    }

    Registry &registry = TheRegistry();
    bool dropped = false;
    bool changed = false;
    {
        QMutexLocker lock(&registry.mutex);
        // Faces of packages registered before stay known while their files are there (a working
        // folder goes when its layout is closed).
        for (Entry &entry : registry.entries) {
            changed = changed || entry.current;
            entry.current = false;
        }
        for (CarriedFile &file : registry.unread)
            file.current = false;
        const auto gone = [&](const QString &path) {
            if (QFileInfo::exists(path))
                return false;
            registry.files.remove(path);
            dropped = dropped || !registry.pending.contains(path);
            registry.pending.removeAll(path);
            return true;
        };
        registry.entries.erase(std::remove_if(registry.entries.begin(), registry.entries.end(),
                                              [&](const Entry &entry) { return gone(entry.face.file); }),
                               registry.entries.end());
        registry.unread.erase(std::remove_if(registry.unread.begin(), registry.unread.end(),
                                             [&](const CarriedFile &file) { return gone(file.path); }),
                              registry.unread.end());

        std::vector<CarriedFile> added;
        for (const QString &name : std::as_const(names)) {
            const QFileInfo source(folder.filePath(name));
            // Only plain files directly in the folder: a name of the list cannot lead elsewhere.
            if (!IsFontFileName(name) || name.contains(u'/') || !source.isFile() || source.isSymLink())
                continue;
            const QString path = source.absoluteFilePath();
            if (registry.files.contains(path))
                continue;
            registry.files.insert(path);
            added.push_back({path, name, listedNames.value(name), true});
        }
        changed = changed || !added.empty();
        registry.unread.insert(registry.unread.begin(), added.begin(), added.end());
    }
    if (dropped) {
        // Files that are gone leave fontconfig's set: the others go in again with the next lookup.
        QMutexLocker fontconfigLock(&FontConfigLock());
        QMutexLocker lock(&registry.mutex);
        if (registry.inFontconfig) {
            FcConfigAppFontClear(nullptr);
            registry.inFontconfig = false;
            registry.pending.clear();
            for (const Entry &entry : registry.entries) {
                if (!registry.pending.contains(entry.face.file))
                    registry.pending.append(entry.face.file);
            }
        }
    }
    // The lookups answer anew, with the carried faces among the fonts.
    if (changed || dropped)
        ClearFontMatchCache();
}

void AddPendingCarriedFontsToFontconfig()
{
    Registry &registry = TheRegistry();
    QStringList files;
    {
        QMutexLocker lock(&registry.mutex);
        ReadRegisteredFiles(registry);
        files.swap(registry.pending);
        registry.inFontconfig = registry.inFontconfig || !files.isEmpty();
    }
    for (const QString &file : std::as_const(files)) {
        const QByteArray encoded = QFile::encodeName(file);
        FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(encoded.constData()));
    }
}

std::vector<CarriedFace> CarriedFaces()
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    ReadRegisteredFiles(registry);
    std::vector<CarriedFace> faces;
    for (const Entry &entry : registry.entries)
        faces.push_back(entry.face);
    return faces;
}

std::vector<CarriedFace> CurrentCarriedFaces()
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    ReadRegisteredFiles(registry);
    std::vector<CarriedFace> faces;
    for (const Entry &entry : registry.entries) {
        if (entry.current)
            faces.push_back(entry.face);
    }
    return faces;
}

QStringList CurrentCarriedFamilies()
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    ReadRegisteredFiles(registry);
    QStringList families;
    for (const Entry &entry : registry.entries) {
        if (!entry.current)
            continue;
        for (const QString &family : QStringList{entry.face.family} + entry.otherFamilies) {
            if (!families.contains(family, Qt::CaseInsensitive))
                families.append(family);
        }
    }
    return families;
}

bool IsCarriedFontFile(const QString &path)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    return registry.files.contains(path);
}

void ForgetCarriedFonts()
{
    Registry &registry = TheRegistry();
    bool inFontconfig = false;
    {
        QMutexLocker lock(&registry.mutex);
        inFontconfig = registry.inFontconfig;
        registry.inFontconfig = false;
        registry.entries.clear();
        registry.unread.clear();
        registry.files.clear();
        registry.pending.clear();
    }
    if (inFontconfig) {
        // The files go out of fontconfig's configuration of this process as well.
        QMutexLocker lock(&FontConfigLock());
        FcConfigAppFontClear(nullptr);
    }
    ClearFontMatchCache();
}

std::optional<CarriedFace> FindCarriedFace(const QString &face, bool bold, bool italic)
{
    Registry &registry = TheRegistry();
    QMutexLocker lock(&registry.mutex);
    ReadRegisteredFiles(registry);
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
    ReadRegisteredFiles(registry);
    std::vector<CarriedFace> faces;
    for (const Entry &entry : registry.entries) {
        if (entry.face.answersTo(face))
            faces.push_back(entry.face);
    }
    return faces;
}

} // namespace tavrin
