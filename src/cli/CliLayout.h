#pragma once

#include "layout/LayoutFileOpening.h"

#include <QTemporaryDir>

#include <memory>

namespace tavrin::cli {

// A layout file opened the way the editor opens it. A package is unpacked into a working folder
// that lasts as long as this object: a temporary one, or the folder the caller names, which must
// be new or empty (it is never emptied; after a failed open it is as it was).
class CliLayout {
public:
    // Opens path; on failure prints the message the user would see and returns nothing.
    static std::unique_ptr<CliLayout> Open(const QString &path, const QString &chosenFolder = {});

    MenuLayout layout;
    OpenedLayoutFile opened;
    QString workingFolder;

private:
    QTemporaryDir temporary_;
};

} // namespace tavrin::cli
