#include "layout/LayoutDocument.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TempDataDir;

const QString kNewFilingMessage = QStringLiteral("Our new filing system will\nadd '_LAYOUT' to this file name.");

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray Utf16Le(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    return bytes;
}

// The package is read back with the system's unzip, not with our own reader.
bool HaveUnzip() { return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty(); }

QByteArray RunUnzip(const QStringList &arguments)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), arguments);
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

QStringList MemberNames(const QString &zipPath)
{
    return QString::fromUtf8(RunUnzip({"-Z1", zipPath})).split(u'\n', Qt::SkipEmptyParts);
}

QByteArray MemberBytes(const QString &zipPath, const QString &member)
{
    return RunUnzip({"-p", zipPath, member});
}

struct ZipMember {
    QByteArray name;
    QByteArray data;
    bool symlink = false;
};

// A zip made directly with minizip, so that member names and contents are whatever a test needs.
void MakeZip(const QString &path, const std::vector<ZipMember> &members, int method = Z_DEFLATED)
{
    zipFile zf = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    for (const ZipMember &m : members) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2020;
        if (m.symlink)
            info.external_fa = uLong(S_IFLNK | 0777) << 16;
        const uLong madeBy = m.symlink ? (3u << 8) | 20u : 0u;
        ASSERT_EQ(zipOpenNewFileInZip4_64(zf, m.name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                          method ? Z_DEFAULT_COMPRESSION : 0, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                          Z_DEFAULT_STRATEGY, nullptr, 0, madeBy, 0, 0),
                  ZIP_OK);
        zipWriteInFileInZip(zf, m.data.constData(), unsigned(m.data.size()));
        zipCloseFileInZip(zf);
    }
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);
}

// A stored layout document whose strips show the given pictures, one strip each: the unpacking
// extracts only the members a layout uses.
QByteArray DocumentShowing(const QStringList &pictures)
{
    auto layout = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*layout, working, kWhite);
    layout->NumberOfColumns = 1;
    layout->NumberOfRows = int(pictures.size());
    for (int row = 0; row < pictures.size(); ++row)
        layout->strip(0, row).Picture.SubImageFileName = pictures[row];
    return StoredDocumentBytes(BuildLayoutDocument(*layout, "Background.jpg", DocumentForm::ForPackage));
}

// A board with pictures, a font and a prices text, its files in a working folder.
class PackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        work = temp.file("ZUP1-1");
        menus = temp.file("menus");
        QDir().mkpath(menus);
        layout = std::make_unique<MenuLayout>();
        layout->NumberOfColumns = 2;
        layout->NumberOfRows = 3;
        WriteBytes(work + "/Background.jpg", "background bytes");
        WriteBytes(work + "/logo.png", "logo bytes");
        WriteBytes(work + "/cake.jpg", "cake bytes");
        WriteBytes(work + "/arial.ttf", "font bytes");
        layout->strip(0, 0).Picture.SubImageFileName = work + "/logo.png";
        layout->strip(0, 1).Picture.SubImageFileName = work + "/deleted.jpg"; // left out silently
        layout->strip(1, 0).Picture.SubImageFileName = work + "/logo.png";    // shown twice: two members
        layout->strip(1, 2).Picture.SubImageFileName = work + "/cake.jpg";
        layout->strip(5, 0).Picture.SubImageFileName = work + "/cake.jpg";    // outside the board
        layout->strip(0, 0).mainItem().Text = "Burger";
        layout->strip(0, 0).prices().Text = "4.99~";
        fontList.add("Arial", work + "/arial.ttf");
        fontList.add("Gone Face", work + "/gone.ttf"); // listed, but no file to pack
    }

    PackageSources sources() const { return {*layout, true, work + "/Background.jpg", fontList, work}; }
    bool write(const QString &packagePath) { return WriteLayoutPackage(packagePath, sources(), prompter); }

    TempDataDir temp;
    QString work, menus;
    std::unique_ptr<MenuLayout> layout;
    FontList fontList;
    ScriptedPrompter prompter;
};

