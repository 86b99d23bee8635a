#include "document/PricesText.h"
#include "layout/StripOperations.h"

#include "SampleBoardFixture.h"

namespace tavrin {
namespace {

using test::SampleBoardFixture;

TEST(PricesText, RulesCorrectTheTypedText)
{
    struct Case {
        const char *typed;
        int caret;
        const char *kept;
        int keptCaret;
    } cases[] = {
        {"4.99<120<5", 9, "4.99<1205", 8},           // the second marker of an entry goes
        {"4.99>1^5.99<2<", 14, "4.99>1^5.99<2", 13}, // each entry keeps its own first marker
        {"1.99\r\n2.99\r\n", 12, "1.99\r\n2.99", 10},  // no third line
        {"1.99\\", 5, "1.99", 4},                    // no backslash
        {"1.99\r\n2.99", 3, "1.99\r\n2.99", 3},        // two lines are fine
    };
    for (const Case &c : cases) {
        const PricesCorrection out = CorrectPricesText(c.typed, c.caret);
        EXPECT_EQ(out.text, c.kept) << c.typed;
        EXPECT_EQ(out.caret, c.keptCaret) << c.typed;
        EXPECT_EQ(out.changed, QString(c.typed) != c.kept) << c.typed;
    }
    EXPECT_EQ(StoredGroupText(""), " ");
    EXPECT_EQ(StoredGroupText(" a"), "a");
    EXPECT_EQ(StoredGroupText(" "), " ");
}

TEST_F(SampleBoardFixture, TypingWithNothingSelectedIsUndoneAtOnce)
{
    type(MainItemGroup, "x");
    EXPECT_TRUE(controls.text(ControlId::MainItemBox).isEmpty());
    EXPECT_FALSE(editor->document().isModified());
}

TEST_F(SampleBoardFixture, EachKeystrokeLandsOnTheBoard)
{
    click(hitCentre(1, 2, MainItemGroup));
    const QImage before = editor->renderer().shownBoard().copy();
    type(MainItemGroup, "Grilled Chicken Deluxe");
    EXPECT_EQ(strip(1, 2).mainItem().Text, "Grilled Chicken Deluxe");
    EXPECT_EQ(label(), "EDIT MODE:  TEXT");
    EXPECT_NE(editor->renderer().shownBoard(), before);
    EXPECT_TRUE(editor->document().isModified());

    // An emptied group keeps one blank until Text mode ends.
    type(SubItemsGroup, "");
    EXPECT_EQ(strip(1, 2).subItems().Text, " ");
    click(QPoint(2, 2));
    EXPECT_EQ(strip(1, 2).subItems().Text, "");
    EXPECT_EQ(geo(1, 2).hitBoxes[SubItemsGroup], RectF32{});
}

TEST_F(SampleBoardFixture, PricesBoxRefusesAThirdLineAndASecondMarker)
{
    click(hitCentre(1, 2, MainItemGroup));
    type(PricesGroup, "4.99<120<5");
    EXPECT_EQ(controls.text(ControlId::PricesBox), "4.99<1205");
    EXPECT_EQ(strip(1, 2).prices().Text, "4.99<1205");
    type(PricesGroup, "1.99\r\n2.99\r\n");
    EXPECT_EQ(strip(1, 2).prices().Text, "1.99\r\n2.99");
}

TEST_F(SampleBoardFixture, FirstSubItemsTakeTheMainItemsLook)
{
    adjust([&](MenuLayout &board) {
        Strip &s = board.strip(1, 2);
        ResetStrip(s);
        s.mainItem().Text = "Grilled Chicken";
        s.mainItem().ScaleFactor = 2.0;
        s.mainItem().Font = "DejaVu Serif";
        s.mainItem().TextColor = 0x00336699;
        s.mainItem().Bold = 1;
        s.mainItem().Italics = 1;
        s.mainItem().DropShadowColor = kBlack;
    });
    const Strip &s = strip(1, 2);
    click(hitCentre(1, 2, MainItemGroup));
    const double widthRatio = geo(1, 2).hitBoxes[MainItemGroup].width / geo(1, 2).cellRect.width;
    type(SubItemsGroup, "With fries");
    const TextGroup &sub = strip(1, 2).subItems();
    EXPECT_DOUBLE_EQ(sub.ScaleFactor, 1.6);
    EXPECT_EQ(sub.Font, "DejaVu Serif");
    EXPECT_EQ(sub.TextColor, 0x00336699u);
    EXPECT_EQ(sub.Bold, 1);
    EXPECT_EQ(sub.Italics, 1);
    EXPECT_EQ(sub.DropShadowColor, kBlack);
    // Beside the main item's text; the frame fit shifts both anchors alike.
    EXPECT_NEAR(sub.Xref - strip(1, 2).mainItem().Xref, widthRatio + 0.1, 1e-6);
    EXPECT_NEAR(sub.Yref, strip(1, 2).mainItem().Yref, 1e-6);
}

TEST_F(SampleBoardFixture, TypingIntoAnEmptyFrameGivesTheStarterLook)
{
    adjust([&](MenuLayout &board) {
        Strip &s = board.strip(1, 5);
        ASSERT_FALSE(IsStripInUse(s));
        s.BackGroundColor = 0x00202020;
    });
    const Strip &s = strip(1, 5);
    click(centreOf(ToRectF32(FrameRectOnPreview(editor->layout(), editor->geometry(), 1, 5))));
    ASSERT_EQ(editor->editMode(), EditMode::Background);
    type(MainItemGroup, "S");
    EXPECT_EQ(editor->editMode(), EditMode::Text);
    EXPECT_EQ(label(), "EDIT MODE:  TEXT");
    const TextGroup &main = strip(1, 5).mainItem();
    EXPECT_EQ(main.Text, "S");
    EXPECT_EQ(main.Font, "Segoe UI Black");
    EXPECT_EQ(main.Bold, 1);
    EXPECT_EQ(main.TextColor, kWhite);
    EXPECT_EQ(main.DropShadowColor, kBlack);
    EXPECT_DOUBLE_EQ(main.ScaleFactor, 5.0);
    EXPECT_EQ(editor->document().undoSteps(), 1);

    // A coloured strip keeps its frame as its text changes.
    const double x = s.XOffsetFactor, y = s.YOffsetFactor, w = s.XSizeFactor, h = s.YSizeFactor;
    type(MainItemGroup, "Specials of the day");
    EXPECT_EQ(std::tuple(s.XOffsetFactor, s.YOffsetFactor, s.XSizeFactor, s.YSizeFactor), std::tuple(x, y, w, h));
}

TEST_F(SampleBoardFixture, ATextOnlyFrameFollowsItsText)
{
    click(hitCentre(1, 9, MainItemGroup));
    type(MainItemGroup, "Iced Tea with a much longer name");
    editor->Refresh();
    const QRectF frame = FrameRectOnPreview(editor->layout(), editor->geometry(), 1, 9);
    const QRectF text = ToQRectF(geo(1, 9).hitBoxes[MainItemGroup]);
    EXPECT_NEAR(frame.left(), text.left(), 1.0);
    EXPECT_GE(frame.right() + 1.0, text.right());
}

TEST_F(SampleBoardFixture, TabInstructionsShowsItsMessage)
{
    editor->TabInstructions();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith("                Price Tabbing Text Entry Instructions\n\n"));
    EXPECT_TRUE(prompter.shown[0].endsWith("to be displayed in the Calorie text color."));
}

} // namespace
} // namespace tavrin
