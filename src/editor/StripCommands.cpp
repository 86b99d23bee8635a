// Moving and copying strips with the right mouse button, the two delete commands and Undo.
#include "editor/Editor.h"

#include "editor/EditingControls.h"
#include "editor/HitTests.h"
#include "images/Proxies.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"

#include <QFile>

namespace tavrin {

namespace {

const QString kIdleLabel = QStringLiteral("EDIT MODE:  IDLE");
// A release this close to the press (in both directions) is a click, not a drag.
constexpr int kDragThreshold = 4;

// The first board cell holding the point, columns first.
std::optional<CellPosition> CellHitTest(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point)
{
    for (int c = 0; c < layout.boardColumns(); ++c)
        for (int r = 0; r < layout.boardRows(); ++r)
            if (RectHolds(ToQRectF(geometry(c, r).cellRect), point))
                return CellPosition{c, r};
    return std::nullopt;
}

std::optional<CellPosition> TextOrFrameAt(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point)
{
    if (const std::optional<TextHit> text = TextHitTest(layout, geometry, point))
        return text->cell;
    return FrameHitTest(layout, geometry, point);
}

// The copy's picture file: "<name>(n)<ext>" for the first n whose file does not exist.
QString FreeCopyName(const QString &picture)
{
    const qsizetype dot = picture.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? picture : picture.left(dot);
    const QString extension = dot < 0 ? QString() : picture.mid(dot);
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral("(%1)").arg(n) + extension;
        if (!QFile::exists(candidate))
            return candidate;
    }
}

} // namespace

void Editor::RightButtonDown(QPoint point, ArrowKeys keys)
{
    ChangeBoard(QStringLiteral("Typing"), [](MenuLayout &layout) {
        layout.forEachBoardStrip([](int, int, Strip &strip) { strip.prices().Text.remove(QLatin1Char('~')); });
    });
    copyingStrip_ = movingStrip_ = false;
    dragPressPoint_ = point;
    dragMarquee_ = editMode_ == EditMode::Picture || editMode_ == EditMode::Background;

    controls_.setEnabled(ControlId::AllText, true);
    controls_.setChecked(ControlId::AllText, true);
    controls_.setEnabled(ControlId::SelectedText, true);
    controls_.setChecked(ControlId::SelectedText, false);
    controls_.setEnabled(ControlId::MenuItemTextToBeMovedGroup, true);

    std::optional<CellPosition> source = TextOrFrameAt(layout(), geometry_, point);
    if (!source)
        source = PictureHitTest(layout(), geometry_, point);
    if (!source && !keys.shift)
        source = CellHitTest(layout(), geometry_, point);
    if (!source)
        return;

    dragSource_ = *source;
    (keys.alt ? movingStrip_ : copyingStrip_) = true;
    controls_.setText(ControlId::ModeLabel,
                      movingStrip_ ? QStringLiteral("EDIT MODE:  MOVING STRIP") : QStringLiteral("EDIT MODE:  COPYING STRIP"));
    if (onRefresh)
        onRefresh({});
}

void Editor::RightButtonUp(QPoint point)
{
    if (!copyingStrip_ && !movingStrip_)
        return;
    const QPoint moved = point - dragPressPoint_;
    if (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold)
        DropStrip(point);
    copyingStrip_ = movingStrip_ = false;
    dragMarquee_ = false;
    dragPressPoint_ = QPoint();
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    if (onRefresh)
        onRefresh({});
}

