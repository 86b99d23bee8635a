#pragma once

#include "prices/PriceList.h"

#include <QString>

namespace tavrin {

// Price list files: CSV or XLSX, read with the limits of a file from anywhere, and the layouts a
// list names, which must lie in the list's own folder.

// A list file holds at most this much; a larger one is refused before it is read.
inline constexpr qint64 kMaxPriceListBytes = qint64(64) << 20;

// A list by its content: an XLSX workbook (a zip archive) or a CSV text.
PriceListReading ReadPriceListBytes(const QByteArray &bytes);

// The list at path. Only a regular file is read (a device, a pipe or a folder is refused at once
// and never waited on) and only up to kMaxPriceListBytes; either failure is the one error.
PriceListReading ReadPriceListFile(const QString &path);

// Whether path names an XLSX workbook by its extension (any case).
bool IsXlsxName(const QString &path);

// Writes rows as a list at path, a workbook for an ".xlsx" name and a CSV file otherwise,
// replacing an older file only once the new one is whole. False with the reason in error.
bool WritePriceListFile(const QString &path, const std::vector<PriceRow> &rows, QString *error);

// The layout's path as a list in listFolder names it: relative to that folder, with "/"
// ("menus/Lunch_LAYOUT.MARBIX", or "../Lunch_LAYOUT.MARBIX" for a layout outside it), so that a
// list moved with its layouts still finds them.
QString ListedLayoutName(const QString &listFolder, const QString &layoutPath);

// The layout a list row names, taken from the list's folder ("\" counts as "/" for a list made
// on Windows). Without allowOutside the layout must lie in that folder or one below it and be
// reached without a symbolic link; with it, anywhere. Either way it must be a layout package:
// a regular file named ".MARBIX" that is a zip archive holding a layout document. refusal says
// why not, in words for the user; path is then empty.
struct ListedLayout {
    QString path;
    QString refusal;
};
ListedLayout ResolveListedLayout(const QString &listFolder, const QString &named, bool allowOutside);

} // namespace tavrin
