// The "nothing lost" tables below this folder compare folder trees before and after a failing
// operation; this pins that the comparison sees every kind of change.
#include "support/TempDataDir.h"
#include "support/TreeSnapshot.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(TreeSnapshot, SeesAddedRemovedChangedAndChmoddedEntriesButNotAllowedOnes)
{
    TempDataDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("shop/sub"));
    writeFile(dir.file(QStringLiteral("shop/a.jpg")), "aaaa");
    writeFile(dir.file(QStringLiteral("shop/sub/b.ttf")), "bbbb");
    writeFile(dir.file(QStringLiteral("shop/c.txt")), "cccc");
    writeFile(dir.file(QStringLiteral("shop/Menu_TV.jpg")), "tv");
    const TreeSnapshot before = TreeSnapshot::take(dir.file(QStringLiteral("shop")));
    EXPECT_TRUE(before.differences(TreeSnapshot::take(dir.file(QStringLiteral("shop")))).isEmpty());

    writeFile(dir.file(QStringLiteral("shop/a.jpg")), "aaab");           // same size, other bytes
    QFile::remove(dir.file(QStringLiteral("shop/sub/b.ttf")));
    writeFile(dir.file(QStringLiteral("shop/new.txt")), "n");
    QFile::setPermissions(dir.file(QStringLiteral("shop/c.txt")), QFile::ReadOwner);
    writeFile(dir.file(QStringLiteral("shop/Menu_TV.jpg")), "new tv");  // asked for
    const QStringList changes = before.differences(TreeSnapshot::take(dir.file(QStringLiteral("shop"))),
                                                   {QStringLiteral("Menu_TV.jpg")});
    EXPECT_EQ(changes, QStringList({QStringLiteral("* a.jpg"), QStringLiteral("* c.txt"),
                                    QStringLiteral("+ new.txt"), QStringLiteral("- sub/b.ttf")}));
}
