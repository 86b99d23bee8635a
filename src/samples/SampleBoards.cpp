#include "samples/SampleBoards.h"

#include "editor/ColourPalette.h"
#include "fonts/FontMatching.h"
#include "images/TvImageOutput.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "platform/SilentPrompter.h"
#include "render/BoardRenderer.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTemporaryDir>

#include <memory>

namespace tavrin::samples {

namespace {

constexpr double kDotsPerMeterAt72Dpi = 72 / 0.0254;

Colour Named(const char *name)
{
    for (const PaletteEntry &entry : ColourPalette())
        if (qstrcmp(entry.name, name) == 0)
            return entry.value;
    return kWhite;
}

bool SaveJpeg(QImage image, const QString &path, int quality = 90)
{
    image.setDotsPerMeterX(int(kDotsPerMeterAt72Dpi));
    image.setDotsPerMeterY(int(kDotsPerMeterAt72Dpi));
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    return writer.write(image.convertToFormat(QImage::Format_RGB32));
}

// A dark warm gradient with a soft light in the upper middle and faint diagonal stripes.
QImage Background(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient vertical(0, 0, 0, height);
    vertical.setColorAt(0.0, QColor(52, 18, 14));
    vertical.setColorAt(1.0, QColor(12, 10, 12));
    painter.fillRect(image.rect(), vertical);
    QRadialGradient glow(width * 0.5, height * 0.2, width * 0.6);
    glow.setColorAt(0.0, QColor(255, 170, 80, 60));
    glow.setColorAt(1.0, QColor(255, 170, 80, 0));
    painter.fillRect(image.rect(), glow);
    painter.setPen(QPen(QColor(255, 255, 255, 10), width / 400.0));
    for (int x = -height; x < width; x += width / 40)
        painter.drawLine(x, height, x + height, 0);
    return image;
}

// A burger on a wooden board: bun, lettuce, cheese and patty drawn from shapes.
QImage BurgerPicture()
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wood(0, 0, 800, 600);
    wood.setColorAt(0, QColor(120, 78, 40));
    wood.setColorAt(1, QColor(70, 42, 20));
    painter.fillRect(image.rect(), wood);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 150, 70));
    painter.drawChord(QRectF(170, 330, 460, 140), 180 * 16, 180 * 16); // bottom bun
    painter.setBrush(QColor(90, 45, 25));
    painter.drawRoundedRect(QRectF(160, 300, 480, 60), 30, 30); // patty
    painter.setBrush(QColor(250, 200, 40));
    painter.drawRect(QRectF(180, 285, 440, 25)); // cheese
    painter.setBrush(QColor(90, 170, 60));
    painter.drawRoundedRect(QRectF(165, 265, 470, 30), 15, 15); // lettuce
    painter.setBrush(QColor(222, 160, 75));
    painter.drawChord(QRectF(170, 110, 460, 330), 0, 180 * 16); // top bun
    painter.setBrush(QColor(250, 240, 210));
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QPointF(260 + (i * 53) % 290, 170 + (i * 37) % 90), 7, 4); // sesame
    return image;
}

QImage FriesPicture()
{
    QImage image(600, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), QColor(30, 90, 140));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        painter.setBrush(QColor(245, 200 + (i * 7) % 40, 70));
        painter.save();
        painter.translate(200 + i * 15, 300);
        painter.rotate(-20 + (i * 13) % 40);
        painter.drawRoundedRect(QRectF(-12, -220, 24, 240), 6, 6);
        painter.restore();
    }
    painter.setBrush(QColor(200, 30, 40));
    QPainterPath box;
    box.moveTo(150, 280);
    box.lineTo(450, 280);
    box.lineTo(410, 560);
    box.lineTo(190, 560);
    box.closeSubpath();
    painter.drawPath(box);
    return image;
}

