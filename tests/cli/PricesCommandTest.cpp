#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

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
        // The layouts are named from the list's folder.
        ASSERT_TRUE(QString::fromUtf8(Read(csv)).contains("\r\nboards/SampleLandscape_LAYOUT.MARBIX,1,1,BURGERS,"));
    }
    // The files of the boards folder with their bytes.
    std::map<QString, QByteArray> boardFiles()
    {
        std::map<QString, QByteArray> files;
        for (const QString &name : QDir(folder.filePath("boards")).entryList(QDir::Files))
            files[name] = Read(folder.filePath("boards/" + name));
        return files;
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
    edit("boards/SampleLandscape_LAYOUT.MARBIX,1,2,Classic Burger,1,1,", "6.19", "540");
    edit("boards/SampleLandscape_LAYOUT.MARBIX,1,10,Onion Rings,1,2,", "3.89", "590");
    edit("boards/SampleLandscape_LAYOUT.MARBIX,2,10,Iced Tea,1,1,", "1.99", "95");

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

TEST_F(PricesCommand, AStaleRowLeavesEveryLayoutOfTheListUntouched)
{
    // A good change to the portrait board and one to the landscape board, whose list row went
    // stale: the board changed since the export.
    QString text = QString::fromUtf8(Read(csv));
    text.replace(",1,2,Classic Burger,1,1,5.49,500,", ",1,2,Classic Burger,1,1,5.79,500,");
    text.replace("boards/SampleLandscape_LAYOUT.MARBIX,1,10,Onion Rings,", "boards/SampleLandscape_LAYOUT.MARBIX,1,10,Onion Hoops,");
    ASSERT_TRUE(text.contains("5.79,500"));
    ASSERT_TRUE(Write(csv, text.toUtf8()));
    const auto before = boardFiles();

    const CliRun applied = Cli({"prices", "apply", csv});
    EXPECT_EQ(applied.exitCode, 1);
    const int line = int(text.left(text.indexOf("Onion Hoops")).count("\r\n")) + 1;
    EXPECT_TRUE(applied.errors.contains(QString("list.csv: line %1: column 1, row 10 \"Onion Hoops\": the main item "
                                                "is now \"Onion Rings\"")
                                            .arg(line)))
        << applied.errors.toStdString();
    EXPECT_TRUE(applied.errors.contains("No layout was changed."));
    EXPECT_TRUE(boardFiles() == before);
}

TEST_F(PricesCommand, ALayoutOutsideTheListsFolderIsRefusedUnlessAllowed)
{
    // The list, moved into a folder of its own, names the boards beside it ("../boards/...") or
    // by absolute path.
    QDir().mkpath(folder.filePath("lists"));
    QString text = QString::fromUtf8(Read(csv));
    text.replace(",1,2,Classic Burger,1,1,5.99,540,", ",1,2,Classic Burger,1,1,6.19,540,");
    const QString moved = folder.filePath("lists/list.csv");
    const struct {
        const char *what;
        QString named;
    } cases[] = {{"relative", "../boards/"}, {"absolute", folder.filePath("boards") + "/"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Write(moved, QString(text).replace("\r\nboards/", "\r\n" + c.named).toUtf8()));
        const auto before = boardFiles();
        const CliRun refused = Cli({"prices", "apply", moved});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.errors.contains("list.csv: line 2: \"" + c.named + "SampleLandscape_LAYOUT.MARBIX\" is outside "
                                            "the list's folder"))
            << refused.errors.toStdString();
        EXPECT_TRUE(boardFiles() == before);
    }
    const CliRun allowed = Cli({"prices", "apply", moved, "--allow-outside"});
    EXPECT_EQ(allowed.exitCode, 0) << allowed.errors.toStdString();
    EXPECT_TRUE(document(landscape).contains("6.19>540^7.49>720"));
}

TEST_F(PricesCommand, AWorkbookGoesThroughLikeTheCsvFile)
{
    const QString xlsx = folder.filePath("list.xlsx");
    ASSERT_EQ(Cli({"prices", "export", landscape, portrait, "-o", xlsx}).exitCode, 0);
    // Applied unchanged, the workbook changes nothing.
    const auto before = boardFiles();
    const CliRun same = Cli({"prices", "apply", xlsx});
    EXPECT_EQ(same.exitCode, 0) << same.errors.toStdString();
    EXPECT_EQ(same.output, "");
    EXPECT_TRUE(boardFiles() == before);
}

