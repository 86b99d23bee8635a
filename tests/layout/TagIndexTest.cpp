#include "layout/LayoutDocument.h"
#include "layout/TagIndex.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrin {
namespace {

// The index must agree with looking each strip up in the whole text, for every store position.
void ExpectSameAsPlainLookup(const QString &document)
{
    const TagNames names(StripElementNames());
    const TagIndex index(document, names);
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            const QString plain = FindTagValue(document, QString("<Strip%1-%2>").arg(c).arg(r));
            ASSERT_EQ(index.view(index.value(index.whole(), StripNameId(c, r))).toString(), plain) << "Strip" << c << "-" << r << " in " << document.toStdString();
        }
}

TEST(TagIndex, StripsAgreeWithPlainLookupOnTrickyDocuments)
{
    const char *documents[] = {
        "",
        "<Strip0-0>a</Strip0-0><Strip0-1>b</Strip0-1>",
        // A strip tag typed inside a text: the first occurrence counts, wherever it is.
        "<Strip0-0><Text><Strip0-1>fake</Strip0-1></Text></Strip0-0><Strip0-1>real</Strip0-1>",
        // A text holding a strip's closing tag cuts that strip.
        "<Strip0-0><Text>x</Strip0-0>y</Text></Strip0-0>",
        // Missing closing tags, closing before opening, repeated opening tags.
        "<Strip0-0>open only<Strip0-1>x",
        "</Strip1-1>before<Strip1-1>after</Strip1-1>",
        "<Strip2-3>first<Strip2-3>second</Strip2-3>third</Strip2-3>",
        "<Strip3-4></Strip3-4><Strip3-4>again</Strip3-4>",
        // Not the exact tag: leading zeros, signs, blanks, positions outside the store.
        "<Strip00-1>a</Strip00-1><Strip0-01>b</Strip0-01><Strip9-0>c</Strip9-0><Strip0-201>d</Strip0-201>"
        "<Strip-1-0>e</Strip-1-0>< Strip0-2>f</Strip0-2><strip0-3>g</strip0-3><Strip0-4 >h</Strip0-4>",
        // Tags cut off at the end of the text; nested "<".
        "<<Strip8-200>z</Strip8-200",
        "<Strip8-200>z</Strip8-200><Strip1-2>",
        "<Strip5-5>a<</Strip5-5>",
        "<Strip1-10>ten</Strip1-1></Strip1-10><Strip1-1>one</Strip1-1>",
    };
    for (const char *document : documents)
        ExpectSameAsPlainLookup(QString(document));
}

TEST(TagIndex, StripsAgreeWithPlainLookupOnRandomTagSoup)
{
    const QString pieces[] = {"<Strip0-0>", "</Strip0-0>", "<Strip0-1>", "</Strip0-1>", "<Strip8-200>",
                              "</Strip8-200>", "<Strip1-", "0>", "</", "<", "Strip", "x", "-", "1", ">"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> piece(0, int(std::size(pieces)) - 1), length(0, 30);
    for (int round = 0; round < 300; ++round) {
        QString document;
        for (int n = length(random); n > 0; --n)
            document += pieces[piece(random)];
        ExpectSameAsPlainLookup(document);
    }
}

TEST(TagIndex, PositionsOutsideTheStoreAreNotIndexed)
{
    const TagNames names(StripElementNames());
    const TagIndex index(u"<Strip0-0>a</Strip0-0><Strip9-0>b</Strip9-0>", names);
    EXPECT_EQ(index.view(index.value(index.whole(), StripNameId(0, 0))), u"a");
    EXPECT_EQ(index.nameId(u"Strip9-0"), -1);
    EXPECT_EQ(index.nameId(u"Strip0-201"), -1);
    EXPECT_TRUE(index.value(index.whole(), -1).isEmpty());
}

// Lookups inside any piece of the document agree with copying that piece out and searching it,
// and so does the comma search, also across the index's blocks.
TEST(TagIndex, ValuesInsidePiecesAgreeWithPlainLookup)
{
    const QStringList nameList = {"Text", "TextColor", "Xref", "PricesTextParams"};
    const TagNames names(nameList);
    const QString pieces[] = {"<Text>", "</Text>", "<TextColor>", "</TextColor>", "<Xref>", "</Xref>",
                              "<PricesTextParams>", "</PricesTextParams>", "<Te", "xt>", "</", "<", ">",
                              ",", "a", QString(120, u'x')};
    std::mt19937 random(777);
    std::uniform_int_distribution<int> piece(0, int(std::size(pieces)) - 1), length(0, 40);
    for (int round = 0; round < 300; ++round) {
        QString document;
        for (int n = length(random); n > 0; --n)
            document += pieces[piece(random)];
        const TagIndex index(document, names);
        std::uniform_int_distribution<qsizetype> position(0, document.size());
        for (int lookup = 0; lookup < 20; ++lookup) {
            qsizetype begin = position(random), end = position(random);
            if (begin > end)
                std::swap(begin, end);
            const TextSpan within{begin, end};
            const QStringView text = index.view(within);
            for (const QString &name : nameList)
                ASSERT_EQ(index.view(index.value(within, index.nameId(name))).toString(),
                          FindTagValue(text, "<" + name + ">"))
                    << name.toStdString() << " in [" << begin << "," << end << ") of " << document.toStdString();
            const qsizetype comma = text.indexOf(u',');
            ASSERT_EQ(index.firstComma(within), comma < 0 ? -1 : begin + comma);
        }
    }
}

TEST(FindTagValue, Rules)
{
    EXPECT_EQ(FindTagValue(u"<TextColor>1</TextColor><Text>a</Text>", u"<Text>"), "a");
    EXPECT_EQ(FindTagValue(u"<SubImageCropPercentageX>5</SubImageCropPercentageX>", u"<SubImageCropPercentage>"), "");
    EXPECT_EQ(FindTagValue(u"<Xref></Xref>", u"<Xref>"), "");
    EXPECT_EQ(FindTagValue(u"</Xref><Xref>2", u"<Xref>"), "");
    EXPECT_EQ(FindTagValue(u"<Xref>1</Xref><Xref>2</Xref>", u"<Xref>"), "1");
    EXPECT_EQ(FindTagValue(u"<Xref>a<Xref>b</Xref>", u"<Xref>"), "a<Xref>b");
}

} // namespace
} // namespace tavrin
