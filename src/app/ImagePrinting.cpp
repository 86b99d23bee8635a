#include "app/ImagePrinting.h"

#include <QImageReader>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace tavrin {

QRect FitWholeImage(QSize imageSize, const QRect &pageRect)
{
    if (imageSize.isEmpty() || pageRect.isEmpty())
        return {};
    const QSize fitted = imageSize.scaled(pageRect.size(), Qt::KeepAspectRatio);
    const QPoint topLeft(pageRect.left() + (pageRect.width() - fitted.width()) / 2,
                         pageRect.top() + (pageRect.height() - fitted.height()) / 2);
    return QRect(topLeft, fitted);
}

bool PrintImageFile(const QString &path, QWidget *parent)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("print.jpg"));
    // A wide board prints across the page.
    printer.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FitWholeImage(image.size(), painter.viewport()), image);
    return painter.end();
}

} // namespace tavrin
