#include "fonts/FontInstallation.h"

#include "fonts/FontMatching.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H

namespace tavrin {

namespace {

bool Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Number of faces fontconfig finds in the file; 0 for anything that is not a font.
int CountFontFaces(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    return int(FcFreeTypeQueryAll(reinterpret_cast<const FcChar8 *>(encoded.constData()), -1, nullptr, nullptr,
                                  nullptr));
}

// True when every face of the file has a name table that can be read. Without one (a file cut
// short, a damaged table) fontconfig still accepts the file but makes up a family from the file
// name: installed, it would answer for a face that does not exist and never for the one needed.
bool FaceNamesReadable(const QString &path, int faces)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    const QByteArray encoded = QFile::encodeName(path);
    bool readable = faces > 0;
    for (int index = 0; readable && index < faces; ++index) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, encoded.constData(), index, &face) != 0) {
            readable = false;
            break;
        }
        readable = FT_IS_SFNT(face) && FT_Get_Sfnt_Name_Count(face) > 0 && face->family_name
            && *face->family_name;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return readable;
}

QByteArray FileDigest(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    *ok = hash.addData(&file);
    return hash.result();
}

// Makes fontconfig's current configuration and Qt's font database know the installed file.
bool RegisterInstalledFont(const QString &path, QString *error)
{
    const QByteArray encoded = QFile::encodeName(path);
    const bool fontconfigKnows =
        FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(encoded.constData())) == FcTrue;
    // Qt's database needs a GUI application; without one (the command-line tool) fontconfig's
    // answer is all the program uses.
    const bool qtKnows = !qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        || QFontDatabase::addApplicationFont(path) >= 0;
    ClearFontMatchCache();
    if (!fontconfigKnows || !qtKnows)
        return Fail(error, QStringLiteral("The font file %1 was copied into %2, but the program could not load it.")
                               .arg(QFileInfo(path).fileName(), QFileInfo(path).path()));
    return true;
}

} // namespace

QString UserFontFolder()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return QDir(dataHome).filePath(QStringLiteral("fonts"));
    return QDir::home().filePath(QStringLiteral(".local/share/fonts"));
}

bool IsFontFileName(const QString &fileName)
{
    for (const char *extension : {".ttf", ".otf", ".ttc"}) {
        if (fileName.size() > 4 && fileName.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QStringList FontFilesInFolder(const QString &folder)
{
    QStringList names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (IsFontFileName(entry.fileName()))
            names.append(entry.fileName());
    }
    return names;
}

bool InstallFontFile(const QString &fontFile, const QString &userFontFolder, QString *error)
{
    const QFileInfo source(fontFile);
    const QString name = source.fileName();
    if (!source.isFile())
        return Fail(error, QStringLiteral("The font file %1 was not found.").arg(fontFile));
    const int faces = CountFontFaces(fontFile);
    if (faces <= 0)
        return Fail(error, QStringLiteral("%1 is not a font file.").arg(name));
    if (!FaceNamesReadable(fontFile, faces))
        return Fail(error, QStringLiteral("%1 is damaged: the names of its fonts cannot be read.").arg(name));
    if (!QDir().mkpath(userFontFolder))
        return Fail(error, QStringLiteral("The font folder %1 could not be created.").arg(userFontFolder));

    const QString target = QDir(userFontFolder).filePath(name);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        bool sourceRead = false;
        bool targetRead = false;
        const QByteArray sourceDigest = FileDigest(fontFile, &sourceRead);
        const QByteArray targetDigest = FileDigest(target, &targetRead);
        if (!sourceRead)
            return Fail(error, QStringLiteral("The font file %1 could not be read.").arg(fontFile));
        if (!targetRead || sourceDigest != targetDigest)
            return Fail(error, QStringLiteral("A different font file named %1 is already installed in %2; "
                                              "it was left in place.")
                                   .arg(name, userFontFolder));
        // The same font is installed already: only make sure the running program sees it.
        return RegisterInstalledFont(target, error);
    }

    // QFile::copy writes a temporary file beside the target and renames it without replacing,
    // so a half-copied font never appears under the final name.
    if (!QFile::copy(fontFile, target))
        return Fail(error, QStringLiteral("The font file %1 could not be copied into %2.").arg(name, userFontFolder));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return RegisterInstalledFont(target, error);
}

} // namespace tavrin
