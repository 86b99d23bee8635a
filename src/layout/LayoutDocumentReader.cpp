#include "layout/LayoutDocument.h"

#include "layout/DocumentValues.h"
#include "layout/StripOperations.h"
#include "layout/RepeatedAddition.h"
#include "layout/TagIndex.h"

#include <cmath>
#include <optional>

namespace tavrin {

namespace {

// Calories spacing: while the calorie column reaches further than 0.7 of the price-tab
// spacing, the tab spacing grows by 0.2 (a prices text without tab stops) or the calorie
// spacing shrinks by 0.2, each step an addition of 0.2 as a double, so the result is the one
// of taking the steps one by one (tab 4.0 / calories 3.8 with tabs: calories 2.8 after five
// steps; calories 2500 with tabs: 5.4 after about 12,500 steps). The steps are counted rather
// than taken, so any value a file holds is corrected at once. Where the steps would never
// end (a value so large that adding 0.2 changes nothing, or an infinite one) the value is set
// straight to the bound. NaN never enters the loop: every comparison with it is false.
void CorrectCaloriesSpacing(Strip &strip, bool pricesHaveTabs)
{
    double &tab = strip.PriceTabSpacingFactor;
    double &calories = strip.CaloriesSpacingFactor;
    if (pricesHaveTabs) {
        const double bound = 0.7 * tab;
        const std::optional<double> stepped =
            RepeatAdditionWhile(calories, -0.2, [bound](double value) { return value > bound; });
        calories = stepped ? *stepped : bound;
        return;
    }
    const double reach = calories;
    const std::optional<double> stepped =
        RepeatAdditionWhile(tab, 0.2, [reach](double value) { return reach > 0.7 * value; });
    if (stepped) {
        tab = *stepped;
        return;
    }
    tab = calories / 0.7;
    // calories / 0.7 may round to a tab whose 0.7 share falls a hair short of calories.
    for (int nudge = 0; nudge < 8 && calories > 0.7 * tab; ++nudge)
        tab = std::nextafter(tab, HUGE_VAL);
    if (calories > 0.7 * tab) // only when tab overflowed to the largest finite value
        tab = HUGE_VAL;
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

// The element names the reader looks up, after the strip names in the index.
enum Element {
    NumberOfColumns,
    NumberOfRows,
    WhitePrintBackground,
    BackgroundFileName,
    BackGroundColor,
    PriceTabSpacingFactor,
    CaloriesSpacingFactor,
    SubImageFileName,
    ImageHiddenOnWhite,
    SubImageFrameIndex,
    SubImageCropPercentage,
    SubImageCropPercentageX,
    SubImageCropPercentageY,
    SubImageCropOriginPercentageX,
    SubImageCropOriginPercentageY,
    SubImageBrightnessFactor,
    DropShadowColor,
    XOffsetFactor,
    YOffsetFactor,
    XSizeFactor,
    YSizeFactor,
    MainItemTextParams,
    SubItemsTextParams,
    PricesTextParams,
    CaloriesTextColor,
    CaloriesItalics,
    Text,
    TextColor,
    Font,
    Xref,
    Yref,
    ScaleFactor,
    LineSpacingFactor,
    Bold,
    Italics,
    CenterInStrip,
    GroupAlignment,
    ElementCount
};

const TagNames &IndexedNames()
{
    static const TagNames names = [] {
        QStringList list = StripElementNames();
        for (const char *name :
             {"NumberOfColumns", "NumberOfRows", "WhitePrintBackground", "BackgroundFileName", "BackGroundColor",
              "PriceTabSpacingFactor", "CaloriesSpacingFactor", "SubImageFileName", "ImageHiddenOnWhite",
              "SubImageFrameIndex", "SubImageCropPercentage", "SubImageCropPercentageX", "SubImageCropPercentageY",
              "SubImageCropOriginPercentageX", "SubImageCropOriginPercentageY", "SubImageBrightnessFactor",
              "DropShadowColor", "XOffsetFactor", "YOffsetFactor", "XSizeFactor", "YSizeFactor", "MainItemTextParams",
              "SubItemsTextParams", "PricesTextParams", "CaloriesTextColor", "CaloriesItalics", "Text", "TextColor",
              "Font", "Xref", "Yref", "ScaleFactor", "LineSpacingFactor", "Bold", "Italics", "CenterInStrip",
              "GroupAlignment"})
            list.append(QString::fromLatin1(name));
        Q_ASSERT(list.size() == kMaxColumns * kMaxRows + ElementCount);
        return TagNames(list);
    }();
    return names;
}

// A prices text as the reader keeps it, and whether it has tab stops.
struct PricesText {
    QString beforeMarkers; // what the font check sees
    QString text;
    bool hasTabs = false;
};

// Values of one document, looked up through the tag index. Strips of a document may all
// enclose the same long piece of it, so that every strip finds the same long values: those
// are converted once and shared (QString copies share their text), which keeps reading
// linear in the document's length.
class DocumentValuesReader {
public:
    explicit DocumentValuesReader(QStringView document) : index_(document, IndexedNames()) {}

    TextSpan whole() const { return index_.whole(); }
    TextSpan strip(int column, int row) const { return index_.value(whole(), StripNameId(column, row)); }
    TextSpan value(TextSpan within, Element element) const
    {
        return index_.value(within, kMaxColumns * kMaxRows + element);
    }
    QStringView view(TextSpan span) const { return index_.view(span); }

    QString text(TextSpan span)
    {
        if (span.size() <= kShortValue)
            return view(span).toString();
        auto found = texts_.find(KeyFor(span));
        if (found == texts_.end())
            found = texts_.insert(KeyFor(span), view(span).toString());
        return *found;
    }
    int integer(TextSpan span) { return Memoised(integers_, span, [this](TextSpan s) { return ReadInteger(view(s)); }); }
    double factor(TextSpan span) { return Memoised(factors_, span, [this](TextSpan s) { return ReadFactor(view(s)); }); }
    int flag(TextSpan span) const { return ReadFlag(view(span)); }
    int alignment(TextSpan span) const { return ReadAlignment(view(span)); }

    // ParseColour, with the commas found through the index.
    Colour colour(TextSpan span)
    {
        int red = 0, green = 0;
        TextSpan rest = span;
        qsizetype comma = index_.firstComma(rest);
        if (comma >= 0) {
            red = integer({rest.begin, comma});
            rest.begin = comma + 1;
        }
        comma = index_.firstComma(rest);
        if (comma >= 0) {
            green = integer({rest.begin, comma});
            rest.begin = comma + 1;
        }
        return MakeColour(red, green, integer(rest));
    }

    // The prices text: "\" (the old calorie marker) becomes ">", one trailing blank goes, and
    // the calorie markers are separated when it has tab stops.
    PricesText prices(TextSpan span)
    {
        auto found = prices_.find(KeyFor(span));
        if (found != prices_.end())
            return *found;
        PricesText prices;
        prices.beforeMarkers = text(span);
        prices.beforeMarkers.replace(u'\\', u'>');
        if (prices.beforeMarkers.endsWith(u' '))
            prices.beforeMarkers.chop(1);
        prices.text = prices.beforeMarkers;
        prices.hasTabs = prices.text.contains(u'^');
        if (prices.hasTabs)
            SeparateCalorieMarkers(prices.text);
        if (span.size() > kShortValue)
            prices_.insert(KeyFor(span), prices);
        return prices;
    }

private:
    // Values up to this length are converted each time; longer ones once.
    static constexpr qsizetype kShortValue = 64;
    using Key = QPair<qsizetype, qsizetype>;
    static Key KeyFor(TextSpan span) { return {span.begin, span.end}; }

    template <typename T, typename Read> T Memoised(QHash<Key, T> &memo, TextSpan span, Read read)
    {
        if (span.size() <= kShortValue)
            return read(span);
        auto found = memo.find(KeyFor(span));
        if (found == memo.end())
            found = memo.insert(KeyFor(span), read(span));
        return *found;
    }

    TagIndex index_;
    QHash<Key, QString> texts_;
    QHash<Key, int> integers_;
    QHash<Key, double> factors_;
    QHash<Key, PricesText> prices_;
};

// Reads one text group; the prices text gets its own treatment (see prices()). Returns whether the
// prices text has tab stops (false for the other groups).
bool ReadGroup(DocumentValuesReader &values, TextSpan group, int groupIndex, TextSpan stripShadowColour,
               TextGroup &target, LayoutReaderHost &host)
{
    const TextSpan textSpan = values.value(group, Text);
    if (textSpan.isEmpty()) {
        ResetTextGroup(target);
        return false;
    }
    bool hasTabs = false;
    QString fontCheckText; // the text before the calorie markers are separated
    if (groupIndex == PricesGroup) {
        const PricesText prices = values.prices(textSpan);
        target.Text = prices.text;
        fontCheckText = prices.beforeMarkers;
        hasTabs = prices.hasTabs;
    } else {
        target.Text = fontCheckText = values.text(textSpan);
    }

    target.TextColor = values.colour(values.value(group, TextColor));
    const TextSpan shadow = values.value(group, DropShadowColor);
    target.DropShadowColor = values.colour(shadow.isEmpty() ? stripShadowColour : shadow);
    target.Font = values.text(values.value(group, Font));
    target.Xref = values.factor(values.value(group, Xref));
    target.Yref = values.factor(values.value(group, Yref));
    target.ScaleFactor = values.factor(values.value(group, ScaleFactor));
    if (!target.Font.isEmpty())
        host.checkFont(target.Font, fontCheckText);
    const TextSpan lineSpacing = values.value(group, LineSpacingFactor);
    target.LineSpacingFactor = lineSpacing.isEmpty() ? 1.0 : values.factor(lineSpacing);
    target.Bold = values.flag(values.value(group, Bold));
    target.Italics = values.flag(values.value(group, Italics));
    target.CenterInStrip = values.flag(values.value(group, CenterInStrip));
    target.GroupAlignment = values.alignment(values.value(group, GroupAlignment));
    return hasTabs;
}

int IntegerOr(DocumentValuesReader &values, TextSpan span, int whenEmpty)
{
    return span.isEmpty() ? whenEmpty : values.integer(span);
}

void ReadStrip(DocumentValuesReader &values, TextSpan content, Strip &strip, LayoutReaderHost &host)
{
    StripPicture &picture = strip.Picture;
    const auto value = [&](Element element) { return values.value(content, element); };

    strip.BackGroundColor = values.colour(value(BackGroundColor));
    strip.PriceTabSpacingFactor = values.factor(value(PriceTabSpacingFactor));
    if (strip.PriceTabSpacingFactor == 0.0)
        strip.PriceTabSpacingFactor = 8.0;
    strip.CaloriesSpacingFactor = values.factor(value(CaloriesSpacingFactor));
    if (strip.CaloriesSpacingFactor == 0.0)
        strip.CaloriesSpacingFactor = 3.8;

    picture.SubImageFileName = values.text(value(SubImageFileName));
    if (!picture.SubImageFileName.isEmpty())
        picture.SubImageFileName = host.resolvePicture(picture.SubImageFileName);
    picture.ImageHiddenOnWhite = values.flag(value(ImageHiddenOnWhite));
    picture.SubImageFrameIndex = values.integer(value(SubImageFrameIndex));

    // Older files kept one crop value for both directions.
    const TextSpan legacyCrop = value(SubImageCropPercentage);
    if (!legacyCrop.isEmpty()) {
        picture.SubImageCropPercentageX = picture.SubImageCropPercentageY = values.integer(legacyCrop);
    } else {
        picture.SubImageCropPercentageX = IntegerOr(values, value(SubImageCropPercentageX), 100);
        picture.SubImageCropPercentageY = IntegerOr(values, value(SubImageCropPercentageY), 100);
    }
    picture.SubImageCropOriginPercentageX = values.integer(value(SubImageCropOriginPercentageX));
    picture.SubImageCropOriginPercentageY = values.integer(value(SubImageCropOriginPercentageY));
    picture.SubImageBrightnessFactor = values.integer(value(SubImageBrightnessFactor));

    // The first shadow colour anywhere in the strip (the main item's in our own files): groups
    // without one of their own take it.
    const TextSpan stripShadowColour = value(DropShadowColor);

    strip.XOffsetFactor = values.factor(value(XOffsetFactor));
    strip.YOffsetFactor = values.factor(value(YOffsetFactor));
    strip.XSizeFactor = values.factor(value(XSizeFactor));
    strip.YSizeFactor = values.factor(value(YSizeFactor));

    static constexpr Element kGroupElements[kGroupCount] = {MainItemTextParams, SubItemsTextParams,
                                                            PricesTextParams};
    bool pricesPresent = false, pricesHaveTabs = false;
    for (int g = 0; g < kGroupCount; ++g) {
        const TextSpan group = value(kGroupElements[g]);
        if (group.isEmpty())
            continue; // the group keeps its reset defaults
        const bool hasTabs = ReadGroup(values, group, g, stripShadowColour, strip.Groups[g], host);
        if (g == PricesGroup) {
            pricesPresent = true;
            pricesHaveTabs = hasTabs;
        }
    }
    if (pricesPresent)
        CorrectCaloriesSpacing(strip, pricesHaveTabs);

    const TextSpan caloriesColour = value(CaloriesTextColor);
    strip.CaloriesTextColor =
        caloriesColour.isEmpty() ? strip.prices().TextColor : values.colour(caloriesColour);
    strip.CaloriesItalics = values.flag(value(CaloriesItalics));
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
    DocumentValuesReader values(document);
    const TextSpan whole = values.whole();

    layout.NumberOfColumns = values.integer(values.value(whole, NumberOfColumns));
    layout.NumberOfRows = values.integer(values.value(whole, NumberOfRows));
    const TextSpan whitePrint = values.value(whole, WhitePrintBackground);
    layout.WhitePrintBackground = !whitePrint.isEmpty() && values.flag(whitePrint) == 1;
    host.resolveBackground(values.text(values.value(whole, BackgroundFileName)));

    // Counts beyond the store are kept as read (the opening command refuses them); the loops
    // stay inside the store.
    layout.forEachBoardStrip([&](int column, int row, Strip &strip) {
        const TextSpan content = values.strip(column, row);
        if (!content.isEmpty())
            ReadStrip(values, content, strip, host);
        for (TextGroup &group : strip.Groups)
            if (group.Text == u" ")
                group.Text.clear();
    });
}

} // namespace tavrin
