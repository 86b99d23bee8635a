#include "ImportTestPictures.h"

#include "images/ImageDecoding.h"
#include "images/ImageImport.h"
#include "images/Proxies.h"
#include "layout/MenuLayout.h"
#include "render/PictureDrawing.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using namespace test;

QByteArray FormatOf(const QString &path) { return QImageReader(path).format(); }

class ProxiesTest : public ::testing::Test {
protected:
    QString picture(const QString &name, const QImage &image, const char *format)
    {
        return WriteBytes(dir.file(name), EncodeImage(image, format));
    }

    TempDataDir dir;
    ScriptedPrompter prompter;
};

TEST(PictureProxyPath, FollowsTheNamesTheRendererLooksFor)
{
    for (const char *name : {"/w/Pizza.jpg", "/w/Pizza.JPG", "/w/logo.png", "/w/anim.gif", "/w/a.jpg.png"}) {
        const QString picture = QString::fromUtf8(name);
        const QString proxy = PictureProxyPath(picture);
        EXPECT_TRUE(proxy.contains(QLatin1String("_Proxy."))) << name;
        EXPECT_EQ(PictureFileToDraw(picture, true), picture) << "no proxy file yet";
    }
    EXPECT_EQ(PictureProxyPath(QStringLiteral("/w/Pizza.JPG")), "/w/Pizza_Proxy.jpg");
    EXPECT_EQ(PictureProxyPath(QStringLiteral("/w/logo.png")), "/w/logo_Proxy.png");
    EXPECT_EQ(PictureProxyPath(QStringLiteral("/w/menu.bmp")), QString());
}

TEST_F(ProxiesTest, ProxySizesAndFormatsFollowThePicture)
{
    const struct {
        const char *name;
        QSize size;
        const char *format;
        ProxyOutcome outcome;
        QSize proxySize;
        QByteArray proxyFormat; // empty: a byte copy of the picture
    } cases[] = {
        {"big.jpg", {2000, 1000}, "jpg", ProxyOutcome::Reduced, {1600, 800}, "jpeg"},
        {"Tall.JPG", {900, 3000}, "jpg", ProxyOutcome::Reduced, {480, 1600}, "jpeg"},
        {"big.png", {2000, 1000}, "png", ProxyOutcome::Reduced, {1600, 800}, "png"},
        {"small.jpg", {1600, 1200}, "jpg", ProxyOutcome::Copied, {1600, 1200}, ""},
        {"small.png", {300, 200}, "png", ProxyOutcome::Copied, {300, 200}, ""},
        {"big.gif", {2000, 1000}, "gif", ProxyOutcome::Copied, {2000, 1000}, ""},
    };
    for (const auto &c : cases) {
        const QString path = picture(QString::fromUtf8(c.name), Quarters(c.size.width(), c.size.height()), c.format);
        EXPECT_EQ(MakePictureProxy(path, 0, prompter), c.outcome) << c.name;
        const QString proxy = PictureProxyPath(path);
        EXPECT_EQ(ImagePixelSize(proxy), c.proxySize) << c.name;
        if (c.proxyFormat.isEmpty())
            EXPECT_EQ(ReadBytes(proxy), ReadBytes(path)) << c.name;
        else
            EXPECT_EQ(FormatOf(proxy), c.proxyFormat) << c.name;
        EXPECT_EQ(PictureFileToDraw(path, true), proxy) << c.name;
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(ProxiesTest, ByteCopiesNeverReplaceAnExistingProxy)
{
    const QString path = picture(QStringLiteral("small.jpg"), Quarters(200, 200), "jpg");
    WriteBytes(PictureProxyPath(path), "older");
    EXPECT_EQ(MakePictureProxy(path, 0, prompter), ProxyOutcome::Copied);
    EXPECT_EQ(ReadBytes(PictureProxyPath(path)), "older");
}

TEST_F(ProxiesTest, ProxiesThatCannotBeWrittenAreReported)
{
    const QString path = picture(QStringLiteral("big.jpg"), Quarters(2000, 1000), "jpg");
    ASSERT_TRUE(QDir().mkpath(PictureProxyPath(path))); // a folder in the proxy's place
    EXPECT_EQ(MakePictureProxy(path, 0, prompter), ProxyOutcome::Failed);
    EXPECT_EQ(prompter.shown, QStringList{"Unable to Save proxy File.\n\n Please call Tessal Design Tech Support."});
}

TEST(ChangeBrightness, ScalesColourAndMakesVisiblePixelsOpaque)
{
    const struct {
        int brightness;
        QRgb before;
        QRgb after;
    } cases[] = {
        {255, qRgba(100, 200, 0, 255), qRgba(200, 255, 0, 255)},
        {-255, qRgba(100, 200, 50, 255), qRgba(0, 0, 0, 255)},
        {100, qRgba(100, 10, 255, 255), qRgba(139, 13, 255, 255)}, // factor 1.392, cut to whole numbers
        {-100, qRgba(100, 10, 255, 255), qRgba(60, 6, 155, 255)},  // factor 0.608
        {0, qRgba(100, 10, 255, 128), qRgba(100, 10, 255, 128)},
        {50, qRgba(100, 100, 100, 128), qRgba(119, 119, 119, 255)},
        {50, qRgba(100, 100, 100, 0), qRgba(100, 100, 100, 0)},
    };
    for (const auto &c : cases) {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.fill(c.before);
        ChangeBrightness(image, c.brightness);
        EXPECT_EQ(image.pixel(1, 0), c.after) << c.brightness << " " << std::hex << c.before;
    }
}

class BoardProxiesTest : public ProxiesTest {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(working())); }
    QString working() const { return dir.file(QStringLiteral("work")); }
    void background(const QImage &image) { WriteBytes(BackgroundCopyPath(working()), EncodeImage(image, "jpg")); }
    void givePicture(int column, int row, const QString &path, int brightness = 0)
    {
        layout.strip(column, row).Picture.SubImageFileName = path;
        layout.strip(column, row).Picture.SubImageBrightnessFactor = brightness;
    }

    MenuLayout layout;
};

