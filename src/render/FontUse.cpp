#include "render/FontUse.h"

#include "fonts/FontInventory.h"
#include "layout/MenuLayout.h"
#include "prices/PriceList.h"
#include "render/RenderContext.h"
#include "render/TextMeasure.h"

#include <map>

namespace tavrin {

namespace {

QString StyleWords(bool bold, bool italic)
{
    return bold && italic ? QStringLiteral("bold italic") : bold ? QStringLiteral("bold") : QStringLiteral("italic");
}

QString CharacterText(char32_t c)
{
    const char32_t chars[] = {c};
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(QString::fromUcs4(chars, 1), QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
}

// What makes two substitutions the same warning, whatever the strip.
QString WarningKey(const FontSubstitution &s)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(int(s.kind))
        .arg(s.face)
        .arg(s.kind == SubstitutionKind::MadeUpStyle ? int(s.bold) * 2 + int(s.italic) : 0)
        .arg(s.kind == SubstitutionKind::UndrawableCharacter ? QString() : s.drawnWith)
        .arg(uint(s.character))
        .arg(s.kind == SubstitutionKind::OtherFamily ? int(s.bold) * 2 + int(s.italic) : 0);
}

} // namespace

QString FontSubstitution::message() const
{
    switch (kind) {
    case SubstitutionKind::OtherFamily:
        return QStringLiteral("the font \"%1\" is neither installed nor carried in the package; drawn with \"%2\"")
            .arg(face, drawnWith);
    case SubstitutionKind::MadeUpStyle:
        return QStringLiteral("the font \"%1\" has no %2 face here or in the package; %3 made from its %4 face")
            .arg(face, StyleWords(bold, italic), StyleWords(bold, italic),
                 drawnWith.isEmpty() ? QStringLiteral("regular") : drawnWith);
    case SubstitutionKind::UndrawableCharacter:
        return QStringLiteral("no font here or in the package has the character %1; drawn as a box")
            .arg(CharacterText(character));
    }
    return {};
}

void FontSubstitutions::add(const FontSubstitution &s)
{
    const QString key = WarningKey(s) + QStringLiteral("|%1|%2|%3").arg(s.column).arg(s.row).arg(s.group);
    if (keys_.contains(key))
        return;
    keys_.insert(key);
    all_.push_back(s);
}

void FontSubstitutions::clear()
{
    all_.clear();
    keys_.clear();
    ++passes_;
}

void NoteDrawnText(RenderContext &context, const TextFont &font, const QString &layoutFace, const QString &text,
                   int column, int row, int group)
{
    const bool gathering =
        context.fontList && (context.options.fontGathering || context.options.outputRendering);
    if ((!gathering && !context.substitutions) || text.isEmpty() || !font.isValid())
        return;
    const std::vector<TextFont::FaceUse> uses = font.facesUsed(text);
    if (gathering) {
        for (const TextFont::FaceUse &use : uses) {
            const QString name = use.chosen && !font.otherFamily() && !layoutFace.isEmpty() ? layoutFace : use.family;
            GatherFontFile(*context.fontList, name, use.file, context.workingFolder);
        }
    }
    if (!context.substitutions)
        return;
    FontSubstitution base;
    base.column = column;
    base.row = row;
    base.group = group;
    base.bold = font.bold();
    base.italic = font.italic();
    if (font.otherFamily() && !layoutFace.isEmpty()) {
        FontSubstitution s = base;
        s.kind = SubstitutionKind::OtherFamily;
        s.face = layoutFace;
        s.drawnWith = font.familyUsed();
        context.substitutions->add(s);
    }
    for (const TextFont::FaceUse &use : uses) {
        if (!use.emboldened && !use.slanted)
            continue;
        FontSubstitution s = base;
        s.kind = SubstitutionKind::MadeUpStyle;
        s.face = use.chosen && !font.otherFamily() && !layoutFace.isEmpty() ? layoutFace : use.family;
        // The real face the style was made from: bold italic from the bold face, and so on.
        s.drawnWith = use.emboldened && use.slanted ? QStringLiteral("regular")
                      : use.emboldened             ? (font.italic() ? QStringLiteral("italic") : QStringLiteral("regular"))
                                                   : (font.bold() ? QStringLiteral("bold") : QStringLiteral("regular"));
        context.substitutions->add(s);
    }
    for (const char32_t c : font.undrawableCharacters(text)) {
        FontSubstitution s = base;
        s.kind = SubstitutionKind::UndrawableCharacter;
        s.face = layoutFace;
        s.character = c;
        context.substitutions->add(s);
    }
}

QStringList SubstitutionWarnings(const FontSubstitutions &substitutions, const MenuLayout &layout)
{
    // In the order first found; each warning names its first strip and counts the others.
    struct Warning {
        const FontSubstitution *first = nullptr;
        QSet<int> strips;
    };
    std::vector<Warning> warnings;
    std::map<QString, size_t> indexOf;
    for (const FontSubstitution &s : substitutions.all()) {
        const QString key = WarningKey(s);
        auto found = indexOf.find(key);
        if (found == indexOf.end()) {
            found = indexOf.emplace(key, warnings.size()).first;
            warnings.push_back({&s, {}});
        }
        warnings[found->second].strips.insert(s.column * 1000 + s.row);
    }
    QStringList lines;
    for (const Warning &w : warnings) {
        const FontSubstitution &s = *w.first;
        QString line = StripLabel(s.column, s.row, MainItemFirstLine(layout.strip(s.column, s.row))) + QStringLiteral(": ")
                       + s.message();
        if (w.strips.size() > 1)
            line += QStringLiteral(" (and in %1 more strip%2)").arg(w.strips.size() - 1).arg(w.strips.size() > 2 ? "s" : "");
        lines << line;
    }
    return lines;
}

} // namespace tavrin
