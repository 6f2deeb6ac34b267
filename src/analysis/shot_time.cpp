#include "analysis/shot_time.h"

namespace zolm {

std::int64_t shotSeconds(const SurveyData &survey, int point)
{
    return static_cast<std::int64_t>(survey.data.firstSampleTime())
        + static_cast<std::int64_t>(point) * survey.data.samplingInterval();
}

QString elapsedText(std::int64_t seconds)
{
    const QChar zero = QLatin1Char('0');
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg((seconds / 60) % 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

std::optional<QDateTime> shotClock(const SurveyData &survey, int point, const std::optional<Site> &site)
{
    if (!site || !site->probeStart || !site->probeStart->isValid())
        return std::nullopt;
    return site->probeStart->addSecs(shotSeconds(survey, point));
}

QString shotTimeText(const SurveyData &survey, int point, const std::optional<Site> &site)
{
    if (const auto clock = shotClock(survey, point, site))
        return clock->toString(QStringLiteral("MM-dd HH:mm:ss"));
    return elapsedText(shotSeconds(survey, point));
}

} // namespace zolm
