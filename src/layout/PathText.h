#pragma once

#include <QString>
#include <QStringView>

namespace tavrin {

// Paths stored in layouts may come from Windows ("\") or from this program ("/"): the helpers
// here treat both characters as separators.
inline bool IsPathSeparator(QChar c) { return c == u'\\' || c == u'/'; }

// Index of the last "\" or "/" in path, or -1 when it has none.
qsizetype LastSeparatorIndex(QStringView path);

// The part after the last "\" or "/"; the whole text when it has neither.
QString FileNamePart(QStringView path);

// path without any separators at its end ("/menus/" -> "/menus"); a lone "/" stays.
QString WithoutTrailingSeparators(QStringView path);

} // namespace tavrin
