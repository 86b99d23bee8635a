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

void Editor::PushUndoSnapshot(int column, int row, int chained)
{
    undoList.push({column, row, chained, layout.strip(column, row)});
    // A new change: what was undone before it can no longer be redone. A single snapshot may
    // be the entry into a mode that ends up changing nothing; its redo steps are kept aside.
    parkedRedo_.clear();
    parkedAtUndoSize_ = -1;
    if (chained == 0 && !redoList.empty()) {
        parkedRedo_ = std::move(redoList);
        parkedAtUndoSize_ = undoList.size();
    }
    redoList.clear();
    EnableHistoryButtons();
}

void Editor::EnableHistoryButtons()
{
    controls_.setEnabled(ControlId::Undo, !undoList.empty());
    controls_.setEnabled(ControlId::Redo, !redoList.empty());
}

void Editor::PushReplacedSnapshots(const std::vector<ReplacedStrip> &replaced)
{
    // Chained to the snapshot of the strip whose content moved there, so that one Undo puts
    // both cells back as they were.
    for (const ReplacedStrip &entry : replaced) {
        Strip &now = layout.strip(entry.cell.column, entry.cell.row);
        const Strip kept = now;
        now = entry.before;
        PushUndoSnapshot(entry.cell.column, entry.cell.row, 1);
        now = kept;
    }
}

void Editor::BoardClick(QPoint point, qint64 receivedAtMs)
{
    if (receivedAtMs < ignoreClicksBefore)
        return;
    boxClickFallback = false;
    const CellPosition leftTextCell = textCell;
    if (editMode != EditMode::Idle)
        LeaveCurrentMode();
    selectedGroup = -1;

    // Logos lie under other strips' text and would otherwise never be reachable.
    const auto picture = PictureHitTest(layout, geometry, point);
    if (picture && PicksLogoFirst(layout.strip(picture->column, picture->row).Picture.SubImageFileName)) {
        EnterPictureMode(*picture);
        return;
    }
    if (const auto text = TextHitTest(layout, geometry, point)) {
        EnterTextMode(text->cell, text->group, point);
        return;
    }
    if (const auto frame = FrameHitTest(layout, geometry, point)) {
        if (layout.strip(frame->column, frame->row).Picture.SubImageFileName.isEmpty())
            EnterBackgroundMode(*frame);
        else
            EnterPictureMode(*frame);
        return;
    }
    if (boxClickFallback && RectHolds(FrameRectOnPreview(layout, geometry, leftTextCell.column, leftTextCell.row), point)) {
        EnterBackgroundMode(leftTextCell);
        return;
    }
    if (picture)
        EnterPictureMode(*picture);
}

