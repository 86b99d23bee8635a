#include "support/TreeSnapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tavrin::test {

namespace {

QByteArray describe(const QFileInfo &info)
{
    QByteArray description;
    if (info.isSymLink()) {
        description = "link:" + info.symLinkTarget().toUtf8();
    } else if (info.isDir()) {
        description = "dir";
    } else {
        description = "file:" + QByteArray::number(info.size());
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) {
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&file);
            description += ':' + hash.result().toHex();
        } else {
            description += ":unreadable";
        }
    }
    description += ":mode" + QByteArray::number(static_cast<int>(info.permissions()), 16);
    return description;
}

} // namespace

TreeSnapshot TreeSnapshot::take(const QString &root)
{
    TreeSnapshot snapshot;
    const QDir rootDir(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        snapshot.entries_.insert(rootDir.relativeFilePath(info.filePath()), describe(info));
    }
    return snapshot;
}

QStringList TreeSnapshot::differences(const TreeSnapshot &after, const QStringList &allowedToChange) const
{
    QStringList changes;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        if (allowedToChange.contains(it.key()))
            continue;
        if (!after.entries_.contains(it.key()))
            changes << QStringLiteral("- ") + it.key();
        else if (after.entries_.value(it.key()) != it.value())
            changes << QStringLiteral("* ") + it.key();
    }
    for (auto it = after.entries_.cbegin(); it != after.entries_.cend(); ++it) {
        if (!allowedToChange.contains(it.key()) && !entries_.contains(it.key()))
            changes << QStringLiteral("+ ") + it.key();
    }
    changes.sort();
    return changes;
}

} // namespace tavrin::test
