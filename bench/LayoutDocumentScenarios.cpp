// Writing and reading the document of the largest board the store holds.
#include "Scenarios.h"

#include "layout/LayoutDocument.h"
#include "layout/StripOperations.h"

#include <cstdio>
#include <memory>

namespace tavrin::bench {
namespace {

class QuietHost : public LayoutReaderHost {
public:
    void resolveBackground(const QString &) override {}
    QString resolvePicture(const QString &name) override { return name; }
    void checkFont(const QString &, const QString &) override {}
};

// Every strip of a 9 x 201 grid in use, with texts of the length a real board carries.
std::unique_ptr<MenuLayout> FullLayout()
{
    auto layout = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*layout, working, kWhite);
    layout->NumberOfColumns = kMaxColumns;
    layout->NumberOfRows = kMaxRows;
    layout->forEachBoardStrip([](int c, int r, Strip &s) {
        s.BackGroundColor = MakeColour(c * 20, r % 256, 40);
        s.mainItem().Text = QString("Grilled Chicken Sandwich %1-%2").arg(c).arg(r);
        s.mainItem().Font = "DejaVu Sans";
        s.mainItem().Bold = 1;
        s.subItems().Text = "with lettuce, tomato & mayo\r\non a toasted brioche bun";
        s.prices().Text = "Small^ 6.49>450^ Large^ 8.99>620";
        s.Picture.SubImageFileName = QString("/data/ZUP/chicken%1.jpg").arg(r);
        s.Picture.SubImageCropPercentageX = s.Picture.SubImageCropPercentageY = 100;
        s.XSizeFactor = 0.95;
    });
    return layout;
}

struct DocumentData {
    std::unique_ptr<MenuLayout> layout;
    QString stored;
};

DocumentData &Data()
{
    static DocumentData data;
    if (!data.layout) {
        data.layout = FullLayout();
        data.stored = ScrambleText(BuildLayoutDocument(*data.layout, "/data/ZUP/Background.jpg"));
        std::printf("(full 9x201 document: %lld characters)\n", static_cast<long long>(data.stored.size()));
    }
    return data;
}

const bool registeredWrite = Register({"write full 9x201 document", 10, [] { Data(); }, [] {
                                           const QString document =
                                               BuildLayoutDocument(*Data().layout, "/data/ZUP/Background.jpg");
                                           KeepResult(document.constData());
                                       }});

// The layout read into, reset before each run as the opening command does.
std::unique_ptr<MenuLayout> target;

const bool registeredRead = Register({"read full 9x201 document", 10, [] { Data(); },
                                      [] {
                                          QuietHost host;
                                          ReadLayoutDocument(Data().stored, *target, host);
                                          KeepResult(target.get());
                                      },
                                      [] {
                                          target = std::make_unique<MenuLayout>();
                                          Strip working;
                                          ResetAllStrips(*target, working, kWhite);
                                      }});

// Every strip's opening tag, then about a million characters, then every closing tag: each
// strip encloses the whole middle. The middle is plain text, or the content of a real strip
// over and over (so that every strip also finds long values: its texts, colours and numbers).
QString EnclosingDocument(const QString &middlePiece)
{
    QString opening, closing, middle;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            opening += QString("<Strip%1-%2>").arg(c).arg(r);
            closing += QString("</Strip%1-%2>").arg(c).arg(r);
        }
    while (middle.size() < 1'000'000)
        middle += middlePiece;
    return "<MenuData><MenuGeneralData><NumberOfColumns>9</NumberOfColumns><NumberOfRows>201</NumberOfRows>"
           "</MenuGeneralData><StripsData>"
        + opening + middle + closing + "</StripsData></MenuData>";
}

QString StripContentOfFullLayout()
{
    const QString document = BuildLayoutDocument(*Data().layout, "/data/ZUP/Background.jpg");
    return FindTagValue(document, u"<Strip3-7>");
}

struct EnclosingScenario {
    const char *name;
    QString (*middlePiece)();
    QString document = {};
};

EnclosingScenario enclosingScenarios[] = {
    {"read 1809 strips enclosing 1M plain characters", [] { return QString(1000, u'x'); }},
    {"read 1809 strips enclosing 1M characters of strip content", [] { return StripContentOfFullLayout(); }},
};

const bool registeredEnclosing = [] {
    for (EnclosingScenario &scenario : enclosingScenarios)
        Register({scenario.name, 3,
                  [&scenario] {
                      if (scenario.document.isEmpty())
                          scenario.document = ScrambleText(EnclosingDocument(scenario.middlePiece()));
                  },
                  [&scenario] {
                      QuietHost host;
                      ReadLayoutDocument(scenario.document, *target, host);
                      KeepResult(target.get());
                  },
                  [] {
                      target = std::make_unique<MenuLayout>();
                      Strip working;
                      ResetAllStrips(*target, working, kWhite);
                  }});
    return true;
}();

} // namespace
} // namespace tavrin::bench
