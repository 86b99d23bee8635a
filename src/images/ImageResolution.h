#pragma once

#include <QByteArrayView>

namespace tavrin {

// The resolution an image file states in its header, read from the bytes themselves: the JFIF
// density or else the EXIF resolution of a JPEG, the pHYs chunk of a PNG, the resolution fields
// of a TIFF and of a BMP. Image readers leave a file without one at a default that follows the
// screen, so the decoded image alone cannot tell "none stated" from "stated the default".
struct StatedResolution {
    bool headerRead = false; // the file is one of the formats above and its header was read
    double dpiX = 0.0;       // dots per inch; 0 when the file states none
    double dpiY = 0.0;
};

StatedResolution ReadStatedResolution(QByteArrayView data);

} // namespace tavrin
