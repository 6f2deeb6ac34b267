// zolm-cli's survey analysis: geomag, site, qc, trajectory, and edit's declination from the
// site.
#include "cli/cli.h"
#include "cli/json_text.h"
#include "platform/output_file.h"
#include "cli/opened_table.h"

#include "analysis/field_scale.h"
#include "analysis/geomagnetic.h"
#include "analysis/qc.h"
#include "analysis/site.h"
#include "analysis/site_block.h"
#include "analysis/survey_warnings.h"
#include "analysis/trajectory.h"
#include "output/report.h"
#include "output/trajectory_report.h"
#include "platform/gbk.h"
#include "platform/number_text.h"
#include "platform/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zolm::cli {

namespace {

// A finite number, the whole argument ("+" allowed); anything else is a usage error.
std::optional<double> parseNumber(const std::string &text)
{
    const char *b = text.data();
    const char *e = b + text.size();
    if (b != e && *b == '+')
        ++b;
    double v = 0;
    const auto r = std::from_chars(b, e, v);
    if (b == e || r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<QDate> parseDate(const std::string &text)
{
    const QString s = QString::fromStdString(text);
    const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (s.size() != 10 || !d.isValid())
        return std::nullopt;
    return d;
}

QString fixed(double v, int decimals)
{
    return std::isfinite(v) ? QString::fromStdString(formatDecimals(v, decimals)) : QStringLiteral("nan");
}

int failed(const QString &message)
{
    printErr(message + QLatin1Char('\n'));
    return ExitFailed;
}

// What the option's value must be, for the usage message.
struct NumberOption {
    const char *name;
    std::optional<double> value;
};

// Reads --name as a number: absent is fine, present and not a number is a usage error.
bool takeNumber(Args &args, const char *command, NumberOption &option)
{
    const auto text = args.value(option.name);
    if (!text)
        return true;
    option.value = parseNumber(*text);
    if (!option.value) {
        usageError(QStringLiteral("%1: %2 takes a number, not '%3'")
                       .arg(QString::fromUtf8(command), QString::fromUtf8(option.name), fromArg(*text)));
        return false;
    }
    return true;
}

// --field-scale X, for the commands that judge QC: above 0 and within the site's limit.
bool fieldScaleInRange(const char *command, const NumberOption &scale)
{
    if (!scale.value || (*scale.value > 0 && *scale.value <= SiteRange::MaxFieldScale))
        return true;
    printErr(QStringLiteral("%1: --field-scale must be above 0 and at most %2\n")
                 .arg(QString::fromUtf8(command))
                 .arg(SiteRange::MaxFieldScale, 0, 'f', 0));
    return false;
}

// The scale a judgement uses (chooseFieldScale), with this computer's memory of the probes.
FieldScaleChoice fieldScaleFor(const NumberOption &given, const std::optional<Site> &site, const SurveyData &survey,
                               const Context &ctx)
{
    SettingsStore store(ctx.settingsFile);
    return chooseFieldScale(given.value, site, survey, &store);
}

// --dls-limit DEG: above 0 and at most what a site may hold.
bool dogLegLimitInRange(const char *command, const NumberOption &limit)
{
    if (!limit.value || (*limit.value > 0 && *limit.value <= SiteRange::MaxDogLegLimit))
        return true;
    printErr(QStringLiteral("%1: --dls-limit must be above 0 and at most %2\n")
                 .arg(QString::fromUtf8(command))
                 .arg(SiteRange::MaxDogLegLimit, 0, 'f', 0));
    return false;
}

// What to look at before trusting the path, on stderr: the data on stdout stays as it is.
void printWarnings(const SurveyData &survey, const Trajectory &trajectory, const std::optional<Site> &site,
                   const NumberOption &limit)
{
    QString text;
    for (const QString &line : surveyWarningLines(survey, trajectory, site, limit.value))
        text += QCoreApplication::translate("AnalysisCommands", "警告：%1\n").arg(line);
    if (!text.isEmpty())
        printErr(text);
}

// -o OUT as every command writes it; without -o, stdout.
bool writeOutput(const std::optional<std::string> &out, const QByteArray &bytes, QString *error)
{
    const QString path = out ? fileArg(*out) : QStringLiteral("-");
    QString why;
    if (zolm::writeOutput(path, bytes, &why))
        return true;
    *error = path == QLatin1String("-") ? QStringLiteral("无法写入标准输出")
                                        : QStringLiteral("无法写入文件 %1：%2").arg(path, why);
    return false;
}

QString fieldLines(const GeomagneticField &f, bool all)
{
    QString s = QStringLiteral("model: %1\n").arg(QString::fromLatin1(f.model));
    if (all)
        s += QStringLiteral("decimalYear: %1\n").arg(fixed(f.decimalYear, 4));
    s += QStringLiteral("declination: %1\ninclination: %2\ntotalIntensity: %3\n")
             .arg(fixed(f.declination, 4), fixed(f.inclination, 4), fixed(f.total, 1));
    if (all)
        s += QStringLiteral("horizontalIntensity: %1\nnorth: %2\neast: %3\ndown: %4\n")
                 .arg(fixed(f.horizontal, 1), fixed(f.north, 1), fixed(f.east, 1), fixed(f.down, 1));
    return s;
}

QString siteLines(const Site &site, const GeomagneticField &field)
{
    QString s = QStringLiteral("latitude: %1\nlongitude: %2\nheight: %3\ndate: %4\n")
                    .arg(jsonNumber(site.latitude), jsonNumber(site.longitude), jsonNumber(site.height),
                         site.date.toString(QStringLiteral("yyyy-MM-dd")));
    if (site.verticalSectionAzimuth)
        s += QStringLiteral("verticalSectionAzimuth: %1\n").arg(jsonNumber(*site.verticalSectionAzimuth));
    if (site.fieldScale)
        s += QStringLiteral("fieldScale: %1\n").arg(jsonNumber(*site.fieldScale));
    if (site.dogLegLimit)
        s += QStringLiteral("dogLegLimit: %1\n").arg(jsonNumber(*site.dogLegLimit));
    if (site.probeStart)
        s += QStringLiteral("probeStart: %1\n").arg(probeStartText(*site.probeStart));
    for (const SiteTextField &f : siteTextFields()) {
        if (!(site.*f.member).isEmpty())
            s += QStringLiteral("%1: %2\n").arg(QString::fromLatin1(f.key), site.*f.member);
    }
    return s + fieldLines(field, false);
}

} // namespace

int runGeomag(Args &args, const Context &)
{
    NumberOption lat{"--lat", {}}, lon{"--lon", {}}, height{"--height", {}};
    const bool json = args.flag("--json");
    const auto dateText = args.value("--date");
    if (!takeNumber(args, "geomag", lat) || !takeNumber(args, "geomag", lon) || !takeNumber(args, "geomag", height))
        return ExitUsage;
    if (args.reportUsageError("geomag"))
        return ExitUsage;
    if (!lat.value || !lon.value)
        return usageError(QStringLiteral("geomag: --lat and --lon are needed"));
    QDate date = QDate::currentDate();
    if (dateText) {
        const auto d = parseDate(*dateText);
        if (!d)
            return usageError(QStringLiteral("geomag: --date takes YYYY-MM-DD, not '%1'").arg(fromArg(*dateText)));
        date = *d;
    }
    QString why;
    const auto f = geomagneticField({*lat.value, *lon.value, height.value.value_or(0.0)}, decimalYear(date), &why);
    if (!f)
        return failed(QStringLiteral("geomag: ") + why);
    if (!json) {
        printOut(fieldLines(*f, true));
        return ExitOk;
    }
    printOut(QStringLiteral("{\"model\":%1,\"decimalYear\":%2,\"declination\":%3,\"inclination\":%4,"
                            "\"totalIntensity\":%5,\"horizontalIntensity\":%6,\"north\":%7,\"east\":%8,\"down\":%9}\n")
                 .arg(jsonString(QString::fromLatin1(f->model)), jsonNumber(f->decimalYear), jsonNumber(f->declination),
                      jsonNumber(f->inclination), jsonNumber(f->total), jsonNumber(f->horizontal),
                      jsonNumber(f->north), jsonNumber(f->east), jsonNumber(f->down)));
    return ExitOk;
}

int runSite(Args &args, const Context &ctx)
{
    NumberOption lat{"--lat", {}}, lon{"--lon", {}}, height{"--height", {}}, vs{"--vs-azimuth", {}};
    NumberOption judgeScale{"--field-scale", {}}, setScale{"--set-field-scale", {}};
    const bool clear = args.flag("--clear");
    const bool calibrate = args.flag("--calibrate-field-scale");
    const auto dateText = args.value("--date");
    const auto out = args.value("-o");
    const bool force = args.flag("--force");
    // The probe's start clock time and the dog-leg limit; an empty value removes one.
    const auto startText = args.value("--start-time");
    const auto dlsText = args.value("--dls-limit");
    std::vector<std::pair<const SiteTextField *, QString>> texts;
    for (const SiteTextField &f : siteTextFields()) {
        if (const auto text = args.value(f.option))
            texts.emplace_back(&f, fromArg(*text));
    }
    if (!takeNumber(args, "site", lat) || !takeNumber(args, "site", lon) || !takeNumber(args, "site", height)
        || !takeNumber(args, "site", vs) || !takeNumber(args, "site", judgeScale) || !takeNumber(args, "site", setScale))
        return ExitUsage;
    const auto file = args.lastPositional("site");
    if (!file)
        return ExitUsage;
    std::optional<QDateTime> start;
    if (startText && !startText->empty()) {
        start = parseProbeStart(fromArg(*startText));
        if (!start)
            return usageError(QStringLiteral("site: --start-time takes \"YYYY-MM-DD HH:MM:SS\", not '%1'").arg(fromArg(*startText)));
    }
    std::optional<double> dls;
    if (dlsText && !dlsText->empty()) {
        dls = parseNumber(*dlsText);
        if (!dls)
            return usageError(QStringLiteral("site: --dls-limit takes a number, not '%1'").arg(fromArg(*dlsText)));
    }
    const bool newSite = lat.value || lon.value || dateText || height.value;
    const bool change = newSite || vs.value || !texts.empty() || calibrate || setScale.value || startText || dlsText;
    if (clear && (change || judgeScale.value))
        return usageError(QStringLiteral("site: --clear takes no other option than -o and --force"));
    if (calibrate && setScale.value)
        return usageError(QStringLiteral("site: --calibrate-field-scale and --set-field-scale each take the place of the other"));
    if (!fieldScaleInRange("site", judgeScale))
        return ExitFailed;
    if ((out || force) && !change && !clear)
        return usageError(QStringLiteral("site: -o and --force go with a change of the site"));
    if (newSite && (!lat.value || !lon.value || !dateText))
        return usageError(QStringLiteral("site: a new site needs --lat, --lon and --date"));
    std::optional<QDate> date;
    if (dateText) {
        date = parseDate(*dateText);
        if (!date)
            return usageError(QStringLiteral("site: --date takes YYYY-MM-DD, not '%1'").arg(fromArg(*dateText)));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    // The site is part of the survey: changing it rewrites the survey, as edit does.
    if ((change || clear) && refuseOverwrite(opened, *file, out.has_value(), force))
        return ExitFailed;
    const std::optional<Site> stored = openedSite(opened, *file);
    SurveyHeader &header = opened.doc.survey().header;
    if (clear) {
        setSurveySite(header, std::nullopt);
        return saveOpened(opened, out ? *out : *file) ? ExitOk : ExitFailed;
    }
    if (!stored && !newSite)
        return failed(QCoreApplication::translate("SiteCommand", "%1 没有井场").arg(fileArg(*file)));
    // A new position and date keep the rest of a stored site (its texts, its field scale).
    Site site = stored.value_or(Site{});
    if (newSite) {
        site.latitude = *lat.value;
        site.longitude = *lon.value;
        site.height = height.value.value_or(0.0);
        site.date = *date;
    }
    if (vs.value)
        site.verticalSectionAzimuth = vs.value;
    for (const auto &[field, text] : texts)
        site.*field->member = text;
    if (startText)
        site.probeStart = start;
    if (dlsText)
        site.dogLegLimit = dls;
    if (setScale.value)
        site.fieldScale = setScale.value;
    if (const auto why = checkSite(site))
        return failed(QStringLiteral("site: ") + *why);
    // Against the site as it now stands (a new position and date count).
    std::optional<FieldScaleCalibration> calibration;
    if (calibrate) {
        QString why;
        calibration = calibrateFieldScale(opened.doc.survey(), site, &why);
        if (!calibration)
            return failed(QStringLiteral("site: ") + why);
        site.fieldScale = calibration->scale;
    }
    if (change) {
        setSurveySite(header, site);
        if (!saveOpened(opened, out ? *out : *file))
            return ExitFailed;
        // The probe's next survey starts with the scale set here.
        if (calibrate || setScale.value) {
            SettingsStore store(ctx.settingsFile);
            const QString probe = surveyProbeNumber(opened.doc.survey());
            if (!rememberFieldScale(store, probe, *site.fieldScale)) {
                printErr(probe.isEmpty() ? QCoreApplication::translate("SiteCommand", "测量数据中没有探管编号，标定系数只存入了本次测量\n")
                                         : QCoreApplication::translate("SiteCommand", "无法在本机记录探管 %1 的标定系数\n").arg(probe));
            }
        }
        // The survey itself went to standard output.
        if (out && *out == "-")
            return ExitOk;
    }
    const GeomagneticField field = *siteField(site);
    QString text = siteLines(site, field);
    if (calibration) {
        text += QStringLiteral("calibrationShots: %1 (%2)\ncalibrationMeasured: %3\ncalibrationModel: %4\n")
                    .arg(calibration->shots)
                    .arg(calibration->fromChecked ? QStringLiteral("checked") : QStringLiteral("shown"),
                         fixed(calibration->measured, 6), fixed(calibration->model, 6));
    }
    // What QC compares the total field with, and which scale made it.
    const FieldScaleChoice scale = fieldScaleFor(judgeScale, site, opened.doc.survey(), ctx);
    text += QStringLiteral("qcFieldScale: %1\nqcFieldScaleSource: %2\nqcTotalField: %3\n")
                .arg(jsonNumber(scale.scale), QString::fromLatin1(fieldScaleSourceName(scale.source)),
                     fixed(siteReference(field, scale.scale).field, 6));
    printOut(text);
    return ExitOk;
}

int runQc(Args &args, const Context &ctx)
{
    NumberOption gTol{"--g-tol", {}}, bTol{"--b-tol", {}}, dipTol{"--dip-tol", {}}, scale{"--field-scale", {}};
    NumberOption dlsLimit{"--dls-limit", {}};
    const bool json = args.flag("--json");
    const bool noSite = args.flag("--no-site");
    if (!takeNumber(args, "qc", gTol) || !takeNumber(args, "qc", bTol) || !takeNumber(args, "qc", dipTol)
        || !takeNumber(args, "qc", scale) || !takeNumber(args, "qc", dlsLimit))
        return ExitUsage;
    const auto file = args.lastPositional("qc");
    if (!file)
        return ExitUsage;
    QcTolerance tolerance;
    tolerance.gravity = gTol.value.value_or(tolerance.gravity);
    tolerance.field = bTol.value.value_or(tolerance.field);
    tolerance.dip = dipTol.value.value_or(tolerance.dip);
    if (tolerance.gravity < 0 || tolerance.gravity > 1)
        return failed(QStringLiteral("qc: --g-tol must lie between 0 and 1"));
    if (tolerance.field < 0 || tolerance.field > 1000000)
        return failed(QStringLiteral("qc: --b-tol must lie between 0 and 1000000"));
    if (tolerance.dip < 0 || tolerance.dip > 90)
        return failed(QStringLiteral("qc: --dip-tol must lie between 0 and 90"));
    if (!fieldScaleInRange("qc", scale) || !dogLegLimitInRange("qc", dlsLimit))
        return ExitFailed;

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    // --no-site changes QC's reference only: the warnings still judge against the site.
    const std::optional<Site> fileSite = openedSite(opened, *file);
    const std::optional<Site> site = noSite ? std::nullopt : fileSite;
    const SurveyData &survey = opened.doc.survey();
    {
        TrajectoryOptions options;
        if (fileSite)
            options.verticalSectionAzimuth = fileSite->verticalSectionAzimuth;
        printWarnings(survey, computeTrajectory(survey, options), fileSite, dlsLimit);
    }
    const FieldScaleChoice fieldScale = fieldScaleFor(scale, site, survey, ctx);
    const QcReference reference = site ? siteReference(*siteField(*site), fieldScale.scale) : medianReference(survey);
    const QcResult r = zolm::runQc(survey, reference, tolerance);

    QString out;
    if (!json) {
        for (const QcPoint &q : r.points) {
            out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
                       .arg(q.point)
                       .arg(q.pass() ? QStringLiteral("pass") : QStringLiteral("fail"),
                            fixed(q.gravity, 5), fixed(q.dGravity, 5), fixed(q.field, 5), fixed(q.dField, 5),
                            fixed(q.dip, 4), fixed(q.dDip, 4), failedNames(q.failed).join(QLatin1Char(',')));
        }
        out += QStringLiteral("summary: %1 points, %2 passed, %3 failed; checked: %4 passed, %5 failed\n")
                   .arg(r.points.size())
                   .arg(r.passed)
                   .arg(r.failedCount)
                   .arg(r.checkedPassed)
                   .arg(r.checkedFailed);
        printOut(out);
        return ExitOk;
    }
    out = QStringLiteral("{\"reference\":{\"source\":\"%1\",\"gtotal\":%2,\"btotal\":%3,\"dip\":%4,"
                         "\"fieldScale\":%5,\"fieldScaleSource\":\"%6\"},"
                         "\"tolerance\":{\"gtotal\":%7,\"btotal\":%8,\"dip\":%9},\"points\":[")
              .arg(reference.source == QcReference::Source::Site ? QStringLiteral("site") : QStringLiteral("median"),
                   jsonNumber(reference.gravity), jsonNumber(reference.field), jsonNumber(reference.dip),
                   jsonNumber(fieldScale.scale), QString::fromLatin1(fieldScaleSourceName(fieldScale.source)),
                   jsonNumber(tolerance.gravity), jsonNumber(tolerance.field), jsonNumber(tolerance.dip));
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const QcPoint &q = r.points[i];
        QStringList names = failedNames(q.failed);
        for (QString &n : names)
            n = jsonString(n);
        if (i)
            out += QLatin1Char(',');
        out += QStringLiteral("{\"point\":%1,\"checked\":%2,\"gtotal\":%3,\"btotal\":%4,\"dip\":%5,\"dGtotal\":%6,"
                              "\"dBtotal\":%7,\"dDip\":%8,\"pass\":%9,")
                   .arg(q.point)
                   .arg(q.checked ? QStringLiteral("true") : QStringLiteral("false"), jsonNumber(q.gravity),
                        jsonNumber(q.field), jsonNumber(q.dip), jsonNumber(q.dGravity), jsonNumber(q.dField),
                        jsonNumber(q.dDip), q.pass() ? QStringLiteral("true") : QStringLiteral("false"));
        out += QStringLiteral("\"failed\":[%1]}").arg(names.join(QLatin1Char(',')));
    }
    out += QStringLiteral("],\"summary\":{\"points\":%1,\"passed\":%2,\"failed\":%3,\"checkedPassed\":%4,"
                          "\"checkedFailed\":%5}}\n")
               .arg(r.points.size())
               .arg(r.passed)
               .arg(r.failedCount)
               .arg(r.checkedPassed)
               .arg(r.checkedFailed);
    printOut(out);
    return ExitOk;
}

int runTrajectory(Args &args, const Context &ctx)
{
    const bool json = args.flag("--json");
    const bool csv = args.flag("--csv");
    const bool las = args.flag("--las");
    const bool pdf = args.flag("--pdf");
    const bool meta = args.flag("--meta");
    const auto out = args.value("-o");
    const auto tieText = args.value("--tie-in");
    NumberOption vs{"--vs-azimuth", {}}, scale{"--field-scale", {}}, dlsLimit{"--dls-limit", {}};
    if (!takeNumber(args, "trajectory", vs) || !takeNumber(args, "trajectory", scale)
        || !takeNumber(args, "trajectory", dlsLimit))
        return ExitUsage;
    const auto file = args.lastPositional("trajectory");
    if (!file)
        return ExitUsage;
    if (int(json) + int(csv) + int(las) + int(pdf) > 1)
        return usageError(QStringLiteral("trajectory: --json, --csv, --las and --pdf each take the place of the others"));
    if (pdf && !out)
        return usageError(QStringLiteral("trajectory: --pdf needs -o OUT.pdf"));
    if (meta && !csv)
        return usageError(QStringLiteral("trajectory: --meta goes with --csv"));

    TrajectoryOptions options;
    if (tieText) {
        std::vector<double> v;
        for (const QString &part : fromArg(*tieText).split(QLatin1Char(','))) {
            const auto n = parseNumber(part.trimmed().toStdString());
            if (!n)
                break;
            v.push_back(*n);
        }
        if (v.size() != 6 || fromArg(*tieText).count(QLatin1Char(',')) != 5)
            return usageError(QStringLiteral("trajectory: --tie-in takes MD,INC,AZI,TVD,N,E, not '%1'").arg(fromArg(*tieText)));
        options.tieIn = {v[0], v[1], v[2], v[3], v[4], v[5]};
        if (v[0] < 0 || v[0] > 100000)
            return failed(QStringLiteral("trajectory: the tie-in's MD must lie between 0 and 100000 m"));
        if (v[1] < 0 || v[1] > 180)
            return failed(QStringLiteral("trajectory: the tie-in's inclination must lie between 0 and 180"));
        if (v[2] < 0 || v[2] > 360)
            return failed(QStringLiteral("trajectory: the tie-in's azimuth must lie between 0 and 360"));
        if (std::fabs(v[3]) > 100000 || std::fabs(v[4]) > 100000 || std::fabs(v[5]) > 100000)
            return failed(QStringLiteral("trajectory: the tie-in's TVD, N and E must lie between -100000 and 100000 m"));
    }
    if (vs.value && (*vs.value < 0 || *vs.value > 360))
        return failed(QStringLiteral("trajectory: --vs-azimuth must lie between 0 and 360"));
    if (!fieldScaleInRange("trajectory", scale) || !dogLegLimitInRange("trajectory", dlsLimit))
        return ExitFailed;

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    const std::optional<Site> site = openedSite(opened, *file);
    const SurveyData &survey = opened.doc.survey();
    options.verticalSectionAzimuth = vs.value;
    if (!options.verticalSectionAzimuth && site)
        options.verticalSectionAzimuth = site->verticalSectionAzimuth;
    TrajectoryReportData data =
        trajectoryReportData(survey, options, site, currentPrintTime(), fieldScaleFor(scale, site, survey, ctx));
    const Trajectory &t = data.trajectory;
    printWarnings(survey, t, site, dlsLimit);
    // The report lists them too, for whoever signs it.
    data.warnings = surveyWarningLines(survey, t, site, dlsLimit.value);
    if (t.stations.empty())
        return failed(QStringLiteral("trajectory: 没有可用的测点（需要打勾并输入测深的测点）"));

    QByteArray bytes;
    if (csv) {
        // The facts as comments first, for readers that skip them; the column line stays as it is.
        bytes = (meta ? trajectoryCsvComments(data) : QByteArray()) + trajectoryCsv(t);
    } else if (las) {
        bytes = trajectoryLas(data);
    } else if (pdf) {
        bytes = trajectoryReportPdf(data);
        if (bytes.isEmpty())
            return failed(QStringLiteral("trajectory: 无法生成 PDF"));
    } else if (json) {
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
        bytes = s.toUtf8();
    } else {
        QString s = QStringLiteral("点号\t测深\t井斜\t真方位\t垂深\t北\t东\t视平移\t狗腿度\n");
        for (const TrajectoryStation &st : t.stations) {
            s += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
                     .arg(st.point)
                     .arg(fixed(st.md, 2), fixed(st.inclination, 2), fixed(st.azimuth, 2), fixed(st.tvd, 2),
                          fixed(st.north, 2), fixed(st.east, 2), fixed(st.verticalSection, 2), fixed(st.dls, 2));
        }
        bytes = s.toUtf8();
    }
    QString error;
    if (!writeOutput(out, bytes, &error))
        return failed(error);
    return ExitOk;
}

std::optional<TableChange> declinationFromSite(const std::optional<Site> &site, const std::string &file,
                                               SurveyTable &table)
{
    if (!site) {
        printErr(QStringLiteral("edit: %1 没有可用的井场，无法取得磁偏角\n").arg(fileArg(file)));
        return std::nullopt;
    }
    const GeomagneticField f = *siteField(*site);
    // Through the declination edit, with its range check and modified mark.
    return table.editDeclination(QString::number(f.declination, 'f', 12));
}

} // namespace zolm::cli
