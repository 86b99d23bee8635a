#pragma once

#include <QString>

namespace tavrin {

// Where the open and save dialogs start. A folder the command asks for is taken when it exists
// and is not the program's own folder (a start-up default nobody keeps files in). Otherwise the
// dialog starts where the user last chose a file with it, remembered between runs in the user's
// settings, else in the Documents folder, else at home.
class DialogFolders {
public:
    static QString StartFolder(const QString &dialogTitle, const QString &askedFor);
    // Remembers the folder of a file chosen with the dialog.
    static void Remember(const QString &dialogTitle, const QString &chosenFile);
};

} // namespace tavrin
