#include "fonts/FontInventory.h"

#include "fonts/FontMatching.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavrin {

FontServices FontServices::System()
{
    return {[](const QString &face) { return IsFontInstalled(face); },
            [](const QString &face) { return FindFontFile(face); }};
}

bool GatherFontFile(FontList &fontList, const QString &face, const QString &path, const QString &workingFolder)
{
    if (face.isEmpty() || fontList.has(face, path))
        return false;
    const QString fileName = QFileInfo(path).fileName();
    if (fileName.isEmpty())
        return false;
    if (!workingFolder.isEmpty()) {
        const QString target = QDir(workingFolder).filePath(fileName);
        // QFile::copy never replaces an existing file; the copy from the package is kept.
        if (!QFileInfo::exists(target))
            QFile::copy(path, target);
    }
    return fontList.add(face, path);
}

QStringList MissingFontNames(const QString &missingFontsList)
{
    QStringList names;
    for (const QString &line : missingFontsList.split(QStringLiteral("\r\n"))) {
        if (!line.isEmpty())
            names.append(line);
    }
    return names;
}

QString MissingFontsListText(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += name + QStringLiteral("\r\n");
    return text;
}

bool RemoveWorkingFontCopy(const QString &face, const QString &workingFolder, const FontFileLookup &lookup)
{
    if (workingFolder.isEmpty() || !lookup)
        return false;
    const QFileInfo installed(lookup(face));
    const QString fileName = installed.fileName();
    if (fileName.isEmpty())
        return false;
    const QFileInfo copy(QDir(workingFolder).filePath(fileName));
    if (!copy.isFile())
        return false;
    if (installed.exists() && installed.canonicalFilePath() == copy.canonicalFilePath())
        return false;
    return QFile::remove(copy.filePath());
}

} // namespace tavrin
