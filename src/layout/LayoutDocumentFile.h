#pragma once

#include "layout/LayoutDocument.h"
#include "layout/LayoutFileNames.h"
#include "layout/LayoutPathRules.h"

#include <functional>
#include <optional>

namespace tavrin {

// The text of a layout document file (UTF-16LE code units, stored or plain); nothing when the
// file cannot be opened, is not a regular file (a device, a pipe) or is larger than any layout
// document can be.
std::optional<QString> ReadLayoutDocumentFile(const QString &documentPath);

// Whether the document's grid fits the strip store (9 columns, 201 rows). A larger grid is
// refused at opening, so that the next save cannot silently drop the strips beyond the store.
bool DocumentGridFitsStore(const QString &documentText);

// Resolves the files a document names the way the opening command does, for a package (files
// in the working folder) or a legacy layout (files in its support folder), and keeps the
// background paths it found.
class LayoutPathResolver : public LayoutReaderHost {
public:
    LayoutPathResolver(const LayoutFileNames &names, const QString &workingFolder)
        : names_(names), workingFolder_(workingFolder) {}

    void resolveBackground(const QString &backgroundFileName) override;
    QString resolvePicture(const QString &subImageFileName) override;
    void checkFont(const QString &fontName, const QString &groupText) override;

    const BackgroundPaths &background() const { return background_; }
    // Called for every font check; without it fonts are not checked.
    std::function<void(const QString &fontName, const QString &groupText)> fontCheck;

private:
    LayoutFileNames names_;
    QString workingFolder_;
    BackgroundPaths background_;
};

} // namespace tavrin
