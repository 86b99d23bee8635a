#include "layout/PathText.h"

namespace tavrin {

qsizetype LastSeparatorIndex(QStringView path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (IsPathSeparator(path[i]))
            return i;
    return -1;
}

QString FileNamePart(QStringView path)
{
    return path.mid(LastSeparatorIndex(path) + 1).toString();
}

QString WithoutTrailingSeparators(QStringView path)
{
    qsizetype end = path.size();
    while (end > 1 && IsPathSeparator(path[end - 1]))
        --end;
    return path.left(end).toString();
}

} // namespace tavrin
