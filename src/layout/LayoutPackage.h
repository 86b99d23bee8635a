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
    std::int64_t maxTotalBytes = std::int64_t(512) << 20;  // 512 MiB: far above what a layout needs
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

// WriteLayoutPackage without deleting the package of the old name: for a caller that checks the
// package it wrote before anything else of the user's goes.
bool PutLayoutPackageInPlace(const QString &packagePath, const PackageSources &sources,
                             const UnpackLimits &limits = {});

// The steps of WriteLayoutPackage for a caller that puts several files in place together.
// Builds the complete package for packagePath under a new temporary name in the same folder
// and returns that name; empty on failure, with no temporary left behind.
QString BuildLayoutPackage(const QString &packagePath, const PackageSources &sources,
                           const UnpackLimits &limits = {});
// Once the package is in place: deletes the package of the old name beside it (the name
// without "_LAYOUT"); the package itself is never deleted. Returns the notice the user is to
// read when one went, else an empty text.
QString RemoveOldNamePackage(const QString &packagePath);

struct UnpackResult {
    bool opened = false; // the file could be read as a zip archive
    int extracted = 0;   // members written into the working folder
    int refused = 0;     // members skipped on purpose or damaged (unsafe name, link, too large, bad CRC)
    int unwritten = 0;   // members that could not be written (a full disk, an I/O error)
    int missing = 0;     // members the layout uses that were refused as larger than the limits
    int skipped = 0;     // members nothing in the layout uses, left in the archive

    // The layout's files are all there as far as this computer is concerned: the archive
    // was read, nothing the layout uses was too large, and nothing was lost to a write failure.
    // Members refused on purpose (unsafe names, links, damage) do not count.
    bool complete() const { return opened && unwritten == 0 && missing == 0; }
};

// Extracts the members of the package the layout uses into the working folder under their plain
// file names, replacing files of the same name: first the document ("Layout.XMARBIX", or a
// "...MarbixLayout..." member of an older version, written as "Layout.XMARBIX"), then the font
// list, then the background (an older "...MARBIXBGD..." member becomes "Background.jpg" unless
// a file of that name exists), the pictures the document names and the font files. Members
// nothing uses are skipped, so a package cannot fill the disk with files no layout reads. Nothing is ever written outside the working folder. Each member
// is written under a temporary name and takes its own name only once it is complete and its
// CRC checked, so a damaged copy never replaces a good member of the same name.
UnpackResult UnpackLayoutPackage(const QString &packagePath, const QString &workingFolder,
                                 const UnpackLimits &limits = {});

// Writes "FontFileNames.txt" into the working folder: the list text's UTF-16LE code units, no
// BOM (the text as PackFontList gives it).
bool WriteFontListFile(const QString &workingFolder, const QString &fontListText);

} // namespace tavrin
