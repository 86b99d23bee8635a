#include "document/OpeningAhead.h"

#include "layout/LayoutFileNames.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <future>
#include <mutex>
#include <system_error>

namespace tavrin {

namespace {

struct Ahead {
    QString pickedPath;
    QString parentFolder;
    std::future<PreparedOpening> prepared;
};

struct AheadSlot {
    std::mutex mutex;
    std::optional<Ahead> ahead;

    std::optional<Ahead> take()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        std::optional<Ahead> taken;
        taken.swap(ahead);
        return taken;
    }
    // A program that ends without taking its prepared opening leaves no folder behind.
    ~AheadSlot() { Drop(take()); }

    static void Drop(std::optional<Ahead> dropped)
    {
        if (dropped && dropped->prepared.valid())
            RemoveOwnFolder(dropped->prepared.get().folder);
    }
};

AheadSlot &Slot()
{
    static AheadSlot slot;
    return slot;
}

} // namespace

PreparedOpening PrepareOpening(const QString &pickedPath, const QString &parentFolder)
{
    PreparedOpening prepared;
    prepared.folder = MakeFreshWorkingFolder(parentFolder);
    prepared.failure = prepared.folder.isEmpty()
                           ? UnableToOpenFileMessage(MapTvImageToPackage(pickedPath))
                           : LoadLayoutFileContents(pickedPath, prepared.folder, prepared.contents);
    return prepared;
}

void PrepareOpeningAhead(const QString &pickedPath, const QString &parentFolder)
{
    DropOpeningPreparedAhead();
    Ahead ahead{pickedPath, parentFolder, {}};
    try {
        ahead.prepared = std::async(std::launch::async, PrepareOpening, pickedPath, parentFolder);
    } catch (const std::system_error &) {
        return; // no thread to be had: the open prepares it itself
    }
    const std::lock_guard<std::mutex> lock(Slot().mutex);
    Slot().ahead = std::move(ahead);
}

std::optional<PreparedOpening> TakeOpeningPreparedAhead(const QString &pickedPath, const QString &parentFolder)
{
    std::optional<Ahead> ahead = Slot().take();
    if (!ahead)
        return std::nullopt;
    if (ahead->pickedPath != pickedPath || ahead->parentFolder != parentFolder) {
        AheadSlot::Drop(std::move(ahead));
        return std::nullopt;
    }
    return ahead->prepared.get();
}

void DropOpeningPreparedAhead() { AheadSlot::Drop(Slot().take()); }

} // namespace tavrin
