#include "output/trajectory_formats.h"

#include "output/json_text.h"
#include "platform/number_text.h"

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <cstring>

namespace zolm {

namespace {

std::optional<QByteArray> writeText(const TrajectoryReportData &data, const TrajectoryFileOptions &)
{
    return trajectoryText(data.trajectory);
}

std::optional<QByteArray> writeJson(const TrajectoryReportData &data, const TrajectoryFileOptions &)
{
    return trajectoryJson(data.trajectory);
}

std::optional<QByteArray> writeCsv(const TrajectoryReportData &data, const TrajectoryFileOptions &options)
{
    // The facts as comments first, for readers that skip them; the column line stays as it is.
    return (options.csvFacts ? trajectoryCsvComments(data) : QByteArray()) + trajectoryCsv(data.trajectory);
}

std::optional<QByteArray> writeLas(const TrajectoryReportData &data, const TrajectoryFileOptions &)
{
    return trajectoryLas(data);
}

std::optional<QByteArray> writePdf(const TrajectoryReportData &data, const TrajectoryFileOptions &)
{
    QByteArray bytes = trajectoryReportPdf(data);
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

// The window's texts, translated by the trajectory window, and zolm-cli's, by zolm-cli (spelt
// out: lupdate reads only the translation macros themselves).
// clang-format off
constexpr TrajectoryFormat Formats[]{
    {"",     false, false, nullptr, nullptr,
     nullptr, false, nullptr, nullptr, nullptr, nullptr, writeText},
    {"json", false, false, QT_TRANSLATE_NOOP("zolm-cli", "其他格式"), nullptr,
     nullptr, false, nullptr, nullptr, nullptr, nullptr, writeJson},
    {"csv",  false, false, QT_TRANSLATE_NOOP("zolm-cli", "其他格式"), "[--meta]",
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "导出CSV..."), false, QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "导出轨迹 CSV"),
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "CSV 文件 (*.csv);;所有文件 (*.*)"), "csv", "trajectory.csv", writeCsv},
    {"las",  false, false, QT_TRANSLATE_NOOP("zolm-cli", "其他格式"), nullptr,
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "导出LAS..."), false, QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "导出轨迹 LAS"),
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "LAS 文件 (*.las);;所有文件 (*.*)"), "las", "trajectory.las", writeLas},
    {"pdf",  true,  true,  QT_TRANSLATE_NOOP("zolm-cli", "测量报告（需要 -o）：井场中的人员和地点、质量检查及其磁场标定\n"
                                                         "系数、警告、签字栏"), nullptr,
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "测斜报告另存为PDF..."), true, QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "测斜报告另存为PDF"),
     QT_TRANSLATE_NOOP("zolm::app::TrajectoryWindow", "PDF 文件 (*.pdf);;所有文件 (*.*)"), "pdf", "survey-report.pdf", writePdf},
};
// clang-format on

} // namespace

std::span<const TrajectoryFormat> trajectoryFormats()
{
    return Formats;
}

const TrajectoryFormat *trajectoryFormat(const char *name)
{
    for (const TrajectoryFormat &f : Formats)
        if (std::strcmp(f.name, name) == 0)
            return &f;
    return nullptr;
}

QString fixedOrNan(double v, int decimals)
{
    return std::isfinite(v) ? QString::fromStdString(formatDecimals(v, decimals)) : QStringLiteral("nan");
}

QByteArray trajectoryText(const Trajectory &t)
{
    QString s = QStringLiteral("点号\t测深\t井斜\t真方位\t垂深\t北\t东\t视平移\t狗腿度\n");
    for (const TrajectoryStation &st : t.stations) {
        s += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
                 .arg(st.point)
                 .arg(fixedOrNan(st.md, 2), fixedOrNan(st.inclination, 2), fixedOrNan(st.azimuth, 2), fixedOrNan(st.tvd, 2),
                      fixedOrNan(st.north, 2), fixedOrNan(st.east, 2), fixedOrNan(st.verticalSection, 2), fixedOrNan(st.dls, 2));
    }
    return s.toUtf8();
}

QByteArray trajectoryJson(const Trajectory &t)
{
    QString s = QStringLiteral("{\"declination\":%1,\"verticalSectionAzimuth\":%2,\"tieIn\":{\"md\":%3,"
                               "\"inclination\":%4,\"azimuth\":%5,\"tvd\":%6,\"north\":%7,\"east\":%8},\"stations\":[")
                    .arg(jsonNumber(t.declination), jsonNumber(t.verticalSectionAzimuth), jsonNumber(t.tieIn.md),
                         jsonNumber(t.tieIn.inclination), jsonNumber(t.tieIn.azimuth), jsonNumber(t.tieIn.tvd),
                         jsonNumber(t.tieIn.north), jsonNumber(t.tieIn.east));
    for (std::size_t i = 0; i < t.stations.size(); ++i) {
        const TrajectoryStation &st = t.stations[i];
        if (i)
            s += QLatin1Char(',');
        s += QStringLiteral("{\"point\":%1,\"md\":%2,\"inclination\":%3,\"azimuth\":%4,\"tvd\":%5,\"north\":%6,"
                            "\"east\":%7,\"verticalSection\":%8,\"dls\":%9,")
                 .arg(st.point)
                 .arg(jsonNumber(st.md), jsonNumber(st.inclination), jsonNumber(st.azimuth), jsonNumber(st.tvd),
                      jsonNumber(st.north), jsonNumber(st.east), jsonNumber(st.verticalSection), jsonNumber(st.dls));
        s += QStringLiteral("\"closureDistance\":%1,\"closureAzimuth\":%2}")
                 .arg(jsonNumber(st.closureDistance), jsonNumber(st.closureAzimuth));
    }
    s += QStringLiteral("],\"skipped\":[");
    for (std::size_t i = 0; i < t.skipped.size(); ++i) {
        if (i)
            s += QLatin1Char(',');
        s += QStringLiteral("{\"point\":%1,\"reason\":%2}").arg(t.skipped[i].point).arg(jsonString(skipReasonText(t.skipped[i])));
    }
    s += QStringLiteral("]}\n");
    return s.toUtf8();
}

} // namespace zolm