// The house logo: a round badge on a transparent ground.
QImage LogoPicture()
{
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(250, 200, 40), 16));
    painter.setBrush(QColor(160, 20, 30));
    painter.drawEllipse(QRectF(20, 20, 360, 360));
    QFont font(QStringLiteral("DejaVu Sans"), 10, QFont::Bold);
    font.setPixelSize(220);
    painter.setFont(font);
    painter.setPen(QColor(250, 240, 220));
    painter.drawText(QRectF(20, 20, 360, 360), Qt::AlignCenter, QStringLiteral("T"));
    return image;
}

// Style shared by the board's lines of menu items. Texts keep inside the action-safe area of a
// TV (3.5 % of the width in from each side).
struct ItemStyle {
    QString font = QStringLiteral("Liberation Sans");
    double mainScale = 0.52;
    double subScale = 0.30;
    double priceScale = 0.46;
};

void SetItem(Strip &strip, const QString &name, const QString &subItems, const QString &prices,
             const ItemStyle &style = {})
{
    TextGroup &main = strip.mainItem();
    main.Text = name;
    main.Font = style.font;
    main.Bold = 1;
    main.ScaleFactor = style.mainScale;
    main.Xref = 0.075;
    main.Yref = 0.04;
    main.TextColor = kWhite;
    main.DropShadowColor = kBlack;

    if (!subItems.isEmpty()) {
        TextGroup &sub = strip.subItems();
        sub.Text = subItems;
        sub.Font = QStringLiteral("DejaVu Sans");
        sub.Italics = 1;
        sub.ScaleFactor = style.subScale;
        sub.Xref = 0.095;
        sub.Yref = 0.55;
        sub.TextColor = Named("Pale Yellow");
        sub.DropShadowColor = kClearColour;
    }
    if (!prices.isEmpty()) {
        TextGroup &price = strip.prices();
        price.Text = prices;
        price.Font = style.font;
        price.Bold = 1;
        price.ScaleFactor = style.priceScale;
        price.Xref = 0.9;
        price.Yref = 0.12;
        price.GroupAlignment = int(GroupAlignment::Right);
        price.TextColor = kWhite;
        price.DropShadowColor = kBlack;
        strip.CaloriesTextColor = Named("Med Yellow");
        strip.CaloriesItalics = 1;
        // Room for four-digit calorie counts beside four-character prices.
        strip.PriceTabSpacingFactor = 10.0;
        strip.CaloriesSpacingFactor = 5.0;
    }
}

// Where a board's headings sit in their bands: low enough that the first row's stays inside the
// action-safe area of a TV (3.5 % of the height from the top).
struct HeadingPlace {
    double titleYref;
    double labelsYref;
};
constexpr HeadingPlace kLandscapeHeadings{0.43, 0.56};
constexpr HeadingPlace kPortraitHeadings{0.52, 0.66};

void SetHeading(Strip &strip, const QString &title, Colour background, const HeadingPlace &place,
                const QString &columnLabels = {})
{
    strip.BackGroundColor = background;
    TextGroup &main = strip.mainItem();
    main.Text = title;
    main.Font = QStringLiteral("Liberation Serif");
    main.Bold = 1;
    main.ScaleFactor = 0.62;
    main.CenterInStrip = 1;
    main.Yref = place.titleYref;
    main.TextColor = Named("Gold");
    main.DropShadowColor = kBlack;
    if (!columnLabels.isEmpty()) {
        TextGroup &labels = strip.prices();
        labels.Text = columnLabels;
        labels.Font = QStringLiteral("Liberation Sans");
        labels.ScaleFactor = 0.32;
        labels.Xref = 0.9;
        labels.Yref = place.labelsYref;
        labels.GroupAlignment = int(GroupAlignment::Right);
        labels.TextColor = kWhite;
        strip.PriceTabSpacingFactor = 10.0 * 0.46 / 0.32; // the same columns as the prices below
    }
}

void SetPicture(Strip &strip, const QString &path, int frameIndex)
{
    strip.Picture.SubImageFileName = path;
    strip.Picture.SubImageFrameIndex = frameIndex;
    strip.Picture.SubImageCropPercentageX = 100;
    strip.Picture.SubImageCropPercentageY = 100;
}

