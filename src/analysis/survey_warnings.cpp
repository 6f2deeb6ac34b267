#include "analysis/survey_warnings.h"

#include "survey/survey_types.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace zolm {

namespace {

QString metres(double v)
{
    return QString::number(v, 'f', 2);
}

struct Shot {
    int point;
    double depth;
};

// The longest run of shots whose depths never fall (kept in time order), as indices into
// `shots`; depths are negated first for the longest run that never rises.
std::vector<std::size_t> longestOrderedRun(const std::vector<Shot> &shots, bool falling)
{
    const auto key = [&](std::size_t i) { return falling ? -shots[i].depth : shots[i].depth; };
    std::vector<std::size_t> tails; // tails[k]: the shot ending the best run of length k + 1
    std::vector<std::ptrdiff_t> previous(shots.size(), -1);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        // Equal depths may follow each other: the first tail strictly above this one goes.
        const auto at = std::upper_bound(tails.begin(), tails.end(), key(i),
                                         [&](double k, std::size_t t) { return k < key(t); });
        if (at != tails.begin())
            previous[i] = static_cast<std::ptrdiff_t>(*(at - 1));
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<std::size_t> run;
    for (std::ptrdiff_t i = tails.empty() ? -1 : static_cast<std::ptrdiff_t>(tails.back()); i >= 0;
         i = previous[static_cast<std::size_t>(i)])
        run.push_back(static_cast<std::size_t>(i));
    std::reverse(run.begin(), run.end());
    return run;
}

std::vector<Shot> tickedShotsWithDepth(const SurveyData &survey)
{
    std::vector<Shot> shots;
    const int n = survey.usablePointCount();
    for (int p = 0; p < n; ++p) {
        const auto k = static_cast<std::size_t>(p);
        if ((survey.flags[k] & PointFlag::Checked) && survey.depth[k] >= StationSpacing)
            shots.push_back({p, survey.depth[k]});
    }
    return shots;
}

// The shots kept in order, as flags over `shots`.
std::vector<bool> keptInOrder(const std::vector<Shot> &shots)
{
    const std::vector<std::size_t> rising = longestOrderedRun(shots, false);
    const std::vector<std::size_t> falling = longestOrderedRun(shots, true);
    bool useRising = rising.size() > falling.size();
    if (rising.size() == falling.size())
        useRising = shots.empty() || shots.back().depth >= shots.front().depth;
    std::vector<bool> kept(shots.size(), false);
    for (const std::size_t i : useRising ? rising : falling)
        kept[i] = true;
    return kept;
}

QString skippedText(const SkippedPoint &s)
{
    switch (s.reason) {
    case SkipReason::NoDepth: return QCoreApplication::translate("SurveyWarnings", "测点 %1 已选择但没有井深，未参与轨迹计算").arg(s.point);
    case SkipReason::NotANumber: return QCoreApplication::translate("SurveyWarnings", "测点 %1 的井斜或方位无效，未参与轨迹计算").arg(s.point);
    case SkipReason::NotBelowTieIn: return QCoreApplication::translate("SurveyWarnings", "测点 %1 的井深不在连接点以下，未参与轨迹计算").arg(s.point);
    case SkipReason::SameDepth: return QCoreApplication::translate("SurveyWarnings", "测点 %1 与测点 %2 井深相同，未参与轨迹计算").arg(s.point).arg(s.samePoint);
    case SkipReason::OppositeDirection: return QCoreApplication::translate("SurveyWarnings", "测点 %1 与上一测点方向相反，未参与轨迹计算").arg(s.point);
    }
    return {};
}

} // namespace

double dogLegLimit(const std::optional<Site> &site, std::optional<double> given)
{
    if (given)
        return *given;
    if (site && site->dogLegLimit)
        return *site->dogLegLimit;
    return DefaultDogLegLimit;
}

