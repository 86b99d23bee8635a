#include "render/TextShaping.h"

#include <hb.h>

#include <fribidi.h>

#include <algorithm>

namespace tavrin {

namespace {

// Shaped lines one face keeps before it starts again.
constexpr int kMaxShapedLinesPerFace = 1024;

// Characters that only steer shaping or direction: a face need not have a glyph for them.
bool IsIgnorableForCoverage(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Format || category == QChar::Other_Control
        || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

// Characters that belong to the cluster before them.
bool ExtendsCluster(char32_t c, char32_t previous)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing || c == 0x200D || previous == 0x200D
        || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) || (c >= 0x1F3FB && c <= 0x1F3FF)
        || (c >= 0xE0020 && c <= 0xE007F);
}

bool Covers(TextFont::Face &face, const std::u32string &cluster)
{
    for (const char32_t c : cluster) {
        if (!IsIgnorableForCoverage(c) && face.lookUp(c).glyph == 0)
            return false;
    }
    return true;
}

std::u32string Significant(const std::u32string &cluster)
{
    std::u32string kept;
    for (const char32_t c : cluster) {
        if (!IsIgnorableForCoverage(c))
            kept.push_back(c);
    }
    return kept;
}

QString Key(const std::u32string &cluster)
{
    return QString::fromUcs4(cluster.data(), qsizetype(cluster.size()));
}

// The face that draws one cluster: the chosen face when it has every character, or their
// composed form (the shaper composes "e" and a combining acute into "é"), else a fallback face,
// else the chosen face after all (its missing-glyph box shows that nothing can draw it: the
// characters no face has are added to undrawable).
std::shared_ptr<TextFont::Face> FaceForCluster(const std::shared_ptr<TextFont::Face> &face,
                                               const std::u32string &cluster, std::u32string &undrawable)
{
    if (Covers(*face, cluster))
        return face;
    const QList<uint> composed = Key(cluster).normalized(QString::NormalizationForm_C).toUcs4();
    const std::u32string composedCluster(composed.begin(), composed.end());
    if (composedCluster != cluster && Covers(*face, composedCluster))
        return face;
    const std::u32string wanted = Significant(cluster);
    if (wanted.empty())
        return face;
    const QString key = Key(wanted);
    auto found = face->fallbacks.constFind(key);
    if (found == face->fallbacks.constEnd()) {
        std::shared_ptr<TextFont::Face> fallback = LoadFallbackFace(*face, wanted);
        if (!fallback && wanted.size() > 1)
            fallback = LoadFallbackFace(*face, wanted.substr(0, 1));
        found = face->fallbacks.insert(key, fallback);
    }
    if (*found) {
        // A fallback for the first character alone leaves the others of the cluster undrawn.
        for (const char32_t c : wanted) {
            if ((*found)->lookUp(c).glyph == 0 && undrawable.find(c) == std::u32string::npos)
                undrawable.push_back(c);
        }
        return *found;
    }
    for (const char32_t c : wanted) {
        if (face->lookUp(c).glyph == 0 && undrawable.find(c) == std::u32string::npos)
            undrawable.push_back(c);
    }
    return face;
}

// The face of every character: clusters are kept together.
std::vector<std::shared_ptr<TextFont::Face>> FacesOf(const std::shared_ptr<TextFont::Face> &face,
                                                     const std::u32string &text, std::u32string &undrawable)
{
    std::vector<std::shared_ptr<TextFont::Face>> faces(text.size());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start + 1;
        while (end < text.size() && ExtendsCluster(text[end], text[end - 1]))
            ++end;
        const std::shared_ptr<TextFont::Face> chosen = FaceForCluster(face, text.substr(start, end - start), undrawable);
        std::fill(faces.begin() + qsizetype(start), faces.begin() + qsizetype(end), chosen);
        start = end;
    }
    return faces;
}

