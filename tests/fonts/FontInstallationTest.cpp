#include "fonts/FontInstallation.h"

#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

const QString kSystemFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where the table tagged tag starts in a TrueType file; -1 when there is none.
qint64 TableOffset(const QByteArray &font, const char *tag)
{
    if (font.size() < 12)
        return -1;
    const auto *bytes = reinterpret_cast<const uchar *>(font.constData());
    const int tables = qFromBigEndian<quint16>(bytes + 4);
    for (int i = 0; i < tables && 12 + 16 * (i + 1) <= font.size(); ++i) {
        const uchar *entry = bytes + 12 + 16 * i;
        if (QByteArray(reinterpret_cast<const char *>(entry), 4) == tag)
            return qFromBigEndian<quint32>(entry + 8);
    }
    return -1;
}

// A TrueType file cut short inside its name table is still taken by fontconfig, which then
// makes up a family from the file name; it must not be installed as if it were a font.
TEST(FontInstallation, RefusesAFontWhoseNamesCannotBeRead)
{
    const QByteArray whole = ReadAll(kSystemFont);
    ASSERT_FALSE(whole.isEmpty()) << "DejaVu Sans is needed";
    const qint64 names = TableOffset(whole, "name");
    ASSERT_GT(names, 0);

    test::TempDataDir temp;
    const QString userFonts = temp.file(QStringLiteral("fonts"));
    const QString truncated = temp.file(QStringLiteral("Menu Sans.ttf"));
    QFile out(truncated);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(whole.left(names + 8));
    out.close();

    QString error;
    EXPECT_FALSE(InstallFontFile(truncated, userFonts, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("damaged"))) << qPrintable(error);
    EXPECT_TRUE(QDir(userFonts).entryList(QDir::Files).isEmpty());

    // The whole file installs.
    const QString good = temp.file(QStringLiteral("Whole Sans.ttf"));
    ASSERT_TRUE(QFile::copy(kSystemFont, good));
    EXPECT_TRUE(InstallFontFile(good, userFonts, &error)) << qPrintable(error);
    EXPECT_EQ(QDir(userFonts).entryList(QDir::Files), QStringList{"Whole Sans.ttf"});
}

} // namespace
} // namespace tavrin
