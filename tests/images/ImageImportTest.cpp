#include "ImportTestPictures.h"

#include "images/ImageDecoding.h"
#include "images/ImageImport.h"
#include "images/Proxies.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using namespace test;

class ImageImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(working()));
        ASSERT_TRUE(QDir().mkpath(chosen()));
    }
    QString working() const { return dir.file(QStringLiteral("work")); }
    QString chosen() const { return dir.file(QStringLiteral("chosen")); }
    QString source(const QString &name, const QByteArray &bytes) { return WriteBytes(chosen() + '/' + name, bytes); }
    std::optional<ImportedPicture> import(const QString &path) { return ImportPictureFile(path, working(), prompter); }

    TempDataDir dir;
    ScriptedPrompter prompter;
};

TEST(ImportedPictureName, NormalisesTheExtensionAndRefusesOtherFiles)
{
    const struct {
        const char *source;
        const char *name;
    } cases[] = {
        {"/photos/Menu.JPEG", "Menu.jpg"},  {"/photos/Menu.JPG", "Menu.jpg"}, {"/photos/menu.jpeg", "menu.jpg"},
        {"/photos/menu.jpg", "menu.jpg"},   {"/photos/logo.png", "logo.png"}, {"/photos/anim.gif", "anim.gif"},
        {"C:\\Pics\\Fries.JPG", "Fries.jpg"}, {"/photos/notes.txt", ""},      {"/photos/logo.PNG", ""},
        {"/photos/.jpg", ""},                 // the extension must come after the first character
        {"/photos.jpg/notes.txt", ""},        // a folder's name does not make a file a picture
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImportedPictureName(QString::fromUtf8(c.source)), QString::fromUtf8(c.name)) << c.source;
}

TEST_F(ImageImportTest, TakenNamesGetACounterAddedEachTime)
{
    const QByteArray jpeg = EncodeImage(Quarters(600, 600), "jpg");
    const QString first = source(QStringLiteral("Menu.JPEG"), jpeg);
    const QString second = source(QStringLiteral("Menu.jpg"), jpeg);
    const char *expected[] = {"Menu.jpg", "Menu(1).jpg", "Menu(1)(2).jpg", "Menu(1)(2)(3).jpg"};
    for (int i = 0; i < 4; ++i) {
        const auto imported = import(i == 0 ? first : second);
        ASSERT_TRUE(imported);
        EXPECT_EQ(imported->path, working() + '/' + expected[i]);
        EXPECT_EQ(ReadBytes(imported->path), jpeg) << "a picture that needs no turn is a byte copy";
    }
    EXPECT_TRUE(prompter.shown.isEmpty());

    // Another picture's proxy name is taken too: Pizza.jpg must not be drawn from the picture
    // that was imported as Pizza_Proxy.jpg.
    WriteBytes(working() + "/Pizza_Proxy.jpg", jpeg);
    EXPECT_EQ(FreePicturePath(working(), QStringLiteral("Pizza.jpg")), working() + "/Pizza(1).jpg");
}

TEST_F(ImageImportTest, RefusedNamesImportNothing)
{
    EXPECT_FALSE(import(source(QStringLiteral("notes.txt"), "text")));
    EXPECT_TRUE(QDir(working()).isEmpty());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(ImageImportTest, CameraOrientationsAreStoredUpright)
{
    // Stored pixels 64 x 32; the reader with automatic transformation is the judge of upright.
    const QByteArray plain = EncodeImage(Quarters(64, 32), "jpg", 95);
    for (quint16 orientation = 1; orientation <= 8; ++orientation) {
        const QString name = QStringLiteral("cam%1.jpg").arg(orientation);
        const QString path = source(name, WithExifOrientation(plain, orientation));
        QImageReader judge(path);
        judge.setAutoTransform(true);
        const QImage upright = judge.read();
        ASSERT_FALSE(upright.isNull());

        const auto imported = import(path);
        ASSERT_TRUE(imported);
        const DecodedImage stored = DecodeImageFile(imported->path);
        ASSERT_FALSE(stored.isNull()) << orientation;
        EXPECT_EQ(stored.image.size(), upright.size()) << orientation;
        EXPECT_EQ(imported->size, upright.size()) << orientation;
        // The stored file no longer asks to be turned, so nothing turns it twice.
        EXPECT_EQ(ExifOrientation(stored.transformation), 1) << orientation;
        const int w = upright.width(), h = upright.height();
        for (const QPoint &probe : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4), QPoint(w / 4, 3 * h / 4),
                                    QPoint(3 * w / 4, 3 * h / 4)}) {
            const QColor want = upright.pixelColor(probe), got = stored.image.pixelColor(probe);
            EXPECT_NEAR(got.red(), want.red(), 24) << orientation;
            EXPECT_NEAR(got.green(), want.green(), 24) << orientation;
            EXPECT_NEAR(got.blue(), want.blue(), 24) << orientation;
        }
    }
}

