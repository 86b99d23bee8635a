#include "layout/DocumentValues.h"
#include "layout/LayoutDocument.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace tavrin {

namespace {

bool IsBlank(QChar c)
{
    // The blanks C's isspace accepts in the "C" locale.
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

// A "C" locale of our own, so that number reading ignores whatever setlocale() the
// application (or Qt) made.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return classic;
}

} // namespace

QString IntegerText(int value) { return QString::number(value); }

QString FactorText(double value)
{
    // std::to_chars never looks at the locale and rounds the exact binary value like printf.
    // The largest double needs 309 digits before the point.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc())
        return QStringLiteral("0.000"); // cannot happen with this buffer size
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString FlagText(int flag) { return flag != 0 ? QStringLiteral("Yes") : QStringLiteral("No"); }

QString ColourText(Colour colour)
{
    return QStringLiteral("%1,%2,%3").arg(RedOf(colour)).arg(GreenOf(colour)).arg(BlueOf(colour));
}

QString AlignmentText(int alignment)
{
    switch (alignment) {
    case 1:
        return QStringLiteral("Center");
    case 2:
        return QStringLiteral("Right");
    default:
        return QStringLiteral("Left");
    }
}

int ReadInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude in 64 bits and stop growing once it is past the int range.
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (magnitude <= LLONG_MAX / 100)
            magnitude = magnitude * 10 + (text[i].unicode() - u'0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

double ReadFactor(QStringView text)
{
    // Gather the decimal number at the start of the text (blanks, sign, digits, point, digits,
    // exponent) as narrow text and let strtod_l convert it: it rounds correctly however many
    // digits there are. Only this form is gathered, so the hexadecimal, "inf" and "nan" forms
    // strtod also knows never reach it and read as nothing.
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && IsBlank(text[i]))
        ++i;
    std::string number;
    if (i < size && (text[i] == u'+' || text[i] == u'-'))
        number += char(text[i++].unicode());
    const auto isDigit = [&](qsizetype at) { return at < size && text[at] >= u'0' && text[at] <= u'9'; };
    bool anyDigit = false;
    // Leading zeros carry no value; dropping them keeps the text strtod sees short.
    while (i < size && text[i] == u'0') {
        ++i;
        anyDigit = true;
    }
    if (anyDigit)
        number += '0';
    for (; isDigit(i); ++i, anyDigit = true)
        number += char(text[i].unicode());
    if (i < size && text[i] == u'.') {
        number += '.';
        for (++i; isDigit(i); ++i, anyDigit = true)
            number += char(text[i].unicode());
    }
    if (!anyDigit)
        return 0.0;
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype exponent = i + 1;
        if (exponent < size && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        if (isDigit(exponent)) {
            number.append(text.mid(i, exponent - i).toLatin1().constData());
            for (i = exponent; isDigit(i); ++i)
                number += char(text[i].unicode());
        }
    }
    const double value = strtod_l(number.c_str(), nullptr, ClassicLocale());
    // A number too large for a double stays the largest finite one, so that it is written back
    // as a number.
    if (std::isinf(value))
        return std::copysign(DBL_MAX, value);
    return value;
}

int ReadFlag(QStringView text) { return text == u"Yes" ? 1 : 0; }

int ReadAlignment(QStringView text)
{
    if (text == u"Center")
        return 1;
    if (text == u"Right")
        return 2;
    return 0;
}

Colour ParseColour(QStringView text)
{
    // Without a comma the missing leading parts read as 0: "255" is blue 255, "10,20" is red 10
    // and blue 20.
    int red = 0, green = 0;
    QStringView rest = text;
    qsizetype comma = rest.indexOf(u',');
    if (comma >= 0) {
        red = ReadInteger(rest.left(comma));
        rest = rest.mid(comma + 1);
    }
    comma = rest.indexOf(u',');
    if (comma >= 0) {
        green = ReadInteger(rest.left(comma));
        rest = rest.mid(comma + 1);
    }
    const int blue = ReadInteger(rest);
    return MakeColour(red, green, blue);
}

} // namespace tavrin
