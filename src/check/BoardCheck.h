#pragma once

#include "render/BoardRenderer.h"

#include <QString>

#include <functional>
#include <vector>

namespace tavrin {

// The check of a board before it goes on the TV: what a viewer would find wrong or missing.

enum class FindingKind {
    PriceWithoutCalories, // a price entry with digits in its price part and no calorie count
    TextOverlap,          // a text's drawn box runs into another strip's text
    TextPastEdge,         // a text's drawn box runs past the board's edge
    SmallText,            // the font's em size on the TV is under the minimum
    OutsideSafeArea,      // text or a picture reaches into the margin of the board
    FontMissing,          // a font neither installed nor carried in the package
    PictureMissing,       // a strip's picture file is not there
    FontSubstituted,      // a text drawn with another family than its font (not installed or carried)
    StyleMadeUp,          // a bold or italic text whose face has no such style here: made up
    CharacterMissing,     // a character no font here or in the package has: drawn as a box
};

struct BoardFinding {
    FindingKind kind;
    int column = 0; // store position, from 0
    int row = 0;
    QString mainItem;
    QString message; // what was found, without the strip's name

    // "column 1, row 15 "Combo Meal": ..." as reports show it.
    QString text() const;
};

struct BoardCheckOptions {
    double minTextHeight = 0.0; // pixels of the TV image; 0 or less: the board height / 40
    double safeAreaPercent = 5.0; // margin on each side, in percent of the board's width and height
};

struct BoardCheckInput {
    const MenuLayout &layout;
    BoardSources sources;  // the background and the working folder the layout was opened into
    bool whitePrint = false;
    // Whether a face is installed on this computer; fontconfig's answer when not set.
    std::function<bool(const QString &face)> fontInstalled;
};

// Renders the board at its own scale and checks it. Findings come strip by strip (columns outer,
// rows inner), then the board-wide ones. A background that cannot be read gives one finding at
// column 0, row 0 and nothing else is checked.
std::vector<BoardFinding> CheckBoard(const BoardCheckInput &input, const BoardCheckOptions &options = {});

// The families of the font files in a folder (a package's fonts after unpacking).
QStringList CarriedFontFamilies(const QString &folder);

} // namespace tavrin
