#include "document/KeptTvRotation.h"

#include "images/TvImageOutput.h"

#include <QImageReader>

#include <cstdlib>

namespace tavrin {

namespace {

constexpr int kProbeWidth = 64;
constexpr int kProbeHeight = 36;

qint64 Difference(const QImage &a, const QImage &b)
{
    qint64 sum = 0;
    for (int y = 0; y < kProbeHeight; ++y)
        for (int x = 0; x < kProbeWidth; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum;
}

QImage Probe(const QImage &image)
{
    return image.scaled(kProbeWidth, kProbeHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

int KeptTvRotation(const QImage &board, const QString &tvImagePath)
{
    if (board.isNull() || board.width() >= board.height())
        return 0;
    QImageReader reader(tvImagePath);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= size.height())
        return 0;
    const QImage earlier = reader.read();
    if (earlier.isNull())
        return 0;
    const QImage was = Probe(earlier);
    const qint64 clockwise = Difference(Probe(RotateForTv(board, 1)), was);
    const qint64 counter = Difference(Probe(RotateForTv(board, 2)), was);
    return clockwise <= counter ? 1 : 2;
}

} // namespace tavrin
