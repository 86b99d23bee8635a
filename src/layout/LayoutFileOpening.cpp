#include "layout/LayoutFileOpening.h"

#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "platform/FolderCleanup.h"

#include <QFileInfo>

namespace tavrin {

QString OpenLayoutFile(const QString &pickedPath, const QString &workingFolder, MenuLayout &layout,
                       OpenedLayoutFile &opened)
{
    const QString mapped = MapTvImageToPackage(pickedPath);
    if (mapped != pickedPath && !QFileInfo::exists(mapped))
        return UnableToOpenFileMessage(mapped);

    opened.names = NamesForPickedFile(mapped, workingFolder);
    if (opened.names.isPackage) {
        EmptyFolder(workingFolder);
        UnpackLayoutPackage(mapped, workingFolder);
    }

    const std::optional<QString> text = ReadLayoutDocumentFile(opened.names.documentPath);
    if (!text || !DocumentGridFitsStore(*text))
        return UnableToOpenFileMessage(opened.names.documentPath);

    Strip workingStrip;
    ResetStrip(workingStrip);
    ResetAllStrips(layout, workingStrip, kWhite);
    LayoutPathResolver resolver(opened.names, workingFolder);
    ReadLayoutDocument(*text, layout, resolver);
    opened.background = resolver.background();
    return {};
}

} // namespace tavrin
