#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace tavrin {

// Encodes image as a GIF (Qt has no GIF writer). The colours are reduced to a palette of at
// most 256 entries; pixels with alpha below 128 become the transparent entry. nullopt when the
// image is null or the encoder fails.
std::optional<QByteArray> EncodeGif(const QImage &image);

} // namespace tavrin
