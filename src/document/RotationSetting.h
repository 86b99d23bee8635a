#pragma once

#include <QString>

namespace tavrin {

// The last rotation chosen for a portrait board's TV image, kept in "RotationData.txt" in the
// data folder for every layout: one digit as UTF-16LE text without byte-order mark, "0" none,
// "1" clockwise, "2" counter-clockwise.
QString RotationSettingPath(const QString &dataFolder);

// 0 when the file is missing or unreadable, or starts with anything but "1" or "2".
int ReadRotationSetting(const QString &dataFolder);

// Writes the value anew ("%d"). False when the file could not be written.
bool WriteRotationSetting(const QString &dataFolder, int rotation);

} // namespace tavrin