// The script of every character; characters common to all scripts and marks take the script
// of the text around them, so that a run is not cut at every space.
std::vector<hb_script_t> ScriptsOf(const std::u32string &text)
{
    hb_unicode_funcs_t *unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(text.size());
    hb_script_t last = HB_SCRIPT_INVALID;
    for (size_t i = 0; i < text.size(); ++i) {
        const hb_script_t script = hb_unicode_script(unicode, text[i]);
        if (script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN)
            last = script;
        scripts[i] = script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN
            ? last
            : script;
    }
    // Leading common characters take the first real script.
    hb_script_t next = HB_SCRIPT_COMMON;
    for (size_t i = text.size(); i-- > 0;) {
        if (scripts[i] == HB_SCRIPT_INVALID)
            scripts[i] = next;
        else
            next = scripts[i];
    }
    return scripts;
}

// Embedding levels of the line's characters, after the rule that puts trailing white space at the
// paragraph's level.
std::vector<FriBidiLevel> BidiLevels(const std::u32string &text)
{
    const FriBidiStrIndex length = FriBidiStrIndex(text.size());
    const FriBidiChar *chars = reinterpret_cast<const FriBidiChar *>(text.data());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size(), 0);
    fribidi_get_bidi_types(chars, length, types.data());
    fribidi_get_bracket_types(chars, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data())) {
        std::fill(levels.begin(), levels.end(), 0);
        return levels;
    }
    fribidi_reorder_line(FRIBIDI_FLAGS_DEFAULT, types.data(), length, 0, direction, levels.data(), nullptr,
                         nullptr);
    return levels;
}

struct Run {
    size_t start = 0;
    size_t length = 0;
    FriBidiLevel level = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    std::shared_ptr<TextFont::Face> face;
};

// Runs in logical order, cut wherever the level, the script or the face changes.
std::vector<Run> Itemize(const std::shared_ptr<TextFont::Face> &face, const std::u32string &text,
                         ShapedLine &line)
{
    const std::vector<FriBidiLevel> levels = BidiLevels(text);
    const std::vector<hb_script_t> scripts = ScriptsOf(text);
    const std::vector<std::shared_ptr<TextFont::Face>> faces = FacesOf(face, text, line.undrawable);
    for (const std::shared_ptr<TextFont::Face> &used : faces) {
        if (std::find(line.faces.begin(), line.faces.end(), used) == line.faces.end())
            line.faces.push_back(used);
    }
    std::vector<Run> runs;
    for (size_t i = 0; i < text.size(); ++i) {
        if (runs.empty() || levels[i] != runs.back().level || scripts[i] != runs.back().script
            || faces[i] != runs.back().face) {
            runs.push_back({i, 0, levels[i], scripts[i], faces[i]});
        }
        ++runs.back().length;
    }
    return runs;
}

// Visual order: from the highest level down to the lowest odd one, every stretch of runs at
// that level or above is reversed.
void Reorder(std::vector<Run> &runs)
{
    if (runs.empty())
        return;
    FriBidiLevel highest = 0;
    FriBidiLevel lowestOdd = 255;
    for (const Run &run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2 == 1)
            lowestOdd = std::min(lowestOdd, run.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        size_t i = 0;
        while (i < runs.size()) {
            if (runs[i].level < level) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < runs.size() && runs[end].level >= level)
                ++end;
            std::reverse(runs.begin() + qsizetype(i), runs.begin() + qsizetype(end));
            i = end;
        }
    }
}

