#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "render/BoardAtOwnScale.h"
#include "document/KeptTvRotation.h"
#include "prices/PriceList.h"
#include "prices/PriceProof.h"
#include "document/SaveOutput.h"
#include "layout/LayoutFileNames.h"
#include "platform/HeadlessGui.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <map>
#include <memory>

namespace tavrin::cli {

namespace {

const char *const kPricesUsage = "usage: tavrin-cli prices export LAYOUT... [-o FILE.csv]\n"
                                 "       tavrin-cli prices apply FILE.csv [--proof FOLDER]";

void PrintLine(const QString &text) { std::printf("%s\n", text.toUtf8().constData()); }

int ExportPrices(const QStringList &arguments)
{
    QStringList layouts;
    QString output;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-o") && i + 1 < arguments.size())
            output = arguments[++i];
        else if (!arguments[i].startsWith(QLatin1Char('-')))
            layouts << arguments[i];
        else
            layouts.clear(), i = arguments.size();
    }
    if (layouts.isEmpty()) {
        PrintFailure(QString::fromLatin1(kPricesUsage));
        return 2;
    }
    std::vector<PriceRow> rows;
    for (const QString &path : layouts) {
        CliBoard board;
        if (!board.open(path))
            return 1;
        const QString absolute = QFileInfo(path).absoluteFilePath();
        for (const PriceEntry &entry : ExtractPriceEntries(board.document().layout()))
            rows.push_back(RowForEntry(absolute, entry));
    }
    const QByteArray csv = WritePriceListCsv(rows);
    if (output.isEmpty()) {
        std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        return 0;
    }
    if (!WriteFileReplacing(output, csv)) {
        PrintFailure(QStringLiteral("Cannot write ") + output);
        return 1;
    }
    return 0;
}

BoardSources SourcesOf(const BoardDocument &document)
{
    BoardSources sources;
    sources.backgroundName = document.backgroundName();
    sources.backgroundImagePath = document.backgroundImagePath();
    sources.workingFolder = document.workingFolder();
    return sources;
}

// Saves the open layout under its own name, as if the user had picked the layout's own package
// in the save dialog. Prints the two files written.
bool SaveUnderOwnNames(CliBoard &board, const QString &layoutPath, const QImage &drawn)
{
    BoardDocument &document = board.document();
    const LayoutFileNames &names = document.names();
    QString chosen = names.layoutFolder + QLatin1Char('/') + names.layoutName;
    if (!names.legacyDocumentName.isEmpty())
        chosen = names.layoutFolder + QLatin1Char('/') + ConvertedPackageName(names.legacyDocumentName);
    const bool whitePrint = document.whitePrint();
    const QString package = PackagePathForChosenName(chosen, whitePrint);
    // A portrait board keeps the turn its TV image was saved with.
    const int rotation = KeptTvRotation(drawn, TvImagePathBeside(package, whitePrint));
    return board.save(package, layoutPath, /*replace=*/true, rotation);
}

bool WriteProof(const BoardAtOwnScale &rendered, const MenuLayout &layout, const std::vector<PriceChange> &changes,
                const QString &folder, const QString &layoutPath)
{
    const QString name = QFileInfo(layoutPath).completeBaseName() + QStringLiteral("_PRICE_PROOF.png");
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(folder);
    if (rendered.board.isNull() || !PriceProofImage(rendered, layout, changes).save(path, "PNG")) {
        PrintFailure(QStringLiteral("Cannot write the proof ") + path);
        return false;
    }
    PrintLine(path);
    return true;
}

int ApplyPrices(const QStringList &arguments)
{
    QString csvPath, proofFolder;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--proof") && i + 1 < arguments.size())
            proofFolder = arguments[++i];
        else if (csvPath.isEmpty() && !arguments[i].startsWith(QLatin1Char('-')))
            csvPath = arguments[i];
        else
            return PrintFailure(QString::fromLatin1(kPricesUsage)), 2;
    }
    if (csvPath.isEmpty()) {
        PrintFailure(QString::fromLatin1(kPricesUsage));
        return 2;
    }
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintFailure(QStringLiteral("Cannot read ") + csvPath);
        return 1;
    }
    const PriceListReading reading = ReadPriceListCsv(file.readAll());
    // A record that cannot be read might belong to any of the layouts: nothing is applied.
    if (!reading.errors.isEmpty()) {
        for (const QString &error : reading.errors)
            PrintFailure(csvPath + QStringLiteral(": ") + error);
        PrintFailure(QStringLiteral("No layout was changed."));
        return 1;
    }
    bool allGood = true;

    // Rows by layout, in the order the list names them; a relative path is taken from the
    // list's folder.
    const QDir csvFolder = QFileInfo(csvPath).absoluteDir();
    QStringList order;
    std::map<QString, std::vector<PriceRow>> rowsByLayout;
    for (const PriceRow &row : reading.rows) {
        const QString path = QDir::cleanPath(csvFolder.absoluteFilePath(row.layout));
        if (!rowsByLayout.count(path))
            order << path;
        rowsByLayout[path].push_back(row);
    }
    for (const QString &path : order) {
        const std::vector<PriceRow> &rows = rowsByLayout[path];
        CliBoard board;
        if (!board.open(path)) {
            for (const PriceRow &row : rows)
                PrintFailure(csvPath + QStringLiteral(": line %1: the layout cannot be opened").arg(row.csvLine));
            allGood = false;
            continue;
        }
        BoardDocument &document = board.document();
        PriceApplication applied;
        document.apply({QStringLiteral("Import Prices")},
                       [&](BoardEdit &edit) { applied = ApplyPriceRows(edit.layout, rows); });
        if (!applied.refused.isEmpty()) {
            for (const QString &why : applied.refused)
                PrintFailure(csvPath + QStringLiteral(": ") + why);
            PrintFailure(path + QStringLiteral(": not changed"));
            allGood = false;
            continue;
        }
        if (applied.changes.empty())
            continue;
        PrintLine(path + QStringLiteral(": %1 price entries changed").arg(applied.changes.size()));
        const BoardAtOwnScale rendered = RenderBoardAtOwnScale(document.layout(), SourcesOf(document), document.whitePrint());
        if (!SaveUnderOwnNames(board, path, rendered.board)) {
            allGood = false;
            continue;
        }
        if (!proofFolder.isEmpty() && !WriteProof(rendered, document.layout(), applied.changes, proofFolder, path))
            allGood = false;
    }
    return allGood ? 0 : 1;
}

} // namespace

// tavrin-cli prices export|apply: price lists of many boards as one spreadsheet, and their
// changes written back.
int PricesCommand(const QStringList &arguments)
{
    // Text is measured and drawn with the system's fonts.
    EnsureGuiApplication();
    if (!arguments.isEmpty() && arguments[0] == QLatin1String("export"))
        return ExportPrices(arguments.mid(1));
    if (!arguments.isEmpty() && arguments[0] == QLatin1String("apply"))
        return ApplyPrices(arguments.mid(1));
    PrintFailure(QString::fromLatin1(kPricesUsage));
    return 2;
}

} // namespace tavrin::cli
