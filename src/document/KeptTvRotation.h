#pragma once

#include <QImage>
#include <QString>

namespace tavrin {

// The turn (0 none, 1 clockwise, 2 counter-clockwise) that the TV image at tvImagePath was saved
// with for this board: a portrait board whose earlier TV image is landscape was turned, and the
// direction is the one whose turned board looks most like that image. 0 for a landscape board
// or when there is no readable earlier image. Boards rewritten without a person to ask (a price
// list applied) keep their turn this way.
int KeptTvRotation(const QImage &board, const QString &tvImagePath);

} // namespace tavrin
