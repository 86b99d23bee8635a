// The edit modes: what a click on the board selects, and the steps of entering and leaving
// Text, Picture and Background mode.
#include "editor/ColourPalette.h"
#include "editor/EditingControls.h"
#include "editor/Editor.h"
#include "editor/HitTests.h"
#include "document/PricesText.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"

namespace tavrin {

namespace {

void RemoveOneBlankTexts(Strip &strip, StripGeometry &geometry)
{
    for (int g = 0; g < kGroupCount; ++g) {
        if (strip.Groups[g].Text == QLatin1String(" ")) {
            strip.Groups[g].Text.clear();
            geometry.hitBoxes[g] = RectF32{};
        }
    }
}

} // namespace

void Editor::BoardClick(QPoint point, qint64 receivedAtMs)
{
    if (receivedAtMs < ignoreClicksBefore_)
        return;
    boxClickFallback_ = false;
    const CellPosition leftTextCell = textCell_;
    if (editMode_ != EditMode::Idle)
        LeaveCurrentMode();
    selectedGroup_ = -1;

    // Logos lie under other strips' text and would otherwise never be reachable.
    const auto picture = PictureHitTest(layout(), geometry_, point);
    if (picture && PicksLogoFirst(layout().strip(picture->column, picture->row).Picture.SubImageFileName)) {
        EnterPictureMode(*picture);
        return;
    }
    if (const auto text = TextHitTest(layout(), geometry_, point)) {
        EnterTextMode(text->cell, text->group, point);
        return;
    }
    if (const auto frame = FrameHitTest(layout(), geometry_, point)) {
        if (layout().strip(frame->column, frame->row).Picture.SubImageFileName.isEmpty())
            EnterBackgroundMode(*frame);
        else
            EnterPictureMode(*frame);
        return;
    }
    if (boxClickFallback_ && RectHolds(FrameRectOnPreview(layout(), geometry_, leftTextCell.column, leftTextCell.row), point)) {
        EnterBackgroundMode(leftTextCell);
        return;
    }
    if (picture)
        EnterPictureMode(*picture);
}

void Editor::LeaveCurrentMode()
{
    switch (editMode_) {
    case EditMode::Text: {
        const CellPosition cell = textCell_;
        // Content pushed a whole cell away moves into the cell it now lies over, as part of the
        // edit that pushed it there.
        ChangeBoard(QStringLiteral("Typing"), [&](MenuLayout &layout) {
            const CellPosition target = RelocateStrip(layout, geometry_, cell);
            editMode_ = EditMode::Idle;
            controls_.setText(ControlId::ModeLabel, kIdleAfterTextLabel);
            if (workingStrip_.Picture.SubImageFileName.isEmpty())
                boxClickFallback_ = true;
            SetEnabled(controls_,
                       {ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText, ControlId::SelectedText,
                        ControlId::MenuItemTextToBeMovedGroup},
                       false);
            ResetStrip(workingStrip_);
            // The caret marker and the one-blank texts go wherever the content now lies.
            RemoveCaretMarker(layout.strip(cell.column, cell.row).prices().Text);
            RemoveCaretMarker(layout.strip(target.column, target.row).prices().Text);
            Refresh();
            ShowStripTexts(controls_, workingStrip_);
            RemoveOneBlankTexts(layout.strip(cell.column, cell.row), geometry_(cell.column, cell.row));
            RemoveOneBlankTexts(layout.strip(target.column, target.row), geometry_(target.column, target.row));
        });
        lastTextEditedGroup_ = selectedGroup_;
        ShowNothingSelected();
        StartNewAction();
        break;
    }
    case EditMode::Picture:
    case EditMode::Background: {
        SetEnabled(controls_,
                   {ControlId::LoadNewPicture, ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText,
                    ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup},
                   false);
        editMode_ = EditMode::Idle;
        controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Idle));
        Refresh();
        ShowNothingSelected();
        StartNewAction();
        break;
    }
    default:
        break;
    }
}

void Editor::ShowNothingSelected()
{
    SetArrowsIdle();
    EnableLineSpacing(controls_, false);
    SetEnabled(controls_,
               {ControlId::LoadNewPicture, ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText,
                ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup, ControlId::SizeNarrower,
                ControlId::SizeWider, ControlId::TabSpacingLabel,
                ControlId::TabSpacingReadout, ControlId::TabSpacingDown, ControlId::TabSpacingUp,
                ControlId::CalSpacingLabel, ControlId::CalSpacingReadout, ControlId::CalSpacingDown,
                ControlId::CalSpacingUp},
               false);
    // The read-outs belonged to the strip that was selected; they show nothing until the next one.
    for (ControlId id : {ControlId::SizeReadout, ControlId::TabSpacingReadout, ControlId::CalSpacingReadout})
        controls_.setText(id, QString());
}

