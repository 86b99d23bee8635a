#include "layout/DocumentValues.h"
#include "layout/LayoutDocument.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>

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
    // strtod_l needs narrow, terminated text. No character of a number lies outside ASCII, so
    // the copy stops at the first one that does; a value is a short text, but a damaged
    // document may hold anything, hence the cap well above any real number's length.
    constexpr qsizetype kMaxNumberLength = 1024;
    QByteArray narrow;
    narrow.reserve(std::min(text.size(), kMaxNumberLength));
    for (qsizetype i = 0; i < text.size() && i < kMaxNumberLength; ++i) {
        const char16_t u = text[i].unicode();
        if (u == 0 || u > 0x7F)
            break;
        narrow.append(char(u));
    }
    return strtod_l(narrow.constData(), nullptr, ClassicLocale());
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
