#pragma once

#include "layout/MenuLayout.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace tavrin {

// A piece of a document: the code units from begin up to (not including) end.
struct TextSpan {
    qsizetype begin = 0;
    qsizetype end = 0;

    qsizetype size() const { return end - begin; }
    bool isEmpty() const { return end <= begin; }
    bool operator==(const TextSpan &) const = default;
};

// A set of element names (without "<", "/" or ">"), each with its id: its position in the list.
// Made once and shared by every index that looks for them.
class TagNames {
public:
    explicit TagNames(const QStringList &names);

    int id(QStringView name) const { return ids_.value(name, -1); }
    const QString &name(int id) const { return names_[id]; }
    int count() const { return int(names_.size()); }
    qsizetype longest() const { return longest_; }

private:
    QStringList names_;
    QHash<QStringView, int> ids_; // views into names_
    qsizetype longest_ = 0;
};

// Every opening and closing tag of a set of element names, and every comma, found in one pass
// over a document. Looking values up with FindTagValue copies and searches the text again for
// each one: reading a strip would search the strip's whole content some thirty times, and a
// document whose strips all enclose the same long piece would take hours. The index answers
// each lookup with two binary searches instead, and gives exactly what FindTagValue gives.
class TagIndex {
public:
    // The document and the names must outlive the index.
    TagIndex(QStringView document, const TagNames &names);

    // The id of a name of the set, or -1.
    int nameId(QStringView name) const { return names_.id(name); }

    QStringView document() const { return document_; }
    TextSpan whole() const { return {0, document_.size()}; }
    QStringView view(TextSpan span) const { return document_.mid(span.begin, span.size()); }

    // FindTagValue(view(within), "<name>") as a span of the document: the text after the first
    // "<name>" that lies wholly inside within, up to the first "</name>" after it that also
    // does; empty when either is missing.
    TextSpan value(TextSpan within, int nameId) const;

    // The position of the first comma inside span, or -1.
    qsizetype firstComma(TextSpan span) const;

private:
    void recordTag(qsizetype at);

    QStringView document_;
    const TagNames &names_;
    // Start of every opening and closing tag of each name, in increasing order.
    std::vector<std::vector<qsizetype>> openings_, closings_;
    // For every block of the document, the first comma at or after its start (or the document's
    // size): a comma search never scans more than one block.
    static constexpr qsizetype kCommaBlock = 256;
    std::vector<qsizetype> firstCommaFromBlock_;
};

// The names of the strip elements of a full store, "Strip0-0" ... "Strip8-200", column by column.
QStringList StripElementNames();
// The id StripElementNames() gives (column, row) when those names come first in an index.
inline int StripNameId(int column, int row) { return column * kMaxRows + row; }

} // namespace tavrin