void Editor::SetArrowsIdle()
{
    SetEnabled(controls_,
               {ControlId::MoveUp, ControlId::MoveLeft, ControlId::MoveRight, ControlId::MoveDown,
                ControlId::SizeLarger, ControlId::SizeSmaller, ControlId::SizeAndMoveIncrementGroup, ControlId::Micro,
                ControlId::Macro},
               false);
    controls_.setVisible(ControlId::SizeNarrower, false);
    controls_.setVisible(ControlId::SizeWider, false);
    controls_.setChecked(ControlId::Micro, true);
    controls_.setChecked(ControlId::Macro, false);
    SetArrowCaptions(controls_, "Size Text", "Move Text");
}

void Editor::EnterPictureMode(CellPosition cell)
{
    StartNewAction();
    editMode_ = EditMode::Picture;
    controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Picture));
    pictureCell_ = cell;
    const Strip &strip = layout().strip(cell.column, cell.row);
    controls_.setFocus(ControlId::MainItemBox);
    ShowStripTexts(controls_, strip);
    SetEnabled(controls_, {ControlId::LoadNewPicture, ControlId::DeleteMenuItem, ControlId::DeletePicture}, true);
    for (ControlId id : {ControlId::SizeNarrower, ControlId::SizeWider}) {
        controls_.setVisible(id, true);
        controls_.setEnabled(id, true);
    }
    EnableArrows(controls_);
    SetArrowCaptions(controls_, "Size Picture", "Move Picture");
    EnableLineSpacing(controls_, false);
    controls_.setEnabled(ControlId::SizeReadout, true);
    currentPictureName_ = strip.Picture.SubImageFileName;
    Refresh();
}

void Editor::EnterBackgroundMode(CellPosition cell)
{
    StartNewAction();
    editMode_ = EditMode::Background;
    controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Background));
    backgroundCell_ = cell;
    // The boxes show this strip's own texts, so that typing adds to them and never carries
    // the texts of the strip selected before over to this one.
    ShowStripTexts(controls_, layout().strip(cell.column, cell.row));
    for (ControlId id : {ControlId::SizeNarrower, ControlId::SizeWider, ControlId::SizeLarger, ControlId::SizeSmaller,
                         ControlId::SizeTextGroup})
        controls_.setVisible(id, true);
    controls_.setVisible(ControlId::SizeReadout, false);
    SetEnabled(controls_, {ControlId::DeleteMenuItem, ControlId::LoadNewPicture}, true);
    paletteEntry_ = LookUpPaletteEntry(layout().strip(cell.column, cell.row).BackGroundColor);
    SetArrowCaptions(controls_, "Size Bgnd", "Move Bgnd");
    EnableArrows(controls_);
    SetEnabled(controls_, {ControlId::SizeNarrower, ControlId::SizeWider}, true);
    EnableLineSpacing(controls_, false);
    SetEnabled(controls_, {ControlId::AllText, ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup}, false);
    Refresh();
}

void Editor::EnterTextMode(CellPosition cell, int group, QPoint click)
{
    StartNewAction();
    controls_.setChecked(ControlId::AllText, false);
    controls_.setChecked(ControlId::SelectedText, true);
    if (group == PricesGroup)
        ChangeBoard(QStringLiteral("Typing"), [](MenuLayout &layout) {
            layout.forEachBoardStrip([](int, int, Strip &strip) { RemoveCaretMarker(strip.prices().Text); });
        });

    workingStrip_ = layout().strip(cell.column, cell.row);
    clickedGroup_ = group;
    selectedGroup_ = group;
    SetEnabled(controls_,
               {ControlId::DeleteMenuItem, ControlId::AllText, ControlId::SelectedText,
                ControlId::MenuItemTextToBeMovedGroup},
               true);
    controls_.setEnabled(ControlId::DeletePicture, false);
    ShowStripTexts(controls_, workingStrip_);

    const TextGroup &chosen = workingStrip_.Groups[group];
    const bool placeholder = chosen.Text == QLatin1String("[]");
    if (group != PricesGroup) {
        if (placeholder)
            controls_.setText(kTextBoxes[group], QString());
        activeTextBox_ = group;
        controls_.setFocus(kTextBoxes[group]);
        currentFontName_ = chosen.Font;
        selectionColour_ = chosen.TextColor;
    } else {
        // The prices box is the active one whatever part of the prices was clicked, so that the
        // arrows act on the prices the marquee marks.
        activeTextBox_ = PricesGroup;
        controls_.setFocus(ControlId::PricesBox);
        calorieMarker_ = false;
        selectionColour_ = chosen.TextColor;
        if (placeholder)
            controls_.setText(ControlId::PricesBox, QString());
        QString &prices = workingStrip_.prices().Text;
        if (prices.contains(QLatin1Char('~'))) {
            RemoveCaretMarker(prices);
            controls_.setText(ControlId::PricesBox, prices);
        }
        renderer_.probes.selectionColour = selectionColour_;
        Refresh();
        textCell_ = cell;
        PickPriceEntry(click);
    }

    editMode_ = EditMode::Text;
    textCell_ = cell;
    renderer_.probes.selectionColour = selectionColour_;

    SetArrowCaptions(controls_, "Size Text", "Move Text");
    EnableArrows(controls_);
    controls_.setVisible(ControlId::SizeNarrower, false);
    controls_.setVisible(ControlId::SizeWider, false);
    EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(kTextBoxes[activeTextBox_])));
    ShowSpacingControls(controls_);
    UpdateReadouts();
    controls_.setEnabled(ControlId::LoadNewPicture, true);
    Refresh();
}

