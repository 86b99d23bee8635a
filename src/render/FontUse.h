#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavrin {

class TextFont;
struct MenuLayout;
struct RenderContext;

// What a render drew differently from what the layout asks for. A board must look the same on
// every computer; where it cannot, the render says so instead of drawing something else silently.
enum class SubstitutionKind {
    OtherFamily,         // the layout's face is neither installed nor carried: another family drew it
    MadeUpStyle,         // the face has no such style here: it was emboldened or slanted
    UndrawableCharacter, // no font has the character: it shows as a box
};

struct FontSubstitution {
    SubstitutionKind kind = SubstitutionKind::OtherFamily;
    int column = 0; // store position, from 0
    int row = 0;
    int group = 0;  // main item, sub-items, prices
    QString face;   // the face the layout names (for a made-up style of a fallback face, that face)
    bool bold = false;
    bool italic = false;
    QString drawnWith;      // the family that drew it
    char32_t character = 0; // the character no font has

    // What happened, without the strip: "the font \"Arial\" is not installed or carried; drawn
    // with \"DejaVu Sans\"".
    QString message() const;
};

// The substitutions of one render, each once per strip.
class FontSubstitutions {
public:
    void add(const FontSubstitution &substitution);
    const std::vector<FontSubstitution> &all() const { return all_; }
    bool isEmpty() const { return all_.empty(); }
    // Starts a new noting pass.
    void clear();
    // Grows by one at every clear: tells a reader whether a render noted anew since it looked.
    int passes() const { return passes_; }

private:
    std::vector<FontSubstitution> all_;
    QSet<QString> keys_;
    int passes_ = 0;
};

// What drawing text (one line) with font used, noted for the render: with font gathering on, the
// file of every face that draws some of it goes into the font list (and its copy into the
// working folder), the chosen face under the layout's name for it (layoutFace) unless another
// family stands in, fallback faces under their own family; with substitutions asked for, what was
// drawn differently. Does nothing when neither is wanted.
void NoteDrawnText(RenderContext &context, const TextFont &font, const QString &layoutFace, const QString &text,
                   int column, int row, int group);

// The warnings the command line prints and the window shows for a render's substitutions: one
// per face and style made up or drawn with another family, and per character no font has, each
// naming the first strip it was found in and how many more there are.
QStringList SubstitutionWarnings(const FontSubstitutions &substitutions, const MenuLayout &layout);

} // namespace tavrin