std::shared_ptr<ShapedLine> Shape(const std::shared_ptr<TextFont::Face> &face, const QString &text)
{
    auto line = std::make_shared<ShapedLine>();
    const QList<uint> ucs4 = text.toUcs4();
    const std::u32string chars(ucs4.begin(), ucs4.end());
    std::vector<Run> runs = Itemize(face, chars, *line);
    Reorder(runs);

    // Kerning stays off as in the plain layout, and so do the ligatures a font only offers;
    // those a script requires (Arabic lam-alef) stay on.
    static const hb_feature_t kFeatures[] = {
        {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_buffer_t *buffer = hb_buffer_create();
    double pen = 0.0;
    for (const Run &run : runs) {
        TextFont::Face &runFace = *run.face;
        hb_font_t *font = runFace.harfBuzzFont();
        ShapedRun shaped;
        shaped.face = run.face;
        const double perUnit = 1.0 / runFace.unitsPerEm;
        // An emboldened face's advances are wider, as in the plain layout.
        const double widening = runFace.emboldened ? kEmboldenPerEm : 0.0;
        if (!font) {
            // The file cannot be read by the shaper: one glyph per character.
            for (size_t i = run.start; i < run.start + run.length; ++i) {
                const GlyphAdvance &glyph = runFace.lookUp(chars[i]);
                shaped.glyphs.append(glyph.glyph);
                shaped.positions.append(QPointF(pen, 0.0));
                pen += glyph.advancePerEm;
            }
            line->runs.push_back(std::move(shaped));
            continue;
        }
        hb_buffer_clear_contents(buffer);
        // The whole line is context, so that joining sees across a change of face.
        hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t *>(chars.data()), int(chars.size()),
                            unsigned(run.start), int(run.length));
        hb_buffer_set_direction(buffer, run.level % 2 == 1 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, run.script);
        hb_shape(font, buffer, kFeatures, sizeof(kFeatures) / sizeof(kFeatures[0]));
        unsigned count = 0;
        const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer, &count);
        shaped.glyphs.reserve(count);
        shaped.positions.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            shaped.glyphs.append(infos[i].codepoint);
            shaped.positions.append(
                QPointF(pen + positions[i].x_offset * perUnit, -positions[i].y_offset * perUnit));
            pen += positions[i].x_advance * perUnit + (positions[i].x_advance != 0 ? widening : 0.0);
        }
        line->runs.push_back(std::move(shaped));
    }
    hb_buffer_destroy(buffer);
    line->advancePerEm = pen;
    return line;
}

} // namespace

std::shared_ptr<const ShapedLine> ShapeLine(const std::shared_ptr<TextFont::Face> &face, const QString &text)
{
    const auto found = face->shapedLines.constFind(text);
    if (found != face->shapedLines.constEnd())
        return *found;
    if (face->shapedLines.size() >= kMaxShapedLinesPerFace)
        face->shapedLines.clear();
    std::shared_ptr<const ShapedLine> line = Shape(face, text);
    face->shapedLines.insert(text, line);
    return line;
}

QStringList FallbackFamilies(const std::shared_ptr<TextFont::Face> &face, const QString &text)
{
    QStringList families;
    for (const std::shared_ptr<TextFont::Face> &used : FacesUsed(face, text)) {
        if (used != face && !families.contains(used->family))
            families.append(used->family);
    }
    return families;
}

namespace {

// Text the face has glyph for glyph: the plain layout draws it with the face alone.
bool FaceHasEveryCharacter(TextFont::Face &face, const QString &text)
{
    const qsizetype length = text.size();
    const QChar *units = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        if (face.lookUp(NextCodePoint(units, length, i)).glyph == 0)
            return false;
    }
    return true;
}

} // namespace

std::vector<std::shared_ptr<TextFont::Face>> FacesUsed(const std::shared_ptr<TextFont::Face> &face,
                                                       const QString &text)
{
    if (text.isEmpty() || FaceHasEveryCharacter(*face, text))
        return {face};
    return ShapeLine(face, text)->faces;
}

std::u32string UndrawableCharacters(const std::shared_ptr<TextFont::Face> &face, const QString &text)
{
    if (text.isEmpty() || FaceHasEveryCharacter(*face, text))
        return {};
    return ShapeLine(face, text)->undrawable;
}

} // namespace tavrin