void Editor::DropStrip(QPoint point)
{
    // The drop is an action of its own: one Undo puts both cells back.
    StartNewAction();
    std::optional<CellPosition> target = TextOrFrameAt(layout(), geometry_, point);
    if (!target) {
        target = CellHitTest(layout(), geometry_, point);
        if (target && *target == dragSource_)
            return;
    }

    if (!target || *target == dragSource_) {
        // Dropped where it came from: the strip becomes the selected one.
        workingStrip_ = layout().strip(dragSource_.column, dragSource_.row);
        int group = MainItemGroup;
        for (int g = 0; g < kGroupCount; ++g)
            if (!workingStrip_.Groups[g].Text.isEmpty()) {
                group = g;
                break;
            }
        selectedGroup_ = group;
        controls_.setFocus(kTextBoxes[group]);
        currentFontName_ = workingStrip_.Groups[group].Font;
        ClearAllGeometry(geometry_);
        Refresh();
        target = dragSource_;
    } else {
        // The first free cell from the target down its column, above the last row.
        CellPosition free = *target;
        while (IsStripInUse(layout().strip(free.column, free.row))) {
            if (free.row >= layout().NumberOfRows - 2)
                return;
            ++free.row;
        }
        target = free;

        ChangeBoard(movingStrip_ ? QStringLiteral("Move Strip") : QStringLiteral("Copy Strip"), [&](MenuLayout &layout) {
            const Strip &source = layout.strip(dragSource_.column, dragSource_.row);
            Strip &copy = layout.strip(free.column, free.row);
            const double targetYOffset = copy.YOffsetFactor;
            copy = source;
            copy.YOffsetFactor = targetYOffset;

            if (copyingStrip_ && !source.Picture.SubImageFileName.isEmpty()) {
                // A copied picture gets a file of its own, with its proxy beside it.
                const QString original = source.Picture.SubImageFileName;
                const QString own = FreeCopyName(original);
                QFile::copy(original, own);
                copy.Picture.SubImageFileName = own;
                const QString proxy = PictureProxyPath(original);
                if (!proxy.isEmpty())
                    QFile::copy(proxy, PictureProxyPath(own));
                controls_.setText(ControlId::ModeLabel, kIdleLabel);
            }
            if (movingStrip_) {
                ResetStrip(layout.strip(dragSource_.column, dragSource_.row));
                ClearAllGeometry(geometry_);
                UpdateReadouts();
            }

            for (int g = 0; g < kGroupCount; ++g)
                controls_.setText(kTextBoxes[g], workingStrip_.Groups[g].Text);
            editMode_ = EditMode::Idle;
            ShowNothingSelected();
            controls_.setText(ControlId::ModeLabel, kIdleLabel);
            Refresh({true, true});
            RebuildGrid(layout, renderer_.preview(), geometry_);
            Refresh({true, false});

            // Prices dropped a whole cell or more to the right come back into their strip.
            Strip &dropped = layout.strip(free.column, free.row);
            const StripGeometry &g = geometry_(free.column, free.row);
            if (!dropped.prices().Text.isEmpty() && dropped.mainItem().Text.isEmpty() && dropped.subItems().Text.isEmpty()
                && g.hitBoxes[PricesGroup].left > g.cellRect.left + g.cellRect.width) {
                bool reduced = false;
                for (int guard = 0; dropped.prices().Xref > 1.0 && guard < 1000; ++guard) {
                    dropped.prices().Xref -= 1.0;
                    reduced = true;
                }
                if (reduced) {
                    dropped.prices().Xref += dropped.XOffsetFactor;
                    dropped.XOffsetFactor = 0.0;
                }
                Refresh();
            }
        });
    }

    controls_.setEnabled(ControlId::DeleteMenuItem, false);
    for (ControlId box : kTextBoxes)
        controls_.setText(box, QString());
    KeepStripOnBoard(*target);
}

void Editor::KeepTextStripOnBoard()
{
    const StripGeometry &g = geometry_(textCell_.column, textCell_.row);
    QRectF text;
    for (const RectF32 &box : g.hitBoxes)
        if (box.width > 0)
            text = text.isEmpty() ? ToQRectF(box) : text.united(ToQRectF(box));
    const RectF32 &first = geometry_(0, 0).cellRect;
    const RectF32 &last = geometry_(layout().boardColumns() - 1, layout().boardRows() - 1).cellRect;
    if (text.isEmpty() || !(first.width > 0) || !(first.height > 0))
        return;
    // In cells; the left and top edges win when the text is larger than the board.
    double dx = 0, dy = 0;
    if (text.right() > last.left + last.width)
        dx = (last.left + last.width - text.right()) / first.width;
    if (text.left() + dx * first.width < first.left)
        dx = (first.left - text.left()) / first.width;
    if (text.bottom() > last.top + last.height)
        dy = (last.top + last.height - text.bottom()) / first.height;
    if (text.top() + dy * first.height < first.top)
        dy = (first.top - text.top()) / first.height;
    if (dx == 0 && dy == 0)
        return;
    // Only the texts move: a frame with a colour or a picture stays where the user put it, and
    // a text-only frame follows its text again.
    ChangeBoard(QStringLiteral("Typing"), [&](MenuLayout &layout) {
        Strip &strip = layout.strip(textCell_.column, textCell_.row);
        for (TextGroup &group : strip.Groups) {
            if (group.Text.isEmpty())
                continue;
            group.Xref += dx;
            group.Yref += dy;
        }
        Refresh();
        if (IsClear(strip.BackGroundColor) && strip.Picture.SubImageFileName.isEmpty()) {
            VerticalFrameFit(layout, geometry_, textCell_);
            textCell_ = HorizontalFrameFit(layout, geometry_, textCell_);
        }
        workingStrip_ = layout.strip(textCell_.column, textCell_.row);
    });
}

