#pragma once

#include "layout/MenuLayout.h"
#include "platform/Prompter.h"

#include <QString>

#include <cstdint>

namespace tavrin {

// Where the package writer collects a layout's files from.
struct PackageSources {
    const MenuLayout &layout;
    bool fromPackage;           // the layout was opened from a package: its files are in the working folder
    QString backgroundImagePath;
    QString fontList;           // "face,file;" entries
    QString workingFolder;
};

// The message shown after a package of the old name (without "_LAYOUT") was deleted.
inline constexpr const char *kNewFilingSystemMessage = "Our new filing system will\nadd '_LAYOUT' to this file name.";

// Writes the layout package at packagePath: background, document, pictures, fonts, font list,
// in that order. The archive is built under a temporary ".zip" name beside the package and
// renamed over it only when complete, so a failed save leaves the old package as it was.
// Returns false when the package was not written.
bool WriteLayoutPackage(const QString &packagePath, const PackageSources &sources, Prompter &prompter);

// Limits that keep a hostile or broken archive from filling the disk.
struct UnpackLimits {
    std::int64_t maxMemberBytes = std::int64_t(512) << 20; // 512 MiB
    std::int64_t maxTotalBytes = std::int64_t(2) << 30;    // 2 GiB
    int maxMembers = 100000;
};

struct UnpackResult {
    bool opened = false; // the file could be read as a zip archive
    int extracted = 0;   // members written into the working folder
    int refused = 0;     // members skipped on purpose or damaged (unsafe name, link, too large, bad CRC)
    int unwritten = 0;   // members that could not be written (a full disk, an I/O error)

    // The layout's files are all there as far as this computer is concerned: the archive
    // was read and nothing was lost to a write failure. Members refused on purpose do not count.
    bool complete() const { return opened && unwritten == 0; }
};

// Extracts every member of the package into the working folder under its plain file name,
// replacing files of the same name, then gives legacy members their current names
// ("...MARBIXBGD..." -> "Background.jpg", "...MarbixLayout..." -> "Layout.XMARBIX") unless a
// file of the new name exists. Nothing is ever written outside the working folder. Each member
// is written under a temporary name and takes its own name only once it is complete and its
// CRC checked, so a damaged copy never replaces a good member of the same name.
UnpackResult UnpackLayoutPackage(const QString &packagePath, const QString &workingFolder,
                                 const UnpackLimits &limits = {});

// Writes "FontFileNames.txt" into the working folder: the list's UTF-16LE code units, no BOM.
bool WriteFontListFile(const QString &workingFolder, const QString &fontList);

// The file names a font list names, in list order; entries without "," or with an empty face
// or file name, and names that are not plain file names, are left out.
QStringList FontFilesOfList(const QString &fontList);

} // namespace tavrin
