// Backgrounds and pictures: any bytes under an image's name go through the program's one
// image decoder (size probe, then the bounded decode).
#include "FuzzSupport.h"

#include "images/ImageDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tavrin;
    fuzz::EnsureCoreApplication();
    const QString path = fuzz::RunFolder() + "/Picture.jpg";
    fuzz::WriteFile(path, fuzz::BytesOf(data, size));

    (void)ImagePixelSize(path);
    const DecodedImage decoded = DecodeImageFile(path);
    if (!decoded.isNull()) {
        (void)VerticalDotsPerInch(decoded.image);
        (void)ExifOrientation(decoded.transformation);
    }
    return 0;
}
