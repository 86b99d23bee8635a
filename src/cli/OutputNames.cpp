#include "cli/OutputNames.h"

#include "editor/Editor.h"
#include "document/SaveOutput.h"

namespace tavrin::cli {

QString ProposedTvImagePath(const Editor &editor, const QString &folder)
{
    // As the save dialog proposes it: a layout that did not come from a package is named as one.
    QString layoutName = editor.layoutName;
    if (!editor.fromPackage)
        layoutName.replace(QLatin1String(".jpg"), QLatin1String(".MARBIX"));
    const bool whitePrint = editor.whitePrintChecked();
    const QString package =
        PackagePathForChosenName(folder + QLatin1Char('/') + ProposedSaveName(layoutName, whitePrint), whitePrint);
    return TvImagePathBeside(package, whitePrint);
}

} // namespace tavrin::cli
