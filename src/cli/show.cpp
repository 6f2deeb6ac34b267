#include "cli/cli.h"
#include "cli/opened_table.h"

#include "document/document.h"
#include "platform/gbk.h"
#include "table/cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace zolm::cli {

namespace {

QString jsonNumber(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("null");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
}

QString jsonString(const QString &s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

void printTable(const SurveyTable &table)
{
    const SurveyData &s = table.document().survey();
    const std::vector<int> &rows = table.rowPoints();
    QString out = QStringLiteral("选择\t序号\t时间\t测  深\t井  斜\t磁方位\t重力工具面\t磁性工具面\t磁倾角\t探管温度\t总加速度\t总磁场\n");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int point = rows[r];
        out += (s.flags[static_cast<std::size_t>(point)] & PointFlag::Checked) ? QStringLiteral("[x]") : QStringLiteral("[ ]");
        for (int col = ColPosition; col <= ColTotalField; ++col) {
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
    const auto file = args.positional();
    if (args.reportUsageError("show"))
        return ExitUsage;
    if (!file)
        return usageError(QStringLiteral("show: a .ZLM file is needed"));

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

std::optional<ViewOptions> takeViewOptions(Args &args, const char *command)
{
    ViewOptions v;
    v.reverse = args.flag("--reverse");
    if (const auto mode = args.value("--mode")) {
        v.mode = displayModeFromName(*mode);
        if (!v.mode) {
            usageError(QStringLiteral("%1: --mode takes all, hide-checked or only-checked, not '%2'")
                           .arg(QString::fromUtf8(command), fromArg(*mode)));
            return std::nullopt;
        }
    }
    return v;
}

bool openTable(const std::string &path, OpenedTable &opened)
{
    QString error;
    if (!opened.doc.openFile(fileArg(path), &error)) {
        printErr(error + QLatin1Char('\n'));
        return false;
    }
    if (!opened.doc.openedExactly()) {
        printErr(QStringLiteral("警告：文件“%1”不是完整的测量数据文件（%2），其中的数据可能无意义。\n")
                     .arg(fileArg(path), opened.doc.inexactReason()));
    }
    opened.table.refillTable();
    return true;
}

void applyView(OpenedTable &opened, const ViewOptions &view)
{
    if (view.mode)
        opened.table.showPoints(*view.mode);
    if (view.reverse)
        opened.table.reverseOrder();
}

QString fromArg(const std::string &arg)
{
    return QString::fromLocal8Bit(arg.c_str());
}

QString fileArg(const std::string &arg)
{
    return QString::fromLocal8Bit(arg.c_str());
}

} // namespace zolm::cli
