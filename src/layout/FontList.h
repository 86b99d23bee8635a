#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavrin {

// The fonts a layout's texts are drawn in, gathered by the output render before a save: one
// entry per font file a face was drawn from, in the order they were first drawn. A face drawn
// in several styles (regular, bold, italic, bold italic) comes with a file for each style it
// was drawn in; a face that drew characters another face lacked is listed under its own name.
// The list is kept as pairs and never parsed back from text, so that face or file names holding
// "," or ";" cannot break it apart.
struct GatheredFont {
    QString face;
    QString fontFile; // full path of the file the face is drawn from

    bool operator==(const GatheredFont &) const = default;
};

// One font file as the package carries it.
struct PackedFontFile {
    QString fontFile;   // where it is read from
    QString memberName; // its plain name in the package
};

class FontList {
public:
    // Lists face with its file unless that pair is listed already (whole names, case counts).
    // Returns true when it was added.
    bool add(const QString &face, const QString &fontFile);
    bool hasFace(const QString &face) const;
    bool has(const QString &face, const QString &fontFile) const;
    QStringList faces() const;
    const std::vector<GatheredFont> &entries() const { return entries_; }
    bool isEmpty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

    // "face,file;" for every entry with the file's own name: the list as a reader of
    // "FontFileNames.txt" would see it when no names clash.
    QString text() const;

    bool operator==(const FontList &) const = default;

private:
    std::vector<GatheredFont> entries_;
};

// How the package carries a font list: every distinct font file once (faces that map to the same
// file share it), each under a member name that is a plain file name free of "," and ";" and
// that clashes neither with another font file nor with a name in taken (compared without case,
// as the file systems of other machines do); a clash adds "(1)", "(2)", ... before the
// extension. takenNames holds the names in use in lower case and gets the new ones added.
struct PackedFontList {
    std::vector<PackedFontFile> files;
    // The text of "FontFileNames.txt": "face,member;" for every entry in list order, each pair
    // once (a face may come with several files). A face name holding "," or ";" cannot be
    // written in that form without breaking the entries apart, and is left out of the text; its
    // file is packed all the same.
    QString listText;
};
PackedFontList PackFontList(const FontList &list, QSet<QString> &takenNames);

// The (face, file name) pairs of a "FontFileNames.txt" text, in order: each entry is the text up
// to the first ",", then up to the next ";". Entries without "," or with an empty face or file
// are skipped; a last entry without its ";" still counts. Lists of every version read the same
// way, whether a face comes once or with several files.
std::vector<GatheredFont> ReadFontListText(const QString &text);

// The same from the file's bytes (UTF-16 little-endian, no byte-order mark); empty when the file
// cannot be read.
std::vector<GatheredFont> ReadFontListFile(const QString &path);

} // namespace tavrin
