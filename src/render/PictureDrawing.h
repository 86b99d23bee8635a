#pragma once

#include "render/RenderContext.h"

class QPainter;

namespace tavrin {

// The file a picture is drawn from: with proxies on, "<name>_Proxy.jpg" / ".png" / ".gif"
// when it exists beside the picture, else the picture itself.
QString PictureFileToDraw(const QString &subImageFileName, bool useProxies);

// Draws the strip's picture (cropped when its crop values say so) stretched into frame, then
// its border. Missing or undecodable files draw nothing but the border.
void DrawStripPicture(const RenderContext &context, QPainter &painter, const Strip &strip, const QRectF &frame);

// How far the strip's picture border reaches out of its frame on a board of that size (half
// its pen); 0 without a border.
double PictureBorderReach(const Strip &strip, int boardWidth, int boardHeight, bool whitePrint);

// Draws the picture border of the strip's style around rect; false when the style is "None".
bool DrawPictureBorder(const RenderContext &context, QPainter &painter, const Strip &strip, const QRectF &rect);

} // namespace tavrin
