#pragma once

#include "layout/MenuLayout.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace tavrin {

// The strip elements of a document, found in one pass. Looking each "<StripC-R>" up from the
// start of the whole text would make reading a full grid quadratic; the index gives exactly
// what FindTagValue(document, "<StripC-R>") gives, for every store position.
class StripTagIndex {
public:
    // The text must outlive the index.
    explicit StripTagIndex(QStringView document);

    // The content of the strip element for (column, row): between the first "<StripC-R>" and
    // the first "</StripC-R>" after it; empty when either is missing or the position lies
    // outside the store.
    QString stripContent(int column, int row) const;

private:
    static int slot(int column, int row) { return column * kMaxRows + row; }
    void recordTag(qsizetype at);

    QStringView document_;
    // Index of the first opening tag of each position, -1 when there is none.
    std::vector<qsizetype> firstOpening_;
    // Start of every closing tag of each position, in increasing order.
    std::vector<std::vector<qsizetype>> closings_;
};

} // namespace tavrin
