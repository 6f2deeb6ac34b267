#pragma once
// When each shot was taken: seconds since the probe started (the table's time column), and,
// once the probe's start clock time is known (the site's probeStart), the clock time.
#include "analysis/site.h"
#include "document/survey_data.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace zolm {

// The probe's first-shot delay plus `point` intervals, in seconds. Unlike the table's 32-bit
// time it cannot wrap.
std::int64_t shotSeconds(const SurveyData &survey, int point);
// "HH:MM:SS" with the hours going on past 24, as the table shows the time.
QString elapsedText(std::int64_t seconds);
// The shot's clock time (a wall-clock time held as UTC, as probeStart is), when the start is known.
std::optional<QDateTime> shotClock(const SurveyData &survey, int point, const std::optional<Site> &site);
// "MM-dd HH:mm:ss" from the clock when the start is known, else the time since the start.
QString shotTimeText(const SurveyData &survey, int point, const std::optional<Site> &site);

} // namespace zolm
