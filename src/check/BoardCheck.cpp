#include "check/BoardCheck.h"

#include "render/BoardAtOwnScale.h"
#include "prices/PriceList.h"
#include "fonts/FontMatching.h"
#include "render/PictureDrawing.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace tavrin {

namespace {

// Every kind with its name for scripts and its heading, in the order reports group them: what a
// customer or an inspector would notice first comes first.
struct KindInfo {
    FindingKind kind;
    const char *name;
    const char *heading;
};
const KindInfo kKinds[] = {
    {FindingKind::PriceWithoutCalories, "price-without-calories", "Prices without calorie counts"},
    {FindingKind::PictureMissing, "picture-missing", "Missing pictures"},
    {FindingKind::FontMissing, "font-missing", "Missing fonts"},
    {FindingKind::TextPastEdge, "text-past-edge", "Text past the board's edge"},
    {FindingKind::TextOverlap, "text-overlap", "Texts running into each other"},
    {FindingKind::LowContrast, "low-contrast", "Text too faint against what is under it"},
    {FindingKind::SmallText, "small-text", "Text too small to read from the viewing distance"},
    {FindingKind::OutsideSafeArea, "outside-safe-area", "Outside the safe area"},
};

const KindInfo &InfoOf(FindingKind kind)
{
    for (const KindInfo &info : kKinds)
        if (info.kind == kind)
            return info;
    return kKinds[0];
}

const char *const kGroupNames[kGroupCount] = {"main item", "sub-items", "prices"};

bool HasDigit(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// Text a render draws: not empty, not the blank of an emptied box, not a placeholder.
bool DrawsText(const TextGroup &group)
{
    return !group.Text.trimmed().isEmpty() && group.Text != QLatin1String("[]");
}

QString Pixels(double value) { return QString::number(value, 'f', 1); }

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(QRgb colour)
{
    return 0.2126 * Linear(qRed(colour)) + 0.7152 * Linear(qGreen(colour)) + 0.0722 * Linear(qBlue(colour));
}

double RatioOfLuminances(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The median contrast of a drawn text against the board under it, over the pixels its glyphs
// cover at least half; infinite when it covers none.
double MedianContrast(const DrawnText &text, const QRectF &ink, const QImage &under)
{
    const QRect area = ink.toAlignedRect().intersected(under.rect());
    if (area.isEmpty() || text.colour.alpha() == 0)
        return std::numeric_limits<double>::infinity();
    QImage coverage(area.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    painter.translate(-area.topLeft());
    text.font.draw(painter, text.text, text.layout, text.alignment, Qt::white);
    painter.end();
    const double luminance = RelativeLuminance(text.colour.rgb());
    std::vector<double> ratios;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb *covered = reinterpret_cast<const QRgb *>(coverage.constScanLine(y));
        for (int x = 0; x < area.width(); ++x)
            if (qAlpha(covered[x]) >= 128)
                ratios.push_back(RatioOfLuminances(luminance, RelativeLuminance(under.pixel(area.x() + x, area.y() + y))));
    }
    if (ratios.empty())
        return std::numeric_limits<double>::infinity();
    const auto middle = ratios.begin() + std::ptrdiff_t(ratios.size() / 2);
    std::nth_element(ratios.begin(), middle, ratios.end());
    return *middle;
}

// The drawn texts of one strip's text group.
struct GroupInk {
    QRectF ink;                                                 // glyphs and shadows together
    double capHeight = std::numeric_limits<double>::infinity(); // the smallest capitals drawn
    std::vector<size_t> texts;                                  // the records of its texts (no shadows)
};

} // namespace

const std::vector<FindingKind> &FindingKindsInOrder()
{
    static const std::vector<FindingKind> kinds = [] {
        std::vector<FindingKind> all;
        for (const KindInfo &info : kKinds)
            all.push_back(info.kind);
        return all;
    }();
    return kinds;
}

QString FindingKindName(FindingKind kind) { return QString::fromLatin1(InfoOf(kind).name); }
QString FindingKindHeading(FindingKind kind) { return QString::fromLatin1(InfoOf(kind).heading); }

QString FindingsSummary(const std::vector<BoardFinding> &findings)
{
    if (findings.empty())
        return QStringLiteral("no findings");
    QStringList counts;
    for (FindingKind kind : FindingKindsInOrder()) {
        const auto count = std::count_if(findings.begin(), findings.end(), [kind](const BoardFinding &f) { return f.kind == kind; });
        if (count > 0) {
            QString heading = FindingKindHeading(kind);
            heading[0] = heading[0].toLower();
            counts << QStringLiteral("%1: %2").arg(heading).arg(count);
        }
    }
    return QStringLiteral("%1 %2 (%3)")
        .arg(findings.size())
        .arg(findings.size() == 1 ? QStringLiteral("finding") : QStringLiteral("findings"), counts.join(QStringLiteral(", ")));
}

double MinimumTextHeight(int boardWidth, int boardHeight, const BoardCheckOptions &options)
{
    if (boardWidth <= 0 || boardHeight <= 0)
        return 0.0;
    // A 16:9 screen turned the way the board is, the board fitted into it.
    const double diagonal = options.screenDiagonalInches * 25.4;
    const double longSide = diagonal * 16.0 / std::sqrt(337.0);
    const double shortSide = diagonal * 9.0 / std::sqrt(337.0);
    const bool landscape = boardWidth >= boardHeight;
    const double millimetresPerPixel = std::min((landscape ? longSide : shortSide) / boardWidth,
                                                (landscape ? shortSide : longSide) / boardHeight);
    const double capitals = options.viewingDistanceMetres * 1000.0 * std::tan(options.minArcMinutes / 60.0 * M_PI / 180.0);
    return capitals / millimetresPerPixel;
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    return RatioOfLuminances(RelativeLuminance(a.rgb()), RelativeLuminance(b.rgb()));
}

QString BoardFinding::text() const
{
    return StripLabel(column, row, mainItem) + QStringLiteral(": ") + message;
}

QStringList CarriedFontFamilies(const QString &folder)
{
    QStringList families;
    if (folder.isEmpty())
        return families;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf"),
                                                      QStringLiteral("*.ttc"), QStringLiteral("*.otc")},
                                                     QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &file : files) {
        const QRawFont font(QDir(folder).filePath(file), 12.0);
        if (font.isValid() && !font.familyName().isEmpty())
            families << font.familyName();
    }
    return families;
}

