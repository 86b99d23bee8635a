#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace tavrin {

// Where an image of imageSize goes on a page of pageRect: as large as fits, aspect kept,
// centred, never cropped.
QRect FitWholeImage(QSize imageSize, const QRect &pageRect);

// Shows the system print dialog for the image file and prints it whole on one page when the
// user confirms. False when the image cannot be read or the user cancelled.
bool PrintImageFile(const QString &path, QWidget *parent);

} // namespace tavrin
