#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::CliRun;

CliRun Cli(const QStringList &arguments)
{
    // A data folder of the tests' own, for the editor's working folders.
    static QTemporaryDir dataFolder;
    return test::RunCli(arguments, dataFolder.path());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

class PricesCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Cli({"samples", folder.filePath("boards")}).exitCode, 0);
        landscape = folder.filePath("boards/SampleLandscape_LAYOUT.MARBIX");
        portrait = folder.filePath("boards/SamplePortrait_LAYOUT.MARBIX");
        csv = folder.filePath("list.csv");
        const CliRun exported = Cli({"prices", "export", landscape, portrait, "-o", csv});
        ASSERT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
    }
    // Replaces one exported row's price and calorie fields (the 7th and 8th).
    void edit(const QString &rowStart, const QString &price, const QString &calories)
    {
        QStringList lines = QString::fromUtf8(Read(csv)).split("\r\n");
        bool found = false;
        for (QString &line : lines) {
            if (!line.startsWith(rowStart))
                continue;
            QStringList fields = line.split(',');
            fields[6] = price;
            fields[7] = calories;
            line = fields.join(',');
            found = true;
            break;
        }
        ASSERT_TRUE(found) << rowStart.toStdString();
        ASSERT_TRUE(Write(csv, lines.join("\r\n").toUtf8()));
    }
    // The package's document as the editor's open command leaves it (the open fits the frames
    // of text-only strips), with the name of the run's working folder set aside.
    QString document(const QString &package)
    {
        return Cli({"document", package, "--opened"}).output.replace(QRegularExpression("ZUP[^/<]*"), "ZUP");
    }
    int unpackings = 0;

    QTemporaryDir folder;
    QString landscape, portrait, csv;
};

TEST_F(PricesCommand, AppliesTheChangedPartsSavesThatBoardAndWritesItsProof)
{
    const QString before = document(landscape);
    const QByteArray portraitBefore = Read(portrait);
    const QByteArray tvBefore = Read(folder.filePath("boards/SampleLandscape_TV.jpg"));
    edit(landscape + ",1,2,Classic Burger,1,1,", "6.19", "540");
    edit(landscape + ",1,10,Onion Rings,1,2,", "3.89", "590");
    edit(landscape + ",2,10,Iced Tea,1,1,", "1.99", "95");

    const CliRun applied = Cli({"prices", "apply", csv, "--proof", folder.filePath("proof")});
    ASSERT_EQ(applied.exitCode, 0) << applied.errors.toStdString();
    EXPECT_TRUE(applied.output.contains("SampleLandscape_LAYOUT.MARBIX: 3 price entries changed"));

    // The package's document differs in exactly the three parts.
    QString expected = before;
    expected.replace("5.99>540^7.49>720", "6.19>540^7.49>720");
    expected.replace("2.99>410^3.79>590", "2.99>410^3.89>590");
    expected.replace("1.99>90^2.49>120", "1.99>95^2.49>120");
    ASSERT_NE(expected, before);
    EXPECT_TRUE(document(landscape) == expected);
    // Its TV image was written anew beside it; the board without changes is untouched.
    EXPECT_NE(Read(folder.filePath("boards/SampleLandscape_TV.jpg")), tvBefore);
    EXPECT_EQ(Read(portrait), portraitBefore);

    const QImage proof(folder.filePath("proof/SampleLandscape_LAYOUT_PRICE_PROOF.png"));
    ASSERT_FALSE(proof.isNull());
    EXPECT_GT(proof.width(), 1920);
    EXPECT_EQ(proof.height(), 1080);
    EXPECT_EQ(QDir(folder.filePath("proof")).entryList(QDir::Files).size(), 1);

    // Applied again, the same list no longer matches: its values at export are gone.
    const CliRun again = Cli({"prices", "apply", csv});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.errors.contains("has changed since the export")) << again.errors.toStdString();
}

TEST_F(PricesCommand, AStaleRowLeavesItsLayoutUntouched)
{
    edit(landscape + ",1,2,Classic Burger,1,1,", "6.19", "540");
    // The board changed since the export: the row's item is another now.
    QString text = QString::fromUtf8(Read(csv));
    text.replace(landscape + ",1,10,Onion Rings,", landscape + ",1,10,Onion Hoops,");
    ASSERT_TRUE(Write(csv, text.toUtf8()));
    const QByteArray packageBefore = Read(landscape);
    const QByteArray tvBefore = Read(folder.filePath("boards/SampleLandscape_TV.jpg"));
    const QStringList filesBefore = QDir(folder.filePath("boards")).entryList(QDir::Files);

    const CliRun applied = Cli({"prices", "apply", csv});
    EXPECT_EQ(applied.exitCode, 1);
    const int line = int(text.left(text.indexOf("Onion Hoops")).count("\r\n")) + 1;
    EXPECT_TRUE(applied.errors.contains(QString("list.csv: line %1: column 1, row 10 \"Onion Hoops\": the main item "
                                                "is now \"Onion Rings\"")
                                            .arg(line)))
        << applied.errors.toStdString();
    EXPECT_EQ(Read(landscape), packageBefore);
    EXPECT_EQ(Read(folder.filePath("boards/SampleLandscape_TV.jpg")), tvBefore);
    EXPECT_EQ(QDir(folder.filePath("boards")).entryList(QDir::Files), filesBefore);
}

TEST_F(PricesCommand, CheckReportsALinePerFindingAndExitsOneWhenAnythingIsFound)
{
    // With room for the board's small print and no safe margin, the one thing left is the
    // combo meal's price without a calorie count.
    const QStringList relaxed = {"--min-text-height", "14", "--safe-area", "0"};
    const CliRun found = Cli(QStringList{"check", landscape} + relaxed);
    EXPECT_EQ(found.exitCode, 1);
    EXPECT_EQ(found.output, landscape + ": column 1, row 15 \"Combo Meal\": price without a calorie count: 3.00\n");

    // Given its calories through the price list, the board passes.
    edit(landscape + ",1,15,Combo Meal,1,1,", "3.00", "950");
    ASSERT_EQ(Cli({"prices", "apply", csv}).exitCode, 0);
    const CliRun clean = Cli(QStringList{"check", landscape} + relaxed);
    EXPECT_EQ(clean.exitCode, 0) << clean.output.toStdString();
    EXPECT_EQ(clean.output, "");

    EXPECT_EQ(Cli({"check", landscape, "--safe-area", "60"}).exitCode, 2);
}

} // namespace
} // namespace tavrin
