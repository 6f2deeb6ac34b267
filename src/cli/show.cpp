#include "cli/cli.h"

#include "document/document.h"
#include "platform/gbk.h"
#include "table/cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace zolm::cli {

namespace {

// Opens the file as the desktop program does: every point shown, ascending, and a
// declination beyond +-360 taken as 0. Returns the rows (point per row).
bool openAsDesktop(const std::string &path, CNDravikDoc &doc, std::vector<int> &rows)
{
    QString error;
    if (!doc.openFile(QString::fromLocal8Bit(path.c_str()), &error)) {
        printErr(error + QLatin1Char('\n'));
        return false;
    }
    rows.clear();
    SurveyData &s = doc.survey();
    if (!doc.holdsData() || s.pointCount <= 0)
        return true;
    if (std::fabs(s.header.declination()) > 360.0)
        s.header.setDeclination(0.0);
    for (int i = 0; i < s.usablePointCount(); ++i) {
        s.flags[static_cast<std::size_t>(i)] |= PointFlag::Shown;
        rows.push_back(i);
    }
    return true;
}

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

void printTable(const SurveyData &s, const std::vector<int> &rows)
{
    QString out = QStringLiteral("选择\t序号\t时间\t测  深\t井  斜\t磁方位\t重力工具面\t磁性工具面\t磁倾角\t探管温度\t总加速度\t总磁场\n");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int point = rows[r];
        out += (s.flags[static_cast<std::size_t>(point)] & PointFlag::Checked) ? QStringLiteral("[x]") : QStringLiteral("[ ]");
        for (int col = ColPosition; col <= ColTotalField; ++col) {
            out += QLatin1Char('\t');
            out += QString::fromStdString(cellText(s, static_cast<int>(r), point, col));
        }
        out += QLatin1Char('\n');
    }
    printOut(out);
}

void printJson(const SurveyData &s, const std::vector<int> &rows)
{
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
    const auto file = args.positional();
    if (args.reportUsageError("show"))
        return ExitUsage;
    if (!file)
        return usageError(QStringLiteral("show: a .ZLM file is needed"));

    CNDravikDoc doc;
    std::vector<int> rows;
    if (!openAsDesktop(*file, doc, rows))
        return ExitFailed;
    if (json)
        printJson(doc.survey(), rows);
    else
        printTable(doc.survey(), rows);
    return ExitOk;
}

} // namespace zolm::cli
