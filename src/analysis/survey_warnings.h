#pragma once
// What to look at before a well path is trusted: ticked shots whose depths break their time
// order (a typo such as 900 for 90), ticked shots the path leaves out (no depth, ...), a
// declination of 0 while a site gives another, and dog-legs above a limit (an upside-down
// automatic depth shows there first). Shown by the desktop, zolm-cli and the survey report.
#include "analysis/site.h"
#include "analysis/trajectory.h"
#include "document/survey_data.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zolm {

// Degrees per 30 m.
inline constexpr double DefaultDogLegLimit = 3.0;
// The limit given to a command, else the site's, else the default.
double dogLegLimit(const std::optional<Site> &site, std::optional<double> given = std::nullopt);

enum class SurveyWarningKind { DepthOrder, Skipped, ZeroDeclination, DogLeg };

struct SurveyWarning {
    SurveyWarningKind kind = SurveyWarningKind::DepthOrder;
    int point = -1; // -1: the survey as a whole
    QString text;   // one line for the user
};

// The ticked shots with a depth whose depth breaks its time order: the fewest shots that, left
// out, leave the others' depths rising (or falling) with time, whichever keeps more. Point order.
std::vector<int> depthOrderBreaks(const SurveyData &survey);

// Every warning, in the order of the kinds above. `trajectory` is the survey's path.
std::vector<SurveyWarning> surveyWarnings(const SurveyData &survey, const Trajectory &trajectory,
                                          const std::optional<Site> &site, double dogLegLimit);
// Their texts, one line each (the survey report lists them).
QStringList surveyWarningLines(const SurveyData &survey, const Trajectory &trajectory, const std::optional<Site> &site,
                               std::optional<double> dogLegLimitGiven = std::nullopt);

} // namespace zolm
