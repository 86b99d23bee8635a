#include "app/FontWarningBar.h"

#include "editor/Editor.h"
#include "render/FontUse.h"

namespace tavrin {

FontWarningBar::FontWarningBar(Editor &editor, QWidget *parent) : QStatusBar(parent), editor_(editor)
{
    setObjectName(QStringLiteral("fontWarnings"));
    setSizeGripEnabled(false);
    hide();
}

void FontWarningBar::follow()
{
    const QString folder = editor_.paths.workingFolder;
    if (folder == shownFor_)
        return;
    shownFor_ = folder;
    // The open's pass at the board's own scale noted the substitutions of the layout it opened;
    // a folder changed without such a pass (a new layout) has nothing to say.
    const bool noted = editor_.fontSubstitutions.passes() != notedPasses_;
    notedPasses_ = editor_.fontSubstitutions.passes();
    const QStringList lines =
        noted && !editor_.backgroundName.isEmpty() ? SubstitutionWarnings(editor_.fontSubstitutions, editor_.layout)
                                                   : QStringList();
    warnings_ = lines.join(u'\n');
    if (lines.isEmpty()) {
        clearMessage();
        setToolTip(QString());
        hide();
        return;
    }
    const QString summary = lines.size() == 1 ? lines.first()
                                              : QStringLiteral("%1 font warnings: %2 ...").arg(lines.size()).arg(lines.first());
    showMessage(summary);
    setToolTip(warnings_);
    show();
}

} // namespace tavrin
