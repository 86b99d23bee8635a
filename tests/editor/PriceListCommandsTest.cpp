#include "prices/PriceList.h"
#include "editor/PriceListCommands.h"
#include "editor/BoardCheckCommands.h"
#include "SampleBoardFixture.h"

#include <QFile>

namespace tavrin {
namespace {

struct PriceListCommands : test::SampleBoardFixture {
    void SetUp() override
    {
        test::SampleBoardFixture::SetUp();
        // The board is saved as Menu_LAYOUT.MARBIX in the sample's folder.
        ASSERT_TRUE(document.save(data.file("sample/Menu_LAYOUT.MARBIX"), {true, 0}).ok());
    }
    QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
};

TEST_F(PriceListCommands, ImportIsOneUndoStepAndSetsTheModifiedFlag)
{
    const QString csv = data.file("prices.csv");
    prompter.fileNames = {csv};
    ExportPricesCommand(*editor);
    PriceListReading list = ReadPriceListCsv(read(csv));
    ASSERT_TRUE(list.errors.isEmpty());
    for (PriceRow &row : list.rows) {
        if (row.mainItem == "Classic Burger" && row.entry == 1)
            row.price = "6.19";
        if (row.mainItem == "Iced Tea" && row.entry == 2)
            row.calories = "130";
    }
    // A row of another board is no concern of this one.
    PriceRow other = list.rows.front();
    other.layout = "/elsewhere/Other_LAYOUT.MARBIX";
    other.price = "99";
    list.rows.push_back(other);
    write(csv, WritePriceListCsv(list.rows));

    const auto before = std::make_unique<MenuLayout>(editor->layout());
    prompter.fileNames = {csv};
    ImportPricesCommand(*editor);
    EXPECT_EQ(strip(0, 1).prices().Text, "6.19>540^7.49>720");
    EXPECT_EQ(strip(1, 9).prices().Text, "1.99>90^2.49>130");
    EXPECT_EQ(strip(0, 0).prices().Text, "Single^Double");
    EXPECT_TRUE(editor->document().isModified());

    editor->UndoCommand();
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            ASSERT_TRUE(editor->layout().strip(c, r) == before->strip(c, r)) << c << "," << r;
}

TEST_F(PriceListCommands, AStaleListChangesNothingAndSaysWhichLines)
{
    const QString csv = data.file("prices.csv");
    prompter.fileNames = {csv};
    ExportPricesCommand(*editor);
    // Changed on the board since the export.
    test::ChangeBoard(*editor, [](MenuLayout &board) { board.strip(0, 1).prices().Text = "5.49>540^7.49>720"; });
    const auto before = std::make_unique<MenuLayout>(editor->layout());
    QByteArray bytes = read(csv);
    bytes.replace(",Iced Tea,1,1,1.99,90,", ",Iced Tea,1,1,2.09,90,");
    write(csv, bytes);
    const size_t undoBefore = size_t(editor->document().undoSteps());

    prompter.fileNames = {csv};
    ImportPricesCommand(*editor);
    ASSERT_FALSE(prompter.shown.isEmpty());
    EXPECT_TRUE(prompter.shown.back().contains("line 4: column 1, row 2 \"Classic Burger\"")) << prompter.shown.back().toStdString();
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            ASSERT_TRUE(editor->layout().strip(c, r) == before->strip(c, r)) << c << "," << r;
    EXPECT_EQ(size_t(editor->document().undoSteps()), undoBefore);
}

TEST_F(PriceListCommands, CheckBoardFindingsSelectTheirStrip)
{
    const std::vector<BoardFinding> findings = CheckOpenBoard(*editor);
    const auto combo = std::find_if(findings.begin(), findings.end(), [](const BoardFinding &f) {
        return f.kind == FindingKind::PriceWithoutCalories;
    });
    ASSERT_NE(combo, findings.end());
    EXPECT_EQ(combo->text(), "column 1, row 15 \"Combo Meal\": price without a calorie count: 3.00");
    SelectStripOfFinding(*editor, combo->column, combo->row);
    EXPECT_EQ(editor->editMode(), EditMode::Background);
    EXPECT_EQ(editor->backgroundCell(), (CellPosition{0, 14}));
}

} // namespace
} // namespace tavrin
