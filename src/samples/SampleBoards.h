#pragma once

#include "layout/MenuLayout.h"

#include <QString>
#include <QStringList>

namespace tavrin::samples {

// The sample boards: realistic menus made from generated backgrounds and pictures and the free
// fonts of the system, for the README, the tests and the benchmark.
enum class SampleKind { Landscape, Portrait, UltraHd };

struct SampleSpec {
    SampleKind kind;
    const char *baseName; // files are <baseName>_LAYOUT.MARBIX and <baseName>_TV.jpg
    int width;
    int height;
};
const SampleSpec &Spec(SampleKind kind);
const QList<SampleKind> &AllSamples();

// Draws the sample's background and pictures into folder ("Background.jpg" and the pictures)
// and fills layout (reset first) with its strips, whose pictures point into folder.
void BuildSample(SampleKind kind, const QString &folder, MenuLayout &layout);

// Builds the sample in a temporary working folder and writes its layout package and TV image
// into outputFolder. Returns the paths written; empty on failure, with error set.
QStringList WriteSample(SampleKind kind, const QString &outputFolder, QString *error);

} // namespace tavrin::samples