TEST_F(PricesCommand, AListThatIsNoFileIsRefusedAtOnce)
{
    const QString fifo = folder.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &list : {QString("/dev/zero"), fifo}) {
        const CliRun run = Cli({"prices", "apply", list});
        EXPECT_EQ(run.exitCode, 1) << list.toStdString();
        EXPECT_TRUE(run.errors.contains(list + ": not a regular file")) << run.errors.toStdString();
    }
}

TEST_F(PricesCommand, CheckReportsALinePerFindingASummaryAndJson)
{
    // The sample is a well-made board: the one thing to report is the combo meal's price
    // without a calorie count.
    const CliRun found = Cli({"check", landscape});
    EXPECT_EQ(found.exitCode, 1);
    EXPECT_EQ(found.output, landscape + ": column 1, row 15 \"Combo Meal\": price without a calorie count: 3.00\n" + landscape
                                + ": 1 finding (prices without calorie counts: 1)\n");
    const CliRun json = Cli({"check", landscape, portrait, "--format", "json"});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonArray boards = QJsonDocument::fromJson(json.output.toUtf8()).object()["boards"].toArray();
    ASSERT_EQ(boards.size(), 2);
    const QJsonArray findings = boards[0].toObject()["findings"].toArray();
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0].toObject()["kind"].toString(), "price-without-calories");
    EXPECT_EQ(findings[0].toObject()["row"].toInt(), 15);
    EXPECT_EQ(findings[0].toObject()["mainItem"].toString(), "Combo Meal");
    EXPECT_TRUE(boards[1].toObject()["findings"].toArray().isEmpty());

    // Given its calories through the price list, the board passes.
    edit("boards/SampleLandscape_LAYOUT.MARBIX,1,15,Combo Meal,1,1,", "3.00", "950");
    ASSERT_EQ(Cli({"prices", "apply", csv}).exitCode, 0);
    const CliRun clean = Cli({"check", landscape});
    EXPECT_EQ(clean.exitCode, 0) << clean.output.toStdString();
    EXPECT_EQ(clean.output, landscape + ": no findings\n");
    // The title-safe area is one option away.
    EXPECT_TRUE(Cli({"check", landscape, "--title-safe"}).output.contains("outside the safe area"));
    EXPECT_EQ(Cli({"check", landscape, "--safe-area", "60"}).exitCode, 2);
}

// Commands that open layouts leave the data folder as they found it, also on a computer that
// lacks the packages' fonts (their copies for the run are made there).
TEST(CommandLineFolders, NoWorkingFolderIsLeftBehindByAnyCommand)
{
    QTemporaryDir folder, dataFolder;
    const QString fonts = folder.filePath("fonts");
    QDir().mkpath(fonts);
    ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", fonts + "/DejaVuSans.ttf"));
    const QString config = folder.filePath("fonts.conf");
    ASSERT_TRUE(Write(config, QString("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                                      "<dir>%1</dir><cachedir>%2</cachedir></fontconfig>")
                                  .arg(fonts, folder.filePath("cache"))
                                  .toUtf8()));
    ASSERT_EQ(test::RunCli({"samples", folder.path()}, dataFolder.path()).exitCode, 0);
    const QString layout = folder.filePath("SampleLandscape_LAYOUT.MARBIX");
    const QString list = folder.filePath("list.csv");
    const QByteArray previous = qgetenv("FONTCONFIG_FILE");
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
    const QList<QStringList> commands = {
        {"check", layout},
        {"document", layout, "--opened"},
        {"prices", "export", layout, "-o", list},
        {"prices", "apply", list},
        {"render", layout, "-o", folder.filePath("out.jpg")},
    };
    for (const QStringList &command : commands) {
        const test::CliRun run = test::RunCli(command, dataFolder.path());
        EXPECT_NE(run.exitCode, -1) << command.join(' ').toStdString();
        EXPECT_EQ(QDir(dataFolder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList())
            << command.join(' ').toStdString();
    }
    if (previous.isNull())
        qunsetenv("FONTCONFIG_FILE");
    else
        qputenv("FONTCONFIG_FILE", previous);
}

} // namespace
} // namespace tavrin
