#include "document/PricesText.h"

#include <QStringList>

#include <algorithm>

namespace tavrin {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsCalorieMarker(QChar c) { return c == QLatin1Char('<') || c == QLatin1Char('>'); }

int MarkerIndex(const QString &entry)
{
    for (int i = 0; i < entry.size(); ++i)
        if (IsCalorieMarker(entry[i]))
            return i;
    return -1;
}

// Removes the character at index, keeping the caret on the same neighbour.
void RemoveAt(QString &text, int index, int &caret)
{
    text.remove(index, 1);
    if (index < caret)
        --caret;
}

} // namespace

PricesCorrection CorrectPricesText(const QString &text, int caret)
{
    PricesCorrection out{text, std::clamp(caret, 0, int(text.size())), false};
    QString &t = out.text;

    // A third line: the line break just typed before the caret goes again, wherever the caret
    // is, and the caret stays there. Further line breaks (pasted text) are taken out from the
    // second one on; no character of the text is lost.
    const auto lineBreaks = [&t] { return t.count(kCrLf); };
    if (lineBreaks() > 1) {
        if (out.caret >= 2 && t.mid(out.caret - 2, 2) == kCrLf) {
            t.remove(out.caret - 2, 2);
            out.caret -= 2;
        }
        const int first = t.indexOf(kCrLf);
        for (int at = t.indexOf(kCrLf, first + 2); at >= 0; at = t.indexOf(kCrLf, at)) {
            t.remove(at, 2);
            if (at < out.caret)
                out.caret = std::max(at, out.caret - 2);
        }
        out.changed = true;
    }

    for (int i = int(t.size()) - 1; i >= 0; --i) {
        if (t[i] == QLatin1Char('\\')) {
            RemoveAt(t, i, out.caret);
            out.changed = true;
        }
    }

    // Within each entry (up to and including the next "^", or to the end of its line) only the
    // first calorie marker stays.
    bool markerSeen = false;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('^') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            markerSeen = false;
            continue;
        }
        if (!IsCalorieMarker(c))
            continue;
        if (markerSeen) {
            RemoveAt(t, i, out.caret);
            --i;
            out.changed = true;
        }
        markerSeen = true;
    }
    return out;
}

QString StoredGroupText(const QString &boxText)
{
    if (boxText.isEmpty())
        return QStringLiteral(" ");
    if (boxText.size() > 1 && boxText.startsWith(QLatin1Char(' ')))
        return boxText.mid(1);
    return boxText;
}

std::vector<std::vector<PriceEntrySpan>> PriceEntryLines(const QString &text)
{
    const auto trimmed = [](QString line) {
        while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        return line;
    };
    const auto entries = [](const QString &line, int offset) {
        std::vector<PriceEntrySpan> spans;
        int start = 0;
        for (const QString &piece : line.split(QLatin1Char('^'))) {
            spans.push_back({offset + start, piece});
            start += int(piece.size()) + 1;
        }
        return spans;
    };
    std::vector<std::vector<PriceEntrySpan>> lines;
    const int cr = text.indexOf(QLatin1Char('\r'));
    lines.push_back(entries(trimmed(cr < 0 ? text : text.left(cr)), 0));
    const int crlf = text.indexOf(kCrLf);
    if (crlf >= 0) {
        const QString second = text.mid(crlf + 2);
        if (second.size() > 1)
            lines.push_back(entries(trimmed(second.section(QLatin1Char('\r'), 0, 0)), crlf + 2));
    }
    return lines;
}

std::pair<int, int> PriceEntryPart(const QString &entry, bool leftPartHit, bool rightPartHit)
{
    const int marker = MarkerIndex(entry);
    if (marker < 0)
        return {0, int(entry.size())};
    const std::pair<int, int> left{0, marker};
    const std::pair<int, int> right{marker + 1, int(entry.size()) - marker - 1};
    if (rightPartHit)
        return right;
    if (leftPartHit)
        return left;
    // "<" colours the text before it as calories, ">" the text after it: the other side is the price.
    return entry[marker] == QLatin1Char('<') ? right : left;
}

} // namespace tavrin