void FillLandscape(MenuLayout &layout, const QString &folder)
{
    layout.NumberOfColumns = 2;
    layout.NumberOfRows = 16;
    const QString column = QStringLiteral("Single^Double");
    SetHeading(layout.strip(0, 0), QStringLiteral("BURGERS"), Named("Burgundy"), kLandscapeHeadings, column);
    SetItem(layout.strip(0, 1), QStringLiteral("Classic Burger"), QStringLiteral("Lettuce, tomato, pickles, house sauce"),
            QStringLiteral("5.99>540^7.49>720"));
    SetItem(layout.strip(0, 2), QStringLiteral("Cheeseburger"), QStringLiteral("Aged cheddar, onion, mustard"),
            QStringLiteral("6.49>610^7.99>830"));
    SetItem(layout.strip(0, 3), QStringLiteral("Bacon Stack"), QStringLiteral("Smoked bacon, cheddar, BBQ glaze"),
            QStringLiteral("7.29>780^8.99>1050"));
    SetItem(layout.strip(0, 4), QStringLiteral("Mushroom Swiss"), QStringLiteral("Roasted mushrooms, Swiss cheese"),
            QStringLiteral("6.99>650^8.49>880"));
    SetItem(layout.strip(0, 5), QStringLiteral("Veggie Garden"), QStringLiteral("Black bean patty, avocado"),
            QStringLiteral("6.49>480^7.99>640"));
    SetItem(layout.strip(0, 6), QStringLiteral("Spicy Jalapeño"), QStringLiteral("Pepper jack, jalapeños, chipotle"),
            QStringLiteral("6.79>630^8.29>850"));
    SetHeading(layout.strip(0, 7), QStringLiteral("SIDES"), Named("Cobalt"), kLandscapeHeadings, QStringLiteral("Regular^Large"));
    SetItem(layout.strip(0, 8), QStringLiteral("Golden Fries"), QString(), QStringLiteral("2.49>320^3.29>490"));
    SetItem(layout.strip(0, 9), QStringLiteral("Onion Rings"), QString(), QStringLiteral("2.99>410^3.79>590"));
    SetItem(layout.strip(0, 10), QStringLiteral("Sweet Potato Fries"), QString(), QStringLiteral("3.19>340^3.99>510"));
    SetItem(layout.strip(0, 11), QStringLiteral("Side Salad"), QStringLiteral("Mixed greens, vinaigrette"),
            QStringLiteral("3.49>120"));
    SetItem(layout.strip(0, 12), QStringLiteral("Mozzarella Sticks"), QStringLiteral("Six pieces, marinara"),
            QStringLiteral("4.49>560"));

    // Fries picture over the lower left corner, cropped to its middle, with a wide black border.
    Strip &fries = layout.strip(0, 13);
    SetPicture(fries, folder + QStringLiteral("/fries.jpg"), 3);
    fries.XOffsetFactor = 0.08;
    fries.XSizeFactor = 0.33;
    fries.YSizeFactor = 2.3;
    fries.Picture.SubImageCropPercentageX = 80;
    fries.Picture.SubImageCropPercentageY = 80;
    fries.Picture.SubImageCropOriginPercentageX = 10;
    fries.Picture.SubImageCropOriginPercentageY = 10;
    SetItem(layout.strip(0, 14), QStringLiteral("Combo Meal"), QStringLiteral("Any burger, fries and a drink"),
            QStringLiteral("3.00"));
    layout.strip(0, 14).mainItem().Xref = 0.48;
    layout.strip(0, 14).subItems().Xref = 0.49;

    SetHeading(layout.strip(1, 0), QStringLiteral("CHICKEN"), Named("Burgundy"), kLandscapeHeadings, column);
    SetItem(layout.strip(1, 1), QStringLiteral("Crispy Chicken"), QStringLiteral("Buttermilk fried, slaw, mayo"),
            QStringLiteral("6.29>590^7.79>790"));
    SetItem(layout.strip(1, 2), QStringLiteral("Grilled Chicken"), QStringLiteral("Herb marinade, tomato, greens"),
            QStringLiteral("6.49>430^7.99>560"));
    SetItem(layout.strip(1, 3), QStringLiteral("Chicken Tenders"), QStringLiteral("Four or six pieces, two sauces"),
            QStringLiteral("5.49>470^7.29>700"));
    SetItem(layout.strip(1, 4), QStringLiteral("Buffalo Wrap"), QStringLiteral("Hot sauce, ranch, romaine"),
            QStringLiteral("5.99>540"));
    SetHeading(layout.strip(1, 6), QStringLiteral("DRINKS"), Named("Plum"), kLandscapeHeadings, QStringLiteral("Medium^Large"));
    SetItem(layout.strip(1, 7), QStringLiteral("Soft Drinks"), QString(), QStringLiteral("1.79>210^2.19>300"));
    SetItem(layout.strip(1, 8), QStringLiteral("Fresh Lemonade"), QString(), QStringLiteral("2.49>180^2.99>250"));
    SetItem(layout.strip(1, 9), QStringLiteral("Iced Tea"), QString(), QStringLiteral("1.99>90^2.49>120"));
    SetItem(layout.strip(1, 10), QStringLiteral("Milkshake"), QStringLiteral("Vanilla, chocolate or strawberry"),
            QStringLiteral("3.99>620^4.79>810"));

    // The burger picture fills the lower right, with a white border and a little cropped.
    Strip &burger = layout.strip(1, 12);
    SetPicture(burger, folder + QStringLiteral("/burger.jpg"), 5);
    burger.XOffsetFactor = 0.45;
    burger.XSizeFactor = 0.47;
    burger.YSizeFactor = 3.3;
    burger.Picture.SubImageCropPercentageX = 90;
    burger.Picture.SubImageCropPercentageY = 90;
    burger.Picture.SubImageCropOriginPercentageX = 5;
    burger.Picture.SubImageCropOriginPercentageY = 5;

    // The logo sits over the burger's corner and is drawn on top of it.
    Strip &logo = layout.strip(1, 13);
    SetPicture(logo, folder + QStringLiteral("/house_logo.png"), 0);
    logo.XOffsetFactor = 0.38;
    logo.XSizeFactor = 0.16;
    logo.YSizeFactor = 2.3;

    Strip &footer = layout.strip(1, 11);
    footer.mainItem().Text = QStringLiteral("Calories shown in yellow");
    footer.mainItem().Font = QStringLiteral("DejaVu Sans");
    footer.mainItem().ScaleFactor = 0.3;
    footer.mainItem().CenterInStrip = 1;
    footer.mainItem().Yref = 0.3;
    footer.mainItem().TextColor = Named("Med Yellow");
}

