#pragma once

#include "render/RenderContext.h"

#include <QImage>

#include <optional>

namespace tavrin {

// Which files the board is drawn from.
struct BoardSources {
    QString backgroundName;      // empty: no layout is loaded and nothing is drawn
    QString backgroundImagePath; // the full-resolution background
    QString workingFolder;       // may hold "Background_Proxy.jpg" and the pictures' proxies
    bool backgroundProxy = false; // draw from "Background_Proxy.jpg" when it exists
};

// The background's pixel size and vertical resolution (dots per inch).
struct BackgroundReading {
    QSize size;
    int pixelsPerInch = 0;
};

// Composes the board and keeps what a refresh leaves for the next one: the preview geometry,
// the composed image the window shows, and the one-shot flags. The geometry records it writes
// belong to the caller (hit-testing reads them).
class BoardRenderer {
public:
    BoardRenderer(const MenuLayout &layout, GeometryRecords &geometry) : layout_(layout), geometry_(geometry) {}

    BoardSources sources;
    RenderOptions options; // white print, font gathering, picture proxies; renderForOutput sets its own
    FontList *fontList = nullptr; // where font gathering adds
    // Where the output render and the pass at the board's own scale note what they drew
    // differently from the layout (each render starts it anew); null: not noted.
    FontSubstitutions *substitutions = nullptr;
    EditorProbes probes;

    // Set by loaders: the next refresh that erases clears the preview region first.
    bool eraseOnce = false;
    // Set when a new background is loaded: the next refresh with a background reads its size
    // and resolution again.
    bool backgroundReadingPending = false;

    // The refresh: recomputes the preview geometry for previewRegion and, unless geometryOnly,
    // composes the board into shownBoard() and rebuilds the grid. Returns false only when the
    // background cannot be decoded (or is too large to draw on). erase tells the caller to clear
    // the preview region; eraseRequested() says whether this refresh wants that.
    bool refresh(const QRect &previewRegion, bool erase, bool geometryOnly);

    // The board at the background's full resolution for the television or the printer, composed
    // with output rendering on and the proxies off. The geometry (cells at the full-resolution
    // scale) is recomputed for previewRegion first. A null image when the background cannot be
    // decoded.
    QImage renderForOutput(const QRect &previewRegion, bool whitePrint);

    // The geometry at the board's own resolution, with the hit boxes of its texts, whatever the
    // preview region: the cells of the full-resolution background, the strips composed with the
    // preview's options onto a scratch pixel (the places come from measuring). False when the
    // background cannot be decoded.
    bool layOutAtBoardScale();

    const PreviewGeometry &preview() const { return preview_; }
    const QImage &shownBoard() const { return shownBoard_; }
    bool eraseRequested() const { return eraseRequested_; }
    // The background's size and resolution, as the refresh that honoured the pending flag read
    // them; nothing before that.
    const std::optional<BackgroundReading> &backgroundReading() const { return backgroundReading_; }
    // The background's extension as the last refresh saw it (selects the TV image's encoder).
    const QString &backgroundExtension() const { return backgroundExtension_; }

    // Composes the strips onto image (board pixels) with the current geometry; noting: the
    // substitutions are noted.
    void compose(QImage &image, const RenderOptions &renderOptions, bool noting = false);

private:
    QImage decodeBackground(bool allowProxy);
    void updateGeometry(const QRect &previewRegion, int width, int height, int resolution);

    const MenuLayout &layout_;
    GeometryRecords &geometry_;
    PreviewGeometry preview_;
    QImage shownBoard_;
    std::optional<BackgroundReading> backgroundReading_;
    QString backgroundExtension_;
    bool eraseRequested_ = false;
};

} // namespace tavrin
