#include "layout/TagIndex.h"

#include <algorithm>

namespace tavrin {

TagNames::TagNames(const QStringList &names) : names_(names)
{
    ids_.reserve(names_.size());
    for (int id = 0; id < names_.size(); ++id) {
        ids_.insert(QStringView(names_[id]), id);
        longest_ = std::max(longest_, names_[id].size());
    }
}

TagIndex::TagIndex(QStringView document, const TagNames &names)
    : document_(document), names_(names), openings_(names.count()), closings_(names.count())
{

    // Every tag starts with its only "<", so visiting each "<" once finds every occurrence.
    for (qsizetype at = document_.indexOf(u'<'); at >= 0; at = document_.indexOf(u'<', at + 1))
        recordTag(at);

    firstCommaFromBlock_.reserve(document_.size() / kCommaBlock + 1);
    for (qsizetype comma = document_.indexOf(u','); comma >= 0; comma = document_.indexOf(u',', comma + 1))
        while (qsizetype(firstCommaFromBlock_.size()) * kCommaBlock <= comma)
            firstCommaFromBlock_.push_back(comma);
    while (qsizetype(firstCommaFromBlock_.size()) * kCommaBlock <= document_.size())
        firstCommaFromBlock_.push_back(document_.size());
}

void TagIndex::recordTag(qsizetype at)
{
    qsizetype nameStart = at + 1;
    const bool closing = nameStart < document_.size() && document_[nameStart] == u'/';
    if (closing)
        ++nameStart;
    // The name runs up to the first ">"; a "<" before it starts another candidate instead.
    const qsizetype limit = std::min(document_.size(), nameStart + names_.longest() + 1);
    for (qsizetype i = nameStart; i < limit; ++i) {
        if (document_[i] == u'<')
            return;
        if (document_[i] == u'>') {
            const int id = nameId(document_.mid(nameStart, i - nameStart));
            if (id >= 0)
                (closing ? closings_ : openings_)[id].push_back(at);
            return;
        }
    }
}

TextSpan TagIndex::value(TextSpan within, int nameId) const
{
    if (nameId < 0 || nameId >= names_.count() || within.isEmpty())
        return {};
    const qsizetype nameLength = names_.name(nameId).size();
    const std::vector<qsizetype> &openings = openings_[nameId];
    const auto opening = std::lower_bound(openings.begin(), openings.end(), within.begin);
    if (opening == openings.end() || *opening + nameLength + 2 > within.end)
        return {};
    const qsizetype valueStart = *opening + nameLength + 2;
    const std::vector<qsizetype> &closings = closings_[nameId];
    const auto closing = std::lower_bound(closings.begin(), closings.end(), valueStart);
    if (closing == closings.end() || *closing + nameLength + 3 > within.end)
        return {};
    return {valueStart, *closing};
}

qsizetype TagIndex::firstComma(TextSpan span) const
{
    if (span.isEmpty())
        return -1;
    const qsizetype block = span.begin / kCommaBlock;
    const qsizetype blockEnd = std::min(span.end, (block + 1) * kCommaBlock);
    const qsizetype near = document_.mid(span.begin, blockEnd - span.begin).indexOf(u',');
    if (near >= 0)
        return span.begin + near;
    if (blockEnd >= span.end)
        return -1;
    const qsizetype next = firstCommaFromBlock_[block + 1];
    return next < span.end ? next : -1;
}

QStringList StripElementNames()
{
    QStringList names;
    names.reserve(kMaxColumns * kMaxRows);
    for (int column = 0; column < kMaxColumns; ++column)
        for (int row = 0; row < kMaxRows; ++row)
            names.append(QStringLiteral("Strip%1-%2").arg(column).arg(row));
    return names;
}

} // namespace tavrin
