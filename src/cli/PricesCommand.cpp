#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "render/BoardAtOwnScale.h"
#include "document/KeptTvRotation.h"
#include "prices/PriceList.h"
#include "prices/PriceListFile.h"
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

const char *const kPricesUsage = "usage: tavrin-cli prices export LAYOUT... [-o FILE.csv|FILE.xlsx]\n"
                                 "       tavrin-cli prices apply FILE.csv|FILE.xlsx [--proof FOLDER] [--allow-outside]";

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
    // Layouts are named from the list's folder, so that the list finds them wherever the two go.
    const QString listFolder = output.isEmpty() ? QDir::currentPath() : QFileInfo(output).absolutePath();
    std::vector<PriceRow> rows;
    for (const QString &path : layouts) {
        CliBoard board;
        if (!board.open(path))
            return 1;
        const QString named = ListedLayoutName(listFolder, path);
        if (named.startsWith(QLatin1String("../")))
            PrintLayoutFailure(path, QStringLiteral("warning: the layout is outside the list's folder; applying the "
                                                    "list will need --allow-outside"));
        for (const PriceEntry &entry : ExtractPriceEntries(board.document().layout()))
            rows.push_back(RowForEntry(named, entry));
    }
    if (output.isEmpty()) {
        const QByteArray csv = WritePriceListCsv(rows);
        std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        return 0;
    }
    QString error;
    if (!WritePriceListFile(output, rows, &error)) {
        PrintFailure(output + QStringLiteral(": ") + error);
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
    QString listPath, proofFolder;
    bool allowOutside = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--proof") && i + 1 < arguments.size())
            proofFolder = arguments[++i];
        else if (arguments[i] == QLatin1String("--allow-outside"))
            allowOutside = true;
        else if (listPath.isEmpty() && !arguments[i].startsWith(QLatin1Char('-')))
            listPath = arguments[i];
        else
            return PrintFailure(QString::fromLatin1(kPricesUsage)), 2;
    }
    if (listPath.isEmpty()) {
        PrintFailure(QString::fromLatin1(kPricesUsage));
        return 2;
    }
    const auto nothingChanged = [] {
        PrintFailure(QStringLiteral("No layout was changed."));
        return 1;
    };
    const PriceListReading reading = ReadPriceListFile(listPath);
    // A record that cannot be read might belong to any of the layouts: nothing is applied.
    if (!reading.errors.isEmpty()) {
        for (const QString &error : reading.errors)
            PrintFailure(listPath + QStringLiteral(": ") + error);
        return nothingChanged();
    }

    // Rows by layout, in the order the list names them; each layout is found from the list's
    // folder and must be a package inside it.
    const QString listFolder = QFileInfo(listPath).absolutePath();
    QStringList order;
    std::map<QString, std::vector<PriceRow>> rowsByLayout;
    std::map<QString, ListedLayout> resolved;
    bool refused = false;
    for (const PriceRow &row : reading.rows) {
        auto known = resolved.find(row.layout);
        if (known == resolved.end()) {
            known = resolved.emplace(row.layout, ResolveListedLayout(listFolder, row.layout, allowOutside)).first;
            if (!known->second.refusal.isEmpty()) {
                PrintFailure(listPath + QStringLiteral(": line %1: ").arg(row.listLine) + known->second.refusal);
                refused = true;
            }
        }
        const QString &path = known->second.path;
        if (path.isEmpty())
            continue;
        if (!rowsByLayout.count(path))
            order << path;
        rowsByLayout[path].push_back(row);
    }
    if (refused)
        return nothingChanged();

    // Every layout is opened and its rows checked before any is saved: a list is applied whole
    // or not at all, so that once mended it can be applied again.
    struct Applied {
        QString path;
        std::unique_ptr<CliBoard> board;
        PriceApplication result;
    };
    std::vector<Applied> toSave;
    for (const QString &path : order) {
        const std::vector<PriceRow> &rows = rowsByLayout[path];
        auto board = std::make_unique<CliBoard>();
        if (!board->open(path)) {
            PrintFailure(listPath + QStringLiteral(": line %1: the layout cannot be opened").arg(rows.front().listLine));
            refused = true;
            continue;
        }
        PriceApplication applied;
        board->document().apply({QStringLiteral("Import Prices")},
                                [&](BoardEdit &edit) { applied = ApplyPriceRows(edit.layout, rows); });
        if (!applied.refused.isEmpty()) {
            for (const QString &why : applied.refused)
                PrintFailure(listPath + QStringLiteral(": ") + why);
            refused = true;
            continue;
        }
        if (!applied.changes.empty())
            toSave.push_back({path, std::move(board), std::move(applied)});
    }
    if (refused)
        return nothingChanged();

    bool allGood = true;
    for (Applied &applied : toSave) {
        const BoardDocument &document = applied.board->document();
        PrintLine(applied.path + QStringLiteral(": %1 price entries changed").arg(applied.result.changes.size()));
        const BoardAtOwnScale rendered =
            RenderBoardAtOwnScale(document.layout(), SourcesOf(document), document.whitePrint());
        if (!SaveUnderOwnNames(*applied.board, applied.path, rendered.board)) {
            allGood = false;
            continue;
        }
        if (!proofFolder.isEmpty()
            && !WriteProof(rendered, document.layout(), applied.result.changes, proofFolder, applied.path))
            allGood = false;
        applied.board.reset();
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
