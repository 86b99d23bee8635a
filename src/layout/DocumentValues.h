#pragma once

#include "layout/Colour.h"

#include <QString>
#include <QStringView>

namespace tavrin {

// How values are spelled inside the layout document. Every rule here is independent of the
// user's regional settings: numbers always use a point, never a comma.

// "%d".
QString IntegerText(int value);
// "%0.3f": optional minus sign, digits, a point, three digits, the exact binary value rounded
// to the nearest as printf does (0.3 -> "0.300", -0.0004 -> "-0.000", 8 -> "8.000").
QString FactorText(double value);
// "Yes" for a non-zero flag, "No" for 0.
QString FlagText(int flag);
// "r,g,b" without blanks; the clear colour comes out as "0,0,1".
QString ColourText(Colour colour);
// 1 -> "Center", 2 -> "Right", anything else -> "Left".
QString AlignmentText(int alignment);

// Like C's atoi: leading blanks, an optional sign, digits up to the first other character;
// nothing readable gives 0. Values beyond the int range are clamped to it.
int ReadInteger(QStringView text);
// A decimal number with a point as separator, whatever the regional settings: leading
// blanks, an optional sign, digits, point, digits, an optional exponent; reading stops at the
// first character that does not fit, and nothing readable gives 0.0. Unlike C's atof it knows
// no hexadecimal, "inf" or "nan" forms (they read as 0.0), and a value too large for a double
// reads as the largest finite one.
double ReadFactor(QStringView text);
// 1 exactly when the text is "Yes" (case-sensitive).
int ReadFlag(QStringView text);
// "Center" -> 1, "Right" -> 2, anything else -> 0 (case-sensitive).
int ReadAlignment(QStringView text);

} // namespace tavrin