void Editor::PickPriceEntry(QPoint click)
{
    const CellPosition cell = textCell_;
    const RectF32 box = geometry_(cell.column, cell.row).hitBoxes[PricesGroup];
    const double scale = renderer_.preview().previewScale;
    if (!(box.width > 0) || !(box.height > 0) || !(scale > 0))
        return;

    // The renderer_ tells which part of an entry lies under the point, and measures the digits.
    const RectF32 &origin = geometry_(0, 0).cellRect;
    EditorProbes &probes = renderer_.probes;
    probes.pricePoint = QPointF((click.x() - origin.left) / scale, (click.y() - origin.top) / scale);
    probes.leftPartHit = probes.rightPartHit = false;
    probes.digitWidthRequestX = cell.column;
    Refresh();
    probes.pricePoint = QPointF(0.0, 0.0);
    probes.digitWidthRequestX = -1.0;

    const QString &prices = workingStrip_.prices().Text;
    const auto lines = PriceEntryLines(prices);
    const double tab = geometry_(cell.column, cell.row).priceTabWidth;
    const double right = box.left + box.width;
    const double x = right - (right - click.x()) / scale;
    const double rowHeight = box.height / double(lines.size());
    for (int line = 0; line < int(lines.size()); ++line) {
        const double top = box.top + line * rowHeight;
        if (!(click.y() >= top && click.y() < top + rowHeight) || !(tab > 0))
            continue;
        const auto &entries = lines[line];
        for (int k = 0; k < int(entries.size()); ++k) {
            const double columnRight = right - k * tab;
            if (!(x >= columnRight - tab && x < columnRight))
                continue;
            const PriceEntrySpan &entry = entries[entries.size() - 1 - k];
            const auto [offset, length] = PriceEntryPart(entry.text, probes.leftPartHit, probes.rightPartHit);
            const int start = entry.start + offset;
            calorieMarker_ = entry.text.contains(QLatin1Char('<')) || entry.text.contains(QLatin1Char('>'));
            activeTextBox_ = PricesGroup;
            controls_.setFocus(ControlId::PricesBox);
            // The caret sits at the start of the selected part.
            controls_.setSelection(ControlId::PricesBox, start + length, start);
            // The caret mark shows the picked entry on the board; it is no part of the board's content.
            ChangeBoard(QStringLiteral("Typing"), [&](MenuLayout &layout) {
                QString &shown = layout.strip(cell.column, cell.row).prices().Text;
                if (!shown.contains(QLatin1Char('~')))
                    shown.insert(std::min(start, int(shown.size())), QLatin1Char('~'));
            });
            Refresh();
            return;
        }
    }
}

void Editor::ShowActiveLabel(int group)
{
    for (int g = 0; g < kGroupCount; ++g)
        controls_.setVisible(kActiveLabels[g], g == group);
    if (editMode_ == EditMode::Text && group != selectedGroup_) {
        selectedGroup_ = group;
        Refresh();
        EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(kTextBoxes[group])));
    }
}

void Editor::EscapePressed()
{
    if (editMode_ == EditMode::Text || editMode_ == EditMode::Picture || editMode_ == EditMode::Background) {
        editMode_ = EditMode::Idle;
        // Nobody edits a price entry any more: its marker goes, or the next typing would store it.
        ChangeBoard(QStringLiteral("Typing"), [](MenuLayout &layout) {
            layout.forEachBoardStrip([](int, int, Strip &strip) { RemoveCaretMarker(strip.prices().Text); });
        });
        StartNewAction();
        RemoveCaretMarker(workingStrip_.prices().Text);
        // With nothing selected, the arrows would act on nothing.
        ShowNothingSelected();
        Refresh();
    }
}

Qt::CursorShape Editor::PointerShape() const
{
    if (copyingStrip_)
        return Qt::DragCopyCursor;
    if (movingStrip_)
        return Qt::DragMoveCursor;
    return Qt::ArrowCursor;
}

} // namespace tavrin