TEST_F(ImageImportTest, OnlyLargeJpegFilesAreReducedInPlace)
{
    const QByteArray big = EncodeImage(Noise(3300, 1600), "jpg", 100);
    const QByteArray light = EncodeImage(Quarters(3300, 1600), "jpg", 50);
    ASSERT_GT(big.size(), kImportReductionFileSize);
    ASSERT_LT(light.size(), kImportReductionFileSize);

    const auto reduced = import(source(QStringLiteral("big.jpg"), big));
    ASSERT_TRUE(reduced);
    EXPECT_EQ(ImagePixelSize(reduced->path), QSize(3200, 1551)); // 1600 x 3200 / 3300 = 1551.5
    EXPECT_LT(QFileInfo(reduced->path).size(), big.size());

    const auto kept = import(source(QStringLiteral("light.jpg"), light));
    ASSERT_TRUE(kept);
    EXPECT_EQ(ReadBytes(kept->path), light);

    // A large PNG is never reduced: only JPEG files are.
    const QByteArray png = EncodeImage(Noise(3300, 600), "png");
    ASSERT_GT(png.size(), kImportReductionFileSize);
    const auto keptPng = import(source(QStringLiteral("big.png"), png));
    ASSERT_TRUE(keptPng);
    EXPECT_EQ(ReadBytes(keptPng->path), png);
}

TEST_F(ImageImportTest, SmallPicturesBringTheLowResolutionMessage)
{
    const struct {
        int width, height;
        bool warned;
    } cases[] = {{400, 300, true}, {511, 511, true}, {400, 600, false}, {512, 100, false}};
    for (const auto &c : cases) {
        prompter.shown.clear();
        ASSERT_TRUE(import(source(QStringLiteral("p%1x%2.png").arg(c.width).arg(c.height),
                                  EncodeImage(Quarters(c.width, c.height), "png"))));
        const QStringList expected = c.warned ? QStringList{LowResolutionMessage(c.width, c.height)} : QStringList{};
        EXPECT_EQ(prompter.shown, expected) << c.width << " x " << c.height;
    }
    EXPECT_EQ(LowResolutionMessage(400, 300),
              "This 400 x 300 pixel image is low resolution and may result in the picture not being crisp.");
}

TEST_F(ImageImportTest, UndecodablePicturesAreCopiedWithoutMessage)
{
    // Not an image at all, and a whole JPEG whose header claims 30000 x 30000 pixels.
    const QByteArray huge = WithDeclaredJpegSize(EncodeImage(Quarters(16, 16), "jpg"), 30000, 30000);
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("fake.jpg"), QByteArray("not a picture")},
                                      std::pair{QStringLiteral("huge.jpg"), huge}}) {
        const auto imported = import(source(name, bytes));
        ASSERT_TRUE(imported) << name.toStdString();
        EXPECT_EQ(imported->size, QSize());
        EXPECT_EQ(ReadBytes(imported->path), bytes);
        EXPECT_EQ(MakePictureProxy(imported->path, 0, prompter), ProxyOutcome::Copied);
        EXPECT_EQ(ReadBytes(PictureProxyPath(imported->path)), bytes);
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(ImageImportTest, PicturesThatCannotBeStoredAreReportedAndImportNothing)
{
    const QByteArray plain = EncodeImage(Quarters(600, 600), "jpg");
    const QString blockedFolder = WriteBytes(dir.file(QStringLiteral("not-a-folder")), "a file of the user's");
    struct Case {
        const char *what;
        QString sourcePath;
        QString workingFolder;
    };
    const Case cases[] = {
        {"the chosen file is gone", chosen() + QStringLiteral("/gone.jpg"), working()},
        {"the working folder cannot be written", source(QStringLiteral("copied.jpg"), plain), blockedFolder},
        {"an upright copy cannot be written", source(QStringLiteral("turned.jpg"), WithExifOrientation(plain, 6)),
         blockedFolder},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        prompter.shown.clear();
        EXPECT_FALSE(ImportPictureFile(c.sourcePath, c.workingFolder, prompter));
        EXPECT_EQ(prompter.shown, QStringList{PictureNotCopiedMessage(c.sourcePath)});
    }
    EXPECT_EQ(ReadBytes(blockedFolder), "a file of the user's");
    EXPECT_TRUE(QDir(working()).isEmpty());
}

TEST(EncoderLookup, FindsEncodersByExactMimeType)
{
    EXPECT_FALSE(FindEncoder(QStringLiteral("image/jpeg"))->qtFormat.isEmpty());
    EXPECT_FALSE(FindEncoder(QStringLiteral("image/png"))->qtFormat.isEmpty());
    EXPECT_TRUE(FindEncoder(QStringLiteral("image/gif"))->gif);
    EXPECT_FALSE(FindEncoder(QStringLiteral("image/JPEG")));
    EXPECT_FALSE(FindEncoder(QStringLiteral("image/x-unknown")));
    EXPECT_FALSE(WriteImageFile(Quarters(4, 4), QStringLiteral("/nonexistent/x.bin"), QStringLiteral("image/x-unknown"), 80));
}

TEST(ReducedCopy, KeepsTheShareOfTheShorterSideExactly)
{
    const struct {
        QSize from;
        QSize to;
    } cases[] = {{{4000, 3000}, {1600, 1200}}, {{3000, 1500}, {1600, 800}}, {{1500, 3000}, {800, 1600}},
                 {{2000, 2000}, {1600, 1600}}, {{6000, 4000}, {1600, 1066}}, {{20000, 2}, {1600, 1}}};
    for (const auto &c : cases) {
        QImage source(c.from, QImage::Format_RGB32);
        source.fill(Qt::gray);
        const QImage reduced = ReducedCopy(source, 1600);
        EXPECT_EQ(reduced.size(), c.to) << c.from.width() << " x " << c.from.height();
        EXPECT_EQ(reduced.format(), QImage::Format_ARGB32);
    }
}

} // namespace
} // namespace tavrin
