#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavrin {

// The fonts a layout's texts are drawn in, gathered by the output render before a save: one
// entry per face, in the order the faces were first drawn, each with the font file the face was
// found in. The list is kept as pairs and never parsed back from text, so that face or file
// names holding "," or ";" cannot break it apart.
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
    // Lists face with its file unless the face is listed already (whole names, case counts).
    // Returns true when it was added.
    bool add(const QString &face, const QString &fontFile);
    bool hasFace(const QString &face) const;
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
    // The text of "FontFileNames.txt": "face,member;" for every entry in list order. A face name
    // holding "," or ";" cannot be written in that form without breaking the entries apart, and
    // is left out of the text; its file is packed all the same.
    QString listText;
};
PackedFontList PackFontList(const FontList &list, QSet<QString> &takenNames);

} // namespace tavrin
