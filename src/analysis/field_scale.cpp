#include "analysis/field_scale.h"

#include "platform/gbk.h"
#include "platform/number_text.h"
#include "platform/settings.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace zolm {

namespace {

constexpr double NanoteslaPerGauss = 100000.0;

bool usableScale(double scale)
{
    return std::isfinite(scale) && scale > 0 && scale <= SiteRange::MaxFieldScale;
}

} // namespace

Result<FieldScaleCalibration> calibrateFieldScale(const SurveyData &survey, const Site &site)
{
    const Result<GeomagneticField> field = siteField(site);
    if (!field)
        return field.error().retold(QCoreApplication::translate("FieldScale", "井场没有可用的地磁模型：%1").arg(field.error().message));
    // The checked shots are the ones the engineer (or the station finder) took for stationary;
    // the field's magnitude does not depend on the attitude, so without any every shown shot
    // serves, the median keeping a few disturbed ones out.
    const int n = survey.usablePointCount();
    bool anyChecked = false;
    for (int p = 0; p < n; ++p)
        anyChecked = anyChecked || (survey.flags[static_cast<std::size_t>(p)] & PointFlag::Checked);
    const PointFlags take = anyChecked ? PointFlag::Checked : PointFlag::Shown;
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p) {
        const auto i = static_cast<std::size_t>(p);
        const double b = survey.values[i][TotalField];
        if ((survey.flags[i] & take) && std::isfinite(b))
            values.push_back(b);
    }
    if (values.empty())
        return makeError(ErrorCode::Missing, anyChecked ? QCoreApplication::translate("FieldScale", "打勾的测点没有总磁场数值，无法标定") : QCoreApplication::translate("FieldScale", "没有带总磁场数值的测点，无法标定"));
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    FieldScaleCalibration c;
    c.measured = values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    c.model = field->total / NanoteslaPerGauss;
    c.scale = c.measured / c.model;
    c.shots = static_cast<int>(values.size());
    c.fromChecked = anyChecked;
    if (!(std::fabs(c.scale - 1.0) <= MaxFieldScaleDeviation)) {
        const QString shots = anyChecked ? QCoreApplication::translate("FieldScale", "%1 个打勾测点").arg(c.shots) : QCoreApplication::translate("FieldScale", "%1 个测点").arg(c.shots);
        return makeError(ErrorCode::Refused, QCoreApplication::translate("FieldScale", "标定系数 %1 与 1 相差 %2%，超过 %3%，未采用：%4的总磁场中值为 %5，"
                       "井场地磁模型为 %6 高斯。请检查井场的位置和日期，所选测点是否静止、是否受套管或钻具磁干扰，"
                       "以及探管的磁传感器。")
                        .arg(QString::number(c.scale, 'f', 4), QString::number(std::fabs(c.scale - 1.0) * 100, 'f', 1),
                             QString::number(MaxFieldScaleDeviation * 100, 'f', 0), shots,
                             QString::number(c.measured, 'f', 5), QString::number(c.model, 'f', 5)));
    }
    return c;
}

QString surveyProbeNumber(const SurveyData &survey)
{
    const auto *p = reinterpret_cast<const char *>(survey.parameters.bytes.data() + ProbeParameterBlock::CalibrationOffset
                                                   + Cal::Identity);
    const std::size_t len = std::find(p, p + 14, '\0') - p;
    return fromGbk(std::string_view(p, len)).trimmed();
}

QString fieldScaleKey(const QString &probeNumber)
{
    // Registry value names and INI keys take these as they are; '/' would open a sub-key.
    return QStringLiteral("FieldScale/")
        + QString::fromLatin1(probeNumber.toUtf8().toPercentEncoding(QByteArray("-_."), QByteArray(), '%'));
}

std::optional<double> rememberedFieldScale(SettingsStore &store, const QString &probeNumber)
{
    if (probeNumber.isEmpty())
        return std::nullopt;
    const QString key = fieldScaleKey(probeNumber);
    // A missing key is not written back with a default: only calibrations go in.
    if (!store.contains(key))
        return std::nullopt;
    const auto scale = parseNumber(store.readString(key, {}).trimmed());
    if (!scale || !usableScale(*scale))
        return std::nullopt;
    return scale;
}

bool rememberFieldScale(SettingsStore &store, const QString &probeNumber, double scale)
{
    if (probeNumber.isEmpty() || !usableScale(scale))
        return false;
    return store.writeString(fieldScaleKey(probeNumber), QString::number(scale, 'g', QLocale::FloatingPointShortest));
}

FieldScaleChoice chooseFieldScale(const std::optional<double> &given, const std::optional<Site> &site,
                                  const SurveyData &survey, SettingsStore *store)
{
    FieldScaleChoice c;
    c.probeNumber = surveyProbeNumber(survey);
    if (given) {
        c.scale = *given;
        c.source = FieldScaleChoice::Source::Given;
    } else if (site && site->fieldScale) {
        c.scale = *site->fieldScale;
        c.source = FieldScaleChoice::Source::Site;
    } else if (const auto remembered = store ? rememberedFieldScale(*store, c.probeNumber) : std::nullopt) {
        c.scale = *remembered;
        c.source = FieldScaleChoice::Source::Probe;
    }
    return c;
}

const char *fieldScaleSourceName(FieldScaleChoice::Source source)
{
    switch (source) {
    case FieldScaleChoice::Source::Given: return "option";
    case FieldScaleChoice::Source::Site: return "site";
    case FieldScaleChoice::Source::Probe: return "probe";
    case FieldScaleChoice::Source::Default: break;
    }
    return "default";
}

QString fieldScaleText(const FieldScaleChoice &choice)
{
    QString from;
    switch (choice.source) {
    case FieldScaleChoice::Source::Given: from = QCoreApplication::translate("FieldScale", "命令行指定"); break;
    case FieldScaleChoice::Source::Site: from = QCoreApplication::translate("FieldScale", "本次测量的井场"); break;
    case FieldScaleChoice::Source::Probe: from = QCoreApplication::translate("FieldScale", "本机记录的探管 %1 标定值").arg(choice.probeNumber); break;
    case FieldScaleChoice::Source::Default: from = QCoreApplication::translate("FieldScale", "默认"); break;
    }
    return QCoreApplication::translate("FieldScale", "磁场标定系数 %1（%2）").arg(QString::number(choice.scale, 'f', 4), from);
}

} // namespace zolm