TEST_F(PackageTest, MembersInOrderAsAZipToolListsThem)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));

    EXPECT_EQ(MemberNames(package),
              QStringList({"Background.jpg", "Layout.XMARBIX", "logo.png", "logo.png", "cake.jpg", "arial.ttf",
                           "FontFileNames.txt"}));
    EXPECT_EQ(MemberBytes(package, "Background.jpg"), "background bytes");
    EXPECT_EQ(MemberBytes(package, "FontFileNames.txt"), Utf16Le("Arial,arial.ttf;Gone Face,gone.ttf;"));
    EXPECT_FALSE(QFile::exists(menus + "/Lunch_LAYOUT.zip"));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(PackageTest, StoredDocumentIsScrambledWithoutMarkers)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));

    const QByteArray stored = MemberBytes(package, "Layout.XMARBIX");
    EXPECT_EQ(stored, ReadBytes(work + "/Layout.XMARBIX"));
    const QString scrambled = DocumentTextFromBytes(stored);
    ASSERT_FALSE(scrambled.isEmpty());
    EXPECT_EQ(scrambled.front(), u'?'); // the stored form begins with the scrambled closing '>'
    const QString document = UnscrambleText(scrambled);
    EXPECT_TRUE(document.contains("4.99")) << document.toStdString();
    EXPECT_FALSE(document.contains(u'~'));
    EXPECT_EQ(FindTagValue(document, u"<BackgroundFileName>"), "Background.jpg");
}

// A reader that splits stored paths at the last "\\" (as earlier versions do) and one that splits
// at the last "/" must both find the pictures; a "~" in a picture's name is part of the name.
TEST_F(PackageTest, StoredPictureNamesAreBareFileNamesEveryReaderFinds)
{
    WriteBytes(work + "/BURGER~1.JPG", "burger bytes");
    layout->strip(1, 1).Picture.SubImageFileName = work + "/BURGER~1.JPG";
    ASSERT_TRUE(write(menus + "/Lunch_LAYOUT.MARBIX"));

    const QString document = UnscrambleText(DocumentTextFromBytes(ReadBytes(work + "/Layout.XMARBIX")));
    QStringList stored;
    for (qsizetype at = document.indexOf("<SubImageFileName>"); at >= 0;
         at = document.indexOf("<SubImageFileName>", at + 1))
        stored << FindTagValue(QStringView(document).mid(at), u"<SubImageFileName>");
    stored.removeAll(QString());
    EXPECT_EQ(stored, QStringList({"logo.png", "deleted.jpg", "logo.png", "BURGER~1.JPG", "cake.jpg"}));
    for (const QString &name : stored) {
        EXPECT_EQ(name.mid(name.lastIndexOf(u'\\') + 1), name);
        EXPECT_EQ(name.mid(name.lastIndexOf(u'/') + 1), name);
    }
}

TEST_F(PackageTest, LegacyLayoutTakesItsFilesFromTheSupportFolder)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QString support = menus + "/Lunch_SupportFiles";
    WriteBytes(support + "/Lunch-MARBIXBGD.jpg", "legacy background");
    const QString newWork = temp.file("ZUP2-2"); // not made yet: the writer creates it
    const MenuLayout empty;
    const PackageSources legacy{empty, false, support + "/Lunch-MARBIXBGD.jpg", FontList(), newWork};
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(WriteLayoutPackage(package, legacy, prompter));

    EXPECT_EQ(MemberNames(package), QStringList({"Background.jpg", "Layout.XMARBIX", "FontFileNames.txt"}));
    EXPECT_EQ(MemberBytes(package, "Background.jpg"), "legacy background");
    EXPECT_EQ(FilesIn(support), QStringList{"Lunch-MARBIXBGD.jpg"}) << "nothing is written into the user's folder";
    EXPECT_TRUE(QFile::exists(newWork + "/Layout.XMARBIX"));
    EXPECT_EQ(ReadBytes(newWork + "/FontFileNames.txt"), QByteArray()); // no fonts: an empty list file
    const QString document = UnscrambleText(DocumentTextFromBytes(MemberBytes(package, "Layout.XMARBIX")));
    EXPECT_EQ(FindTagValue(document, u"<BackgroundFileName>"), "Background.jpg");
}