std::vector<int> depthOrderBreaks(const SurveyData &survey)
{
    const std::vector<Shot> shots = tickedShotsWithDepth(survey);
    const std::vector<bool> kept = keptInOrder(shots);
    std::vector<int> breaks;
    for (std::size_t i = 0; i < shots.size(); ++i) {
        if (!kept[i])
            breaks.push_back(shots[i].point);
    }
    return breaks;
}

std::vector<SurveyWarning> surveyWarnings(const SurveyData &survey, const Trajectory &trajectory,
                                          const std::optional<Site> &site, double limit)
{
    std::vector<SurveyWarning> out;

    // Depth order against time order, with the shots in order on either side named.
    const std::vector<Shot> shots = tickedShotsWithDepth(survey);
    const std::vector<bool> kept = keptInOrder(shots);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        if (kept[i])
            continue;
        const Shot *before = nullptr;
        const Shot *after = nullptr;
        for (std::size_t j = i; j-- > 0;) {
            if (kept[j]) {
                before = &shots[j];
                break;
            }
        }
        for (std::size_t j = i + 1; j < shots.size(); ++j) {
            if (kept[j]) {
                after = &shots[j];
                break;
            }
        }
        QString context;
        if (before && after)
            context = QCoreApplication::translate("SurveyWarnings", "按测量时间应在井深 %1 米和 %2 米之间").arg(metres(before->depth), metres(after->depth));
        else if (before)
            context = QCoreApplication::translate("SurveyWarnings", "按测量时间应在井深 %1 米之后").arg(metres(before->depth));
        else if (after)
            context = QCoreApplication::translate("SurveyWarnings", "按测量时间应在井深 %1 米之前").arg(metres(after->depth));
        out.push_back({SurveyWarningKind::DepthOrder, shots[i].point,
                       QCoreApplication::translate("SurveyWarnings", "测点 %1 的井深 %2 米与测量时间的顺序不符（%3），请检查是否输错")
                           .arg(shots[i].point)
                           .arg(metres(shots[i].depth), context)});
    }

    for (const SkippedPoint &s : trajectory.skipped)
        out.push_back({SurveyWarningKind::Skipped, s.point, skippedText(s)});

    // A declination left at 0 while the site's model gives one: azimuths are magnetic.
    if (site && usableDeclination(survey.header.declination()) == 0) {
        if (const auto field = siteModelField(site); field && std::fabs(field->declination) >= 0.005) {
            out.push_back({SurveyWarningKind::ZeroDeclination, -1,
                           QCoreApplication::translate("SurveyWarnings", "已设置井场，但磁偏角为 0：方位未作磁偏角校正（井场地磁模型的磁偏角为 %1°）")
                               .arg(QString::number(field->declination, 'f', 2))});
        }
    }

    for (std::size_t i = 0; i < trajectory.stations.size(); ++i) {
        const TrajectoryStation &st = trajectory.stations[i];
        // Above the limit as the warning shows it (two decimals): 3.004 is not above 3.
        if (!(st.dls >= limit + 0.005))
            continue;
        QString text = QCoreApplication::translate("SurveyWarnings", "测点 %1（井深 %2 米）的狗腿度 %3°/30m 超过限值 %4°/30m")
                           .arg(st.point)
                           .arg(metres(st.md), QString::number(st.dls, 'f', 2), QString::number(limit, 'g', 6));
        // From the tie-in, a steep first station is the mark of depths counted the wrong way.
        if (i == 0)
            text += QCoreApplication::translate("SurveyWarnings", "（从连接点算起：请检查井深方向，下钻时测量的数据自动井深应逐点递增）");
        out.push_back({SurveyWarningKind::DogLeg, st.point, text});
    }
    return out;
}

QStringList surveyWarningLines(const SurveyData &survey, const Trajectory &trajectory, const std::optional<Site> &site,
                               std::optional<double> given)
{
    QStringList lines;
    for (const SurveyWarning &w : surveyWarnings(survey, trajectory, site, dogLegLimit(site, given)))
        lines << w.text;
    return lines;
}

} // namespace zolm
