// Random clicks, arrows, drags, keystrokes, deletes and undos on the sample board: no strip in
// use ever loses its text to another strip's edit, every frame stays on the board, and undoing
// every step brings back the board as it was.
#include "SampleBoardFixture.h"

#include "editor/EditingControls.h"
#include "layout/StripOperations.h"

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>

#include <map>
#include <random>

namespace tavrin {
namespace {

// The texts a strip shows, without the editor's caret marker; one blank counts as no text.
QString TextsOf(const Strip &strip)
{
    QStringList texts;
    for (const TextGroup &group : strip.Groups) {
        QString text = group.Text;
        text.remove(QLatin1Char('~'));
        texts << (text == QLatin1String(" ") ? QString() : text);
    }
    return texts.join(QChar(0x1F));
}

struct EditingProperty : test::SampleBoardFixture {
    std::mt19937 random{20261210};

    void SetUp() override
    {
        // A small window and a small copy of the background keep each refresh quick; every
        // placement is in cells, so the board behaves the same.
        controls.client = QSize(800, 480);
        SampleBoardFixture::SetUp();
        editor->layout().forEachBoardStrip([](int, int, const Strip &s) {
            const QString &picture = s.Picture.SubImageFileName;
            if (!picture.isEmpty())
                QImage(picture).scaled(48, 48, Qt::KeepAspectRatio).save(picture);
        });
        const QString small = data.file("sample/SmallBackground.jpg");
        ASSERT_TRUE(QImage(editor->document().backgroundImagePath()).scaled(480, 270).save(small));
        const auto layout = std::make_unique<MenuLayout>(editor->layout());
        ASSERT_TRUE(session.show(*layout, small));
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    bool chance(int percent) { return below(100) < percent; }

    std::vector<Strip> board()
    {
        std::vector<Strip> strips;
        editor->layout().forEachBoardStrip([&](int, int, const Strip &s) { strips.push_back(s); });
        return strips;
    }
    // A point on a random strip in use (its text, frame or picture), or anywhere on the board.
    QPoint somewhere()
    {
        const QRect area = editor->renderer().preview().previewArea;
        const int c = below(editor->layout().boardColumns()), r = below(editor->layout().boardRows());
        const StripGeometry &g = geo(c, r);
        QRectF target;
        switch (below(4)) {
        case 0: target = ToQRectF(g.hitBoxes[below(kGroupCount)]); break;
        case 1: target = FrameRectOnPreview(editor->layout(), editor->geometry(), c, r); break;
        case 2: target = ToQRectF(g.stripRect); break;
        default: break;
        }
        if (target.width() < 2 || target.height() < 2)
            target = QRectF(area);
        return QPoint(int(target.left()) + below(std::max(1, int(target.width()))),
                      int(target.top()) + below(std::max(1, int(target.height()))));
    }
    // A keystroke in a box: a character typed or one deleted at a random place.
    void keystroke()
    {
        static const QString kTyped = QStringLiteral("ab Z9.^<>\\~\n");
        const int group = below(kGroupCount);
        const ControlId box = kTextBoxes[group];
        QString text = controls.text(box);
        int caret = below(int(text.size()) + 1);
        if (text.size() > 0 && chance(30)) {
            text.remove(std::min(caret, int(text.size()) - 1), 1);
        } else {
            const QChar c = kTyped[below(int(kTyped.size()))];
            const QString piece = c == QLatin1Char('\n') ? QStringLiteral("\r\n") : QString(c);
            if (caret > 0 && text[caret - 1] == QLatin1Char('\r'))
                --caret; // never between CR and LF
            text.insert(caret, piece);
            caret += int(piece.size());
        }
        controls.setText(box, text);
        editor->TextChanged(group, caret);
    }

    // The cells whose texts the step may change: what is selected, and what an undo restores.
    std::vector<CellPosition> workedOn(int undoEntries)
    {
        std::vector<CellPosition> cells;
        switch (editor->editMode()) {
        case EditMode::Text: cells.push_back(editor->textCell()); break;
        case EditMode::Picture: cells.push_back(editor->pictureCell()); break;
        case EditMode::Background: cells.push_back(editor->backgroundCell()); break;
        default: break;
        }
        if (undoEntries > 0)
            for (const auto &[column, row] : editor->document().undoCells())
                cells.push_back({column, row});
        return cells;
    }

    // Texts of the strips in use outside the given cells, counted.
    std::map<QString, int> textsOutside(const std::vector<CellPosition> &cells)
    {
        std::map<QString, int> counted;
        editor->layout().forEachBoardStrip([&](int c, int r, const Strip &s) {
            if (!StripHasText(s) || std::find(cells.begin(), cells.end(), CellPosition{c, r}) != cells.end())
                return;
            ++counted[TextsOf(s)];
        });
        return counted;
    }
    std::map<QString, int> allTexts() { return textsOutside({}); }

    // The strips whose frame lies wholly off the board.
    QStringList framesOffTheBoard()
    {
        QStringList off;
        // One pixel of room: the last cell may end a fraction of a pixel past the whole-pixel area.
        const QRectF area = QRectF(editor->renderer().preview().previewArea).adjusted(-1, -1, 1, 1);
        editor->layout().forEachBoardStrip([&](int c, int r, const Strip &s) {
            if (!IsStripInUse(s))
                return;
            const QRectF frame = FrameRectOnPreview(editor->layout(), editor->geometry(), c, r);
            const QPointF centre(frame.left() + frame.width() / 2, frame.top() + frame.height() / 2);
            if (!(centre.x() >= area.left() && centre.x() <= area.right() && centre.y() >= area.top()
                  && centre.y() <= area.bottom()))
                off << QStringLiteral("(%1,%2) %3 frame at %4,%5").arg(c).arg(r).arg(TextsOf(s)).arg(frame.left()).arg(frame.top());
        });
        return off;
    }
};

TEST_F(EditingProperty, RandomEditingNeverLosesAStripsTextKeepsFramesOnTheBoardAndUndoesExactly)
{
    const std::vector<Strip> start = board();
    ASSERT_TRUE(framesOffTheBoard().isEmpty()) << framesOffTheBoard().join(", ").toStdString();
    // The same sequence every run; a slow machine stops early, but never before kFewestSteps.
    constexpr int kSteps = 3000, kFewestSteps = 400;
    constexpr qint64 kTimeBudgetMs = 5000;
    QElapsedTimer timer;
    timer.start();
    constexpr ControlId kArrows[] = {
        ControlId::MoveUp,        ControlId::MoveLeft,      ControlId::MoveRight,    ControlId::MoveDown,
        ControlId::SizeLarger,    ControlId::SizeSmaller,   ControlId::SizeNarrower, ControlId::SizeWider,
        ControlId::LineSpacingUp, ControlId::LineSpacingDown, ControlId::TabSpacingUp, ControlId::CalSpacingUp,
    };

    int step = 0;
    for (; step < kSteps && (step < kFewestSteps || timer.elapsed() < kTimeBudgetMs); ++step) {
        const int kind = below(100);
        // A delete takes only the selected strip, which is exempt like any strip being worked on.
        const std::vector<CellPosition> exempt = workedOn(kind >= 94 ? 1 : 0);
        std::string what;
        if (kind < 25) {
            what = "click";
            click(somewhere());
        } else if (kind < 50) {
            const ControlId arrow = kArrows[below(std::size(kArrows))];
            what = "arrow " + std::to_string(int(arrow));
            if (chance(20)) {
                const ControlId box = chance(50) ? (chance(50) ? ControlId::Macro : ControlId::Micro)
                                                 : (chance(50) ? ControlId::AllText : ControlId::SelectedText);
                controls.setChecked(box, true);
                editor->PairedCheckBoxClicked(box);
            }
            // An arrow that is off cannot be clicked.
            if (controls.isEnabled(arrow) && controls.isVisible(arrow))
                editor->ArrowClicked(arrow, {chance(10), chance(10)});
        } else if (kind < 62) {
            what = "drag";
            const QPoint from = somewhere();
            editor->RightButtonDown(from, {chance(40), chance(10)});
            editor->RightButtonUp(chance(10) ? from : somewhere());
            // A drop may put the copy into a cell the step did not start with: none was in use.
        } else if (kind < 86) {
            what = "keystroke";
            keystroke();
        } else if (kind < 90) {
            what = "escape";
            editor->EscapePressed();
        } else if (kind < 94) {
            what = "delete";
            if (chance(50) && controls.isEnabled(ControlId::DeleteMenuItem))
                editor->DeleteMenuItemCommand();
            else if (controls.isEnabled(ControlId::DeletePicture))
                editor->DeletePictureCommand();
        } else {
            what = "undo";
            if (controls.isEnabled(ControlId::Undo))
                editor->UndoCommand();
        }

        // Every text of a strip nobody worked on is still on the board.
        const std::map<QString, int> now = allTexts();
        for (const auto &[texts, count] : textsOutside(exempt)) {
            const auto found = now.find(texts);
            ASSERT_TRUE(found != now.end() && found->second >= count)
                << "step " << step << " (" << what << ") lost " << texts.toStdString();
        }
        ASSERT_TRUE(framesOffTheBoard().isEmpty())
            << "step " << step << " (" << what << "): " << framesOffTheBoard().join(", ").toStdString();
    }

    RecordProperty("steps", step);

    // Back to the start: leave the mode (its leaving steps may record one more change), then undo.
    click(QPoint(0, 0));
    editor->EscapePressed();
    while (editor->document().canUndo())
        editor->UndoCommand();
    const std::vector<Strip> end = board();
    ASSERT_EQ(end.size(), start.size());
    for (size_t i = 0; i < start.size(); ++i)
        EXPECT_EQ(end[i], start[i]) << "strip " << i / editor->layout().boardRows() << ","
                                    << i % editor->layout().boardRows() << " " << TextsOf(end[i]).toStdString();
}

} // namespace
} // namespace tavrin