TEST_F(PackageTest, RoundTripGivesBackTheSameFiles)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));
    const QString unpacked = temp.file("ZUP3-3");
    const UnpackResult result = UnpackLayoutPackage(package, unpacked);

    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.extracted, 7);
    EXPECT_EQ(result.refused, 0);
    const QStringList expected{"Background.jpg", "FontFileNames.txt", "Layout.XMARBIX", "arial.ttf", "cake.jpg",
                               "logo.png"};
    EXPECT_EQ(FilesIn(unpacked), expected);
    for (const QString &name : expected)
        EXPECT_EQ(ReadBytes(unpacked + "/" + name), ReadBytes(work + "/" + name)) << name.toStdString();
}

// Other zip writers use zip64 records even for small packages: "zip -fz" puts the sizes only in
// zip64 fields of the central directory, Python's force_zip64 in the local headers. Both unpack
// like any package.
TEST_F(PackageTest, Zip64PackagesFromOtherWritersUnpackWhole)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));
    const QString members = temp.file("members");
    ASSERT_TRUE(UnpackLayoutPackage(package, members).complete());
    const QStringList names = FilesIn(members);
    const QString pythonZip64 = QStringLiteral(
        "import sys, zipfile, os\n"
        "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for name in sys.argv[3:]:\n"
        "        with z.open(name, 'w', force_zip64=True) as w:\n"
        "            w.write(open(os.path.join(sys.argv[2], name), 'rb').read())\n");
    const struct {
        const char *writer;
        QString program;
        QStringList arguments;
    } cases[] = {
        {"zip -fz", "zip", QStringList{"-q", "-fz", menus + "/Zip_LAYOUT.MARBIX"} + names},
        {"python force_zip64", "python3",
         QStringList{"-c", pythonZip64, menus + "/Python_LAYOUT.MARBIX", members} + names},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.writer);
        if (QStandardPaths::findExecutable(c.program).isEmpty()) {
            ADD_FAILURE() << c.program.toStdString() << " is not installed";
            continue;
        }
        QProcess writer;
        writer.setWorkingDirectory(members);
        writer.start(c.program, c.arguments);
        ASSERT_TRUE(writer.waitForFinished(30000));
        ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
        const QString zip64Package = c.arguments.value(2);
        const QString unpacked = temp.file(QStringLiteral("unpacked-") + c.program);
        const UnpackResult result = UnpackLayoutPackage(zip64Package, unpacked);
        EXPECT_TRUE(result.complete());
        EXPECT_EQ(result.refused, 0);
        EXPECT_EQ(FilesIn(unpacked), names);
        for (const QString &name : names)
            EXPECT_EQ(ReadBytes(unpacked + "/" + name), ReadBytes(members + "/" + name)) << name.toStdString();
    }
}

// The old package beside the new one is cleaned up; nothing else ever is.
TEST_F(PackageTest, OldNameCleanUp)
{
    struct Case {
        const char *package;
        const char *existing;   // a file there before the save
        bool existingRemains;
        bool message;
    };
    const Case cases[] = {
        {"Lunch_LAYOUT.MARBIX", "Lunch.MARBIX", false, true},
        {"Lunch_LAYOUT.MARBIX", "Other.MARBIX", true, false},
        {"Lunch.MARBIX", "Lunch.MARBIX", true, false},                       // never deletes what it wrote
        {"Old_LAYOUT/Lunch_LAYOUT.MARBIX", "Old/Lunch.MARBIX", true, false}, // other folders are not ours
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.package);
        TempDataDir folder;
        ScriptedPrompter messages;
        const QString existing = folder.file(c.existing), package = folder.file(c.package);
        WriteBytes(existing, "older package");
        QDir().mkpath(QFileInfo(package).path());
        ASSERT_TRUE(WriteLayoutPackage(package, sources(), messages));
        EXPECT_TRUE(QFile::exists(package));
        EXPECT_EQ(QFile::exists(existing), c.existingRemains);
        EXPECT_EQ(messages.shown, c.message ? QStringList{kNewFilingMessage} : QStringList{});
    }
}

