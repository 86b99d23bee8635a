// Creating, measuring and drawing text the way one board refresh does.
#include "Scenarios.h"

#include "fonts/FontMatching.h"
#include "render/TextMeasure.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <memory>

namespace tavrin::bench {
namespace {

const char *const kFamilies[] = {"Arial", "DejaVu Sans", "Times New Roman"};
constexpr double kEm = 0.736 * 67.5;

// One text group of a refresh: a new font, then the first character, the digit width and a line.
double MeasureGroup(int group)
{
    const TextFont font = TextFont::Create(kFamilies[group % 3], kEm, group % 2 == 0, false);
    double sum = font.measure("G", QRectF(0, 0, 600, 675)).height();
    sum += font.width("00000000000000000000") / 20.0;
    sum += font.width("Grilled Chicken Sandwich");
    return sum;
}

const bool registeredMeasure = Register({"text: create font + measure 3 strings x 100", 20, EnsureGuiApplication, [] {
                                             static double sum = 0;
                                             for (int group = 0; group < 100; ++group)
                                                 sum += MeasureGroup(group);
                                             KeepResult(&sum);
                                         }});

const bool registeredCold = Register({"text: first fonts after clearing the caches (3 families)", 10,
                                      EnsureGuiApplication,
                                      [] {
                                          static double sum = 0;
                                          for (int group = 0; group < 3; ++group)
                                              sum += MeasureGroup(group);
                                          KeepResult(&sum);
                                      },
                                      [] {
                                          ClearFontMatchCache();
                                          TextFont::ClearFaceCache();
                                      }});

std::unique_ptr<QImage> board;

// 100 lines of a 2 x 50 grid; the 3840 x 2160 board has twice the em of the 1920 x 1080 one.
void DrawLines(double scale, const QStringList &texts = {QStringLiteral("Grilled Chicken Sandwich 6.49")})
{
    board->fill(Qt::white);
    QPainter painter(board.get());
    for (int group = 0; group < 100; ++group) {
        const TextFont font = TextFont::Create(kFamilies[group % 3], kEm * scale, group % 2 == 0, false);
        const QRectF layout((group % 2) * 960 * scale, (group / 2) * 21.6 * scale, 960 * scale, font.lineHeight());
        font.draw(painter, texts[group % texts.size()], layout, TextAlignment::Near, Qt::black);
    }
}

// Lines that need shaping, fallback faces and right-to-left order.
const QStringList kScriptLines = {
    QString::fromUtf8("\u0634\u0627\u0648\u0631\u0645\u0627 \u062f\u062c\u0627\u062c 6.49"),
    QString::fromUtf8("\u5bff\u53f8 \u30e9\u30fc\u30e1\u30f3 9.50"),
    QString::fromUtf8("\u05e4\u05dc\u05d0\u05e4\u05dc 4.99"),
    QString::fromUtf8("Cafe\u0301 au lait 2.99"),
};

const bool registeredDraw = Register({"text: draw 100 lines on a 1920x1080 board", 10,
                                      [] {
                                          EnsureGuiApplication();
                                          board = std::make_unique<QImage>(1920, 1080, QImage::Format_ARGB32_Premultiplied);
                                      },
                                      [] { DrawLines(1.0); }});

const bool registeredDraw4k = Register({"text: draw 100 lines on a 3840x2160 board", 10,
                                        [] {
                                            EnsureGuiApplication();
                                            board = std::make_unique<QImage>(3840, 2160, QImage::Format_ARGB32_Premultiplied);
                                        },
                                        [] { DrawLines(2.0); }});

const bool registeredDrawScripts = Register({"text: draw 100 lines in Arabic, CJK, Hebrew and with accents", 10,
                                             [] {
                                                 EnsureGuiApplication();
                                                 board = std::make_unique<QImage>(1920, 1080,
                                                                                  QImage::Format_ARGB32_Premultiplied);
                                             },
                                             [] { DrawLines(1.0, kScriptLines); }});

} // namespace
} // namespace tavrin::bench
