#pragma once

#include "layout/FontList.h"
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
    FontList fontList;          // the fonts the output render drew, with their files
    QString workingFolder;
};

// The message shown after a package of the old name (without "_LAYOUT") was deleted.
inline constexpr const char *kNewFilingSystemMessage = "Our new filing system will\nadd '_LAYOUT' to this file name.";

// Limits that keep a hostile or broken archive from filling the disk. The package writer holds
// itself to the same limits, so that every package it writes unpacks whole.
struct UnpackLimits {
    std::int64_t maxMemberBytes = std::int64_t(512) << 20; // 512 MiB
    std::int64_t maxTotalBytes = std::int64_t(2) << 30;    // 2 GiB
    int maxMembers = 100000;
};

// Writes the layout package at packagePath: background, document, pictures, fonts, font list,
// in that order. The archive is built under a temporary name of its own beside the package and
// renamed over it only when complete, so a failed save leaves the old package as it was; a
// replaced package keeps its permission bits. A read-only package, or anything but a plain file
// at packagePath, is refused. A member larger than the limits allow fails the write.
// Returns false when the package was not written.
bool WriteLayoutPackage(const QString &packagePath, const PackageSources &sources, Prompter &prompter,
                        const UnpackLimits &limits = {});

// The steps of WriteLayoutPackage for a caller that puts several files in place together.
// Builds the complete package for packagePath under a new temporary name in the same folder
// and returns that name; empty on failure, with no temporary left behind.
QString BuildLayoutPackage(const QString &packagePath, const PackageSources &sources,
                           const UnpackLimits &limits = {});
// Once the package is in place: deletes the package of the old name beside it (the name
// without "_LAYOUT") and tells the user; the package itself is never deleted.
void RemoveOldNamePackage(const QString &packagePath, Prompter &prompter);

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

// Writes "FontFileNames.txt" into the working folder: the list text's UTF-16LE code units, no
// BOM (the text as PackFontList gives it).
bool WriteFontListFile(const QString &workingFolder, const QString &fontListText);

} // namespace tavrin
