#include "prices/PriceList.h"
#include "prices/PriceListFile.h"
#include "editor/PriceListCommands.h"
#include "editor/BoardCheckCommands.h"
#include "SampleBoardFixture.h"

#include <QFile>

#include <sys/stat.h>

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

TEST_F(PriceListCommands, TheImportChangesTheOpenBoardOnlyWhateverTheListNames)
{
    // A workbook list made elsewhere: it names the board by a path of another computer and a
    // layout of another folder here.
    const QString xlsx = data.file("prices.xlsx");
    prompter.fileNames = {xlsx};
    ExportPricesCommand(*editor);
    ASSERT_TRUE(read(xlsx).startsWith("PK"));
    PriceListReading list = ReadPriceListFile(xlsx);
    ASSERT_TRUE(list.errors.isEmpty()) << list.errors.join("; ").toStdString();
    EXPECT_EQ(list.rows.front().layout, "sample/Menu_LAYOUT.MARBIX");
    std::vector<PriceRow> rows;
    for (PriceRow row : list.rows) {
        row.layout = "C:\\Menus\\Menu_LAYOUT.MARBIX";
        if (row.mainItem == "Classic Burger" && row.entry == 1)
            row.price = "6.5";
        rows.push_back(row);
        PriceRow elsewhere = row;
        elsewhere.layout = "../victim/Other_LAYOUT.MARBIX";
        elsewhere.price = "99";
        rows.push_back(elsewhere);
    }
    QString error;
    ASSERT_TRUE(WritePriceListFile(xlsx, rows, &error)) << error.toStdString();
    prompter.fileNames = {xlsx};
    ImportPricesCommand(*editor);
    EXPECT_EQ(strip(0, 1).prices().Text, "6.50>540^7.49>720");
    EXPECT_EQ(prompter.shown.back(), "1 price entries changed.");

    // Neither a device nor a pipe is read, and nothing waits on them.
    const QString fifo = data.file("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {QString("/dev/zero"), fifo}) {
        prompter.fileNames = {path};
        ImportPricesCommand(*editor);
        EXPECT_TRUE(prompter.shown.back().contains("not a regular file")) << prompter.shown.back().toStdString();
    }
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
