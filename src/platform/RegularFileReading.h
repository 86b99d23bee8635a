#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tavrin {

// Opens path for reading when it is a regular file (a link to one is followed), and -1 for
// anything else: a device such as /dev/zero, a named pipe, a folder. The check is made on the
// opened descriptor, and the open itself never waits for a writer on a pipe.
int OpenRegularFileForReading(const QString &path);

// The whole content of the regular file at path; nothing when it is not a regular file, cannot
// be read, or holds more than maxBytes. The size is what was actually read, never what the
// file system reported beforehand, so a file that grows or shrinks while it is read stays
// within the cap.
std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes);

} // namespace tavrin
