#pragma once

#include "render/BoardAtOwnScale.h"
#include "prices/PriceList.h"

#include <QImage>

namespace tavrin {

// The boxes (board pixels) of the changed entries as the rendered board drew them. An entry
// whose text draws nothing has no box.
std::vector<QRectF> ChangedEntryBoxes(const BoardAtOwnScale &rendered, const MenuLayout &layout,
                                      const std::vector<PriceChange> &changes);

// A proof of a changed board: the board with every changed entry outlined, beside a list of the
// old and new values.
QImage PriceProofImage(const BoardAtOwnScale &rendered, const MenuLayout &layout, const std::vector<PriceChange> &changes);

} // namespace tavrin
