#include "images/GifWriter.h"

#include <gif_lib.h>

#include <QList>

#include <memory>
#include <vector>

namespace tavrin {

namespace {

int AppendToBuffer(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
    return length;
}

struct GifCloser {
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

// The smallest colour-map size giflib accepts for count colours: a power of two from 2 to 256.
int ColourMapSize(int count)
{
    int size = 2;
    while (size < count)
        size *= 2;
    return size;
}

} // namespace

std::optional<QByteArray> EncodeGif(const QImage &image)
{
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF)
        return std::nullopt;

    // Qt keeps up to 256 colours exactly and reduces more to a dithered palette; transparency
    // is carried separately so that the palette never spends an entry on it unless a pixel
    // needs one.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    bool anyTransparent = false;
    for (int y = 0; y < argb.height() && !anyTransparent; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) < 128) {
                anyTransparent = true;
                break;
            }
    }
    const QImage indexed = argb.convertToFormat(QImage::Format_RGB32)
                               .convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    QList<QRgb> palette = indexed.colorTable();
    if (palette.isEmpty() || palette.size() > 256)
        return std::nullopt;
    int transparentIndex = -1;
    if (anyTransparent) {
        if (palette.size() == 256)
            // Full palette: the last entry gives way to transparency; its pixels take the
            // entry before it below.
            palette.removeLast();
        transparentIndex = int(palette.size());
        palette.append(qRgb(0, 0, 0));
    }

    const int mapSize = ColourMapSize(int(palette.size()));
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject *)> map(GifMakeMapObject(mapSize, nullptr),
                                                                      GifFreeMapObject);
    if (!map)
        return std::nullopt;
    for (int i = 0; i < mapSize; ++i) {
        const QRgb colour = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        map->Colors[i] = GifColorType{GifByteType(qRed(colour)), GifByteType(qGreen(colour)),
                                      GifByteType(qBlue(colour))};
    }

    QByteArray bytes;
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&bytes, AppendToBuffer, &error));
    if (!gif)
        return std::nullopt;
    EGifSetGifVersion(gif.get(), transparentIndex >= 0);
    const int width = image.width(), height = image.height();
    if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, map.get()) == GIF_ERROR)
        return std::nullopt;
    if (transparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.DelayTime = 0;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
            return std::nullopt;
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
        return std::nullopt;

    std::vector<GifPixelType> line(static_cast<size_t>(width));
    const int lastOpaqueIndex = int(palette.size()) - (transparentIndex >= 0 ? 2 : 1);
    for (int y = 0; y < height; ++y) {
        const uchar *indices = indexed.constScanLine(y);
        const QRgb *pixels = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (transparentIndex >= 0 && qAlpha(pixels[x]) < 128)
                line[size_t(x)] = GifPixelType(transparentIndex);
            else
                line[size_t(x)] = GifPixelType(qMin(int(indices[x]), lastOpaqueIndex));
        }
        if (EGifPutLine(gif.get(), line.data(), width) == GIF_ERROR)
            return std::nullopt;
    }
    GifFileType *finished = gif.release();
    if (EGifCloseFile(finished, &error) == GIF_ERROR)
        return std::nullopt;
    return bytes;
}

} // namespace tavrin
