#include "fonts/MissingFontInstallation.h"
#include "FontTestServices.h"
#include "platform/SilentPrompter.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;

const QString kTitle =
    "TO INSTALL MISSING FONT(S), Right Click on font File(s) and click INSTALL FOR ALL USERS";
const QString kProcedure = "Click 'OK' to install missing font(s) on the next panel\nusing the following "
                           "procedure:\n\nFor each missing font to be installed, RIGHT click\r\non the font name "
                           "and select 'Install for all users'";

QString NameLine(const QString &name) { return QString(26, u' ') + name + "\r\n"; }

QString OneMissing(const QString &name)
{
    return "                           MISSING FONT\n\nThe font required, but not installed on this computer, "
           "is:\r\n\r\n"
        + NameLine(name) + "\r\n" + kProcedure;
}

QString SeveralMissing(const QStringList &names)
{
    QString block;
    for (const QString &name : names)
        block += NameLine(name);
    return "           \r\n                MISSING FONTS\n\nThe fonts required, but not installed on this "
           "computer, are:\r\n\r\n"
        + block + "\r\n" + kProcedure;
}

// Two fonts missing from a layout unpacked into a working folder with their files.
struct InstallationFixture : ::testing::Test {
    QTemporaryDir work;
    test::FakeFonts fonts;
    ScriptedPrompter prompter;
    QString missing = "Cubano\r\nArt Brush %1\r\n";

    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        for (const char *name : {"cubano.ttf", "artbrush%1.ttf", "Background.jpg"}) {
            QFile file(workFile(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QString workFile(const QString &name) const { return QDir(work.path()).filePath(name); }
    FontInstallationOutcome install()
    {
        return InstallMissingFonts(missing, work.path(), workFile("Background.jpg"), prompter, fonts.services());
    }
    // The user installs these fonts while the n-th panel (from 0) is open.
    void installDuringPanels(QList<QStringList> perPanel)
    {
        prompter.duringFontInstallation = [this, perPanel, n = 0]() mutable {
            if (n < perPanel.size())
                for (const QString &face : perPanel[n])
                    fonts.installed.insert(face);
            ++n;
        };
    }
};

TEST_F(InstallationFixture, RepeatsForTheFontsStillMissingUntilAllAreInstalled)
{
    prompter.answers = {Answer::Ok, Answer::Ok};
    installDuringPanels({{"Cubano"}, {"Art Brush %1"}});

    EXPECT_EQ(install(), FontInstallationOutcome::AllInstalled);
    EXPECT_EQ(missing, "");
    EXPECT_EQ(prompter.shown, QStringList({SeveralMissing({"Cubano", "Art Brush %1"}), OneMissing("Art Brush %1")}));
    EXPECT_EQ(prompter.dialogTitles, QStringList({kTitle, kTitle}));
    EXPECT_EQ(prompter.fontPanelFolders, QStringList({work.path(), work.path()}));
    // The package's copies of the installed fonts are gone; other files stay.
    EXPECT_FALSE(QFile::exists(workFile("cubano.ttf")));
    EXPECT_FALSE(QFile::exists(workFile("artbrush%1.ttf")));
    EXPECT_TRUE(QFile::exists(workFile("Background.jpg")));
}

TEST_F(InstallationFixture, GivesUpOnCancelOrAChosenFileAndKeepsTheList)
{
    const struct {
        const char *what;
        std::deque<Answer> messageAnswers;
        std::deque<Answer> panelAnswers;
        int messages;
        int panels;
    } cases[] = {
        {"Cancel on the first message", {Answer::Cancel}, {}, 1, 0},
        {"a file chosen in the panel", {Answer::Ok}, {Answer::Ok}, 1, 1},
        {"Done after installing one font, then Cancel", {Answer::Ok, Answer::Cancel}, {Answer::Cancel}, 2, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPrompter scripted;
        scripted.answers = c.messageAnswers;
        scripted.fontPanelAnswers = c.panelAnswers;
        // Whatever the user installs in a panel closed by choosing a file is not looked at.
        scripted.duringFontInstallation = [this] { fonts.installed.insert("Cubano"); };
        fonts.installed.clear();
        const QString before = missing;

        EXPECT_EQ(InstallMissingFonts(missing, work.path(), workFile("Background.jpg"), scripted, fonts.services()),
                  FontInstallationOutcome::GaveUp);
        EXPECT_EQ(missing, before);
        EXPECT_EQ(scripted.shown.size(), c.messages);
        EXPECT_EQ(scripted.dialogTitles.size(), c.panels);
        if (c.messages == 2) // Done after installing Cubano: the message lists the other font only
            EXPECT_EQ(scripted.shown[1], OneMissing("Art Brush %1"));
        else
            EXPECT_TRUE(QFile::exists(workFile("cubano.ttf")));
    }
}

TEST_F(InstallationFixture, NothingMissingAsksNothing)
{
    missing.clear();
    EXPECT_EQ(install(), FontInstallationOutcome::AllInstalled);
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(prompter.dialogTitles.isEmpty());
}

TEST_F(InstallationFixture, WithoutAUserTheInstallationGivesUp)
{
    SilentPrompter silent;
    EXPECT_EQ(InstallMissingFonts(missing, work.path(), workFile("Background.jpg"), silent, fonts.services()),
              FontInstallationOutcome::GaveUp);
    EXPECT_EQ(silent.messages.size(), 1);
}

// The open's font step offers what the package carries and this computer lacks: a missing font,
// the styles of a family that has only some of them, a fallback face; whatever the user answers,
// the board is drawn with the carried files, unless a font is neither installed nor carried.
TEST_F(InstallationFixture, TheOpenOffersCarriedStylesAndFallbackFacesAndGoesOnWithTheCarriedFiles)
{
    const auto face = [](const char *family, bool bold, bool italic, const char *style, QStringList listedAs = {}) {
        CarriedFace f;
        f.family = family;
        f.bold = bold;
        f.italic = italic;
        f.styleName = style;
        f.listedAs = listedAs;
        f.file = QStringLiteral("/nonexistent/carried/") + family + style + ".ttf";
        return f;
    };
    const std::vector<CarriedFace> carried{
        face("Tavrin Test Sans", false, false, "Regular", {"Cubano"}), // stands for the missing Cubano
        face("Tavrin Test Sans", true, false, "Bold", {"Cubano"}),
        face("DejaVu Sans", false, true, "Oblique"),                    // installed here: not offered
        face("Tavrin Test Devanagari", false, false, "Regular"),        // a fallback face
    };
    fonts.installed = {"DejaVu Sans"};
    EXPECT_EQ(FacesToOffer("Cubano\r\n", carried),
              QStringList({"Cubano", "Tavrin Test Sans Bold", "Tavrin Test Devanagari"}));
    EXPECT_TRUE(FacesToOffer("", {face("DejaVu Sans", true, false, "Bold")}).isEmpty());

    const struct {
        const char *what;
        QString missing;
        bool opens;
        QString missingAfter;
    } cases[] = {
        {"a missing font the package carries", "Cubano\r\n", true, "Cubano\r\n"},
        {"only carried styles and fallback faces", "", true, ""},
        {"a font neither installed nor carried", "Cubano\r\nArt Brush %1\r\n", false, "Cubano\r\nArt Brush %1\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPrompter scripted;
        scripted.answers = {Answer::Cancel}; // the user gives up at once
        QString list = c.missing;
        EXPECT_EQ(OfferOpeningFonts(list, carried, work.path(), workFile("Background.jpg"), scripted, fonts.services()),
                  c.opens);
        EXPECT_EQ(list, c.missingAfter);
        ASSERT_EQ(scripted.shown.size(), 1);
        EXPECT_TRUE(scripted.shown[0].contains(NameLine("Tavrin Test Sans Bold")));
        EXPECT_TRUE(scripted.shown[0].contains(NameLine("Tavrin Test Devanagari")));
        EXPECT_FALSE(scripted.shown[0].contains("Oblique"));
    }
}

} // namespace
} // namespace tavrin
