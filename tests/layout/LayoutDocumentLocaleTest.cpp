#include "layout/DocumentValues.h"
#include "layout/LayoutDocument.h"
#include "layout/StripOperations.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tavrin {
namespace {

class NullHost : public LayoutReaderHost {
public:
    void resolveBackground(const QString &) override {}
    QString resolvePicture(const QString &name) override { return name; }
    void checkFont(const QString &, const QString &) override {}
};

// Switches the program to a locale whose decimal separator is a comma, as a Qt application
// started by a German user would be, and back afterwards.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousC_ = std::setlocale(LC_ALL, nullptr);
        previousQt_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "C.UTF-8"}) {
            if (std::setlocale(LC_ALL, name)) {
                cLocale_ = name;
                break;
            }
        }
        commaInC_ = std::localeconv()->decimal_point[0] == ',';
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, previousC_.c_str());
        QLocale::setDefault(previousQt_);
    }

    std::string previousC_;
    QLocale previousQt_;
    std::string cLocale_ = "none";
    bool commaInC_ = false;
};

TEST_F(CommaLocale, WriterAndReaderKeepThePoint)
{
    RecordProperty("c_locale", cLocale_);
    if (!commaInC_)
        std::printf("note: no comma locale installed for C (using %s); only Qt's default locale uses a comma\n",
                    cLocale_.c_str());
    ASSERT_EQ(QLocale().decimalPoint(), ",");

    EXPECT_EQ(FactorText(0.3), "0.300");
    EXPECT_EQ(FactorText(-1234.5678), "-1234.568");
    EXPECT_EQ(ReadFactor(u"1.500"), 1.5);
    EXPECT_EQ(ReadFactor(u"1,500"), 1.0);
    EXPECT_EQ(ColourText(MakeColour(1, 2, 3)), "1,2,3");
    EXPECT_EQ(IntegerText(12345), "12345"); // no group separator

    MenuLayout layout;
    Strip working;
    ResetAllStrips(layout, working, kWhite);
    layout.NumberOfColumns = 1;
    layout.NumberOfRows = 1;
    layout.strip(0, 0).mainItem().Text = "Pie";
    layout.strip(0, 0).mainItem().ScaleFactor = 1.25;
    layout.strip(0, 0).XOffsetFactor = -0.125;
    const QString document = BuildLayoutDocument(layout, "/m/Background.jpg");
    EXPECT_TRUE(document.contains("<ScaleFactor>1.250</ScaleFactor>"));
    EXPECT_TRUE(document.contains("<XOffsetFactor>-0.125</XOffsetFactor>"));

    MenuLayout readBack;
    ResetAllStrips(readBack, working, kWhite);
    NullHost host;
    ReadLayoutDocument(document, readBack, host);
    EXPECT_EQ(readBack.strip(0, 0), layout.strip(0, 0));
}

} // namespace
} // namespace tavrin
