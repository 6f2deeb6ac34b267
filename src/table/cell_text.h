#pragma once
// The texts the survey table shows in its columns 1 to 11, shared by the table, export
// checks, zolm-cli and the report.
#include "document/survey_data.h"
#include "platform/number_text.h"
#include "survey/value_labels.h"

#include <string>

namespace zolm {

enum TableColumn : int {
    ColCheck = 0,
    ColPosition = 1,
    ColTime = 2,
    ColDepth = 3,
    ColInclination = 4,
    ColAzimuth = 5,
    ColGravityToolface = 6,
    ColMagneticToolface = 7,
    ColDip = 8,
    ColTemperature = 9,
    ColTotalGravity = 10,
    ColTotalField = 11,
    TableColumnCount = 12,
};

// "%02d:%02d:%02d" with the hours not wrapped at 24.
std::string timeText(std::int32_t seconds);
// Seconds of point i: first-sample time + i * interval, as 32-bit integers.
std::int32_t pointTime(const SurveyData &survey, int point);
// A depth below this counts as not entered (0 or negative).
inline constexpr double MinEnteredDepth = 0.01;
// "%5.2f", or "0" below MinEnteredDepth (negative depths included).
std::string depthText(double depth);
std::string formatFixed(double value, int decimals); // "%5.<decimals>f"
// The quantity a column 1..11 shows.
constexpr Quantity columnQuantity(int column) { return static_cast<Quantity>(column - ColPosition); }

// The text of a column of the row at `position` showing `point` (0 <= point < MaxSurveyPoints).
std::string cellText(const SurveyData &survey, int position, int point, int column);

} // namespace zolm