void Editor::LeaveCurrentMode()
{
    switch (editMode) {
    case EditMode::Text: {
        modified = true;
        const CellPosition cell = textCell;
        // Undoing the move must give the target back its own (free) strip, chained to the
        // snapshot taken when the text was selected.
        std::vector<ReplacedStrip> replaced;
        const CellPosition target = RelocateStrip(layout, geometry, cell, &replaced);
        PushReplacedSnapshots(replaced);
        editMode = EditMode::Idle;
        controls_.setText(ControlId::ModeLabel, kIdleAfterTextLabel);
        if (workingStrip.Picture.SubImageFileName.isEmpty())
            boxClickFallback = true;
        SetEnabled(controls_,
                   {ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText, ControlId::SelectedText,
                    ControlId::MenuItemTextToBeMovedGroup},
                   false);
        ResetStrip(workingStrip);
        // The caret marker and the one-blank texts go wherever the content now lies.
        RemoveCaretMarker(layout.strip(cell.column, cell.row).prices().Text);
        RemoveCaretMarker(layout.strip(target.column, target.row).prices().Text);
        Refresh();
        ShowStripTexts(controls_, workingStrip);
        RemoveOneBlankTexts(layout.strip(cell.column, cell.row), geometry(cell.column, cell.row));
        RemoveOneBlankTexts(layout.strip(target.column, target.row), geometry(target.column, target.row));
        lastTextEditedGroup = selectedGroup;
        ShowNothingSelected();
        break;
    }
    case EditMode::Picture:
    case EditMode::Background: {
        modified = true;
        const CellPosition cell = editMode == EditMode::Picture ? pictureCell : backgroundCell;
        // Entered and left without a change: the snapshot taken on entry is of no use.
        if (!undoList.empty() && undoList.newest().column == cell.column && undoList.newest().row == cell.row
            && !undoList.newest().exact && SameStripForUndo(undoList.newest().snapshot, layout.strip(cell.column, cell.row))) {
            if (parkedAtUndoSize_ == undoList.size())
                redoList = std::move(parkedRedo_);
            undoList.takeNewest();
        }
        parkedRedo_.clear();
        parkedAtUndoSize_ = -1;
        EnableHistoryButtons();
        SetEnabled(controls_,
                   {ControlId::LoadNewPicture, ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText,
                    ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup},
                   false);
        editMode = EditMode::Idle;
        controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Idle));
        Refresh();
        ShowNothingSelected();
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
    modified = true;
    editMode = EditMode::Picture;
    controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Picture));
    PushUndoSnapshot(cell.column, cell.row, 0);
    pictureCell = cell;
    const Strip &strip = layout.strip(cell.column, cell.row);
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
    currentPictureName = strip.Picture.SubImageFileName;
    Refresh();
}

void Editor::EnterBackgroundMode(CellPosition cell)
{
    modified = true;
    editMode = EditMode::Background;
    controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Background));
    PushUndoSnapshot(cell.column, cell.row, 0);
    backgroundCell = cell;
    // The boxes show this strip's own texts, so that typing adds to them and never carries
    // the texts of the strip selected before over to this one.
    ShowStripTexts(controls_, layout.strip(cell.column, cell.row));
    for (ControlId id : {ControlId::SizeNarrower, ControlId::SizeWider, ControlId::SizeLarger, ControlId::SizeSmaller,
                         ControlId::SizeTextGroup})
        controls_.setVisible(id, true);
    controls_.setVisible(ControlId::SizeReadout, false);
    SetEnabled(controls_, {ControlId::DeleteMenuItem, ControlId::LoadNewPicture}, true);
    paletteEntry = LookUpPaletteEntry(layout.strip(cell.column, cell.row).BackGroundColor);
    SetArrowCaptions(controls_, "Size Bgnd", "Move Bgnd");
    EnableArrows(controls_);
    SetEnabled(controls_, {ControlId::SizeNarrower, ControlId::SizeWider}, true);
    EnableLineSpacing(controls_, false);
    SetEnabled(controls_, {ControlId::AllText, ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup}, false);
    Refresh();
}

void Editor::EnterTextMode(CellPosition cell, int group, QPoint click)
{
    modified = true;
    controls_.setChecked(ControlId::AllText, false);
    controls_.setChecked(ControlId::SelectedText, true);
    if (group == PricesGroup)
        layout.forEachBoardStrip([](int, int, Strip &strip) { RemoveCaretMarker(strip.prices().Text); });

    workingStrip = layout.strip(cell.column, cell.row);
    PushUndoSnapshot(cell.column, cell.row, 0);
    clickedGroup = group;
    selectedGroup = group;
    SetEnabled(controls_,
               {ControlId::DeleteMenuItem, ControlId::AllText, ControlId::SelectedText,
                ControlId::MenuItemTextToBeMovedGroup},
               true);
    controls_.setEnabled(ControlId::DeletePicture, false);
    ShowStripTexts(controls_, workingStrip);

    const TextGroup &chosen = workingStrip.Groups[group];
    const bool placeholder = chosen.Text == QLatin1String("[]");
    if (group != PricesGroup) {
        if (placeholder)
            controls_.setText(kTextBoxes[group], QString());
        activeTextBox = group;
        controls_.setFocus(kTextBoxes[group]);
        currentFontName = chosen.Font;
        selectionColour = chosen.TextColor;
    } else {
        // The prices box is the active one whatever part of the prices was clicked, so that the
        // arrows act on the prices the marquee marks.
        activeTextBox = PricesGroup;
        controls_.setFocus(ControlId::PricesBox);
        calorieMarker = false;
        selectionColour = chosen.TextColor;
        if (placeholder)
            controls_.setText(ControlId::PricesBox, QString());
        QString &prices = workingStrip.prices().Text;
        if (prices.contains(QLatin1Char('~'))) {
            RemoveCaretMarker(prices);
            controls_.setText(ControlId::PricesBox, prices);
        }
        renderer.probes.selectionColour = selectionColour;
        Refresh();
        textCell = cell;
        PickPriceEntry(click);
    }

    editMode = EditMode::Text;
    textCell = cell;
    renderer.probes.selectionColour = selectionColour;

    SetArrowCaptions(controls_, "Size Text", "Move Text");
    EnableArrows(controls_);
    controls_.setVisible(ControlId::SizeNarrower, false);
    controls_.setVisible(ControlId::SizeWider, false);
    EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(kTextBoxes[activeTextBox])));
    ShowSpacingControls(controls_);
    UpdateReadouts();
    controls_.setEnabled(ControlId::LoadNewPicture, true);
    Refresh();
}

