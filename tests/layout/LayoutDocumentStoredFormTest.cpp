#include "layout/LayoutDocument.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin {
namespace {

std::vector<char16_t> CodeUnits(const QString &text)
{
    return std::vector<char16_t>(reinterpret_cast<const char16_t *>(text.constData()),
                                 reinterpret_cast<const char16_t *>(text.constData()) + text.size());
}

TEST(LayoutDocumentStoredForm, ScrambleReversesCodeUnitsAndRaisesThem)
{
    EXPECT_EQ(ScrambleText("abc"), "dcb");
    EXPECT_EQ(UnscrambleText("dcb"), "abc");

    // A character outside the basic plane is two code units; they are reversed like any other
    // two, and 0xFFFF wraps around to 0.
    const QString text = QString("x") + QString::fromUcs4(U"\U0001F354") + QChar(0xFFFF);
    ASSERT_EQ(CodeUnits(text), (std::vector<char16_t>{u'x', 0xD83C, 0xDF54, 0xFFFF}));
    const QString scrambled = ScrambleText(text);
    EXPECT_EQ(CodeUnits(scrambled), (std::vector<char16_t>{0x0000, 0xDF55, 0xD83D, u'y'}));
    EXPECT_EQ(UnscrambleText(scrambled), text);
}

TEST(LayoutDocumentStoredForm, StoredBytesReadBack)
{
    const QString document = QString("<a>~Fish~") + QString::fromUcs4(U"\U0001F41F") + "</a>";
    const QByteArray bytes = StoredDocumentBytes(document);
    // Scrambled, little-endian, no byte-order mark: starts with "?" (0x3F = ">" + 1). The text is
    // stored whole: "~" is taken out of the texts when the document is built for a package.
    ASSERT_EQ(bytes.size(), 2 * document.size());
    EXPECT_EQ(bytes.left(2), QByteArray("\x3F\x00", 2));
    EXPECT_EQ(UnscrambleText(DocumentTextFromBytes(bytes)), document);

    // An odd last byte is ignored.
    EXPECT_EQ(DocumentTextFromBytes(QByteArray("\x41\x00\x42\x01\x43", 5)), QString("A") + QChar(0x0142));
    EXPECT_EQ(DocumentTextFromBytes(QByteArray()), QString());
}

} // namespace
} // namespace tavrin
