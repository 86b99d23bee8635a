#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// Installing a layout's font files for the current user: the stand-in for the shell's
// "Install for all users" on a font file.

// The user's font folder: $XDG_DATA_HOME/fonts when that variable holds an absolute path,
// else ~/.local/share/fonts. Fontconfig's default configuration scans it.
QString UserFontFolder();

// True for the names of font files the panel offers: .ttf, .otf and .ttc in any case.
bool IsFontFileName(const QString &fileName);

// The font files directly inside folder (plain files only), sorted by name; empty when the
// folder cannot be read.
QStringList FontFilesInFolder(const QString &folder);

// Installs fontFile into userFontFolder (created when missing) under its own file name, then
// makes the running program see it: fontconfig's current configuration gets the file, Qt's font
// database too (when a GUI application runs), and the face-lookup cache is cleared.
//
// A file of that name that is already installed is never replaced: when its bytes equal the new
// file the installation only registers it again and succeeds; when they differ it fails and says
// so. A file that is not a font, or whose font names cannot be read (a TrueType file cut short
// before its name table), fails before anything is copied. On failure *error (when given)
// holds a message for the user.
bool InstallFontFile(const QString &fontFile, const QString &userFontFolder, QString *error);

} // namespace tavrin
