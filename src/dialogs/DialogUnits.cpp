#include "dialogs/DialogUnits.h"

#include <QFontMetrics>

namespace tavrin {

DialogUnits::DialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = qMax(1, (letters / 26 + 1) / 2);
    baseHeight_ = qMax(1, metrics.height());
}

int DialogUnits::x(int units) const { return units * baseWidth_ / 4; }

int DialogUnits::y(int units) const { return units * baseHeight_ / 8; }

QRect DialogUnits::rect(int x, int y, int width, int height) const
{
    return QRect(this->x(x), this->y(y), this->x(width), this->y(height));
}

} // namespace tavrin