TEST_F(PackageTest, PackageNameWithoutExtensionUsesADifferentTemporaryName)
{
    const QString package = menus + "/Lunch.jpg";
    ASSERT_TRUE(write(package));
    EXPECT_TRUE(UnpackLayoutPackage(package, temp.file("check")).extracted > 0);
    EXPECT_EQ(FilesIn(menus), QStringList{"Lunch.jpg"});
}

TEST_F(PackageTest, ReadOnlyPackageIsNotReplaced)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    WriteBytes(package, "the old package");
    // The write bits are what marks a file read-only here; root passes access() regardless.
    ASSERT_EQ(::chmod(QFile::encodeName(package).constData(), 0444), 0);

    EXPECT_FALSE(write(package));
    EXPECT_EQ(ReadBytes(package), "the old package");
    EXPECT_EQ(FilesIn(menus), QStringList{"Lunch_LAYOUT.MARBIX"}); // refused before anything was built
}

TEST_F(PackageTest, ReplacingKeepsPermissionsAndTheUsersOwnFilesBeside)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    WriteBytes(package, "the old package");
    ASSERT_EQ(::chmod(QFile::encodeName(package).constData(), 0640), 0);
    // A file of the user's under the name earlier versions used for the temporary archive.
    WriteBytes(menus + "/Lunch_LAYOUT.zip", "the user's own archive");

    ASSERT_TRUE(write(package));
    EXPECT_TRUE(UnpackLayoutPackage(package, temp.file("check")).extracted > 0);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(package).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(menus + "/Lunch_LAYOUT.zip"), "the user's own archive");
    EXPECT_EQ(FilesIn(menus), (QStringList{"Lunch_LAYOUT.MARBIX", "Lunch_LAYOUT.zip"}));
}

// The writer is held to the limits the unpacking applies: a package it writes always opens
// whole, and what would not is refused with the old package left in place.
TEST_F(PackageTest, MembersTheUnpackingWouldRefuseAreNotWritten)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    WriteBytes(package, "the old package");
    WriteBytes(work + "/cake.jpg", QByteArray(200000, 'c'));
    struct Case {
        const char *what;
        UnpackLimits limits;
        bool written;
    };
    Case cases[] = {
        {"within the limits", {}, true},
        {"a member over the member limit", {}, false},
        {"members over the total limit", {}, false},
        {"more members than allowed", {}, false},
    };
    cases[1].limits.maxMemberBytes = 199999;
    cases[2].limits.maxTotalBytes = 200100; // the cake alone would fit
    cases[3].limits.maxMembers = 4;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WriteLayoutPackage(package, sources(), prompter, c.limits), c.written);
        EXPECT_EQ(FilesIn(menus), QStringList{"Lunch_LAYOUT.MARBIX"});
        if (c.written) {
            const UnpackResult unpacked = UnpackLayoutPackage(package, temp.file("check"), c.limits);
            EXPECT_EQ(unpacked.refused, 0);
            WriteBytes(package, "the old package");
        } else {
            EXPECT_EQ(ReadBytes(package), "the old package");
        }
    }
}

TEST_F(PackageTest, ArchiveThatCannotBeCreatedLeavesThePackage)
{
    EXPECT_FALSE(write(temp.file("no such folder/Lunch_LAYOUT.MARBIX")));
    EXPECT_FALSE(QFile::exists(temp.file("no such folder")));
}

TEST_F(PackageTest, ReadOnlyFolderLeavesThePackage)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    WriteBytes(package, "the old package");
    ASSERT_EQ(::chmod(QFile::encodeName(menus).constData(), 0555), 0);
    EXPECT_FALSE(write(package));
    ::chmod(QFile::encodeName(menus).constData(), 0755);
    EXPECT_EQ(ReadBytes(package), "the old package");
    EXPECT_EQ(FilesIn(menus), QStringList{"Lunch_LAYOUT.MARBIX"});
}