void FillPortrait(MenuLayout &layout, const QString &folder)
{
    layout.NumberOfColumns = 1;
    layout.NumberOfRows = 18;
    const QString column = QStringLiteral("Single^Double");
    SetHeading(layout.strip(0, 0), QStringLiteral("BURGERS"), Named("Burgundy"), kPortraitHeadings, column);
    const char *names[] = {"Classic Burger", "Cheeseburger", "Bacon Stack", "Mushroom Swiss", "Veggie Garden"};
    const char *subs[] = {"Lettuce, tomato, pickles", "Aged cheddar, onion", "Smoked bacon, BBQ glaze",
                          "Roasted mushrooms, Swiss", "Black bean patty, avocado"};
    for (int i = 0; i < 5; ++i)
        SetItem(layout.strip(0, 1 + i), QString::fromUtf8(names[i]), QString::fromUtf8(subs[i]),
                QStringLiteral("%1.49>%2^%3.99>%4").arg(5 + i).arg(500 + 40 * i).arg(7 + i).arg(690 + 50 * i));
    SetHeading(layout.strip(0, 7), QStringLiteral("SIDES"), Named("Cobalt"), kPortraitHeadings, QStringLiteral("Regular^Large"));
    SetItem(layout.strip(0, 8), QStringLiteral("Golden Fries"), QString(), QStringLiteral("2.49>320^3.29>490"));
    SetItem(layout.strip(0, 9), QStringLiteral("Onion Rings"), QString(), QStringLiteral("2.99>410^3.79>590"));
    SetItem(layout.strip(0, 10), QStringLiteral("Soft Drinks"), QString(), QStringLiteral("1.79>210^2.19>300"));
    SetItem(layout.strip(0, 11), QStringLiteral("Milkshake"), QStringLiteral("Vanilla or chocolate"),
            QStringLiteral("3.99>620^4.79>810"));
    Strip &burger = layout.strip(0, 12);
    SetPicture(burger, folder + QStringLiteral("/burger.jpg"), 2);
    burger.XOffsetFactor = 0.1;
    burger.XSizeFactor = 0.8;
    burger.YSizeFactor = 5.0;
    Strip &logo = layout.strip(0, 15);
    SetPicture(logo, folder + QStringLiteral("/house_logo.png"), 0);
    logo.XOffsetFactor = 0.72;
    logo.XSizeFactor = 0.22;
    logo.YSizeFactor = 2.2;
}

} // namespace

