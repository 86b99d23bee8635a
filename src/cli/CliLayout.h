#pragma once

#include "layout/LayoutFileOpening.h"

#include <memory>

namespace tavrin::cli {

// A layout file read as it is stored, without the editor's pass over the opened strips. A package
// is unpacked into a working folder that lasts as long as this object: one of this run in the
// data folder ("ZUP...", so that the editor's start-up clean-up finds it should the run be
// killed), or the folder the caller names, which must be new or empty (it is never emptied;
// after a failed open it is as it was).
class CliLayout {
public:
    // Opens path; on failure prints the message the user would see and returns nothing.
    static std::unique_ptr<CliLayout> Open(const QString &path, const QString &chosenFolder = {});
    ~CliLayout();

    MenuLayout layout;
    OpenedLayoutFile opened;
    QString workingFolder;

private:
    bool ownFolder_ = false;
};

} // namespace tavrin::cli
