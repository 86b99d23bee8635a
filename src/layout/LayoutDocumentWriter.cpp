#include "layout/LayoutDocument.h"

#include "Version.h"
#include "layout/DocumentValues.h"
#include "layout/PathText.h"
#include "layout/StripOperations.h"

namespace tavrin {

namespace {

// Appends "<name>value</name>"; values go in as they are, without escaping.
class ElementWriter {
public:
    explicit ElementWriter(QString &out) : out_(out) {}

    void open(const char *name) { out_ += u'<'; out_ += QLatin1String(name); out_ += u'>'; }
    void close(const char *name) { out_ += u"</"; out_ += QLatin1String(name); out_ += u'>'; }
    void element(const char *name, const QString &value)
    {
        open(name);
        out_ += value;
        close(name);
    }

private:
    QString &out_;
};

void WriteGroup(ElementWriter &w, const char *name, const TextGroup &group, DocumentForm form)
{
    w.open(name);
    // "~" is the editor's transient marker inside the three texts only; nothing else loses it.
    w.element("Text", form == DocumentForm::ForPackage ? QString(group.Text).remove(u'~') : group.Text);
    w.element("TextColor", ColourText(group.TextColor));
    w.element("DropShadowColor", ColourText(group.DropShadowColor));
    w.element("Font", group.Font);
    w.element("Xref", FactorText(group.Xref));
    w.element("Yref", FactorText(group.Yref));
    w.element("ScaleFactor", FactorText(group.ScaleFactor));
    w.element("LineSpacingFactor", FactorText(group.LineSpacingFactor));
    w.element("Bold", FlagText(group.Bold));
    w.element("Italics", FlagText(group.Italics));
    w.element("CenterInStrip", FlagText(group.CenterInStrip));
    w.element("GroupAlignment", AlignmentText(group.GroupAlignment));
    w.close(name);
}

void WriteStripContent(ElementWriter &w, const Strip &strip, DocumentForm form)
{
    const StripPicture &p = strip.Picture;
    w.element("BackGroundColor", ColourText(strip.BackGroundColor));
    w.element("CaloriesTextColor", ColourText(strip.CaloriesTextColor));
    w.element("CaloriesItalics", FlagText(strip.CaloriesItalics));
    w.element("PriceTabSpacingFactor", FactorText(strip.PriceTabSpacingFactor));
    w.element("CaloriesSpacingFactor", FactorText(strip.CaloriesSpacingFactor));
    w.element("SubImageFileName",
              form == DocumentForm::ForPackage ? FileNamePart(p.SubImageFileName) : p.SubImageFileName);
    w.element("ImageHiddenOnWhite", FlagText(p.ImageHiddenOnWhite));
    w.element("SubImageFrameIndex", IntegerText(p.SubImageFrameIndex));
    w.element("SubImageCropPercentageX", IntegerText(p.SubImageCropPercentageX));
    w.element("SubImageCropPercentageY", IntegerText(p.SubImageCropPercentageY));
    w.element("SubImageCropOriginPercentageX", IntegerText(p.SubImageCropOriginPercentageX));
    w.element("SubImageCropOriginPercentageY", IntegerText(p.SubImageCropOriginPercentageY));
    w.element("SubImageBrightnessFactor", IntegerText(p.SubImageBrightnessFactor));
    w.element("XOffsetFactor", FactorText(strip.XOffsetFactor));
    w.element("YOffsetFactor", FactorText(strip.YOffsetFactor));
    w.element("XSizeFactor", FactorText(strip.XSizeFactor));
    w.element("YSizeFactor", FactorText(strip.YSizeFactor));
    // The main item group is always written; the other two only when they have text.
    WriteGroup(w, "MainItemTextParams", strip.mainItem(), form);
    if (!strip.subItems().Text.isEmpty())
        WriteGroup(w, "SubItemsTextParams", strip.subItems(), form);
    if (!strip.prices().Text.isEmpty())
        WriteGroup(w, "PricesTextParams", strip.prices(), form);
}

} // namespace

QString NameAndVersionText()
{
    return QString::fromUtf8(version::kProductName) + QStringLiteral(" Version")
        + QStringLiteral("%1.%2.%3.%4")
              .arg(version::kMajor)
              .arg(version::kMinor)
              .arg(version::kBuild)
              .arg(version::kRevision);
}

QString BuildLayoutDocument(const MenuLayout &layout, const QString &backgroundPath, DocumentForm form)
{
    QString out;
    // A strip in use takes about 1 000 characters plus its texts.
    out.reserve(512 + qsizetype(layout.boardColumns()) * layout.boardRows() * 1200);
    ElementWriter w(out);

    out += u"<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?>";
    w.open("MenuData");

    w.open("ApplicationData");
    w.element("NameAndVersion", NameAndVersionText());
    w.close("ApplicationData");

    w.open("MenuGeneralData");
    w.element("BackgroundFileName", FileNamePart(backgroundPath));
    w.element("NumberOfColumns", IntegerText(layout.NumberOfColumns));
    w.element("NumberOfRows", IntegerText(layout.NumberOfRows));
    w.element("WhitePrintBackground", FlagText(layout.WhitePrintBackground ? 1 : 0));
    w.close("MenuGeneralData");

    w.open("StripsData");
    layout.forEachBoardStrip([&](int column, int row, const Strip &strip) {
        const QString name = QStringLiteral("Strip%1-%2").arg(column).arg(row);
        out += u'<';
        out += name;
        out += u'>';
        if (IsStripInUse(strip))
            WriteStripContent(w, strip, form);
        out += u"</";
        out += name;
        out += u'>';
    });
    w.close("StripsData");

    w.close("MenuData");
    return out;
}

} // namespace tavrin
