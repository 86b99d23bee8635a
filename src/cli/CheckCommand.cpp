#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "check/DocumentCheck.h"
#include "platform/HeadlessGui.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

namespace tavrin::cli {

namespace {

const char *const kCheckUsage =
    "usage: tavrin-cli check LAYOUT... [--min-text-height PX] [--viewing-distance M] [--screen-size INCHES]\n"
    "       [--safe-area PCT | --title-safe] [--format text|json]";

void Print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QJsonObject FindingObject(const BoardFinding &finding)
{
    return QJsonObject{{QStringLiteral("kind"), FindingKindName(finding.kind)},
                       {QStringLiteral("column"), finding.column + 1},
                       {QStringLiteral("row"), finding.row + 1},
                       {QStringLiteral("mainItem"), finding.mainItem},
                       {QStringLiteral("message"), finding.message},
                       {QStringLiteral("text"), finding.text()}};
}

} // namespace

// tavrin-cli check LAYOUT...: what would look wrong on the TV. As text, a line per finding
// ("LAYOUT: column C, row R "item": what") and a summary line per board ("LAYOUT: 2 findings
// (...)"); as JSON, one document with a record per board. Exit status 1 when anything is
// reported or a layout cannot be opened.
int CheckCommand(const QStringList &arguments)
{
    // Text is measured and drawn with the system's fonts.
    EnsureGuiApplication();
    QStringList layouts;
    BoardCheckOptions options;
    bool json = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        bool ok = true;
        const auto number = [&](double &into, double low, double high) {
            into = arguments[++i].toDouble(&ok);
            ok = ok && into > low && into < high;
        };
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--min-text-height") && hasValue) {
            number(options.minTextHeight, 0.0, 1e6);
        } else if (argument == QLatin1String("--viewing-distance") && hasValue) {
            number(options.viewingDistanceMetres, 0.0, 1000.0);
        } else if (argument == QLatin1String("--screen-size") && hasValue) {
            number(options.screenDiagonalInches, 0.0, 10000.0);
        } else if (argument == QLatin1String("--safe-area") && hasValue) {
            number(options.safeAreaPercent, -1e-9, 50.0);
        } else if (argument == QLatin1String("--title-safe")) {
            options.safeAreaPercent = kTitleSafePercent;
        } else if (argument == QLatin1String("--format") && hasValue) {
            const QString format = arguments[++i];
            ok = format == QLatin1String("text") || format == QLatin1String("json");
            json = format == QLatin1String("json");
        } else if (!argument.startsWith(QLatin1Char('-'))) {
            layouts << argument;
        } else {
            ok = false;
        }
        if (!ok) {
            PrintFailure(QString::fromLatin1(kCheckUsage));
            return 2;
        }
    }
    if (layouts.isEmpty()) {
        PrintFailure(QString::fromLatin1(kCheckUsage));
        return 2;
    }
    bool anything = false;
    QJsonArray boards;
    for (const QString &path : layouts) {
        CliBoard board;
        if (!board.open(path)) {
            anything = true;
            boards.append(QJsonObject{{QStringLiteral("layout"), path}, {QStringLiteral("opened"), false}});
            continue;
        }
        const std::vector<BoardFinding> findings = CheckBoardDocument(board.document(), options);
        anything = anything || !findings.empty();
        if (json) {
            QJsonArray list;
            QJsonObject counts;
            for (const BoardFinding &finding : findings) {
                list.append(FindingObject(finding));
                const QString kind = FindingKindName(finding.kind);
                counts[kind] = counts.value(kind).toInt() + 1;
            }
            boards.append(QJsonObject{{QStringLiteral("layout"), path},
                                      {QStringLiteral("opened"), true},
                                      {QStringLiteral("findings"), list},
                                      {QStringLiteral("counts"), counts}});
            continue;
        }
        QString text;
        for (const BoardFinding &finding : findings)
            text += path + QStringLiteral(": ") + finding.text() + QLatin1Char('\n');
        text += path + QStringLiteral(": ") + FindingsSummary(findings) + QLatin1Char('\n');
        Print(text);
    }
    if (json)
        Print(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("boards"), boards}}).toJson(QJsonDocument::Indented)));
    return anything ? 1 : 0;
}

} // namespace tavrin::cli
