// Rendering scenarios: the refresh that runs on every keystroke, the full-resolution render the
// save makes, the whole render command, a 3840 x 2160 board and a full 9 x 201 grid.
#include "Scenarios.h"

#include "fonts/FontMatching.h"
#include "images/ImageDecoding.h"
#include "images/TvImageOutput.h"
#include "layout/LayoutFileOpening.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"
#include "render/BoardRenderer.h"
#include "render/TextMeasure.h"
#include "samples/SampleBoards.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>

#include <memory>

namespace tavrin::bench {
namespace {

// A maximised editor window on a 1920 x 1080 screen: the preview region below the text boxes.
const QRect kWindowPreviewRegion(208, 134, 1712, 906);
// A region larger than any board: the board is laid out at its own resolution.
const QRect kFullResolutionRegion(0, 0, 1 << 20, 1 << 20);

// The reduced copies the editor draws from while editing: at most 1600 pixels on the long side,
// JPEG at quality 80 (PNG stays PNG), beside their originals.
void MakeProxies(const QString &folder, const MenuLayout &layout)
{
    auto reduce = [](const QString &from, const QString &to, const char *format) {
        QImage image = DecodeImageFile(from).image;
        if (image.width() > 1600 || image.height() > 1600)
            image = image.scaled(1600, 1600, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QImageWriter writer(to, format);
        writer.setQuality(80);
        writer.write(image);
    };
    reduce(folder + "/Background.jpg", folder + "/Background_Proxy.jpg", "jpeg");
    layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        const QString name = strip.Picture.SubImageFileName;
        if (name.endsWith(".jpg"))
            reduce(name, QString(name).replace(".jpg", "_Proxy.jpg"), "jpeg");
        else if (name.endsWith(".png"))
            reduce(name, QString(name).replace(".png", "_Proxy.png"), "png");
    });
}

struct SampleScene {
    QTemporaryDir folder;
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    std::unique_ptr<BoardRenderer> renderer;
    FontList fontList;
    FontSubstitutions substitutions;

    explicit SampleScene(samples::SampleKind kind)
    {
        samples::BuildSample(kind, folder.path(), *layout);
        renderer = std::make_unique<BoardRenderer>(*layout, *geometry);
        renderer->sources.backgroundName = "Background.jpg";
        renderer->sources.backgroundImagePath = folder.path() + "/Background.jpg";
        renderer->sources.workingFolder = folder.path();
        renderer->fontList = &fontList;
        // As in the editor: the output render notes what it draws differently from the layout.
        renderer->substitutions = &substitutions;
    }
    // The editor's state while the user types: proxies on, the grid built.
    void prepareEditing()
    {
        MakeProxies(folder.path(), *layout);
        renderer->sources.backgroundProxy = true;
        renderer->options.pictureProxies = true;
        renderer->refresh(kWindowPreviewRegion, false, true);
        RebuildGrid(*layout, renderer->preview(), *geometry);
    }
};

std::unique_ptr<SampleScene> landscape, ultraHd, fullGrid;

// The landscape scene in its editing state, made by whichever of its scenarios runs first (one
// scenario may be run on its own).
void PrepareLandscape()
{
    EnsureGuiApplication();
    if (landscape)
        return;
    landscape = std::make_unique<SampleScene>(samples::SampleKind::Landscape);
    landscape->prepareEditing();
}

// Every one of the 9 x 201 strips in use with a main item, sub-items and two prices.
void FillFullGrid(MenuLayout &layout)
{
    layout.NumberOfColumns = kMaxColumns;
    layout.NumberOfRows = kMaxRows;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            Strip &strip = layout.strip(c, r);
            ResetStrip(strip);
            strip.mainItem().Text = QStringLiteral("Item %1-%2").arg(c).arg(r);
            strip.mainItem().Font = "Liberation Sans";
            strip.mainItem().ScaleFactor = 0.5;
            strip.mainItem().DropShadowColor = kBlack;
            strip.subItems().Text = "with a side";
            strip.prices().Text = "4.99>320^6.49>450";
            strip.prices().ScaleFactor = 0.5;
        }
}

const bool registered = [] {
    Register({"render: landscape 1920x1080 refresh with proxies", 30,
              PrepareLandscape, [] { landscape->renderer->refresh(kWindowPreviewRegion, false, false); }});
    Register({"render: landscape 1920x1080 full-resolution output render", 20, PrepareLandscape,
              [] { KeepResult(landscape->renderer->renderForOutput(kWindowPreviewRegion, false).constBits()); }});
    Register({"render: landscape whole render command (open package, render, encode)", 10,
              [] {
                  PrepareLandscape();
                  QString error;
                  samples::WriteSample(samples::SampleKind::Landscape, landscape->folder.path() + "/out", &error);
              },
              [] {
                  QTemporaryDir working;
                  auto layout = std::make_unique<MenuLayout>();
                  OpenedLayoutFile opened;
                  OpenLayoutFile(landscape->folder.path() + "/out/SampleLandscape_LAYOUT.MARBIX", working.path(),
                                 *layout, opened);
                  auto geometry = std::make_unique<GeometryRecords>();
                  BoardRenderer renderer(*layout, *geometry);
                  renderer.sources.backgroundName = opened.background.backgroundName;
                  renderer.sources.backgroundImagePath = opened.background.backgroundImagePath;
                  renderer.sources.workingFolder = working.path();
                  FontList fontList;
                  renderer.fontList = &fontList;
                  const QImage board = renderer.renderForOutput(kFullResolutionRegion, false);
                  SaveTvImage(board, working.path() + "/out_TV.jpg", TvImageFormat::Jpeg);
              }});
    Register({"render: 3840x2160 full-resolution output render", 10,
              [] {
                  EnsureGuiApplication();
                  ultraHd = std::make_unique<SampleScene>(samples::SampleKind::UltraHd);
              },
              [] { KeepResult(ultraHd->renderer->renderForOutput(kWindowPreviewRegion, false).constBits()); }});
    Register({"render: full 9x201 grid, every strip in use, output render", 15,
              [] {
                  EnsureGuiApplication();
                  fullGrid = std::make_unique<SampleScene>(samples::SampleKind::Landscape);
                  FillFullGrid(*fullGrid->layout);
              },
              [] { KeepResult(fullGrid->renderer->renderForOutput(kWindowPreviewRegion, false).constBits()); }});
    // The same render with every text laid out one glyph per character, as before texts were
    // shaped: the cost of shaping (and of noting the faces drawn) for Latin text is the
    // difference between the two.
    Register({"render: full 9x201 grid, every strip in use, output render, shaping off", 15,
              [] {
                  EnsureGuiApplication();
                  if (!fullGrid) {
                      fullGrid = std::make_unique<SampleScene>(samples::SampleKind::Landscape);
                      FillFullGrid(*fullGrid->layout);
                  }
              },
              [] {
                  TextFont::SetShapingEnabled(false);
                  KeepResult(fullGrid->renderer->renderForOutput(kWindowPreviewRegion, false).constBits());
                  TextFont::SetShapingEnabled(true);
              }});
    return true;
}();

} // namespace
} // namespace tavrin::bench
