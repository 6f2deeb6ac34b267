#pragma once
// The quantities a survey point is shown with, and how each screen names and writes them.
// One list for the table, the export, the report, the real-time window and zolm-cli; each
// screen keeps its own spelling ("测  深" in the table, "测深" in the export) and its own
// number format (the table's "%5.5f", the report's "%3.4f").
#include "survey/survey_types.h"

#include <array>

namespace zolm {

// In the export's item order: an export item's id is its quantity's number, and the table's
// columns 1 to 11 show quantities 0 to 10.
enum class Quantity : int {
    Sequence = 0,
    Time,
    Depth,
    Inclination,
    MagneticAzimuth,
    GravityToolface,
    MagneticToolface,
    MagneticDip,
    Temperature,
    TotalGravity,
    TotalField,
    Crew,
    Well,
    TrueAzimuth,
    Declination,
};
inline constexpr int QuantityCount = 15;
// The quantities a table row shows (Sequence to TotalField).
inline constexpr int TableQuantityCount = 11;

struct QuantityText {
    const char *table;   // table column, multi-point report heading, zolm-cli show
    const char *label;   // export item and column title, single-point report line
    const char *brief;   // real-time window, economy report heading
    const char *english; // zolm-cli's name for the export column
    int valueIndex;      // index into SurveyValues, or -1
    int decimals;        // table and export: digits after the point
    int reportWidth;     // report: "%<width>.<decimals>f"
    int reportDecimals;
};

inline constexpr std::array<QuantityText, QuantityCount> QuantityTexts{{
    {"序号", "序号", "序号", "index", -1, 0, 0, 0},
    {"时间", "时间", "时间", "time", -1, 0, 0, 0},
    {"测  深", "测深", "测深", "depth", -1, 2, 5, 2},
    {"井  斜", "井斜", "井斜", "inclination", Inclination, 2, 5, 2},
    {"磁方位", "磁方位", "方位", "azimuth", MagneticAzimuth, 2, 5, 2},
    {"重力工具面", "重力工具面", "高边工具面", "gravity-toolface", GravityToolface, 2, 5, 2},
    {"磁性工具面", "磁性工具面", "磁性工具面", "magnetic-toolface", MagneticToolface, 2, 5, 2},
    {"磁倾角", "磁倾角", "磁倾角", "dip", MagneticDip, 2, 5, 2},
    {"探管温度", "探管温度", "温度", "temperature", Temperature, 2, 5, 2},
    {"总加速度", "总加速度", "总加速度", "total-gravity", TotalGravity, 5, 3, 4},
    {"总磁场", "总磁场", "总磁场", "total-field", TotalField, 5, 3, 4},
    {"井队号", "井队号", "井队号", "crew", -1, 0, 0, 0},
    {"井号", "井号", "井号", "well", -1, 0, 0, 0},
    {"真方位", "真方位", "真方位", "true-azimuth", -1, 2, 5, 2},
    {"磁偏角", "磁偏角", "磁偏角", "declination", -1, 2, 5, 2},
}};

constexpr const QuantityText &textOf(Quantity q)
{
    return QuantityTexts[static_cast<std::size_t>(q)];
}

// The real-time window's eight values, in its order.
inline constexpr std::array<Quantity, 8> RealTimeQuantities{
    Quantity::Inclination,  Quantity::MagneticAzimuth, Quantity::GravityToolface, Quantity::MagneticToolface,
    Quantity::MagneticDip, Quantity::TotalGravity,    Quantity::TotalField,      Quantity::Temperature,
};

} // namespace zolm
