#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace tavrin::test {

// What a folder tree holds: every entry below the root (relative path) with its kind, size,
// permission bits and a hash of its bytes, links not followed. Taken before and after an
// operation that fails, it shows whether anything of the user's changed.
class TreeSnapshot {
public:
    static TreeSnapshot take(const QString &root);

    // Entries that were added, removed or changed between this snapshot and `after`, each as
    // "+ path", "- path" or "* path", sorted. Paths listed in `allowedToChange` (relative to the
    // root) are left out: they are the files the user asked to replace.
    QStringList differences(const TreeSnapshot &after, const QStringList &allowedToChange = {}) const;

private:
    QMap<QString, QByteArray> entries_; // relative path -> kind, size, mode and content hash
};

} // namespace tavrin::test