std::vector<BoardFinding> CheckBoard(const BoardCheckInput &input, const BoardCheckOptions &options)
{
    std::vector<BoardFinding> findings;
    const MenuLayout &layout = input.layout;
    const BoardAtOwnScale rendered = RenderBoardAtOwnScale(layout, input.sources, input.whitePrint);
    if (rendered.board.isNull()) {
        findings.push_back({FindingKind::PictureMissing, 0, 0, QString(),
                            QStringLiteral("the background image cannot be read: ") + input.sources.backgroundImagePath});
        return findings;
    }
    const int width = rendered.board.width(), height = rendered.board.height();
    const QRectF boardRect(0, 0, width, height);
    const double minHeight = options.minTextHeight > 0.0 ? options.minTextHeight : MinimumTextHeight(width, height, options);
    const double margin = std::clamp(options.safeAreaPercent, 0.0, 49.0) / 100.0;
    const QRectF safeArea = boardRect.adjusted(boardRect.width() * margin, boardRect.height() * margin,
                                               -boardRect.width() * margin, -boardRect.height() * margin);
    // Anti-aliased edges may spill a fraction of a pixel.
    const auto within = [](const QRectF &area, const QRectF &box) { return area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box); };
    const auto fontInstalled = input.fontInstalled ? input.fontInstalled
                                                   : std::function<bool(const QString &)>(IsFontInstalled);
    const QStringList carried = CarriedFontFamilies(input.sources.workingFolder);
    const auto isCarried = [&carried](const QString &face) {
        return std::any_of(carried.begin(), carried.end(),
                           [&face](const QString &family) { return family.compare(face, Qt::CaseInsensitive) == 0; });
    };

    // The glyphs the render drew, by strip and text group.
    std::vector<QRectF> inkOf(rendered.texts.size());
    std::map<std::tuple<int, int, int>, GroupInk> groups;
    for (size_t i = 0; i < rendered.texts.size(); ++i) {
        const DrawnText &drawn = rendered.texts[i];
        inkOf[i] = drawn.font.inkBox(drawn.text, drawn.layout, drawn.alignment);
        if (inkOf[i].isEmpty())
            continue;
        GroupInk &group = groups[{drawn.column, drawn.row, drawn.group}];
        group.ink = group.ink.isEmpty() ? inkOf[i] : group.ink.united(inkOf[i]);
        if (!drawn.shadow) {
            group.capHeight = std::min(group.capHeight, drawn.font.capHeight());
            group.texts.push_back(i);
        }
    }
    QImage under;
    if (!groups.empty())
        under = RenderBoardUnderTexts(layout, input.sources, input.whitePrint);

    layout.forEachBoardStrip([&](int c, int r, const Strip &strip) {
        const QString mainItem = MainItemFirstLine(strip);
        const auto report = [&](FindingKind kind, const QString &message) {
            findings.push_back({kind, c, r, mainItem, message});
        };

        QStringList uncounted;
        if (DrawsText(strip.prices()))
            for (const PriceEntry &e : PriceEntriesOfText(strip.prices().Text))
                if (HasDigit(e.price) && e.calories.trimmed().isEmpty())
                    uncounted << e.price.trimmed();
        if (!uncounted.isEmpty())
            report(FindingKind::PriceWithoutCalories,
                   QStringLiteral("price without a calorie count: ") + uncounted.join(QStringLiteral(", ")));

        QStringList fontsReported;
        for (int g = 0; g < kGroupCount; ++g) {
            const TextGroup &group = strip.Groups[g];
            if (!DrawsText(group))
                continue;
            const QString name = QString::fromLatin1(kGroupNames[g]);
            if (!group.Font.isEmpty() && !fontsReported.contains(group.Font) && !fontInstalled(group.Font)
                && !isCarried(group.Font)) {
                fontsReported << group.Font;
                report(FindingKind::FontMissing,
                       QStringLiteral("font \"%1\" is neither installed nor carried in the package").arg(group.Font));
            }
            const auto own = groups.find({c, r, g});
            if (own == groups.end())
                continue;
            const GroupInk &ink = own->second;
            if (std::isfinite(ink.capHeight) && ink.capHeight < minHeight)
                report(FindingKind::SmallText, QStringLiteral("%1 text's capitals are %2 px high on the TV, under %3 px")
                                                   .arg(name, Pixels(ink.capHeight), Pixels(minHeight)));
            if (!within(boardRect, ink.ink))
                report(FindingKind::TextPastEdge, name + QStringLiteral(" text runs past the board's edge"));
            else if (!within(safeArea, ink.ink))
                report(FindingKind::OutsideSafeArea, name + QStringLiteral(" text is outside the safe area"));

            // Glyphs running into another strip's: each pair of groups once, at the strip that
            // comes first.
            for (auto other = std::next(own); other != groups.end(); ++other) {
                const auto &[oc, orow, og] = other->first;
                if ((oc == c && orow == r) || !ink.ink.intersects(other->second.ink))
                    continue;
                const bool touching = std::any_of(ink.texts.begin(), ink.texts.end(), [&](size_t mine) {
                    return std::any_of(other->second.texts.begin(), other->second.texts.end(),
                                       [&](size_t theirs) { return inkOf[mine].intersects(inkOf[theirs]); });
                });
                if (touching)
                    report(FindingKind::TextOverlap,
                           name + QStringLiteral(" text runs into the %1 text of ").arg(QString::fromLatin1(kGroupNames[og]))
                               + StripLabel(oc, orow, MainItemFirstLine(layout.strip(oc, orow))));
            }

            // Contrast, for the texts and the calorie counts apart.
            for (const bool calories : {false, true}) {
                double lowest = std::numeric_limits<double>::infinity();
                QColor colour;
                for (size_t i : ink.texts) {
                    const DrawnText &drawn = rendered.texts[i];
                    if (drawn.calories != calories)
                        continue;
                    const double contrast = MedianContrast(drawn, inkOf[i], under);
                    if (contrast < lowest) {
                        lowest = contrast;
                        colour = drawn.colour;
                    }
                }
                if (lowest < options.minContrast)
                    report(FindingKind::LowContrast,
                           QStringLiteral("%1 text (%2) has a contrast of %3:1 with what is drawn under it, under %4:1")
                               .arg(calories ? QStringLiteral("calorie") : name, colour.name(),
                                    QString::number(lowest, 'f', 1), QString::number(options.minContrast, 'f', 1)));
            }
        }

        for (const FontSubstitution &s : rendered.substitutions.all()) {
            if (s.column != c || s.row != r)
                continue;
            // A font already reported missing is not reported again as drawn with another.
            if (s.kind == SubstitutionKind::OtherFamily && fontsReported.contains(s.face))
                continue;
            report(s.kind == SubstitutionKind::OtherFamily ? FindingKind::FontSubstituted
                   : s.kind == SubstitutionKind::MadeUpStyle ? FindingKind::StyleMadeUp
                                                            : FindingKind::CharacterMissing,
                   QString::fromLatin1(kGroupNames[s.group]) + QStringLiteral(" text: ") + s.message());
        }

        const QString picture = strip.Picture.SubImageFileName;
        if (!picture.isEmpty()) {
            if (!QFileInfo(picture).isFile())
                report(FindingKind::PictureMissing,
                       QStringLiteral("picture \"%1\" is missing from the package").arg(QFileInfo(picture).fileName()));
            const StripGeometry &geometry = (*rendered.geometry)(c, r);
            const double reach = PictureBorderReach(strip, width, height, input.whitePrint);
            const QRectF frame = rendered.boardBox(geometry.stripRect).adjusted(-reach, -reach, reach, reach);
            if (frame.width() > 0 && frame.height() > 0 && !within(safeArea, frame))
                report(FindingKind::OutsideSafeArea, QStringLiteral("picture is outside the safe area"));
        }
    });
    return findings;
}

} // namespace tavrin
