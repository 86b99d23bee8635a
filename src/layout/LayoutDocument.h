#pragma once

#include "layout/MenuLayout.h"

#include <QString>

namespace tavrin {

// What the document reader asks of whoever opens the layout: where the files it names are
// now, and whether the fonts its texts use are installed.
class LayoutReaderHost {
public:
    virtual ~LayoutReaderHost() = default;
    // Called once with the BackgroundFileName value (possibly empty).
    virtual void resolveBackground(const QString &backgroundFileName) = 0;
    // Called for every non-empty SubImageFileName; returns the picture's full path.
    virtual QString resolvePicture(const QString &subImageFileName) = 0;
    // Called for every text group whose Font is not empty, right after its ScaleFactor is read.
    virtual void checkFont(const QString &fontName, const QString &groupText) = 0;
};

// The product name and version as the document's NameAndVersion carries them.
QString NameAndVersionText();

// What a document is built for.
enum class DocumentForm {
    // The board as the editor holds it: texts and picture paths unchanged.
    AsInMemory,
    // The document a package carries: each picture by its bare file name, which a reader finds
    // whether it splits stored paths at the last "\" or at the last "/" (a folder of this
    // computer means nothing on another one), and the editor's "~" marker taken out of the three
    // texts. Picture names keep their "~" ("BURGER~1.JPG").
    ForPackage,
};

// The single-line document of the board; backgroundPath's file-name part becomes
// BackgroundFileName.
QString BuildLayoutDocument(const MenuLayout &layout, const QString &backgroundPath,
                            DocumentForm form = DocumentForm::AsInMemory);

// Stored form: code units reversed, each raised by one (modulo 65536); and back.
QString ScrambleText(const QString &text);
QString UnscrambleText(const QString &text);

// The value between the first occurrence of tag (an opening tag such as "<Xref>") and the
// first occurrence of its closing tag after it; empty when either is missing.
QString FindTagValue(QStringView text, QStringView tag);

// "r,g,b" (missing parts read as 0, each cut to 8 bits) into 0x00BBGGRR.
Colour ParseColour(QStringView text);

// Fills the layout (reset by the caller beforehand) from the document text, unscrambling it
// first when its first code unit is '?'. Never fails: missing values give defaults.
void ReadLayoutDocument(const QString &documentText, MenuLayout &layout, LayoutReaderHost &host);

// The document file's bytes (UTF-16LE code units, an odd last byte ignored) as text.
QString DocumentTextFromBytes(const QByteArray &bytes);
// The stored form of a document: scrambled, as UTF-16LE bytes without a BOM. The text is taken
// as it is: build it with DocumentForm::ForPackage to leave the editor's marker out.
QByteArray StoredDocumentBytes(const QString &documentText);

} // namespace tavrin