// Faces that share a file share one member; two different files of the same name get names of
// their own; the list file is written from the same pairs, so that every name it holds is a
// member and no "," or ";" inside a name can split an entry.
TEST_F(PackageTest, EachFontFileIsPackedOnceUnderANameOfItsOwn)
{
    const QString system = temp.file("system-fonts"), user = temp.file("user-fonts");
    WriteBytes(system + "/LiberationSans-Regular.ttf", "liberation");
    WriteBytes(system + "/DejaVuSans.ttf", "system dejavu");
    WriteBytes(user + "/DejaVuSans.ttf", "user dejavu");
    WriteBytes(user + "/odd,name;1.ttf", "odd");
    WriteBytes(user + "/LOGO.png", "a font file named like a picture");
    ASSERT_TRUE(QFile::link(system + "/LiberationSans-Regular.ttf", user + "/liberation-link.ttf"));
    fontList = {};
    fontList.add("Arial", system + "/LiberationSans-Regular.ttf");
    fontList.add("arial", system + "/LiberationSans-Regular.ttf");
    fontList.add("Liberation Sans", user + "/liberation-link.ttf"); // the same file by another path
    fontList.add("DejaVu Sans", system + "/DejaVuSans.ttf");
    fontList.add("My Sans", user + "/DejaVuSans.ttf");
    fontList.add("Odd", user + "/odd,name;1.ttf");
    fontList.add("Semi;colon, Face", system + "/DejaVuSans.ttf"); // cannot be listed: packed all the same
    fontList.add("Pictured", user + "/LOGO.png");

    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));
    const QString unpacked = temp.file("unpacked");
    const UnpackResult result = UnpackLayoutPackage(package, unpacked);
    EXPECT_EQ(result.refused, 0);
    // Background, document, logo twice, cake, five font files, the list.
    EXPECT_EQ(result.extracted, 11);
    EXPECT_EQ(FilesIn(unpacked),
              QStringList({"Background.jpg", "DejaVuSans(1).ttf", "DejaVuSans.ttf", "FontFileNames.txt",
                           "LOGO(1).png", "Layout.XMARBIX", "LiberationSans-Regular.ttf", "cake.jpg", "logo.png",
                           "odd_name_1.ttf"}));
    EXPECT_EQ(ReadBytes(unpacked + "/LiberationSans-Regular.ttf"), "liberation");
    EXPECT_EQ(ReadBytes(unpacked + "/DejaVuSans.ttf"), "system dejavu");
    EXPECT_EQ(ReadBytes(unpacked + "/DejaVuSans(1).ttf"), "user dejavu");
    EXPECT_EQ(ReadBytes(unpacked + "/odd_name_1.ttf"), "odd");
    EXPECT_EQ(ReadBytes(unpacked + "/logo.png"), "logo bytes");
    EXPECT_EQ(ReadBytes(unpacked + "/LOGO(1).png"), "a font file named like a picture");
    EXPECT_EQ(ReadBytes(unpacked + "/FontFileNames.txt"),
              Utf16Le("Arial,LiberationSans-Regular.ttf;arial,LiberationSans-Regular.ttf;"
                      "Liberation Sans,LiberationSans-Regular.ttf;DejaVu Sans,DejaVuSans.ttf;"
                      "My Sans,DejaVuSans(1).ttf;Odd,odd_name_1.ttf;Pictured,LOGO(1).png;"));
}

TEST(FontList, FileIsUtf16LeWithoutBom)
{
    TempDataDir temp;
    const QString path = temp.file("FontFileNames.txt");
    WriteBytes(path, "an older, longer list");
    ASSERT_TRUE(WriteFontListFile(temp.path(), QStringLiteral("Ä,a.ttf;")));
    EXPECT_EQ(ReadBytes(path), QByteArray("\xC4\0,\0a\0.\0t\0t\0f\0;\0", 16));
    ASSERT_TRUE(WriteFontListFile(temp.path(), QString()));
    EXPECT_EQ(ReadBytes(path), QByteArray());
}