TEST_F(BoardProxiesTest, BackgroundProxyOnlyForLargePackageBackgrounds)
{
    background(Quarters(1024, 768));
    EXPECT_FALSE(MakeBackgroundProxy(working(), true, prompter));
    EXPECT_FALSE(QFileInfo::exists(BackgroundProxyPath(working())));

    background(Quarters(4000, 3000));
    EXPECT_FALSE(MakeBackgroundProxy(working(), false, prompter)) << "legacy layouts get no proxies";
    EXPECT_FALSE(QFileInfo::exists(BackgroundProxyPath(working())));
    EXPECT_TRUE(MakeBackgroundProxy(working(), true, prompter));
    EXPECT_EQ(ImagePixelSize(BackgroundProxyPath(working())), QSize(1600, 1200));
    EXPECT_EQ(FormatOf(BackgroundProxyPath(working())), "jpeg");

    WriteBytes(BackgroundCopyPath(working()), "not a picture");
    EXPECT_FALSE(MakeBackgroundProxy(working(), true, prompter));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(BoardProxiesTest, BackgroundProxyThatCannotBeWrittenIsReported)
{
    background(Quarters(4000, 3000));
    ASSERT_TRUE(QDir().mkpath(BackgroundProxyPath(working())));
    EXPECT_FALSE(MakeBackgroundProxy(working(), true, prompter));
    EXPECT_EQ(prompter.shown,
              QStringList{"Unable to Save Background proxy File.\n\n Please call Tessal Design Tech Support."});
}

TEST_F(BoardProxiesTest, AllPictureProxiesSwitchOnOnlyForReducedProxies)
{
    const QString small = picture(QStringLiteral("work/small.jpg"), Quarters(300, 300), "jpg");
    const QString gif = picture(QStringLiteral("work/anim.gif"), Quarters(2000, 300), "gif");
    givePicture(0, 0, small);
    givePicture(1, 3, gif);
    EXPECT_FALSE(MakeAllPictureProxies(layout, true, prompter));
    EXPECT_TRUE(QFileInfo::exists(PictureProxyPath(small)));
    EXPECT_TRUE(QFileInfo::exists(PictureProxyPath(gif)));

    // A reduced proxy with its strip's brightness; strips outside the board are left alone.
    const QString big = picture(QStringLiteral("work/big.jpg"), Quarters(2000, 1000), "jpg");
    const QString hidden = picture(QStringLiteral("work/hidden.jpg"), Quarters(2000, 1000), "jpg");
    givePicture(1, 5, big, -255);
    givePicture(5, 0, hidden);
    EXPECT_FALSE(MakeAllPictureProxies(layout, false, prompter)) << "legacy layouts get no proxies";
    EXPECT_FALSE(QFileInfo::exists(PictureProxyPath(big)));
    EXPECT_TRUE(MakeAllPictureProxies(layout, true, prompter));
    EXPECT_EQ(DecodeImageFile(PictureProxyPath(big)).image.pixelColor(1200, 600), QColor(Qt::black));
    EXPECT_FALSE(QFileInfo::exists(PictureProxyPath(hidden)));

    // A failed proxy after the good one leaves the switch off.
    const QString failing = picture(QStringLiteral("work/failing.png"), Quarters(2000, 1000), "png");
    ASSERT_TRUE(QDir().mkpath(PictureProxyPath(failing)));
    givePicture(1, 6, failing);
    EXPECT_FALSE(MakeAllPictureProxies(layout, true, prompter));
    EXPECT_EQ(prompter.shown, QStringList{kProxySaveFailedMessage});
}

TEST_F(BoardProxiesTest, RebuiltProxyCarriesTheBrightnessAndReplacesTheOldOne)
{
    const struct {
        const char *name;
        const char *format;
        QSize size;
        QSize proxySize;
        QByteArray proxyFormat;
    } cases[] = {
        {"small.jpg", "jpg", {400, 200}, {400, 200}, "jpeg"},
        {"big.png", "png", {3200, 800}, {1600, 400}, "png"},
        {"small.gif", "gif", {400, 200}, {400, 200}, "gif"},
    };
    for (const auto &c : cases) {
        const QString path = picture(QString::fromUtf8(c.name), Quarters(c.size.width(), c.size.height()), c.format);
        WriteBytes(PictureProxyPath(path), "older");
        StripPicture strip;
        strip.SubImageFileName = path;
        strip.SubImageBrightnessFactor = -128; // factor 0.498: red 220 becomes 109
        ASSERT_TRUE(RebuildStripProxy(strip, prompter)) << c.name;
        const QString proxy = PictureProxyPath(path);
        EXPECT_EQ(FormatOf(proxy), c.proxyFormat) << c.name;
        const QImage image = DecodeImageFile(proxy).image;
        EXPECT_EQ(image.size(), c.proxySize) << c.name;
        EXPECT_NEAR(image.pixelColor(image.width() / 4, image.height() / 4).red(), 109, 6) << c.name;
    }
    StripPicture missing;
    missing.SubImageFileName = dir.file(QStringLiteral("gone.jpg"));
    EXPECT_FALSE(RebuildStripProxy(missing, prompter));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(GifWriter, KeepsColoursAndTransparency)
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, x < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    const std::optional<QByteArray> gif = EncodeGif(image);
    ASSERT_TRUE(gif);
    QImage decoded = QImage::fromData(*gif, "gif").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(decoded.size(), QSize(40, 20));
    EXPECT_EQ(decoded.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(15, 5), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(decoded.pixel(30, 5)), 0);
    EXPECT_FALSE(EncodeGif(QImage()));

    // More than 256 colours go through a reduced palette.
    const std::optional<QByteArray> noisy = EncodeGif(Noise(64, 48));
    ASSERT_TRUE(noisy);
    EXPECT_EQ(QImage::fromData(*noisy, "gif").size(), QSize(64, 48));
}

} // namespace
} // namespace tavrin
