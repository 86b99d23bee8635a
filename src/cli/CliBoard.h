#pragma once

#include "cli/CliCommands.h"
#include "document/BoardDocument.h"

namespace tavrin::cli {

// One board of a command-line run: the board document the window uses, in a working folder of
// its own in the data folder ("ZUP...", removed when the object goes). Fonts the layout needs
// and this computer lacks are drawn from the package's own copies, for this run only.
class CliBoard {
public:
    CliBoard();

    // Opens path; a failure is printed naming path. outputFollows: the TV image is written
    // right after (the decoding starts early).
    bool open(const QString &path, bool outputFollows = false);
    // open, then the output options: a white-print choice over the one the layout stores.
    bool open(const QString &path, const OutputOptions &options);

    // The turn of a portrait board's TV image: the one given, else the one the editor remembers.
    int rotation(const OutputOptions &options) const;

    // The package at packagePath and the TV image beside it (existing ones replaced only when
    // replace says so). On success prints both paths, one line each; on failure the reason,
    // naming reportPath.
    bool save(const QString &packagePath, const QString &reportPath, bool replace, int rotation);

    BoardDocument &document() { return document_; }

private:
    BoardDocument document_;
};

// Prints "tavrin-cli: PATH: message" on standard error, line breaks kept.
void PrintLayoutFailure(const QString &path, const QString &message);

// The package path the save dialog proposes for the board in folder.
QString ProposedPackagePath(const BoardDocument &document, const QString &folder);

} // namespace tavrin::cli
