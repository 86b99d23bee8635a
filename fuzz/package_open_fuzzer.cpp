// A layout package as the user picks it: unpacked into a working folder and opened the way
// the open command does (the document read with the package's path rules).
#include "FuzzSupport.h"

#include "layout/LayoutFileOpening.h"
#include "layout/StripOperations.h"

#include <QDir>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tavrin;
    fuzz::EnsureCoreApplication();
    const QString folder = fuzz::RunFolder();
    const QString package = folder + "/Fuzz_LAYOUT.MARBIX";
    const QString working = folder + "/ZUP-work";
    fuzz::WriteFile(package, fuzz::BytesOf(data, size));
    QDir().mkpath(working);

    auto layout = std::make_unique<MenuLayout>();
    Strip strip;
    ResetAllStrips(*layout, strip, kWhite);
    OpenedLayoutFile opened;
    (void)OpenLayoutFile(package, working, *layout, opened);

    // Leave nothing for the next input.
    QDir(working).removeRecursively();
    return 0;
}
