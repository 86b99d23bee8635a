#include "support/TempDataDir.h"

#include <cstdlib>

namespace tavrin::test {

TempDataDir::TempDataDir()
{
    hadPrevious_ = qEnvironmentVariableIsSet("TAVRIN_DATA_DIR");
    previous_ = qgetenv("TAVRIN_DATA_DIR");
    qputenv("TAVRIN_DATA_DIR", dir_.path().toUtf8());
}

TempDataDir::~TempDataDir()
{
    if (hadPrevious_)
        qputenv("TAVRIN_DATA_DIR", previous_);
    else
        qunsetenv("TAVRIN_DATA_DIR");
}

QString TestDataPath(const QString &relative) { return QStringLiteral(TAVRIN_TEST_DATA_DIR "/") + relative; }

} // namespace tavrin::test
