#include "layout/LayoutFileOpening.h"

#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"

#include <QFileInfo>

namespace tavrin {

QString LoadLayoutFileContents(const QString &pickedPath, const QString &freshFolder, LayoutFileContents &contents)
{
    const QString mapped = MapTvImageToPackage(pickedPath);
    if (mapped != pickedPath && !QFileInfo::exists(mapped))
        return UnableToOpenFileMessage(mapped);

    contents.names = NamesForPickedFile(mapped, freshFolder);
    if (contents.names.isPackage) {
        const UnpackResult unpacked = UnpackLayoutPackage(mapped, freshFolder);
        // A member the disk could not take would be missing from the board and from the next
        // save: the open fails instead.
        if (unpacked.opened && !unpacked.complete())
            return UnableToOpenFileMessage(mapped);
        const std::optional<QString> text = ReadLayoutDocumentFile(contents.names.documentPath);
        if (!unpacked.opened || !text || !DocumentGridFitsStore(*text))
            return NotALayoutPackageMessage(mapped);
        contents.documentText = *text;
        return {};
    }

    const std::optional<QString> text = ReadLayoutDocumentFile(contents.names.documentPath);
    // A grid larger than the store is refused: the next save would drop the strips beyond it.
    if (!text || !DocumentGridFitsStore(*text))
        return UnableToOpenFileMessage(contents.names.documentPath);
    contents.documentText = *text;
    return {};
}

QString OpenLayoutFile(const QString &pickedPath, const QString &workingFolder, MenuLayout &layout,
                       OpenedLayoutFile &opened)
{
    LayoutFileContents contents;
    const QString failure = LoadLayoutFileContents(pickedPath, workingFolder, contents);
    if (!failure.isEmpty())
        return failure;

    opened.names = contents.names;
    Strip workingStrip;
    ResetStrip(workingStrip);
    ResetAllStrips(layout, workingStrip, kWhite);
    LayoutPathResolver resolver(opened.names, workingFolder);
    ReadLayoutDocument(contents.documentText, layout, resolver);
    opened.background = resolver.background();
    return {};
}

} // namespace tavrin
