#pragma once
// The texts the survey table shows in its quantity columns, shared by the table, export
// checks, zolm-cli and the report; the columns are the quantities with a table width.
#include "document/survey_data.h"
#include "platform/number_text.h"
#include "survey/quantities.h"

#include <string>

namespace zolm {

// "%02d:%02d:%02d" with the hours not wrapped at 24.
std::string timeText(std::int32_t seconds);
// Seconds of point i: first-sample time + i * interval, as 32-bit integers.
std::int32_t pointTime(const SurveyData &survey, int point);
// A depth below this counts as not entered (0 or negative).
inline constexpr double MinEnteredDepth = 0.01;
// "%5.2f", or "0" below MinEnteredDepth (negative depths included).
std::string depthText(double depth);
std::string formatFixed(double value, int decimals); // "%5.<decimals>f"
// A quantity's number for a point: Depth, PointValue, TrueAzimuth and Declination; 0 for the rest.
double quantityNumber(const SurveyData &survey, int point, const QuantityInfo &q);

// The text of a column of the row at `position` showing `point` (0 <= point < MaxSurveyPoints).
std::string cellText(const SurveyData &survey, int position, int point, int column);

} // namespace zolm