TEST(Unpack, LegacyMemberNames)
{
    TempDataDir temp;
    const QString package = temp.file("Lunch.MARBIX"), work = temp.file("work");
    MakeZip(package, {{"Lunch-MARBIXBGD.jpg", "bg"}, {"MarbixLayout_Lunch.XMARBIX", "doc"}, {"pizza.jpg", "pizza"}});
    UnpackLayoutPackage(package, work);
    // The document names no picture: pizza.jpg stays in the archive.
    EXPECT_EQ(FilesIn(work), QStringList({"Background.jpg", "Layout.XMARBIX"}));
    EXPECT_EQ(ReadBytes(work + "/Background.jpg"), "bg");
    EXPECT_EQ(ReadBytes(work + "/Layout.XMARBIX"), "doc");

    // A legacy member does not replace a file that has the current name already.
    const QString both = temp.file("both.MARBIX"), work2 = temp.file("work2");
    MakeZip(both, {{"Background.jpg", "current"}, {"x-MARBIXBGD.jpg", "legacy"}, {"marbixlayout.X", "lower case"}});
    UnpackLayoutPackage(both, work2);
    EXPECT_EQ(FilesIn(work2), QStringList({"Background.jpg", "x-MARBIXBGD.jpg"}));
    EXPECT_EQ(ReadBytes(work2 + "/Background.jpg"), "current");
}

TEST(Unpack, SecondMemberOfTheSameNameReplacesTheFirst)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX"), work = temp.file("work");
    MakeZip(package, {{"Layout.XMARBIX", DocumentShowing({"logo.png"})},
                      {"logo.png", "first, longer content"},
                      {"logo.png", "second"}});
    EXPECT_EQ(UnpackLayoutPackage(package, work).extracted, 3);
    EXPECT_EQ(ReadBytes(work + "/logo.png"), "second");
}

TEST(Unpack, MembersNeverLeaveTheWorkingFolder)
{
    TempDataDir temp;
    const QString package = temp.file("evil.MARBIX"), work = temp.file("outer/work");
    MakeZip(package, {
                         {"Layout.XMARBIX", DocumentShowing({"evil1", "evil2", "evil3", "evil4", "plain.txt"})},
                         {"../evil1", "1"},
                         {"/abs/evil2", "2"},
                         {"..\\evil3", "3"},
                         {"a/../../evil4", "4"},
                         {"..", "dots"},
                         {"", "empty"},
                         {"sub/", ""},
                         {"link", "/etc/passwd", true},
                         {"plain.txt", "plain"},
                     });
    const UnpackResult result = UnpackLayoutPackage(package, work);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.extracted, 6);
    EXPECT_EQ(result.refused, 4);
    EXPECT_EQ(FilesIn(temp.file("outer")), QStringList{"work"});
    EXPECT_EQ(FilesIn(temp.path()), QStringList({"evil.MARBIX", "outer"}));
    EXPECT_EQ(FilesIn(work), QStringList({"Layout.XMARBIX", "evil1", "evil2", "evil3", "evil4", "plain.txt"}));
    EXPECT_EQ(ReadBytes(work + "/evil4"), "4");
    EXPECT_FALSE(QFile::exists("/abs/evil2"));
}

TEST(Unpack, ExistingLinkIsReplacedNotWrittenThrough)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX"), work = temp.file("work"), outside = temp.file("outside.txt");
    WriteBytes(outside, "keep me");
    QDir().mkpath(work);
    ASSERT_TRUE(QFile::link(outside, work + "/logo.png"));
    MakeZip(package, {{"Layout.XMARBIX", DocumentShowing({"logo.png"})}, {"logo.png", "from the package"}});

    EXPECT_EQ(UnpackLayoutPackage(package, work).extracted, 2);
    EXPECT_EQ(ReadBytes(outside), "keep me");
    EXPECT_FALSE(QFileInfo(work + "/logo.png").isSymLink());
    EXPECT_EQ(ReadBytes(work + "/logo.png"), "from the package");
}

