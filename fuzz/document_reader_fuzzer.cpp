// The stored layout document: the bytes of a "Layout.XMARBIX" file, read as the opening reads
// them, then written back and read again.
#include "FuzzSupport.h"

#include "layout/LayoutDocument.h"
#include "layout/LayoutDocumentFile.h"
#include "layout/StripOperations.h"

#include <memory>

namespace {

class QuietHost : public tavrin::LayoutReaderHost {
public:
    void resolveBackground(const QString &) override {}
    QString resolvePicture(const QString &name) override { return tavrin::PackagePicturePath("/w", name); }
    void checkFont(const QString &, const QString &) override {}
};

std::unique_ptr<tavrin::MenuLayout> FreshLayout()
{
    auto layout = std::make_unique<tavrin::MenuLayout>();
    tavrin::Strip working;
    tavrin::ResetAllStrips(*layout, working, tavrin::kWhite);
    return layout;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tavrin;
    const QString document = DocumentTextFromBytes(fuzz::BytesOf(data, size));
    (void)DocumentGridFitsStore(document);

    QuietHost host;
    auto layout = FreshLayout();
    ReadLayoutDocument(document, *layout, host);

    // What was read must write and read again without fault.
    const QByteArray stored = StoredDocumentBytes(BuildLayoutDocument(*layout, "/w/Background.jpg"));
    auto again = FreshLayout();
    ReadLayoutDocument(DocumentTextFromBytes(stored), *again, host);
    return 0;
}
