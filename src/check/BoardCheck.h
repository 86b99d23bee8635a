#pragma once

#include "render/BoardRenderer.h"

#include <QString>

#include <functional>
#include <vector>

namespace tavrin {

// The check of a board before it goes on the TV: what a viewer would find wrong or missing.

// What a finding is about. A new kind is one line here and one in the table of kinds
// (BoardCheck.cpp), which gives its name for scripts and its heading in reports.
enum class FindingKind {
    PriceWithoutCalories, // a price entry with digits in its price part and no calorie count
    TextOverlap,          // a text's glyphs run into another strip's text
    TextPastEdge,         // a text's glyphs run past the board's edge
    SmallText,            // the drawn capital letters are lower on the TV than the viewing rule needs
    OutsideSafeArea,      // a text's glyphs or a picture reach into the margin outside the safe area
    FontMissing,          // a font neither installed nor carried in the package
    PictureMissing,       // a strip's picture file is not there
    LowContrast,          // text too close in brightness to what is drawn under it
    FontSubstituted,      // a text drawn with another family than its font (not installed or carried)
    StyleMadeUp,          // a bold or italic text whose face has no such style here: made up
    CharacterMissing,     // a character no font here or in the package has: drawn as a box
};

// The kinds in the order reports group them.
const std::vector<FindingKind> &FindingKindsInOrder();
// "price-without-calories": the kind's name in machine-readable reports.
QString FindingKindName(FindingKind kind);
// "Prices without calorie counts": the heading of the kind's group in reports.
QString FindingKindHeading(FindingKind kind);

struct BoardFinding {
    FindingKind kind;
    int column = 0; // store position, from 0
    int row = 0;
    QString mainItem;
    QString message; // what was found, without the strip's name

    // "column 1, row 15 "Combo Meal": ..." as reports show it.
    QString text() const;
};

// The limits of the check. Their defaults are what a board that is easy to read on a TV passes.
//
// Text height: the height of the drawn capital letters (the face's cap height at its drawn size,
// which is also about the height of its digits) must be legible from viewingDistanceMetres on a
// 16:9 screen of screenDiagonalInches, the board filling the screen. Legible here means that the
// capitals subtend at least minArcMinutes: 7.5 arc minutes is one and a half times the 5 arc
// minutes of the letters normal (20/20) sight just reads, i.e. the letters a viewer with 20/30
// sight just reads. On a 55-inch screen (1218 x 685 mm) at 3 m that is 6.5 mm: 10.3 pixels on a
// 1080-line board, 20.6 on a 2160-line one.
//
// Safe area: the glyphs of every text and every picture (with its border) lie inside the
// action-safe area of SMPTE ST 2046-1, 3.5 % of the width and height in from each edge;
// 5 % (kTitleSafePercent) is its title-safe area.
//
// Contrast: text against what is drawn under it (the background, strip colours and pictures,
// not its own shadow) has at least WCAG 2's contrast ratio for large text, 3:1, taken as the
// median over the pixels its glyphs cover.
struct BoardCheckOptions {
    double minTextHeight = 0.0; // capital-letter height in pixels of the TV image; 0 or less: from the viewing rule
    double viewingDistanceMetres = 3.0;
    double screenDiagonalInches = 55.0;
    double minArcMinutes = 7.5;
    double safeAreaPercent = 3.5; // margin on each side, in percent of the board's width and height
    double minContrast = 3.0;
};

inline constexpr double kActionSafePercent = 3.5;
inline constexpr double kTitleSafePercent = 5.0;

// The least capital-letter height in board pixels for a board of this size under the options.
double MinimumTextHeight(int boardWidth, int boardHeight, const BoardCheckOptions &options);

// WCAG 2's contrast ratio of two colours, from 1 (the same brightness) to 21 (black and white).
double ContrastRatio(const QColor &a, const QColor &b);

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

// "2 findings (prices without calorie counts: 1, low contrast: 1)" or "no findings".
QString FindingsSummary(const std::vector<BoardFinding> &findings);

// The families of the font files in a folder (a package's fonts after unpacking).
QStringList CarriedFontFamilies(const QString &folder);

} // namespace tavrin
