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
    // Once per board: every board opened or made has a working folder of its own.
    const BoardDocument &document = editor_.document();
    const QString folder = document.workingFolder();
    if (folder == shownFor_)
        return;
    shownFor_ = folder;
    // The open's pass at the board's own scale noted the substitutions of the layout it opened;
    // a new board has nothing to say.
    const QStringList lines = document.hasBoard()
                                  ? SubstitutionWarnings(document.fontSubstitutions(), document.layout())
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