const SampleSpec &Spec(SampleKind kind)
{
    static const SampleSpec specs[] = {
        {SampleKind::Landscape, "SampleLandscape", 1920, 1080},
        {SampleKind::Portrait, "SamplePortrait", 1080, 1920},
        {SampleKind::UltraHd, "SampleUltraHd", 3840, 2160},
    };
    return specs[int(kind)];
}

const QList<SampleKind> &AllSamples()
{
    static const QList<SampleKind> all{SampleKind::Landscape, SampleKind::Portrait, SampleKind::UltraHd};
    return all;
}

void BuildSample(SampleKind kind, const QString &folder, MenuLayout &layout)
{
    const SampleSpec &spec = Spec(kind);
    QDir().mkpath(folder);
    SaveJpeg(Background(spec.width, spec.height), folder + QStringLiteral("/Background.jpg"));
    SaveJpeg(BurgerPicture(), folder + QStringLiteral("/burger.jpg"));
    SaveJpeg(FriesPicture(), folder + QStringLiteral("/fries.jpg"));
    LogoPicture().save(folder + QStringLiteral("/house_logo.png"), "png");

    Strip working;
    ResetAllStrips(layout, working, kWhite);
    if (kind == SampleKind::Portrait)
        FillPortrait(layout, folder);
    else
        FillLandscape(layout, folder);
}

QStringList WriteSample(SampleKind kind, const QString &outputFolder, QString *error)
{
    QTemporaryDir working;
    if (!working.isValid()) {
        *error = QStringLiteral("cannot make a temporary folder");
        return {};
    }
    auto layout = std::make_unique<MenuLayout>();
    auto geometry = std::make_unique<GeometryRecords>();
    BuildSample(kind, working.path(), *layout);

    // The output render gathers the fonts the texts use into the working folder and the list.
    FontList fontList;
    BoardRenderer renderer(*layout, *geometry);
    renderer.sources.backgroundName = QStringLiteral("Background.jpg");
    renderer.sources.backgroundImagePath = working.path() + QStringLiteral("/Background.jpg");
    renderer.sources.workingFolder = working.path();
    renderer.fontList = &fontList;
    const SampleSpec &spec = Spec(kind);
    const QImage board = renderer.renderForOutput(QRect(0, 0, spec.width + 1, spec.height + 1), false);
    if (board.isNull()) {
        *error = QStringLiteral("cannot render the board");
        return {};
    }

    QDir().mkpath(outputFolder);
    const QString package = outputFolder + QLatin1Char('/') + QLatin1String(spec.baseName)
        + QStringLiteral("_LAYOUT.MARBIX");
    const QString tvImage = TvImagePathForPackage(package, false);
    SilentPrompter prompter;
    if (!SaveTvImage(board, tvImage, TvImageFormat::Jpeg)
        || !WriteLayoutPackage(package, {*layout, true, renderer.sources.backgroundImagePath, fontList, working.path()},
                               prompter)) {
        *error = QStringLiteral("cannot write ") + package;
        return {};
    }
    return {package, tvImage};
}

} // namespace tavrin::samples
