#include "app/BoardPreview.h"

#include "editor/Editor.h"
#include "render/PreviewOverlays.h"

#include <QPainter>
#include <QTimer>

namespace tavrin {

void BoardPreview::paintEvent(QPaintEvent *)
{
    if (!editor_)
        return;
    QPainter painter(this);
    const BoardRenderer &renderer = editor_->renderer;
    const QImage &board = renderer.shownBoard();
    if (!editor_->backgroundName.isEmpty() && !board.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(renderer.preview().previewDestination, board);
        if (editor_->controls().isChecked(ControlId::DisplayVerticalGrid))
            DrawVerticalGrid(painter, renderer.preview(), editor_->geometry, editor_->layout.NumberOfColumns);
    }
    // The conversion question of a freshly opened legacy layout comes once the board is shown;
    // it is asked after this paint, since a question cannot be shown from inside one.
    if (editor_->migrationPending)
        QTimer::singleShot(0, this, [editor = editor_] { editor->RunPendingMigration(); });
}

void BoardPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (editor_)
        editor_->WindowResized();
}

} // namespace tavrin
