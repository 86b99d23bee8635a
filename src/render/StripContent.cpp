#include "render/StripContent.h"

#include "layout/StripOperations.h"
#include "render/FontUse.h"
#include "render/PictureDrawing.h"
#include "render/PriceLineDrawing.h"
#include "render/PricesLayout.h"
#include "render/TextMeasure.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tavrin {

namespace {

// Text height is a fixed share of the cell height, so a board looks the same at any resolution.
constexpr double kEmPerCellHeight = 0.736;
constexpr double kLineAdvancePerEm = 1.14;
constexpr double kMarginPerDigit = 1.2;
constexpr double kShadowOffsetPerPoint = 0.1;
constexpr double kMinShadowOffset = 1.0;
constexpr double kHitBoxHeightCutPerPoint = 0.15;
constexpr int kPricesLinesDrawn = 2;
const QString kPlaceholder = QStringLiteral("[]");
const QString kTwentyDigits = QString(20, u'0');

double Finite(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// The colour text is drawn in: clear means no colour, so such text is not drawn at all.
QColor TextColour(Colour colour)
{
    return IsClear(colour) ? QColor(Qt::transparent) : ToQColor(colour);
}

// The preview-pixel hit box of one drawn line whose box is in board pixels: a little smaller than
// the line, so that neighbouring lines and groups do not overlap.
QRectF LineHitBox(const QRectF &box, double emPoints, const PreviewGeometry &preview)
{
    const double s = preview.previewScale;
    const double height = (box.height() - kHitBoxHeightCutPerPoint * emPoints) * s;
    QRectF hit(box.x() * s + preview.previewArea.x(), box.y() * s + preview.previewArea.y(), box.width() * s,
               height);
    hit.translate(-height / 16.0, 0.0);
    const double shrink = height / 10.0;
    return QRectF(hit.x() + shrink, hit.y() + shrink, hit.width() - 2.0 * shrink, hit.height() - 2.0 * shrink);
}

// Edge-wise union; unlike QRectF::united it keeps boxes of no width or height.
QRectF Union(const QRectF &a, const QRectF &b)
{
    const double left = std::min(a.x(), b.x());
    const double top = std::min(a.y(), b.y());
    const double right = std::max(a.x() + a.width(), b.x() + b.width());
    const double bottom = std::max(a.y() + a.height(), b.y() + b.height());
    return QRectF(left, top, right - left, bottom - top);
}

RectF32 ToRect32(const QRectF &r)
{
    return {float(r.x()), float(r.y()), float(r.width()), float(r.height())};
}

// What one group is drawn with in this render.
struct GroupDrawing {
    int index = 0;
    const TextGroup *group = nullptr;
    Colour textColour = kWhite;
    Colour shadowColour = kClearColour;
    GroupAlignment alignment = GroupAlignment::Left;
    double emPixels = 0.0;
    double emPoints = 0.0;
    double lineAdvance = 0.0;
    TextFont font;
    double digitWidth = 0.0;
    double tabWidth = 0.0;
    double calorieSpacing = 0.0;
    PricesMeasurement prices;
    int blockWidth = 0;
    QRectF T; // the layout rectangle of the current line
};

class StripContentPass {
public:
    StripContentPass(RenderContext &context, QPainter &painter, const Strip &strip, int column, int row,
                     const QRectF &frame)
        : context_(context), painter_(painter), strip_(strip), column_(column), row_(row), frame_(frame),
          cell_(context.geometry(column, row).cellRect), firstCell_(context.geometry(0, 0).cellRect)
    {
    }

    void run()
    {
        if (!IsStripInUse(strip_))
            return;
        painter_.save();
        for (int g = 0; g < kGroupCount; ++g)
            drawGroup(g);
        painter_.restore();
    }

private:
    bool hasPicture() const { return !strip_.Picture.SubImageFileName.isEmpty(); }

    double scale() const { return context_.scale(); }

    // Height of one grid cell in board pixels; a frame of no height falls back on the cell.
    double cellHeight() const
    {
        if (strip_.YSizeFactor != 0.0)
            return frame_.height() / strip_.YSizeFactor;
        return scale() > 0.0 ? cell_.height / scale() : 0.0;
    }
    double cellWidth() const
    {
        if (strip_.XSizeFactor != 0.0)
            return frame_.width() / strip_.XSizeFactor;
        return scale() > 0.0 ? cell_.width / scale() : 0.0;
    }

    void drawGroup(int g)
    {
        const TextGroup &group = strip_.Groups[g];
        GroupDrawing d;
        d.index = g;
        d.group = &group;
        d.textColour = group.TextColor;
        d.shadowColour = group.DropShadowColor;
        // Text over a shown picture keeps its colours on white paper; all other text goes black
        // with a white shadow.
        if (context_.options.whitePrint && (!hasPicture() || strip_.Picture.ImageHiddenOnWhite != 0)) {
            d.textColour = kBlack;
            d.shadowColour = kWhite;
        }

        if ((group.Text.isEmpty() && strip_.Picture.SubImageFrameIndex <= 0 && !hasPicture())
            || !(frame_.width() > 0.0))
            return;

        // The em size in points is what the shadow offset and the hit-box trim are measured in;
        // a board without a usable resolution counts as 96 dots per inch, like an image without one.
        const int resolution = context_.preview.boardResolution > 0 ? context_.preview.boardResolution : 96;
        d.emPixels = Finite(kEmPerCellHeight * group.ScaleFactor * cellHeight());
        d.emPoints = d.emPixels * 72.0 / resolution;
        d.lineAdvance = kLineAdvancePerEm * group.LineSpacingFactor * d.emPixels;

        d.font = TextFont::Create(group.Font, d.emPixels, group.Bold != 0, group.Italics != 0);

        // The first line's top and height come from the first character.
        const QRectF measureIn(frame_.x(), frame_.y(), frame_.width(), 10.0 * frame_.height());
        const QRectF first = d.font.measure(group.Text.left(1), measureIn, TextAlignment::Near);
        d.T = QRectF(frame_.x(), first.y(), frame_.width(), first.height());
        d.T.translate(cellWidth() * group.Xref, cellHeight() * group.Yref);

        d.alignment = AlignmentOf(group.GroupAlignment);
        if (!group.Text.isEmpty()) {
            d.digitWidth = d.font.measure(kTwentyDigits, frame_).width() / 20.0;
            const auto width = [&d](const QString &text) { return d.font.width(text); };
            if (g == PricesGroup) {
                d.tabWidth = strip_.PriceTabSpacingFactor * d.digitWidth;
                d.calorieSpacing = strip_.CaloriesSpacingFactor * d.digitWidth;
                context_.geometry(column_, row_).priceTabWidth = float(int(Finite(d.tabWidth)));
                d.prices = MeasurePrices(group.Text, d.alignment, d.tabWidth, d.calorieSpacing, width);
                d.blockWidth = d.prices.blockWidth;
            } else {
                double widest = 0.0;
                for (const QString &line : SplitLines(group.Text))
                    widest = std::max(widest, width(line));
                d.blockWidth = int(widest);
            }
            d.T.setWidth(d.blockWidth);
        }

        if (!pictureDrawn_ && hasPicture()) {
            DrawStripPicture(context_, painter_, strip_, frame_);
            pictureDrawn_ = true;
        }

        if (StripHasText(strip_) && !(context_.options.outputRendering && group.Text == kPlaceholder)
            && !context_.options.withoutText)
            drawText(d);
    }

    void placeHorizontally(GroupDrawing &d)
    {
        const TextGroup &group = *d.group;
        if (d.index == PricesGroup)
            return; // price entries are placed by the anchor
        if (group.CenterInStrip != 0) {
            // The frame's width in whole pixels; half the free room is kept with its fraction.
            const int frameWidth = int(Finite(cell_.width * strip_.XSizeFactor / scale()));
            d.T.moveLeft((cell_.left - firstCell_.left + strip_.XOffsetFactor * cell_.width) / scale()
                         + (frameWidth - d.blockWidth) / 2.0);
        } else if (d.alignment == GroupAlignment::Center) {
            d.T.moveLeft(d.T.x() - d.T.width() / 2.0);
        } else if (d.alignment == GroupAlignment::Right) {
            d.T.moveLeft(d.T.x() - d.T.width());
        }
    }

    double pricesAnchor(const GroupDrawing &d) const
    {
        PricesAnchorInput in;
        in.centerInStrip = d.group->CenterInStrip != 0;
        in.alignment = d.alignment;
        in.cellX = cell_.left;
        in.firstCellX = firstCell_.left;
        in.cellWidth = cell_.width;
        in.scale = scale();
        in.xOffsetFactor = strip_.XOffsetFactor;
        in.xSizeFactor = strip_.XSizeFactor;
        in.xref = d.group->Xref;
        in.blockWidth = d.blockWidth;
        in.digitWidth = d.digitWidth;
        in.hasTab = d.prices.hasTab;
        in.rightColumn = d.prices.rightColumn;
        return PricesAnchor(in);
    }

    void recordText(const GroupDrawing &d, const QString &line, const QRectF &layout, const QColor &colour, bool shadow)
    {
        if (context_.probes && context_.probes->drawnTexts && !line.isEmpty())
            context_.probes->drawnTexts->push_back(
                {column_, row_, d.index, false, shadow, line, d.font, layout, ToTextAlignment(d.alignment), colour});
    }

    void drawText(GroupDrawing &d)
    {
        placeHorizontally(d);
        const double anchor = d.index == PricesGroup ? pricesAnchor(d) : 0.0;

        // The layout rectangle gains room on its open side; the aligned edge stays.
        const int margin = int(kMarginPerDigit * d.digitWidth);
        if (d.alignment == GroupAlignment::Right)
            d.T.moveLeft(d.T.x() - margin);
        else if (d.alignment == GroupAlignment::Center)
            d.T.moveLeft(d.T.x() - margin / 2);
        d.T.setWidth(d.T.width() + margin);

        // The shadow offset grows with the point size, not the pixel size: a tenth of the em in
        // points, taken as pixels (3 pixels at 30 points, never under 1).
        const double shadowOffset = std::max(kShadowOffsetPerPoint * d.emPoints, kMinShadowOffset);
        const TextAlignment drawAlignment = ToTextAlignment(d.alignment);
        const bool hasShadow = !IsClear(d.shadowColour);
        std::optional<QRectF> hitBox;

        QString remaining = d.group->Text;
        int n = 0;
        bool more = true;
        while (more) {
            const LineCut cut = CutFirstLine(remaining);
            const QString &line = cut.line;
            remaining = cut.rest;

            QRectF lineBox;
            if (d.index == PricesGroup) {
                std::optional<TextFont> calorieFont;
                if (line.contains(u'<') || line.contains(u'>'))
                    calorieFont = TextFont::Create(d.group->Font, d.emPixels, d.group->Bold != 0,
                                                   strip_.CaloriesItalics != 0);
                PriceLine price;
                price.text = line;
                price.shadowOffset = shadowOffset;
                price.alignment = d.alignment;
                price.anchor = anchor;
                price.tabWidth = d.tabWidth;
                price.calorieSpacing = d.calorieSpacing;
                price.groupFont = &d.font;
                price.calorieFont = calorieFont ? &*calorieFont : nullptr;
                price.fontName = d.group->Font;
                price.column = column_;
                price.row = row_;
                price.lineNumber = n;
                if (hasShadow) {
                    price.shadowMode = true;
                    price.textRect = d.T.translated(shadowOffset, shadowOffset);
                    price.colour = ToQColor(d.shadowColour);
                    price.calorieColour = QColor(Qt::black);
                    DrawPriceLine(context_, painter_, price);
                }
                price.shadowMode = false;
                price.textRect = d.T;
                price.colour = TextColour(d.textColour);
                price.calorieColour = TextColour(strip_.CaloriesTextColor);
                lineBox = DrawPriceLine(context_, painter_, price);
            } else {
                if (hasShadow) {
                    d.font.draw(painter_, line, d.T.translated(shadowOffset, shadowOffset), drawAlignment,
                                ToQColor(d.shadowColour), /*shadow=*/true);
                    recordText(d, line, d.T.translated(shadowOffset, shadowOffset), ToQColor(d.shadowColour), true);
                }
                // Every face that draws the line goes into the package, so that the text looks the
                // same wherever the layout is opened.
                NoteDrawnText(context_, d.font, d.group->Font, line, column_, row_, d.index);
                d.font.draw(painter_, line, d.T, drawAlignment, TextColour(d.textColour));
                recordText(d, line, d.T, TextColour(d.textColour), false);
                lineBox = d.T;
            }

            // A prices line of nothing but tab marks has no box and adds nothing to the hit box.
            const bool drawnSomething = d.index != PricesGroup || lineBox.width() > 0.0;
            if (!line.isEmpty() && drawnSomething) {
                const QRectF hit = LineHitBox(lineBox, d.emPoints, context_.preview);
                hitBox = hitBox ? Union(*hitBox, hit) : hit;
            }

            ++n;
            d.T.translate(0.0, d.lineAdvance);
            more = !remaining.isEmpty() && (d.index != PricesGroup || n < kPricesLinesDrawn);
        }
        if (hitBox)
            context_.geometry(column_, row_).hitBoxes[d.index] = ToRect32(*hitBox);
    }

    RenderContext &context_;
    QPainter &painter_;
    const Strip &strip_;
    const int column_;
    const int row_;
    const QRectF frame_;
    const RectF32 cell_;
    const RectF32 firstCell_;
    bool pictureDrawn_ = false;
};

} // namespace

void DrawStripContent(RenderContext &context, QPainter &painter, const Strip &strip, int column, int row,
                      const QRectF &frame)
{
    StripContentPass(context, painter, strip, column, row, frame).run();
}

} // namespace tavrin
