#include "app/BoardPreview.h"

#include "editor/Editor.h"
#include "render/BoardGeometry.h"
#include "render/PreviewOverlays.h"

#include <QDateTime>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace tavrin {

void BoardPreview::setEditor(Editor *editor)
{
    editor_ = editor;
    qApp->removeEventFilter(this);
    if (editor_)
        qApp->installEventFilter(this);
}

bool BoardPreview::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel: {
        const auto *input = static_cast<const QInputEvent *>(event);
        const qint64 madeAt = clock_.happenedAt(input->timestamp(), QDateTime::currentMSecsSinceEpoch());
        const bool leftPress = (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
        if (leftPress && editor_ && madeAt < editor_->ignoreClicksBefore())
            return true;
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void BoardPreview::paintEvent(QPaintEvent *)
{
    if (!editor_)
        return;
    QPainter painter(this);
    const BoardRenderer &renderer = editor_->renderer();
    const QImage &board = renderer.shownBoard();
    if (editor_->document().hasBoard() && !board.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(renderer.preview().previewDestination, board);
        if (editor_->controls().isChecked(ControlId::DisplayVerticalGrid))
            DrawVerticalGrid(painter, renderer.preview(), editor_->geometry(), editor_->layout().NumberOfColumns);
    }
    drawSelection(painter);
    // The conversion question of a freshly opened legacy layout comes once the board is shown;
    // it is asked after this paint, since a question cannot be shown from inside one.
    if (editor_->migrationPending())
        QTimer::singleShot(0, this, [editor = editor_] { editor->RunPendingMigration(); });
}

void BoardPreview::drawSelection(QPainter &painter)
{
    const Editor &e = *editor_;
    // While a strip is dragged, the texts of the selected picture or background strip are outlined.
    if (e.dragMarquee() && (e.copyingStrip() || e.movingStrip())) {
        const CellPosition cell = e.editMode() == EditMode::Picture ? e.pictureCell() : e.backgroundCell();
        DrawStripTextMarquees(painter, e.geometry(), cell.column, cell.row);
    }
    switch (e.editMode()) {
    case EditMode::Picture:
        DrawMarquee(painter, ToQRectF(e.geometry()(e.pictureCell().column, e.pictureCell().row).stripRect), true);
        break;
    case EditMode::Background:
        DrawMarquee(painter, FrameRectOnPreview(e.layout(), e.geometry(), e.backgroundCell().column, e.backgroundCell().row),
                    true);
        break;
    case EditMode::Text:
        DrawTextSelectionMarquees(painter, e.geometry(), e.layout().strip(e.textCell().column, e.textCell().row),
                                  e.textCell().column, e.textCell().row, e.selectedGroup(), e.selectionColour());
        break;
    default:
        break;
    }
}

void BoardPreview::mousePressEvent(QMouseEvent *event)
{
    if (editor_ && event->button() == Qt::RightButton) {
        const Qt::KeyboardModifiers keys = event->modifiers();
        editor_->RightButtonDown(event->position().toPoint(),
                                 {keys.testFlag(Qt::AltModifier), keys.testFlag(Qt::ShiftModifier)});
        setCursor(editor_->PointerShape());
        return;
    }
    if (!editor_ || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Clicks made while a layout was loading arrive afterwards; their stamps tell them apart.
    const qint64 received = clock_.happenedAt(event->timestamp(), QDateTime::currentMSecsSinceEpoch());
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    editor_->BoardClick(event->position().toPoint(), received);
    QGuiApplication::restoreOverrideCursor();
    setCursor(editor_->PointerShape());
}

void BoardPreview::mouseReleaseEvent(QMouseEvent *event)
{
    if (editor_ && event->button() == Qt::RightButton) {
        editor_->RightButtonUp(event->position().toPoint());
        setCursor(editor_->PointerShape());
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void BoardPreview::mouseDoubleClickEvent(QMouseEvent *event) { event->accept(); }

void BoardPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (editor_)
        editor_->WindowResized();
}

} // namespace tavrin