TEST(Unpack, DamagedMemberIsNotLeftBehind)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX"), work = temp.file("work");
    const QByteArray payload = "DAMAGED-MEMBER-PAYLOAD-0123456789";
    MakeZip(package, {{"Layout.XMARBIX", DocumentShowing({"good.txt", "bad.txt"})}, {"good.txt", "good"}, {"bad.txt", payload}},
            0); // stored: the bytes appear as they are
    QByteArray zip = ReadBytes(package);
    const qsizetype at = zip.indexOf(payload);
    ASSERT_GE(at, 0);
    zip[at + 5] = 'X';
    WriteBytes(package, zip);

    const UnpackResult result = UnpackLayoutPackage(package, work);
    EXPECT_EQ(result.extracted, 2);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(FilesIn(work), QStringList({"Layout.XMARBIX", "good.txt"}));
}

TEST(Unpack, DamagedCopyNeverReplacesAGoodMemberOfTheSameName)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX"), work = temp.file("work");
    const QByteArray payload = "DAMAGED-MEMBER-PAYLOAD-0123456789";
    MakeZip(package, {{"Layout.XMARBIX", DocumentShowing({"logo.png"})}, {"logo.png", "good logo"}, {"logo.png", payload}},
            0);
    QByteArray zip = ReadBytes(package);
    const qsizetype at = zip.indexOf(payload);
    ASSERT_GE(at, 0);
    zip[at + 5] = 'X';
    WriteBytes(package, zip);

    const UnpackResult result = UnpackLayoutPackage(package, work);
    EXPECT_EQ(result.extracted, 2);
    EXPECT_EQ(result.refused, 1);
    EXPECT_TRUE(result.complete()) << "a damaged member is refused, not a write failure";
    EXPECT_EQ(FilesIn(work), QStringList({"Layout.XMARBIX", "logo.png"}));
    EXPECT_EQ(ReadBytes(work + "/logo.png"), "good logo");
}

// Sets a 32-bit field of the named member in both its local and its central header.
void PatchMemberHeaders(QByteArray &zip, const QByteArray &name, int localOffset, int centralOffset, quint32 value)
{
    const auto patch = [&](const QByteArray &signature, int nameOffset, int fieldOffset) {
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4)) {
            if (zip.mid(at + nameOffset, name.size()) != name)
                continue;
            for (int i = 0; i < 4; ++i)
                zip[at + fieldOffset + i] = char((value >> (8 * i)) & 0xff);
        }
    };
    patch(QByteArray("PK\x03\x04", 4), 30, localOffset);
    patch(QByteArray("PK\x01\x02", 4), 46, centralOffset);
}

// Compressed members whose headers do not tell the truth about them are refused and leave no
// file: a wrong CRC, fewer or more bytes than they hold, damaged compressed data.
TEST(Unpack, CompressedMembersThatDisagreeWithTheirHeadersAreRefused)
{
    QByteArray photo(40000, '\0');
    for (qsizetype i = 0; i < photo.size(); ++i)
        photo[i] = char((i * 7919) >> 5);
    struct Case {
        const char *what;
        int localOffset, centralOffset; // the header field changed (0: the data instead)
        quint32 value;
    };
    const Case cases[] = {
        {"another CRC", 14, 16, 0x12345678u},
        {"fewer bytes than it holds", 22, 24, quint32(photo.size() - 100)},
        {"more bytes than it holds", 22, 24, quint32(photo.size() + 100)},
        {"damaged data", 0, 0, 0},
    };
    for (const Case &c : cases) {
        TempDataDir temp;
        const QString package = temp.file("p.MARBIX"), work = temp.file("work");
        MakeZip(package, {{"Layout.XMARBIX", DocumentShowing({"photo.jpg"})}, {"photo.jpg", photo}});
        QByteArray zip = ReadBytes(package);
        if (c.localOffset) {
            PatchMemberHeaders(zip, "photo.jpg", c.localOffset, c.centralOffset, c.value);
        } else {
            const qsizetype data = zip.indexOf("photo.jpg") + 9 + 200;
            zip[data] = char(~zip[data]);
        }
        WriteBytes(package, zip);

        const UnpackResult result = UnpackLayoutPackage(package, work);
        EXPECT_EQ(result.extracted, 1) << c.what;
        EXPECT_EQ(result.refused, 1) << c.what;
        EXPECT_EQ(FilesIn(work), QStringList{"Layout.XMARBIX"}) << c.what;
    }
}

