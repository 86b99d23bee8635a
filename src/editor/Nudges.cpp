// The arrows: moving and sizing the selected text, picture or frame by one step, and the line,
// tab and calorie spacing. A move never pushes anything off the shown board.
#include "editor/ColourPalette.h"
#include "editor/EditingControls.h"
#include "editor/Editor.h"
#include "render/BoardGeometry.h"

#include <QDateTime>

#include <algorithm>

namespace tavrin {

namespace {

constexpr double kLargestScale = 48.0;
constexpr double kSmallestScale = 0.1;
constexpr double kSpacingStep = 0.2;

enum class StepKind { Horizontal, Vertical, TextVertical, TextSize, LineSpacing };

// The step of an arrow, from the keys held and "Macro".
double StepFor(StepKind kind, Editor::ArrowKeys keys, bool macro, bool shiftWins)
{
    if (kind == StepKind::LineSpacing)
        return keys.alt ? 0.01 : 0.1;
    double normal = 0.1, coarse = 1.0, fine = 0.01;
    switch (kind) {
    case StepKind::Horizontal:
        normal = 0.01, coarse = 0.1, fine = 0.001;
        break;
    case StepKind::TextVertical:
    case StepKind::TextSize:
        fine = 0.1;
        break;
    default:
        break;
    }
    if (shiftWins && keys.shift)
        return fine;
    if (keys.alt || macro)
        return coarse;
    return keys.shift ? fine : normal;
}

QRectF United(const QRectF &a, const QRectF &b)
{
    if (a.width() <= 0 && a.height() <= 0)
        return b;
    if (b.width() <= 0 && b.height() <= 0)
        return a;
    return a.united(b);
}

bool IsTextOnlyStrip(const Strip &strip)
{
    return IsClear(strip.BackGroundColor) && strip.Picture.SubImageFileName.isEmpty();
}

} // namespace

void Editor::UpdateReadouts()
{
    const auto format = [](double value) { return QString::number(value, 'f', 1); };
    const int group = std::clamp(activeTextBox_, 0, kGroupCount - 1);
    controls_.setText(ControlId::SizeReadout, format(workingStrip_.Groups[group].ScaleFactor));
    controls_.setText(ControlId::TabSpacingReadout, format(workingStrip_.PriceTabSpacingFactor));
    controls_.setText(ControlId::CalSpacingReadout, format(workingStrip_.CaloriesSpacingFactor));
    // The palette follows the colour of what the read-outs describe.
    const TextGroup &shown = workingStrip_.Groups[group];
    paletteEntry_ = LookUpPaletteEntry(editMode_ == EditMode::Background ? shown.DropShadowColor : shown.TextColor);
}

void Editor::PairedCheckBoxClicked(ControlId box)
{
    ControlId partner;
    switch (box) {
    case ControlId::Micro: partner = ControlId::Macro; break;
    case ControlId::Macro: partner = ControlId::Micro; break;
    case ControlId::SelectedText: partner = ControlId::AllText; break;
    case ControlId::AllText: partner = ControlId::SelectedText; break;
    default: return;
    }
    controls_.setChecked(partner, !controls_.isChecked(box));
}

void Editor::ArrowClicked(ControlId arrow, ArrowKeys keys)
{
    const bool macro = controls_.isChecked(ControlId::Macro);
    const QRect area = renderer_.preview().previewArea;
    const double areaLeft = area.x(), areaTop = area.y();
    const double areaRight = area.x() + area.width(), areaBottom = area.y() + area.height();
    const bool textMode = editMode_ == EditMode::Text;
    const bool frameMode = editMode_ == EditMode::Picture || editMode_ == EditMode::Background;
    bool changed = true;

    // The step reduced so that an edge at distance d is reached and not passed.
    const auto limited = [](double step, double pixelsPerUnit, double d) {
        const double s = step * pixelsPerUnit;
        return s >= d && s > 0 ? step * (d / s) : step;
    };

    bool known = true;
    ChangeBoard(QStringLiteral("Nudge"), [&](MenuLayout &layout) {
        switch (arrow) {
        case ControlId::MoveUp:
        case ControlId::MoveDown:
        case ControlId::MoveLeft:
        case ControlId::MoveRight: {
            const bool horizontal = arrow == ControlId::MoveLeft || arrow == ControlId::MoveRight;
            if (frameMode) {
                const CellPosition cell = editMode_ == EditMode::Picture ? pictureCell_ : backgroundCell_;
                Strip &strip = layout.strip(cell.column, cell.row);
                const StripGeometry &g = geometry_(cell.column, cell.row);
                const double cw = g.cellRect.width, ch = g.cellRect.height;
                QRectF rect = ToQRectF(g.stripRect);
                if (rect.width() <= 0)
                    rect = FrameRectOnPreview(layout, geometry_, cell.column, cell.row);
                double step = StepFor(horizontal ? StepKind::Horizontal : StepKind::Vertical, keys, macro, false);
                if (arrow == ControlId::MoveLeft) {
                    const double d = rect.left() - areaLeft;
                    if (d <= 0) { changed = false; break; }
                    strip.XOffsetFactor -= limited(step, cw, d);
                } else if (arrow == ControlId::MoveUp) {
                    const double d = rect.top() - areaTop;
                    if (d <= 0) { changed = false; break; }
                    strip.YOffsetFactor -= limited(step, ch, d);
                } else if (arrow == ControlId::MoveDown) {
                    const double d = areaBottom - (rect.top() + rect.height());
                    if (d <= 0) { changed = false; break; }
                    strip.YOffsetFactor += limited(step, ch, d);
                } else {
                    strip.XOffsetFactor += step;
                    QRectF content = FrameRectOnPreview(layout, geometry_, cell.column, cell.row);
                    for (const RectF32 &box : g.hitBoxes)
                        if (box.width > 0)
                            content = United(content, ToQRectF(box).translated(step * cw, 0));
                    const double over = content.right() - areaRight;
                    if (over > 0 && cw > 0)
                        strip.XOffsetFactor -= over / cw;
                }
                Refresh();
            } else if (textMode) {
                const CellPosition cell = textCell_;
                const StripGeometry &g = geometry_(cell.column, cell.row);
                const double cw = g.cellRect.width, ch = g.cellRect.height;
                const int active = std::clamp(activeTextBox_, 0, kGroupCount - 1);
                const bool allText = controls_.isChecked(ControlId::AllText);
                QRectF rect = ToQRectF(g.hitBoxes[active]);
                if (allText) {
                    for (const RectF32 &box : g.hitBoxes)
                        rect = United(rect, ToQRectF(box));
                    rect = United(rect, ToQRectF(g.stripRect));
                }
                TextGroup &group = workingStrip_.Groups[active];
                if (horizontal && group.CenterInStrip && cw > 0) {
                    // A centred group becomes a placed one where it was drawn, then moves.
                    const double w = g.hitBoxes[active].width / cw;
                    group.CenterInStrip = 0;
                    group.Xref = group.GroupAlignment == int(GroupAlignment::Center) ? 0.5
                        : group.GroupAlignment == int(GroupAlignment::Right)         ? 0.5 + w / 2
                                                                                     : 0.5 - w / 2;
                    TextGroup &stored = layout.strip(cell.column, cell.row).Groups[active];
                    stored.CenterInStrip = 0;
                    stored.Xref = group.Xref;
                }
                double step = StepFor(horizontal ? StepKind::Horizontal : StepKind::TextVertical, keys, macro, false);
                double d = 0;
                switch (arrow) {
                case ControlId::MoveLeft: d = rect.left() - areaLeft; break;
                case ControlId::MoveUp: d = rect.top() - areaTop; break;
                case ControlId::MoveRight: d = areaRight - (rect.left() + rect.width()); break;
                default: d = areaBottom - (rect.top() + rect.height()); break;
                }
                if (d <= 0 || rect.width() <= 0) {
                    changed = false;
                    break;
                }
                step = limited(step, horizontal ? cw : ch, d);
                const double sign = arrow == ControlId::MoveLeft || arrow == ControlId::MoveUp ? -1.0 : 1.0;
                for (int i = 0; i < kGroupCount; ++i) {
                    if (!allText && i != active)
                        continue;
                    (horizontal ? workingStrip_.Groups[i].Xref : workingStrip_.Groups[i].Yref) += sign * step;
                }
                layout.strip(cell.column, cell.row) = workingStrip_;
                Refresh();
                if (IsTextOnlyStrip(workingStrip_)) {
                    VerticalFrameFit(layout, geometry_, textCell_);
                    textCell_ = HorizontalFrameFit(layout, geometry_, textCell_);
                    workingStrip_ = layout.strip(textCell_.column, textCell_.row);
                }
            } else {
                changed = false;
            }
            break;
        }
        case ControlId::SizeLarger:
        case ControlId::SizeSmaller:
        case ControlId::SizeNarrower:
        case ControlId::SizeWider: {
            const bool larger = arrow == ControlId::SizeLarger || arrow == ControlId::SizeWider;
            const bool horizontal = arrow == ControlId::SizeNarrower || arrow == ControlId::SizeWider;
            if (textMode && !horizontal) {
                const int active = std::clamp(activeTextBox_, 0, kGroupCount - 1);
                const double step = StepFor(StepKind::TextSize, keys, macro, false);
                double &scale = workingStrip_.Groups[active].ScaleFactor;
                double value = larger ? scale + step : scale - step;
                bool atLimit = false;
                if (value > kLargestScale + 1e-9)
                    value = kLargestScale, atLimit = true;
                if (value < kSmallestScale - 1e-9)
                    value = kSmallestScale, atLimit = true;
                scale = value;
                if (!atLimit) {
                    layout.strip(textCell_.column, textCell_.row) = workingStrip_;
                    Refresh();
                    if (IsTextOnlyStrip(workingStrip_)) {
                        VerticalFrameFit(layout, geometry_, textCell_);
                        workingStrip_ = layout.strip(textCell_.column, textCell_.row);
                    }
                }
            } else if (frameMode) {
                const CellPosition cell = editMode_ == EditMode::Picture ? pictureCell_ : backgroundCell_;
                Strip &strip = layout.strip(cell.column, cell.row);
                const StripGeometry &g = geometry_(cell.column, cell.row);
                const QRectF frame = FrameRectOnPreview(layout, geometry_, cell.column, cell.row);
                const double step = StepFor(horizontal ? StepKind::Horizontal : StepKind::Vertical, keys, macro,
                                            arrow == ControlId::SizeWider);
                double &size = horizontal ? strip.XSizeFactor : strip.YSizeFactor;
                const double unit = horizontal ? g.cellRect.width : g.cellRect.height;
                if (larger) {
                    const double room = horizontal ? areaRight - (frame.left() + frame.width())
                                                   : areaBottom - (frame.top() + frame.height());
                    size += room <= 0 ? 0.0 : limited(step, unit, room);
                } else {
                    size = std::max(0.0, size - step);
                }
                Refresh();
            } else {
                changed = false;
            }
            break;
        }
        case ControlId::LineSpacingUp:
        case ControlId::LineSpacingDown: {
            if (!textMode) {
                changed = false;
                break;
            }
            const double step = StepFor(StepKind::LineSpacing, keys, macro, false);
            workingStrip_.Groups[std::clamp(activeTextBox_, 0, kGroupCount - 1)].LineSpacingFactor +=
                arrow == ControlId::LineSpacingUp ? step : -step;
            layout.strip(textCell_.column, textCell_.row) = workingStrip_;
            Refresh();
            break;
        }
        case ControlId::TabSpacingUp:
        case ControlId::TabSpacingDown:
        case ControlId::CalSpacingUp:
        case ControlId::CalSpacingDown: {
            double &tab = workingStrip_.PriceTabSpacingFactor;
            double &calories = workingStrip_.CaloriesSpacingFactor;
            // The calorie column stays inside the tab column: below 0.7 of it plus 0.2.
            const double calorieLimit = 0.7 * tab + 0.2;
            if (arrow == ControlId::TabSpacingUp)
                tab += kSpacingStep;
            else if (arrow == ControlId::TabSpacingDown && tab >= 2.2 && calorieLimit > calories)
                tab -= kSpacingStep;
            else if (arrow == ControlId::CalSpacingUp && calories < calorieLimit)
                calories += kSpacingStep;
            else if (arrow == ControlId::CalSpacingDown && calories >= 2.2)
                calories -= kSpacingStep;
            else
                changed = arrow != ControlId::CalSpacingUp;
            if (editMode_ == EditMode::Text)
                layout.strip(textCell_.column, textCell_.row) = workingStrip_;
            Refresh();
            break;
        }
        default:
            known = false;
            return;
        }
        // Text that grew or moved past an edge takes its strip back onto the board.
        if (textMode && changed)
            KeepTextStripOnBoard();
    });
    if (!known)
        return;
    UpdateReadouts();
    controls_.setFocus(lastFocusedBox_);
    // Clicks made while this handler ran are not replayed on the board.
    ignoreClicksBefore_ = QDateTime::currentMSecsSinceEpoch();
}

} // namespace tavrin
