#include "layout/TagIndex.h"

#include <algorithm>

namespace tavrin {

namespace {

// Reads the decimal number written by "%d" for a non-negative value (no sign, no leading
// zero unless the number is 0) starting at text[i]; returns -1 when there is none or it is
// not below limit. i moves past the digits.
int ReadStoreIndex(QStringView text, qsizetype &i, int limit)
{
    const qsizetype start = i;
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i].unicode() - u'0');
        ++i;
        if (value >= limit)
            return -1;
    }
    const qsizetype digits = i - start;
    if (digits == 0 || (digits > 1 && text[start] == u'0'))
        return -1;
    return int(value);
}

} // namespace

StripTagIndex::StripTagIndex(QStringView document)
    : document_(document), firstOpening_(kMaxColumns * kMaxRows, -1), closings_(kMaxColumns * kMaxRows)
{
    // Every tag starts with its only "<", so visiting each "<" once finds every occurrence.
    for (qsizetype at = document_.indexOf(u'<'); at >= 0; at = document_.indexOf(u'<', at + 1))
        recordTag(at);
}

void StripTagIndex::recordTag(qsizetype at)
{
    qsizetype i = at + 1;
    const bool closing = i < document_.size() && document_[i] == u'/';
    if (closing)
        ++i;
    if (!document_.mid(i).startsWith(u"Strip"))
        return;
    i += 5;
    const int column = ReadStoreIndex(document_, i, kMaxColumns);
    if (column < 0 || i >= document_.size() || document_[i] != u'-')
        return;
    ++i;
    const int row = ReadStoreIndex(document_, i, kMaxRows);
    if (row < 0 || i >= document_.size() || document_[i] != u'>')
        return;

    const int s = slot(column, row);
    if (closing)
        closings_[s].push_back(at);
    else if (firstOpening_[s] < 0)
        firstOpening_[s] = i + 1; // the content starts after the opening tag's ">"
}

QString StripTagIndex::stripContent(int column, int row) const
{
    if (column < 0 || column >= kMaxColumns || row < 0 || row >= kMaxRows)
        return {};
    const int s = slot(column, row);
    const qsizetype contentStart = firstOpening_[s];
    if (contentStart < 0)
        return {};
    const std::vector<qsizetype> &closings = closings_[s];
    const auto closing = std::lower_bound(closings.begin(), closings.end(), contentStart);
    if (closing == closings.end())
        return {};
    return document_.mid(contentStart, *closing - contentStart).toString();
}

} // namespace tavrin
