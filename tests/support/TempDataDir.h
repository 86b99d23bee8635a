#pragma once

#include <QString>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

namespace tavrin::test {

// A temporary folder that stands in for the data folder: TAVRIN_DATA_DIR points at it while
// the object lives. Every file a test makes goes below it.
class TempDataDir {
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const { return dir_.path(); }
    // A path below the temporary folder.
    QString file(const QString &relative) const { return dir_.filePath(relative); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};

// The folder of the checked-in test data.
QString TestDataPath(const QString &relative);

} // namespace tavrin::test