bool Editor::KeepStripOnBoard(CellPosition cell)
{
    const Strip &strip = layout().strip(cell.column, cell.row);
    const StripGeometry &g = geometry_(cell.column, cell.row);
    QRectF content = FrameRectOnPreview(layout(), geometry_, cell.column, cell.row);
    if (StripHasText(strip))
        for (const RectF32 &box : g.hitBoxes)
            if (box.width > 0)
                content = content.united(ToQRectF(box));
    // The board is where its cells lie. (The preview area is in whole pixels and may end a
    // fraction of a pixel before the last cell: a full-width strip would be pushed in by that
    // much and land beside its neighbours instead of under them.)
    const RectF32 &first = geometry_(0, 0).cellRect;
    const RectF32 &last = geometry_(layout().boardColumns() - 1, layout().boardRows() - 1).cellRect;
    const double cellWidth = first.width, cellHeight = first.height;
    if (!(cellWidth > 0) || !(cellHeight > 0) || content.isEmpty())
        return false;
    const double boardLeft = first.left, boardTop = first.top;
    const double boardRight = last.left + last.width, boardBottom = last.top + last.height;
    double dx = 0, dy = 0;
    if (boardLeft > content.left())
        dx += (boardLeft - content.left()) / cellWidth;
    if (boardTop > content.top())
        dy += (boardTop - content.top()) / cellHeight;
    if (content.right() > boardRight)
        dx += (boardRight - content.right()) / cellWidth;
    if (content.bottom() > boardBottom)
        dy += (boardBottom - content.bottom()) / cellHeight;
    if (dx == 0 && dy == 0)
        return false;
    // Part of the drop: Undo brings the strip back to where it was.
    ChangeBoard(QStringLiteral("Move Strip"), [&](MenuLayout &layout) {
        layout.strip(cell.column, cell.row).XOffsetFactor += dx;
        layout.strip(cell.column, cell.row).YOffsetFactor += dy;
    });
    Refresh();
    return true;
}

void Editor::UndoCommand()
{
    editMode_ = EditMode::Idle;
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    const std::optional<HistoryMove> move = document_.undo();
    if (!move) {
        // The group last worked on in Text mode is the selected one again.
        if (lastTextEditedGroup_ >= 0) {
            selectedGroup_ = lastTextEditedGroup_;
            for (int g = 0; g < kGroupCount; ++g)
                controls_.setVisible(kActiveLabels[g], g == selectedGroup_);
        }
        for (ControlId id : {ControlId::AllText, ControlId::SelectedText, ControlId::MenuItemTextToBeMovedGroup})
            controls_.setEnabled(id, false);
    }
    ShowBoardAfterHistoryStep(move);
}

void Editor::RedoCommand()
{
    if (!document_.canRedo()) {
        EnableHistoryButtons();
        return;
    }
    editMode_ = EditMode::Idle;
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    ShowBoardAfterHistoryStep(document_.redo());
}

void Editor::ShowBoardAfterHistoryStep(const std::optional<HistoryMove> &move)
{
    StartNewAction();
    if (move) {
        // The pictures the step brought back are drawn from their proxies again.
        for (const auto &[column, row] : move->cells)
            if (!layout().strip(column, row).Picture.SubImageFileName.isEmpty())
                RebuildStripProxy(column, row);
        if (move->filesChanged)
            MakeProxiesForLoadedBoard();
        ClearAllGeometry(geometry_);
        if (move->filesChanged || move->gridChanged) {
            renderer_.backgroundReadingPending = true;
            LayOutPreview(true);
        } else {
            Refresh({true, false});
        }
    }
    for (ControlId box : kTextBoxes)
        controls_.setText(box, QString());
    EnableHistoryButtons();
    // Back to a loaded board with nothing selected. (Switching the editing controls off here, as
    // a disable of the whole set would, would leave no way to save until the layout is opened
    // again.) Without a board there is nothing to save, print or show.
    if (document_.hasBoard())
        SetBoardReadyState();
    else
        EnableEditingControls(false);
    SetIdleEditingControls();
    ShowNothingSelected();
}

void Editor::EndModeAfterDelete()
{
    editMode_ = EditMode::Idle;
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    ClearAllGeometry(geometry_);
    Refresh({true, false});
    ShowNothingSelected();
    EnableHistoryButtons();
}

void Editor::DeleteMenuItemCommand()
{
    std::optional<CellPosition> cell;
    if (editMode_ == EditMode::Text)
        cell = textCell_;
    else if (editMode_ == EditMode::Background)
        cell = backgroundCell_;
    else if (editMode_ == EditMode::Picture)
        cell = pictureCell_;
    if (cell) {
        ChangeBoard(QStringLiteral("Delete Strip"),
                    [&](MenuLayout &layout) { ResetStrip(layout.strip(cell->column, cell->row)); });
        ClearStripGeometry(geometry_, cell->column, cell->row);
        for (ControlId box : kTextBoxes)
            controls_.setText(box, QString());
    }
    EndModeAfterDelete();
}

void Editor::DeletePictureCommand()
{
    if (editMode_ == EditMode::Picture) {
        ChangeBoard(QStringLiteral("Delete Picture"), [&](MenuLayout &layout) {
            Strip &strip = layout.strip(pictureCell_.column, pictureCell_.row);
            strip.Picture.SubImageFileName.clear();
            strip.Picture.SubImageFrameIndex = 0;
            geometry_(pictureCell_.column, pictureCell_.row).stripRect = RectF32{};
            if (IsClear(strip.BackGroundColor)) {
                VerticalFrameFit(layout, geometry_, pictureCell_);
                HorizontalFrameFit(layout, geometry_, pictureCell_);
            }
        });
    }
    EndModeAfterDelete();
}

} // namespace tavrin
