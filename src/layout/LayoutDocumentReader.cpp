#include "layout/LayoutDocument.h"

#include "layout/DocumentValues.h"
#include "layout/StripOperations.h"
#include "layout/TagIndex.h"

#include <cmath>

namespace tavrin {

namespace {

QString Value(QStringView content, QStringView tag) { return FindTagValue(content, tag); }

// Calories spacing: while the calorie column reaches further than 0.7 of the price-tab
// spacing, the tab spacing grows by 0.2 (a prices text without tab stops) or the calorie
// spacing shrinks by 0.2. The steps are taken one by one, as additions of 0.2, so that sane
// values end exactly where the step-by-step rule ends (tab 4.0 / calories 3.8 with tabs:
// calories 2.8 after five steps). A file may hold any value, though: far from the bound, or
// so large that adding 0.2 changes nothing, the stepping would run for ages or forever. After
// kMaxSteps (far more than any real board needs: a spacing of 1000 needs about 7000) the value
// is set straight to the bound instead. NaN never enters the loop (every comparison with it
// is false); infinities skip the stepping and go to the bound at once.
void CorrectCaloriesSpacing(Strip &strip, bool pricesHaveTabs)
{
    constexpr int kMaxSteps = 10000;
    double &tab = strip.PriceTabSpacingFactor;
    double &calories = strip.CaloriesSpacingFactor;
    const int maxSteps = std::isfinite(tab) && std::isfinite(calories) ? kMaxSteps : 0;
    for (int step = 0; step < maxSteps && calories > 0.7 * tab; ++step) {
        if (pricesHaveTabs)
            calories -= 0.2;
        else
            tab += 0.2;
    }
    if (!(calories > 0.7 * tab))
        return;
    if (pricesHaveTabs) {
        calories = 0.7 * tab;
    } else {
        tab = calories / 0.7;
        // calories / 0.7 may round to a tab whose 0.7 share falls a hair short of calories.
        for (int nudge = 0; nudge < 8 && calories > 0.7 * tab; ++nudge)
            tab = std::nextafter(tab, HUGE_VAL);
        if (calories > 0.7 * tab) // only when tab overflowed to the largest finite value
            tab = HUGE_VAL;
    }
}

// A "^" ends a price entry; it must never be the last character nor be followed directly by
// another "^" or by a line break, where the entry would be empty.
void SeparateCalorieMarkers(QString &prices)
{
    const qsizetype before = prices.size();
    prices.replace(QStringLiteral("^^"), QStringLiteral("^ ^"));
    if (prices.size() != before) // "^^^" needs a second pass: "^ ^^" -> "^ ^ ^"
        prices.replace(QStringLiteral("^^"), QStringLiteral("^ ^"));
    prices.replace(QStringLiteral("^\r"), QStringLiteral("^ \r"));
    if (prices.endsWith(u'^'))
        prices.append(u' ');
}

void ReadGroup(QStringView groupValue, int groupIndex, const QString &stripShadowColour, TextGroup &group,
               LayoutReaderHost &host)
{
    QString text = Value(groupValue, u"<Text>");
    if (groupIndex == PricesGroup)
        text.replace(u'\\', u'>'); // older files marked calorie counts with "\"
    if (text.isEmpty()) {
        ResetTextGroup(group);
        return;
    }
    if (groupIndex == PricesGroup && text.endsWith(u' '))
        text.chop(1);
    group.Text = text;

    group.TextColor = ParseColour(Value(groupValue, u"<TextColor>"));
    const QString shadow = Value(groupValue, u"<DropShadowColor>");
    group.DropShadowColor = ParseColour(shadow.isEmpty() ? stripShadowColour : shadow);
    group.Font = Value(groupValue, u"<Font>");
    group.Xref = ReadFactor(Value(groupValue, u"<Xref>"));
    group.Yref = ReadFactor(Value(groupValue, u"<Yref>"));
    group.ScaleFactor = ReadFactor(Value(groupValue, u"<ScaleFactor>"));
    if (!group.Font.isEmpty())
        host.checkFont(group.Font, group.Text);
    const QString lineSpacing = Value(groupValue, u"<LineSpacingFactor>");
    group.LineSpacingFactor = lineSpacing.isEmpty() ? 1.0 : ReadFactor(lineSpacing);
    group.Bold = ReadFlag(Value(groupValue, u"<Bold>"));
    group.Italics = ReadFlag(Value(groupValue, u"<Italics>"));
    group.CenterInStrip = ReadFlag(Value(groupValue, u"<CenterInStrip>"));
    group.GroupAlignment = ReadAlignment(Value(groupValue, u"<GroupAlignment>"));
}

int IntegerOr(QStringView value, int whenEmpty) { return value.isEmpty() ? whenEmpty : ReadInteger(value); }

void ReadStrip(QStringView content, Strip &strip, LayoutReaderHost &host)
{
    StripPicture &picture = strip.Picture;

    strip.BackGroundColor = ParseColour(Value(content, u"<BackGroundColor>"));
    strip.PriceTabSpacingFactor = ReadFactor(Value(content, u"<PriceTabSpacingFactor>"));
    if (strip.PriceTabSpacingFactor == 0.0)
        strip.PriceTabSpacingFactor = 8.0;
    strip.CaloriesSpacingFactor = ReadFactor(Value(content, u"<CaloriesSpacingFactor>"));
    if (strip.CaloriesSpacingFactor == 0.0)
        strip.CaloriesSpacingFactor = 3.8;

    picture.SubImageFileName = Value(content, u"<SubImageFileName>");
    if (!picture.SubImageFileName.isEmpty())
        picture.SubImageFileName = host.resolvePicture(picture.SubImageFileName);
    picture.ImageHiddenOnWhite = ReadFlag(Value(content, u"<ImageHiddenOnWhite>"));
    picture.SubImageFrameIndex = ReadInteger(Value(content, u"<SubImageFrameIndex>"));

    // Older files kept one crop value for both directions.
    const QString legacyCrop = Value(content, u"<SubImageCropPercentage>");
    if (!legacyCrop.isEmpty()) {
        picture.SubImageCropPercentageX = picture.SubImageCropPercentageY = ReadInteger(legacyCrop);
    } else {
        picture.SubImageCropPercentageX = IntegerOr(Value(content, u"<SubImageCropPercentageX>"), 100);
        picture.SubImageCropPercentageY = IntegerOr(Value(content, u"<SubImageCropPercentageY>"), 100);
    }
    picture.SubImageCropOriginPercentageX = ReadInteger(Value(content, u"<SubImageCropOriginPercentageX>"));
    picture.SubImageCropOriginPercentageY = ReadInteger(Value(content, u"<SubImageCropOriginPercentageY>"));
    picture.SubImageBrightnessFactor = ReadInteger(Value(content, u"<SubImageBrightnessFactor>"));

    // The first shadow colour anywhere in the strip (the main item's in our own files): groups
    // without one of their own take it.
    const QString stripShadowColour = Value(content, u"<DropShadowColor>");

    strip.XOffsetFactor = ReadFactor(Value(content, u"<XOffsetFactor>"));
    strip.YOffsetFactor = ReadFactor(Value(content, u"<YOffsetFactor>"));
    strip.XSizeFactor = ReadFactor(Value(content, u"<XSizeFactor>"));
    strip.YSizeFactor = ReadFactor(Value(content, u"<YSizeFactor>"));

    static constexpr const char16_t *kGroupTags[kGroupCount] = {
        u"<MainItemTextParams>", u"<SubItemsTextParams>", u"<PricesTextParams>"};
    bool pricesPresent = false;
    for (int g = 0; g < kGroupCount; ++g) {
        const QString groupValue = Value(content, kGroupTags[g]);
        if (groupValue.isEmpty())
            continue; // the group keeps its reset defaults
        if (g == PricesGroup)
            pricesPresent = true;
        ReadGroup(groupValue, g, stripShadowColour, strip.Groups[g], host);
    }

    if (pricesPresent) {
        QString &prices = strip.prices().Text;
        const bool hasTabs = prices.contains(u'^');
        CorrectCaloriesSpacing(strip, hasTabs);
        if (hasTabs)
            SeparateCalorieMarkers(prices);
    }

    const QString caloriesColour = Value(content, u"<CaloriesTextColor>");
    strip.CaloriesTextColor = caloriesColour.isEmpty() ? strip.prices().TextColor : ParseColour(caloriesColour);
    strip.CaloriesItalics = ReadFlag(Value(content, u"<CaloriesItalics>"));
}

} // namespace

QString FindTagValue(QStringView text, QStringView tag)
{
    if (tag.isEmpty())
        return {};
    const qsizetype at = text.indexOf(tag);
    if (at < 0)
        return {};
    const QStringView rest = text.mid(at + tag.size());
    // The closing tag is the opening tag with "/" after its first character.
    QString closingTag;
    closingTag.reserve(tag.size() + 1);
    closingTag.append(tag.left(1)).append(u'/').append(tag.mid(1));
    const qsizetype end = rest.indexOf(closingTag);
    if (end < 0)
        return {};
    return rest.left(end).toString();
}

void ReadLayoutDocument(const QString &documentText, MenuLayout &layout, LayoutReaderHost &host)
{
    // Our own files are stored scrambled and therefore start with "?"; older ones may be plain.
    const QString document = documentText.startsWith(u'?') ? UnscrambleText(documentText) : documentText;

    layout.NumberOfColumns = ReadInteger(Value(document, u"<NumberOfColumns>"));
    layout.NumberOfRows = ReadInteger(Value(document, u"<NumberOfRows>"));
    const QString whitePrint = Value(document, u"<WhitePrintBackground>");
    layout.WhitePrintBackground = !whitePrint.isEmpty() && whitePrint == u"Yes";
    host.resolveBackground(Value(document, u"<BackgroundFileName>"));

    // Counts beyond the store are kept as read (the opening command refuses them); the loops
    // stay inside the store.
    const StripTagIndex index(document);
    layout.forEachBoardStrip([&](int column, int row, Strip &strip) {
        const QString content = index.stripContent(column, row);
        if (!content.isEmpty())
            ReadStrip(content, strip, host);
        for (TextGroup &group : strip.Groups)
            if (group.Text == u" ")
                group.Text.clear();
    });
}

} // namespace tavrin
