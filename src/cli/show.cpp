#include "cli/cli.h"
#include "cli/json_text.h"
#include "cli/opened_table.h"

#include "document/document.h"
#include "platform/gbk.h"
#include "platform/number_text.h"
#include "table/cell_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace zolm::cli {

namespace {

void printTable(const SurveyTable &table)
{
    const SurveyData &s = table.document().survey();
    const std::vector<int> &rows = table.rowPoints();
    // The table as the program has always printed it, in any language: scripts read it.
    QString out = QStringLiteral("选择");
    for (int col = CheckColumn + 1; col < TableColumnCount; ++col)
        out += QLatin1Char('\t') + QString::fromUtf8(columnHeader(col));
    out += QLatin1Char('\n');
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int point = rows[r];
        out += (s.flags[static_cast<std::size_t>(point)] & PointFlag::Checked) ? QStringLiteral("[x]") : QStringLiteral("[ ]");
        for (int col = CheckColumn + 1; col < TableColumnCount; ++col) {
            out += QLatin1Char('\t');
            out += QString::fromStdString(table.cellText(static_cast<int>(r), col));
        }
        out += QLatin1Char('\n');
    }
    printOut(out);
}

void printJson(const SurveyTable &table)
{
    const SurveyData &s = table.document().survey();
    const std::vector<int> &rows = table.rowPoints();
    QString out = QStringLiteral("{\"probeType\":") + jsonString(QString::fromLatin1(s.parameters.typeString()))
        + QStringLiteral(",\"firstSampleTime\":") + QString::number(s.data.firstSampleTime())
        + QStringLiteral(",\"interval\":") + QString::number(s.data.samplingInterval())
        + QStringLiteral(",\"pointCount\":") + QString::number(s.usablePointCount())
        + QStringLiteral(",\"crew\":") + jsonString(fromGbk(s.header.crewNumber()))
        + QStringLiteral(",\"well\":") + jsonString(fromGbk(s.header.wellNumber()))
        + QStringLiteral(",\"declination\":") + jsonNumber(s.header.declination()) + QStringLiteral(",\"rows\":[");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto p = static_cast<std::size_t>(rows[r]);
        if (r)
            out += QLatin1Char(',');
        out += QStringLiteral("{\"row\":%1,\"point\":%2,\"checked\":%3,\"time\":%4,\"depth\":%5,\"flags\":%6,\"values\":[")
                   .arg(r)
                   .arg(p)
                   .arg((s.flags[p] & PointFlag::Checked) ? QStringLiteral("true") : QStringLiteral("false"))
                   .arg(pointTime(s, static_cast<int>(p)))
                   .arg(jsonNumber(s.depth[p]))
                   .arg(s.flags[p]);
        for (std::size_t k = 0; k < s.values[p].size(); ++k) {
            if (k)
                out += QLatin1Char(',');
            out += jsonNumber(s.values[p][k]);
        }
        out += QStringLiteral("]}");
    }
    out += QStringLiteral("]}\n");
    printOut(out);
}

} // namespace

int runShow(Args &args, const Context &)
{
    const bool json = args.flag("--json");
    const auto view = takeViewOptions(args, "show");
    if (!view)
        return ExitUsage;
    const auto file = args.lastPositional("show");
    if (!file)
        return ExitUsage;

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    applyView(opened, *view);
    if (json)
        printJson(opened.table);
    else
        printTable(opened.table);
    return ExitOk;
}

} // namespace zolm::cli
