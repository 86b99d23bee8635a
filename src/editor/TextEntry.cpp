// The three text boxes: every change goes into the selected strip at once, a group's first
// text takes the look of its neighbours, and text-only frames follow their text.
#include "editor/EditingControls.h"
#include "editor/Editor.h"
#include "document/PricesText.h"
#include "layout/StripOperations.h"

namespace tavrin {

namespace {

const QString kTabInstructions = QStringLiteral(
    "                Price Tabbing Text Entry Instructions\n\nThe following special characters apply:\n\n"
    "Tab Space Character: ^\n\nThe ^ specifies that text to the left of the ^ will be right justified.\n\n"
    "Calorie Color Characters: <   >\n\n"
    "The > specifies that text color to the right of the > is to be displayed in the Calorie text color.\n\n"
    "The < specifies that text color to the left of the < is to be displayed in the Calorie text color.");

void CopyLook(TextGroup &target, const TextGroup &source, bool withItalics)
{
    target.Font = source.Font;
    target.TextColor = source.TextColor;
    target.Bold = source.Bold;
    if (withItalics)
        target.Italics = source.Italics;
    target.DropShadowColor = source.DropShadowColor;
}

void StarterLook(TextGroup &group, double scale)
{
    group.ScaleFactor = scale;
    group.Font = QStringLiteral("Segoe UI Black");
    group.TextColor = kWhite;
    group.Bold = 1;
    group.DropShadowColor = kBlack;
}

// A group's first text in Text mode: it looks like, and sits beside, a group that has text.
void InheritInTextMode(Strip &strip, int typed, int clickedGroup_, const StripGeometry &g)
{
    TextGroup &target = strip.Groups[typed];
    const TextGroup &main = strip.mainItem(), &sub = strip.subItems(), &prices = strip.prices();
    const auto heightRatio = [&](int source) {
        return g.cellRect.height > 0 ? g.hitBoxes[source].height / double(g.cellRect.height) : 0.0;
    };
    const auto widthRatio = [&](int source) {
        return g.cellRect.width > 0 ? g.hitBoxes[source].width / double(g.cellRect.width) : 0.0;
    };
    switch (typed) {
    case MainItemGroup:
        if (!sub.Text.isEmpty() && clickedGroup_ == SubItemsGroup) {
            CopyLook(target, sub, true);
            target.ScaleFactor = sub.ScaleFactor * 1.36;
            target.Xref = sub.Xref;
            target.Yref = sub.Yref - heightRatio(SubItemsGroup) * 1.4;
        } else if (!prices.Text.isEmpty() && clickedGroup_ == PricesGroup) {
            CopyLook(target, prices, true);
            target.ScaleFactor = prices.ScaleFactor;
            target.Xref = prices.Xref;
            target.Yref = prices.Yref - heightRatio(PricesGroup) * 1.2;
        }
        break;
    case SubItemsGroup:
        if (!main.Text.isEmpty()) {
            CopyLook(target, main, true);
            target.ScaleFactor = main.ScaleFactor * 0.8;
            target.Yref = main.Yref;
            target.Xref = main.Xref + widthRatio(MainItemGroup) + 0.1;
        } else if (!prices.Text.isEmpty()) {
            CopyLook(target, prices, true);
            target.ScaleFactor = prices.ScaleFactor * 0.8;
            target.Xref = strip.XOffsetFactor;
        }
        break;
    case PricesGroup:
        if ((main.Text.isEmpty() || clickedGroup_ != MainItemGroup) && !sub.Text.isEmpty()
            && clickedGroup_ == SubItemsGroup) {
            CopyLook(target, sub, true);
            target.ScaleFactor = sub.ScaleFactor;
            target.Yref = sub.Yref;
            target.Xref = widthRatio(SubItemsGroup) * 1.1;
        } else if (!main.Text.isEmpty() && clickedGroup_ == MainItemGroup) {
            CopyLook(target, main, true);
            target.ScaleFactor = main.ScaleFactor;
            target.Yref = main.Yref;
            target.Xref = g.cellRect.width > 0
                ? (g.hitBoxes[MainItemGroup].width + 24.0 * heightRatio(MainItemGroup)) / g.cellRect.width
                : 0.0;
            target.GroupAlignment = int(GroupAlignment::Right);
        }
        break;
    default:
        break;
    }
}

// A group's first text typed into a selected picture or frame.
void InheritFromSelection(Strip &strip, int typed)
{
    TextGroup &target = strip.Groups[typed];
    const TextGroup &main = strip.mainItem(), &sub = strip.subItems(), &prices = strip.prices();
    switch (typed) {
    case MainItemGroup:
        if (!sub.Text.isEmpty()) {
            CopyLook(target, sub, false);
            target.ScaleFactor = sub.ScaleFactor * 1.2;
        } else if (!prices.Text.isEmpty()) {
            CopyLook(target, prices, false);
            target.ScaleFactor = prices.ScaleFactor;
        } else if (target.ScaleFactor == 1.0) {
            StarterLook(target, 5.0);
        }
        break;
    case SubItemsGroup:
        if (!main.Text.isEmpty()) {
            CopyLook(target, main, false);
            target.ScaleFactor = main.ScaleFactor * 0.8;
        } else if (!prices.Text.isEmpty()) {
            CopyLook(target, prices, false);
            target.ScaleFactor = prices.ScaleFactor;
        } else if (target.ScaleFactor == 0.5) {
            StarterLook(target, 5.0);
        }
        break;
    case PricesGroup: {
        if (!main.Text.isEmpty()) {
            CopyLook(target, main, false);
            target.ScaleFactor = main.ScaleFactor;
        } else if (!sub.Text.isEmpty()) {
            CopyLook(target, sub, false);
            target.ScaleFactor = sub.ScaleFactor / 0.8;
        } else {
            // Prices typed first into an empty frame get a starter look of their own, as long as
            // their size is still the default one.
            Strip defaults;
            ResetStrip(defaults);
            if (target.ScaleFactor == defaults.prices().ScaleFactor)
                StarterLook(target, 4.0);
        }
        break;
    }
    default:
        break;
    }
}

bool IsTextOnlyStrip(const Strip &strip)
{
    return IsClear(strip.BackGroundColor) && strip.Picture.SubImageFileName.isEmpty();
}

} // namespace

void Editor::TextChanged(int group, int caret)
{
    if (group < 0 || group >= kGroupCount)
        return;
    const ControlId box = kTextBoxes[group];
    if (editMode_ == EditMode::Idle) {
        controls_.setText(box, QString());
        return;
    }
    if (editMode_ != EditMode::Text && editMode_ != EditMode::Picture && editMode_ != EditMode::Background)
        return;
    ChangeBoard(QStringLiteral("Typing"), [&](MenuLayout &layout) {

        // The prices rules hold however the prices box is typed into, so that what is stored reads
        // back the same after a save.
        if (group == PricesGroup) {
            const PricesCorrection corrected = CorrectPricesText(controls_.text(box), caret);
            if (corrected.changed) {
                controls_.setText(box, corrected.text);
                controls_.setSelection(box, corrected.caret, corrected.caret);
            }
        }

        if (editMode_ == EditMode::Picture || editMode_ == EditMode::Background) {
            const CellPosition cell = editMode_ == EditMode::Picture ? pictureCell_ : backgroundCell_;
            const QString typed = StoredGroupText(controls_.text(box));
            workingStrip_ = layout.strip(cell.column, cell.row);
            const bool wasEmpty = workingStrip_.Groups[group].Text.isEmpty();
            workingStrip_.Groups[group].Text = typed;
            textCell_ = cell;
            layout.strip(cell.column, cell.row).Groups[group].Text = typed;
            workingStrip_ = layout.strip(cell.column, cell.row);
            if (wasEmpty)
                InheritFromSelection(workingStrip_, group);
            activeTextBox_ = clickedGroup_ = selectedGroup_ = group;
            layout.strip(cell.column, cell.row) = workingStrip_;

            SetEnabled(controls_,
                       {ControlId::LoadNewPicture, ControlId::DeletePicture, ControlId::AllText, ControlId::SelectedText,
                        ControlId::MenuItemTextToBeMovedGroup},
                       false);
            controls_.setEnabled(ControlId::DeleteMenuItem, true);
            SetArrowCaptions(controls_, "Size Text", "Move Text");
            EnableArrows(controls_);
            controls_.setVisible(ControlId::SizeNarrower, false);
            controls_.setVisible(ControlId::SizeWider, false);
            EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(box)));
            ShowSpacingControls(controls_);
            selectionColour_ = workingStrip_.Groups[group].TextColor;
            renderer_.probes.selectionColour = selectionColour_;
            editMode_ = EditMode::Text;
            controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Text));
            UpdateReadouts();
            Refresh();
            KeepTextStripOnBoard();
            return;
        }

        // Text mode.
        if (group == PricesGroup)
            RemoveCaretMarker(workingStrip_.prices().Text);
        TextGroup &target = workingStrip_.Groups[group];
        const bool wasEmpty = target.Text.isEmpty() && (group != PricesGroup || target.ScaleFactor == 1.0);
        target.Text = controls_.text(box);
        if (wasEmpty)
            InheritInTextMode(workingStrip_, group, clickedGroup_, geometry_(textCell_.column, textCell_.row));
        target.Text = StoredGroupText(target.Text);
        selectionColour_ = target.TextColor;
        renderer_.probes.selectionColour = selectionColour_;
        controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Text));
        EnableLineSpacing(controls_, HoldsLineBreak(controls_.text(box)));

        layout.strip(textCell_.column, textCell_.row) = workingStrip_;
        Refresh();
        if (IsTextOnlyStrip(layout.strip(textCell_.column, textCell_.row))) {
            // The fits only move the frame around the text: the board looks the same afterwards.
            VerticalFrameFit(layout, geometry_, textCell_);
            textCell_ = HorizontalFrameFit(layout, geometry_, textCell_);
            workingStrip_ = layout.strip(textCell_.column, textCell_.row);
        }
        KeepTextStripOnBoard();
    });
}

void Editor::TextBoxFocused(int group)
{
    if (group < 0 || group >= kGroupCount)
        return;
    lastFocusedBox_ = kTextBoxes[group];
    currentFontName_ = workingStrip_.Groups[group].Font;
    controls_.setText(ControlId::FontBox, currentFontName_);
    activeTextBox_ = group;
    // Without a board nothing can be typed into, so no box is marked active.
    if (document_.hasBoard())
        ShowActiveLabel(group);
    UpdateReadouts();
    selectionColour_ = workingStrip_.Groups[group].TextColor;
    renderer_.probes.selectionColour = selectionColour_;
}

void Editor::TextBoxLostFocus(int group)
{
    if (group == PricesGroup)
        RemoveCaretMarker(workingStrip_.prices().Text);
}

void Editor::TabInstructions() { prompter_->showMessage(kTabInstructions); }

} // namespace tavrin
