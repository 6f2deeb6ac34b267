// zolm-cli stations: the stops of a multi-shot run, listed, and with --apply one shot of each
// ticked and every other shot unticked, saved as edit saves.
#include "cli/cli.h"
#include "cli/json_text.h"
#include "cli/opened_table.h"

#include "analysis/shot_time.h"
#include "analysis/stops.h"
#include "platform/number_text.h"

#include <cmath>

namespace zolm::cli {

namespace {

QString fixed(double v, int decimals)
{
    return std::isfinite(v) ? QString::fromStdString(formatDecimals(v, decimals)) : QStringLiteral("-");
}

// --name NUMBER into `target`; absent leaves the default. False (printed) when not a number.
bool takeLimit(Args &args, const char *name, double &target)
{
    const auto text = args.value(name);
    if (!text)
        return true;
    const auto v = parseNumber(*text);
    if (!v) {
        usageError(
            QCoreApplication::translate("zolm-cli", "stations：%1 应为一个数，而不是“%2”").arg(QString::fromUtf8(name), fromArg(*text)));
        return false;
    }
    target = *v;
    return true;
}

// The list is data, its heading and summary included: not translated.
QString listText(const std::vector<Stop> &stops, int points)
{
    QString s = QStringLiteral("测站\t测点\t点数\t开始\t结束\t时长(秒)\t代表点\t井斜\t方位\t总加速度\t总磁场\t"
                               "井斜极差\t方位极差\t总加速度极差\t总磁场极差\n");
    int inStops = 0;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        const Stop &st = stops[k];
        inStops += st.shotCount();
        s += QStringLiteral("%1\t%2-%3\t%4\t%5\t%6\t%7\t%8\t")
                 .arg(k + 1)
                 .arg(st.firstPoint)
                 .arg(st.lastPoint)
                 .arg(st.shotCount())
                 .arg(elapsedText(st.startTime), elapsedText(st.endTime))
                 .arg(st.duration())
                 .arg(st.representative);
        s += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\n")
                 .arg(fixed(st.median.inclination, 2), fixed(st.median.azimuth, 2), fixed(st.median.gravity, 4),
                      fixed(st.median.field, 4), fixed(st.spread.inclination, 2), fixed(st.spread.azimuth, 2),
                      fixed(st.spread.gravity, 4), fixed(st.spread.field, 4));
    }
    s += QStringLiteral("summary: %1 stops, %2 of %3 shots resting, %4 moving\n")
             .arg(stops.size())
             .arg(inStops)
             .arg(points)
             .arg(points - inStops);
    return s;
}

QString valuesJson(const StopValues &v)
{
    return QStringLiteral("\"inclination\":%1,\"azimuth\":%2,\"gtotal\":%3,\"btotal\":%4")
        .arg(jsonNumber(v.inclination), jsonNumber(v.azimuth), jsonNumber(v.gravity), jsonNumber(v.field));
}

QString listJson(const std::vector<Stop> &stops, int points, const StopTolerance &t)
{
    QString s = QStringLiteral("{\"tolerance\":{\"inclination\":%1,\"azimuth\":%2,\"gtotal\":%3,\"btotal\":%4,"
                               "\"minDuration\":%5,\"minInclinationForAzimuth\":%6},\"stops\":[")
                    .arg(jsonNumber(t.inclination), jsonNumber(t.azimuth), jsonNumber(t.gravity), jsonNumber(t.field),
                         jsonNumber(t.minDuration), jsonNumber(t.minInclinationForAzimuth));
    int inStops = 0;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        const Stop &st = stops[k];
        inStops += st.shotCount();
        if (k)
            s += QLatin1Char(',');
        s += QStringLiteral("{\"first\":%1,\"last\":%2,\"shots\":%3,\"start\":%4,\"end\":%5,\"duration\":%6,"
                            "\"representative\":%7,")
                 .arg(st.firstPoint)
                 .arg(st.lastPoint)
                 .arg(st.shotCount())
                 .arg(st.startTime)
                 .arg(st.endTime)
                 .arg(st.duration())
                 .arg(st.representative);
        s += valuesJson(st.median) + QStringLiteral(",\"spread\":{") + valuesJson(st.spread) + QStringLiteral("}}");
    }
    s += QStringLiteral("],\"summary\":{\"points\":%1,\"stops\":%2,\"resting\":%3,\"moving\":%4}}\n")
             .arg(points)
             .arg(stops.size())
             .arg(inStops)
             .arg(points - inStops);
    return s;
}

} // namespace

int runStations(Args &args, const Context &)
{
    const bool apply = args.flag("--apply");
    const bool json = args.flag("--json");
    const auto out = args.value("-o");
    const bool force = args.flag("--force");
    StopTolerance t;
    if (!takeLimit(args, "--inc-tol", t.inclination) || !takeLimit(args, "--azi-tol", t.azimuth)
        || !takeLimit(args, "--g-tol", t.gravity) || !takeLimit(args, "--b-tol", t.field)
        || !takeLimit(args, "--min-duration", t.minDuration)
        || !takeLimit(args, "--azi-min-inc", t.minInclinationForAzimuth))
        return ExitUsage;
    const auto file = args.lastPositional("stations");
    if (!file)
        return ExitUsage;
    if ((out || force) && !apply)
        return usageError(QCoreApplication::translate("zolm-cli", "stations：-o 和 --force 只与 --apply 一起用"));
    if (const Done checked = checkStopTolerance(t); !checked)
        return fail(checked.error().retold(QCoreApplication::translate("zolm-cli", "stations：%1").arg(checked.error().message)));

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    if (apply && refuseOverwrite(opened, *file, out.has_value(), force))
        return ExitFailed;
    const SurveyData &survey = opened.doc.survey();
    const int points = survey.usablePointCount();
    const std::vector<Stop> stops = findStops(survey, t);

    if (apply) {
        // Unticking everything for no station would only lose the ticks there were.
        if (stops.empty()) {
            return fail(makeError(ErrorCode::Missing,
                                  QCoreApplication::translate("StationsCommand", "%1 中没有找到测站，未修改。").arg(fileArg(*file))));
        }
        // The session took the site at the open (a site file beside an older survey moves into
        // it with this save); a broken one is named here.
        openedSite(opened);
        const std::vector<bool> checks = stopChecks(survey, stops);
        for (int p = 0; p < points; ++p)
            opened.table.setPointChecked(p, checks[static_cast<std::size_t>(p)]);
        if (!saveOpened(opened, out ? *out : *file))
            return ExitFailed;
        // The survey itself went to standard output.
        if (out && *out == "-")
            return ExitOk;
    }
    printOut(json ? listJson(stops, points, t) : listText(stops, points));
    return ExitOk;
}

} // namespace zolm::cli
