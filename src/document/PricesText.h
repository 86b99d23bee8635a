#pragma once

#include <QString>

#include <vector>

namespace tavrin {

// The rules a prices text is held to while it is typed: at most two lines, no backslash, at most
// one calorie marker ("<" or ">") in each price entry. caret is the position of the box's caret
// (CR LF counted as two); the result says where it belongs in the corrected text.
struct PricesCorrection {
    QString text;
    int caret = 0;
    bool changed = false;
};
PricesCorrection CorrectPricesText(const QString &text, int caret);

// How a box's text is kept in a group: an empty box becomes one blank (the group then draws
// nothing), and a leading blank goes when more text follows it.
QString StoredGroupText(const QString &boxText);

// One price entry of a prices text: where it starts in the text and its characters (without
// the "^" that ends it).
struct PriceEntrySpan {
    int start = 0;
    QString text;
};
// The entries of the (at most two) prices lines, line by line. The first line ends at the first
// CR; the second follows the first CR LF and counts only when it is longer than one character.
// Trailing CR and LF are left out.
std::vector<std::vector<PriceEntrySpan>> PriceEntryLines(const QString &text);

// The characters of an entry that a click on one of its parts selects, as (start, length) in
// the entry: the part left or right of the calorie marker named by the probe flags, the price
// part when neither names one, the whole entry when it has no marker.
std::pair<int, int> PriceEntryPart(const QString &entry, bool leftPartHit, bool rightPartHit);

} // namespace tavrin
