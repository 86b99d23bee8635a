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

// A reset layout to read into, as the opening hands the reader one. Resetting all 1,809 strips
// for every input would take most of the run; the reader only writes the strips of the grid it
// read, so only those are reset again afterwards.
class ResetLayout {
public:
    explicit ResetLayout(int slot) : layout_(Store(slot)) {}
    ~ResetLayout()
    {
        const tavrin::Strip &reset = ResetStripValue();
        layout_.forEachBoardStrip([&reset](int, int, tavrin::Strip &strip) { strip = reset; });
        const tavrin::MenuLayout defaults{};
        layout_.NumberOfColumns = defaults.NumberOfColumns;
        layout_.NumberOfRows = defaults.NumberOfRows;
        layout_.WhitePrintBackground = defaults.WhitePrintBackground;
    }
    tavrin::MenuLayout &operator*() { return layout_; }

private:
    static const tavrin::Strip &ResetStripValue()
    {
        static const tavrin::Strip reset = [] {
            tavrin::Strip strip;
            tavrin::ResetStrip(strip);
            return strip;
        }();
        return reset;
    }
    static tavrin::MenuLayout &Store(int slot)
    {
        static std::unique_ptr<tavrin::MenuLayout> layouts[2];
        if (!layouts[slot]) {
            layouts[slot] = std::make_unique<tavrin::MenuLayout>();
            tavrin::Strip working;
            tavrin::ResetAllStrips(*layouts[slot], working, tavrin::kWhite);
        }
        return *layouts[slot];
    }
    tavrin::MenuLayout &layout_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tavrin;
    const QString document = DocumentTextFromBytes(fuzz::BytesOf(data, size));
    (void)DocumentGridFitsStore(document);

    QuietHost host;
    ResetLayout layout(0);
    ReadLayoutDocument(document, *layout, host);

    // What was read must write and read again without fault.
    const QByteArray stored = StoredDocumentBytes(BuildLayoutDocument(*layout, "/w/Background.jpg"));
    ResetLayout again(1);
    ReadLayoutDocument(DocumentTextFromBytes(stored), *again, host);
    return 0;
}