void Editor::PickPriceEntry(QPoint click)
{
    const CellPosition cell = textCell;
    const RectF32 box = geometry(cell.column, cell.row).hitBoxes[PricesGroup];
    const double scale = renderer.preview().previewScale;
    if (!(box.width > 0) || !(box.height > 0) || !(scale > 0))
        return;

    // The renderer tells which part of an entry lies under the point, and measures the digits.
    const RectF32 &origin = geometry(0, 0).cellRect;
    EditorProbes &probes = renderer.probes;
    probes.pricePoint = QPointF((click.x() - origin.left) / scale, (click.y() - origin.top) / scale);
    probes.leftPartHit = probes.rightPartHit = false;
    probes.digitWidthRequestX = cell.column;
    Refresh();
    probes.pricePoint = QPointF(0.0, 0.0);
    probes.digitWidthRequestX = -1.0;

    const QString &prices = workingStrip.prices().Text;
    const auto lines = PriceEntryLines(prices);
    const double tab = geometry(cell.column, cell.row).priceTabWidth;
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
            calorieMarker = entry.text.contains(QLatin1Char('<')) || entry.text.contains(QLatin1Char('>'));
            activeTextBox = PricesGroup;
            controls_.setFocus(ControlId::PricesBox);
            // The caret sits at the start of the selected part.
            controls_.setSelection(ControlId::PricesBox, start + length, start);
            QString &shown = layout.strip(cell.column, cell.row).prices().Text;
            if (!shown.contains(QLatin1Char('~')))
                shown.insert(std::min(start, int(shown.size())), QLatin1Char('~'));
            Refresh();
            return;
        }
    }
}

void Editor::ShowActiveLabel(int group)
{
    for (int g = 0; g < kGroupCount; ++g)
        controls_.setVisible(kActiveLabels[g], g == group);
    if (editMode == EditMode::Text && group != selectedGroup) {
        selectedGroup = group;
        Refresh();
        EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(kTextBoxes[group])));
    }
}

void Editor::EscapePressed()
{
    if (editMode == EditMode::Text || editMode == EditMode::Picture || editMode == EditMode::Background) {
        editMode = EditMode::Idle;
        // Nobody edits a price entry any more: its marker goes, or the next typing would store it.
        layout.forEachBoardStrip([](int, int, Strip &strip) { RemoveCaretMarker(strip.prices().Text); });
        RemoveCaretMarker(workingStrip.prices().Text);
        // With nothing selected, the arrows would act on nothing.
        ShowNothingSelected();
        Refresh();
    }
}

Qt::CursorShape Editor::PointerShape() const
{
    if (copyingStrip)
        return Qt::DragCopyCursor;
    if (movingStrip)
        return Qt::DragMoveCursor;
    return Qt::ArrowCursor;
}

} // namespace tavrin
