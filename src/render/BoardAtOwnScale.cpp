#include "render/BoardAtOwnScale.h"

namespace tavrin {

QRectF BoardAtOwnScale::boardBox(const RectF32 &box) const
{
    const double s = preview.previewScale > 0.0 ? preview.previewScale : 1.0;
    return QRectF((box.left - preview.previewArea.x()) / s, (box.top - preview.previewArea.y()) / s, box.width / s,
                  box.height / s);
}

BoardAtOwnScale RenderBoardAtOwnScale(const MenuLayout &layout, const BoardSources &sources, bool whitePrint)
{
    BoardAtOwnScale out;
    BoardRenderer renderer(layout, *out.geometry);
    renderer.sources = sources;
    renderer.sources.backgroundProxy = false;
    renderer.probes.drawnPriceEntries = &out.priceEntries;
    renderer.probes.drawnTexts = &out.texts;
    renderer.substitutions = &out.substitutions;
    // A preview region larger than any board shows it at one preview pixel per board pixel.
    out.board = renderer.renderForOutput(QRect(0, 0, 1 << 20, 1 << 20), whitePrint);
    out.preview = renderer.preview();
    return out;
}

QImage RenderBoardUnderTexts(const MenuLayout &layout, const BoardSources &sources, bool whitePrint)
{
    auto geometry = std::make_unique<GeometryRecords>();
    BoardRenderer renderer(layout, *geometry);
    renderer.sources = sources;
    renderer.sources.backgroundProxy = false;
    renderer.options.withoutText = true;
    return renderer.renderForOutput(QRect(0, 0, 1 << 20, 1 << 20), whitePrint);
}

} // namespace tavrin
