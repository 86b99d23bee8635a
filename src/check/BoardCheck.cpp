#include "check/BoardCheck.h"

#include "render/BoardAtOwnScale.h"
#include "prices/PriceList.h"
#include "fonts/FontMatching.h"

#include <QDir>
#include <QFileInfo>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

// Em size per cell height of a font of scale factor 1 (the text drawing's rule).
constexpr double kEmPerCellHeight = 0.736;
constexpr double kDefaultMinTextHeightPerBoardHeight = 1.0 / 40.0;

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

} // namespace

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
    const QRectF boardRect(0, 0, rendered.board.width(), rendered.board.height());
    const double minHeight = options.minTextHeight > 0.0 ? options.minTextHeight
                                                         : boardRect.height() * kDefaultMinTextHeightPerBoardHeight;
    const double margin = std::clamp(options.safeAreaPercent, 0.0, 49.0) / 100.0;
    const QRectF safeArea = boardRect.adjusted(boardRect.width() * margin, boardRect.height() * margin,
                                               -boardRect.width() * margin, -boardRect.height() * margin);
    const auto fontInstalled = input.fontInstalled ? input.fontInstalled
                                                   : std::function<bool(const QString &)>(IsFontInstalled);
    const QStringList carried = CarriedFontFamilies(input.sources.workingFolder);
    const auto isCarried = [&carried](const QString &face) {
        return std::any_of(carried.begin(), carried.end(),
                           [&face](const QString &family) { return family.compare(face, Qt::CaseInsensitive) == 0; });
    };

    // The drawn text boxes of the board, for the overlap test.
    struct TextBox {
        int column, row, group;
        QRectF box;
    };
    std::vector<TextBox> boxes;
    layout.forEachBoardStrip([&](int c, int r, const Strip &strip) {
        for (int g = 0; g < kGroupCount; ++g) {
            const RectF32 &hit = (*rendered.geometry)(c, r).hitBoxes[g];
            if (DrawsText(strip.Groups[g]) && hit.width > 0.f && hit.height > 0.f)
                boxes.push_back({c, r, g, rendered.boardBox(hit)});
        }
    });

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

        const StripGeometry &geometry = (*rendered.geometry)(c, r);
        const double cellHeight = geometry.cellRect.height / std::max(rendered.preview.previewScale, 1e-9);
        QStringList fontsReported;
        for (int g = 0; g < kGroupCount; ++g) {
            const TextGroup &group = strip.Groups[g];
            if (!DrawsText(group))
                continue;
            const QString name = QString::fromLatin1(kGroupNames[g]);
            const double em = kEmPerCellHeight * group.ScaleFactor * cellHeight;
            if (std::isfinite(em) && em < minHeight)
                report(FindingKind::SmallText, QStringLiteral("%1 text is %2 px high on the TV, under %3 px")
                                                   .arg(name, Pixels(em), Pixels(minHeight)));
            if (!group.Font.isEmpty() && !fontsReported.contains(group.Font) && !fontInstalled(group.Font)
                && !isCarried(group.Font)) {
                fontsReported << group.Font;
                report(FindingKind::FontMissing,
                       QStringLiteral("font \"%1\" is neither installed nor carried in the package").arg(group.Font));
            }
            const auto own = std::find_if(boxes.begin(), boxes.end(), [&](const TextBox &b) {
                return b.column == c && b.row == r && b.group == g;
            });
            if (own == boxes.end())
                continue;
            const QRectF &box = own->box;
            if (!boardRect.contains(box)) {
                report(FindingKind::TextPastEdge, name + QStringLiteral(" text runs past the board's edge"));
            } else if (!safeArea.contains(box)) {
                report(FindingKind::OutsideSafeArea, name + QStringLiteral(" text is outside the safe area"));
            }
            // Each pair once, reported at the strip that comes first.
            for (auto other = std::next(own); other != boxes.end(); ++other) {
                if ((other->column == c && other->row == r) || !box.intersects(other->box))
                    continue;
                report(FindingKind::TextOverlap,
                       name + QStringLiteral(" text runs into the %1 text of ").arg(QString::fromLatin1(kGroupNames[other->group]))
                           + StripLabel(other->column, other->row, MainItemFirstLine(layout.strip(other->column, other->row))));
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
            const QRectF frame = rendered.boardBox(geometry.stripRect);
            if (frame.width() > 0 && frame.height() > 0 && !safeArea.contains(frame))
                report(FindingKind::OutsideSafeArea, QStringLiteral("picture is outside the safe area"));
        }
    });
    return findings;
}

} // namespace tavrin
