#pragma once

#include "fonts/FontInventory.h"

#include <QSet>

namespace tavrin::test {

// Font lookups on a made-up set of installed faces: an installed face "Foo Bar" is held by the
// file "/nonexistent/system-fonts/foobar.ttf" (name in lower case, blanks left out).
struct FakeFonts {
    QSet<QString> installed;

    static QString FileNameOf(const QString &face) { return face.toLower().remove(u' ') + ".ttf"; }

    FontServices services()
    {
        return {[this](const QString &face) { return face.isEmpty() || installed.contains(face); },
                [this](const QString &face) {
                    return installed.contains(face) ? "/nonexistent/system-fonts/" + FileNameOf(face) : QString();
                }};
    }
};

} // namespace tavrin::test
