#pragma once

#include <QString>

#include <minizip/unzip.h>

namespace tavrin {

// Opens the zip archive at path for reading, only when it is a regular file: a device or a
// pipe is refused at once (the zip library would otherwise read it forever or wait on it). The
// archive reads through the descriptor that was checked, never the name again. Null when the
// file is not a readable zip archive; close with unzClose.
unzFile OpenArchiveForReading(const QString &path);

} // namespace tavrin
