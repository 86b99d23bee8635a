#include "app/BoardPreview.h"

#include "editor/Editor.h"
#include "render/PreviewOverlays.h"

#include <QPainter>

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
}

void BoardPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (editor_)
        editor_->WindowResized();
}

} // namespace tavrin