// A member the disk cannot take is a failure the caller must hear of, and leaves no partial
// file. A file-size limit stands in for a full disk (it fails write() with EFBIG the same way).
TEST(Unpack, MemberThatCannotBeWrittenIsReported)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX"), work = temp.file("work");
    QByteArray picture(300 * 1024, '\0');
    for (qsizetype i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 7919) >> 3); // poorly compressible, large once unpacked
    MakeZip(package,
            {{"Layout.XMARBIX", DocumentShowing({"photo.jpg"})}, {"photo.jpg", picture}, {"..", "refused on purpose"}});

    struct rlimit previous;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit small = previous;
    small.rlim_cur = 64 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const UnpackResult result = UnpackLayoutPackage(package, work);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.extracted, 1);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(result.unwritten, 1);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(FilesIn(work), QStringList{"Layout.XMARBIX"});
}

// Members larger than the limits allow are refused; one the layout uses makes the unpacking
// incomplete, so that the open fails. Font files are always used.
TEST(Unpack, SizeLimits)
{
    TempDataDir temp;
    const QString package = temp.file("p.MARBIX");
    MakeZip(package, {{"a.ttf", QByteArray(60, 'a')}, {"big.ttf", QByteArray(200, 'b')}, {"c.ttf", QByteArray(60, 'c')},
                      {"d.ttf", QByteArray(60, 'd')}});
    struct Case {
        std::int64_t memberBytes, totalBytes;
        QStringList files;
    };
    const Case cases[] = {
        {100, 1000, {"a.ttf", "c.ttf", "d.ttf"}}, // the big member alone is too large
        {1000, 150, {"a.ttf", "c.ttf"}},          // big, then d, would exceed the total
    };
    for (const Case &c : cases) {
        UnpackLimits limits;
        limits.maxMemberBytes = c.memberBytes;
        limits.maxTotalBytes = c.totalBytes;
        const QString work = temp.file(QString("work%1").arg(c.totalBytes));
        const UnpackResult result = UnpackLayoutPackage(package, work, limits);
        EXPECT_EQ(FilesIn(work), c.files) << c.totalBytes;
        EXPECT_EQ(result.extracted, c.files.size());
        EXPECT_FALSE(result.complete());
    }
}

// A small package may hold members that are huge once unpacked (zeros compress to almost
// nothing). Members the layout does not use are never written, whatever their size; the
// layout's own files still are.
TEST_F(PackageTest, MembersTheLayoutDoesNotUseAreNotUnpacked)
{
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(write(package));
    // Added the way another zip tool would append to the package.
    zipFile zf = zipOpen64(QFile::encodeName(package).constData(), APPEND_STATUS_ADDINZIP);
    ASSERT_NE(zf, nullptr);
    const QByteArray zeros(1 << 20, '\0');
    for (const char *name : {"zeros.bin", "unused.jpg"}) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zf, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1), ZIP_OK);
        for (int i = 0; i < 300; ++i) // 300 MiB each, 600 MiB in all
            ASSERT_EQ(zipWriteInFileInZip(zf, zeros.constData(), unsigned(zeros.size())), ZIP_OK);
        zipCloseFileInZip(zf);
    }
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);
    ASSERT_LT(QFileInfo(package).size(), 4 << 20);

    const QString unpacked = temp.file("unpacked");
    const UnpackResult result = UnpackLayoutPackage(package, unpacked);
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(result.skipped, 2);
    EXPECT_EQ(FilesIn(unpacked), QStringList({"Background.jpg", "FontFileNames.txt", "Layout.XMARBIX", "arial.ttf",
                                              "cake.jpg", "logo.png"}));
}

TEST(Unpack, NotAnArchive)
{
    TempDataDir temp;
    WriteBytes(temp.file("p.MARBIX"), "not a zip");
    const UnpackResult result = UnpackLayoutPackage(temp.file("p.MARBIX"), temp.file("work"));
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.extracted, 0);
}

} // namespace
} // namespace tavrin
