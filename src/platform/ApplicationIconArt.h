#pragma once

#include <QImage>

namespace tavrin {

// The program's icon (a menu board on a stand) drawn at size x size pixels. The same drawing is
// kept as packaging/com.tessaldesign.Tavrin.svg for the desktop's icon theme.
QImage ApplicationIconImage(int size);

} // namespace tavrin
