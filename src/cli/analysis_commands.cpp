// zolm-cli's survey analysis: geomag, site, qc, trajectory, and edit's declination from the
// site.
#include "cli/cli.h"
#include "cli/json_text.h"
#include "platform/language.h"
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
#include "output/trajectory_formats.h"
#include "output/trajectory_report.h"
#include "session/survey_session.h"
#include "platform/gbk.h"
#include "platform/number_text.h"
#include "platform/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cmath>
#include <cstdio>

namespace zolm::cli {

namespace {

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
    return fixedOrNan(v, decimals);
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
        usageError(QCoreApplication::translate("zolm-cli", "%1：%2 应为一个数，而不是“%3”")
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
    printErr(QCoreApplication::translate("zolm-cli", "%1：--field-scale 必须大于 0，且不超过 %2\n")
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
    printErr(QCoreApplication::translate("zolm-cli", "%1：--dls-limit 必须大于 0，且不超过 %2\n")
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
Done writeOutput(const std::optional<std::string> &out, const QByteArray &bytes)
{
    const QString path = out ? fileArg(*out) : QStringLiteral("-");
    Done written = zolm::writeOutput(path, bytes);
    if (written)
        return written;
    return written.error().retold(path == QLatin1String("-")
                                      ? QCoreApplication::translate("zolm-cli", "无法写入标准输出")
                                      : QCoreApplication::translate("zolm-cli", "无法写入文件 %1：%2").arg(path, written.error().message));
}

// 'name: value' lines with the JSON's names, in any language: scripts read them.
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
        return usageError(QCoreApplication::translate("zolm-cli", "geomag：需要 --lat 和 --lon"));
    QDate date = QDate::currentDate();
    if (dateText) {
        const auto d = parseDate(*dateText);
        if (!d)
            return usageError(QCoreApplication::translate("zolm-cli", "geomag：--date 应为 YYYY-MM-DD，而不是“%1”").arg(fromArg(*dateText)));
        date = *d;
    }
    const auto f = geomagneticField({*lat.value, *lon.value, height.value.value_or(0.0)}, decimalYear(date));
    if (!f)
        return fail(f.error().retold(QCoreApplication::translate("zolm-cli", "geomag：%1").arg(f.error().message)));
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
            return usageError(QCoreApplication::translate("zolm-cli", "site：--start-time 应为“YYYY-MM-DD HH:MM:SS”，而不是“%1”").arg(fromArg(*startText)));
    }
    std::optional<double> dls;
    if (dlsText && !dlsText->empty()) {
        dls = parseNumber(*dlsText);
        if (!dls)
            return usageError(QCoreApplication::translate("zolm-cli", "site：--dls-limit 应为一个数，而不是“%1”").arg(fromArg(*dlsText)));
    }
    const bool newSite = lat.value || lon.value || dateText || height.value;
    const bool change = newSite || vs.value || !texts.empty() || calibrate || setScale.value || startText || dlsText;
    if (clear && (change || judgeScale.value))
        return usageError(QCoreApplication::translate("zolm-cli", "site：--clear 只能与 -o 和 --force 一起用"));
    if (calibrate && setScale.value)
        return usageError(QCoreApplication::translate("zolm-cli", "site：--calibrate-field-scale 与 --set-field-scale 只能选一个"));
    if (!fieldScaleInRange("site", judgeScale))
        return ExitFailed;
    if ((out || force) && !change && !clear)
        return usageError(QCoreApplication::translate("zolm-cli", "site：-o 和 --force 只在修改井场时使用"));
    if (newSite && (!lat.value || !lon.value || !dateText))
        return usageError(QCoreApplication::translate("zolm-cli", "site：新的井场需要 --lat、--lon 和 --date"));
    std::optional<QDate> date;
    if (dateText) {
        date = parseDate(*dateText);
        if (!date)
            return usageError(QCoreApplication::translate("zolm-cli", "site：--date 应为 YYYY-MM-DD，而不是“%1”").arg(fromArg(*dateText)));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    // The site is part of the survey: changing it rewrites the survey, as edit does.
    if ((change || clear) && refuseOverwrite(opened, *file, out.has_value(), force))
        return ExitFailed;
    const std::optional<Site> stored = openedSite(opened);
    if (clear) {
        opened.session.setSite(std::nullopt);
        return saveOpened(opened, out ? *out : *file) ? ExitOk : ExitFailed;
    }
    if (!stored && !newSite)
        return fail(makeError(ErrorCode::Missing, QCoreApplication::translate("SiteCommand", "%1 没有井场").arg(fileArg(*file))));
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
    const auto siteFailed = [](const Error &error) {
        return fail(error.retold(QCoreApplication::translate("zolm-cli", "site：%1").arg(error.message)));
    };
    if (const Done checked = checkSite(site); !checked)
        return siteFailed(checked.error());
    // Against the site as it now stands (a new position and date count).
    std::optional<FieldScaleCalibration> calibration;
    if (calibrate) {
        const Result<FieldScaleCalibration> calibrated = calibrateFieldScale(opened.doc.survey(), site);
        if (!calibrated)
            return siteFailed(calibrated.error());
        calibration = *calibrated;
        site.fieldScale = calibration->scale;
    }
    if (change) {
        opened.session.setSite(site);
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
                     fixed(qcReference(opened.doc.survey(), field, scale.scale).field, 6));
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
    const std::optional<ToleranceValue> badTolerance = toleranceOutOfRange(tolerance);
    if (badTolerance == ToleranceValue::Gravity)
        return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "qc：--g-tol 必须在 0 到 1 之间")));
    if (badTolerance == ToleranceValue::Field)
        return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "qc：--b-tol 必须在 0 到 1000000 之间")));
    if (badTolerance == ToleranceValue::Dip)
        return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "qc：--dip-tol 必须在 0 到 90 之间")));
    if (!fieldScaleInRange("qc", scale) || !dogLegLimitInRange("qc", dlsLimit))
        return ExitFailed;

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    // --no-site changes QC's reference only: the warnings still judge against the site.
    const std::optional<Site> fileSite = openedSite(opened);
    const std::optional<Site> site = noSite ? std::nullopt : fileSite;
    const SurveyData &survey = opened.doc.survey();
    printWarnings(survey, computeTrajectory(survey, opened.session.trajectoryOptions()), fileSite, dlsLimit);
    const FieldScaleChoice fieldScale = fieldScaleFor(scale, site, survey, ctx);
    QcResult r;
    judgeSurvey(survey, site, fieldScale.scale, tolerance, r);
    const QcReference &reference = r.reference;

    QString out;
    if (!json) {
        // point, pass/fail, each judged quantity's value and difference, what failed: data that
        // scripts read, so not translated (nor the summary)
        for (const QcPoint &q : r.points) {
            out += QString::number(q.point) + QLatin1Char('\t')
                   + (q.pass() ? QStringLiteral("pass") : QStringLiteral("fail"));
            for (const QcQuantityInfo &k : QcQuantities)
                out += QLatin1Char('\t') + fixed(q.*k.value, k.lineDecimals) + QLatin1Char('\t')
                       + fixed(q.*k.delta, k.lineDecimals);
            out += QLatin1Char('\t') + failedNames(q.failed).join(QLatin1Char(',')) + QLatin1Char('\n');
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
    // Each judged quantity under its name, and its difference under its difference's name.
    const auto byQuantity = [](auto member, auto nameOf, const auto &from) {
        QString s;
        for (const QcQuantityInfo &k : QcQuantities)
            s += QStringLiteral("\"%1\":%2,").arg(QLatin1String(nameOf(k)), jsonNumber(from.*(k.*member)));
        return s;
    };
    const auto name = [](const QcQuantityInfo &k) { return k.name; };
    const auto deltaName = [](const QcQuantityInfo &k) { return k.deltaName; };
    QString tolerances = byQuantity(&QcQuantityInfo::tolerance, name, tolerance);
    tolerances.chop(1);
    out = QStringLiteral("{\"reference\":{\"source\":\"%1\",%2\"fieldScale\":%3,\"fieldScaleSource\":\"%4\"},"
                         "\"tolerance\":{%5},\"points\":[")
              .arg(reference.source == QcReference::Source::Site ? QStringLiteral("site") : QStringLiteral("median"),
                   byQuantity(&QcQuantityInfo::reference, name, reference), jsonNumber(fieldScale.scale),
                   QString::fromLatin1(fieldScaleSourceName(fieldScale.source)), tolerances);
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const QcPoint &q = r.points[i];
        QStringList names = failedNames(q.failed);
        for (QString &n : names)
            n = jsonString(n);
        if (i)
            out += QLatin1Char(',');
        out += QStringLiteral("{\"point\":%1,\"checked\":%2,").arg(q.point).arg(q.checked ? QStringLiteral("true") : QStringLiteral("false"));
        out += byQuantity(&QcQuantityInfo::value, name, q) + byQuantity(&QcQuantityInfo::delta, deltaName, q);
        out += QStringLiteral("\"pass\":%1,").arg(q.pass() ? QStringLiteral("true") : QStringLiteral("false"));
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
    // --json, --csv, ...: one switch per format of the table; none, the text table.
    const TrajectoryFormat *format = trajectoryFormat("");
    int formatsChosen = 0;
    for (const TrajectoryFormat &f : trajectoryFormats()) {
        if (*f.name && args.flag(std::string("--") + f.name)) {
            format = &f;
            ++formatsChosen;
        }
    }
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
    if (formatsChosen > 1)
        return usageError(QCoreApplication::translate("zolm-cli", "trajectory：%1 只能选一个").arg(formatSwitchList()));
    if (format->needsFile && !out)
        return usageError(QCoreApplication::translate("zolm-cli", "trajectory：--%1 需要 -o OUT.%2")
                              .arg(QLatin1String(format->name), QLatin1String(format->suffix)));
    if (meta && format != trajectoryFormat("csv"))
        return usageError(QCoreApplication::translate("zolm-cli", "trajectory：--meta 只与 --csv 一起用"));

    TieIn tieIn;
    if (tieText) {
        std::vector<double> v;
        for (const QString &part : fromArg(*tieText).split(QLatin1Char(','))) {
            const auto n = parseNumber(part.trimmed().toStdString());
            if (!n)
                break;
            v.push_back(*n);
        }
        if (v.size() != 6 || fromArg(*tieText).count(QLatin1Char(',')) != 5)
            return usageError(QCoreApplication::translate("zolm-cli", "trajectory：--tie-in 应为 MD,INC,AZI,TVD,N,E，而不是“%1”").arg(fromArg(*tieText)));
        tieIn = {v[0], v[1], v[2], v[3], v[4], v[5]};
        const std::optional<TieInValue> outside = tieInOutOfRange(tieIn);
        if (outside == TieInValue::Md)
            return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "trajectory：连接点的测深必须在 0 到 100000 米之间")));
        if (outside == TieInValue::Inclination)
            return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "trajectory：连接点的井斜必须在 0 到 180 之间")));
        if (outside == TieInValue::Azimuth)
            return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "trajectory：连接点的方位必须在 0 到 360 之间")));
        if (outside == TieInValue::Position)
            return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "trajectory：连接点的垂深、北和东必须在 -100000 到 100000 米之间")));
    }
    if (vs.value && !azimuthInRange(*vs.value))
        return fail(makeError(ErrorCode::Refused, QCoreApplication::translate("zolm-cli", "trajectory：--vs-azimuth 必须在 0 到 360 之间")));
    if (!fieldScaleInRange("trajectory", scale) || !dogLegLimitInRange("trajectory", dlsLimit))
        return ExitFailed;

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    const std::optional<Site> site = openedSite(opened);
    const SurveyData &survey = opened.doc.survey();
    const TrajectoryOptions options = opened.session.trajectoryOptions(vs.value, tieIn);
    TrajectoryReportData data =
        trajectoryReportData(survey, options, site, currentPrintTime(), fieldScaleFor(scale, site, survey, ctx));
    const Trajectory &t = data.trajectory;
    printWarnings(survey, t, site, dlsLimit);
    // The report lists them too, for whoever signs it.
    {
        const UntranslatedScope files;
        data.warnings = surveyWarningLines(survey, t, site, dlsLimit.value);
    }
    if (t.stations.empty())
        return fail(makeError(ErrorCode::Missing, QCoreApplication::translate("zolm-cli", "trajectory: 没有可用的测点（需要打勾并输入测深的测点）")));

    TrajectoryFileOptions fileOptions;
    fileOptions.csvFacts = meta;
    std::optional<QByteArray> bytes;
    {
        const UntranslatedScope files;
        bytes = format->write(data, fileOptions);
    }
    if (!bytes)
        return fail(makeError(ErrorCode::WriteFailed, QCoreApplication::translate("zolm-cli", "trajectory: 无法生成 PDF")));
    if (const Done written = writeOutput(out, *bytes); !written)
        return fail(written.error());
    return ExitOk;
}

std::optional<TableChange> declinationFromSite(const std::optional<Site> &site, const std::string &file,
                                               SurveyTable &table)
{
    if (!site) {
        printErr(QCoreApplication::translate("zolm-cli", "edit: %1 没有可用的井场，无法取得磁偏角\n").arg(fileArg(file)));
        return std::nullopt;
    }
    const GeomagneticField f = *siteField(*site);
    // Through the declination edit, with its range check and modified mark.
    return table.editDeclination(QString::number(f.declination, 'f', 12));
}

} // namespace zolm::cli
