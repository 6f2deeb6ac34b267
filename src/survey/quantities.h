#pragma once
// The quantities a survey point is shown with, each described once: how every screen labels
// it, its width and decimals, where its value comes from, its export item and settings key,
// its place on the report. The table's columns, the export items, the report's columns,
// zolm-cli's columns and names and the real-time window are all read from this one list; the
// shot check names the quantities it judges (analysis/qc.h) by their Quantity.
#include "survey/survey_types.h"

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace zolm {

// In the export's item order: an export item's number is its quantity's number, and the stored
// export settings hold one value per item under its label, so a new quantity goes at the end.
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

// Where a quantity's value comes from.
enum class ValueSource : unsigned char {
    RowNumber,   // the row's place in the order shown (the export counts its own rows)
    Time,        // the point's time since the probe started
    Depth,       // the entered depth
    PointValue,  // SurveyValues[valueIndex]
    Crew,        // the header's texts, quoted in the export
    Well,
    TrueAzimuth, // the magnetic azimuth plus the header's declination
    Declination, // the header's declination
};

struct QuantityInfo {
    Quantity quantity;
    // The labels as each screen spells them. The table's, the report's and show's are data
    // there (the report page and show are never translated); the desktop translates them for
    // its own headings, hence the markers.
    const char *table;   // table column heading, multi-point report heading, zolm-cli show
    const char *label;   // export item, its title-line text and settings key "export/<label>"
                         // (stored: never change it); single-point report line
    const char *brief;   // real-time window, economy report heading
    const char *english; // zolm-cli's name for the export item
    ValueSource source;
    int valueIndex;      // index into SurveyValues for PointValue, else -1
    int decimals;        // table and export: digits after the point
    int tableWidth;      // table column width in pixels; 0: not a table column
    int exportDefault;   // place among the export's default columns, or -1
    double reportX;      // multi-point report: heading position in inches; negative: not on it
    int reportShift;     // multi-point report: the value stands this many pads right of its heading
    int reportWidth;     // report: "%<width>.<decimals>f"
    int reportDecimals;
};

inline constexpr int NoValueIndex = -1;

// clang-format off
inline constexpr std::array Quantities{
    // quantity                   table                                   label                                brief                                english              source                    value             dec width exp  reportX shift rw rd
    QuantityInfo{Quantity::Sequence,         QT_TRANSLATE_NOOP("Quantity", "序号"),       QT_TRANSLATE_NOOP("Quantity", "序号"),       QT_TRANSLATE_NOOP("Quantity", "序号"),       "index",             ValueSource::RowNumber,   NoValueIndex,          0,  50, -1,  0.2,  0,   0, 0},
    QuantityInfo{Quantity::Time,             QT_TRANSLATE_NOOP("Quantity", "时间"),       QT_TRANSLATE_NOOP("Quantity", "时间"),       QT_TRANSLATE_NOOP("Quantity", "时间"),       "time",              ValueSource::Time,        NoValueIndex,          0,  90, -1,  1.0, -1,   0, 0},
    QuantityInfo{Quantity::Depth,            QT_TRANSLATE_NOOP("Quantity", "测  深"),     QT_TRANSLATE_NOOP("Quantity", "测深"),       QT_TRANSLATE_NOOP("Quantity", "测深"),       "depth",             ValueSource::Depth,       NoValueIndex,          2,  90,  0,  2.0,  0,   5, 2},
    QuantityInfo{Quantity::Inclination,      QT_TRANSLATE_NOOP("Quantity", "井  斜"),     QT_TRANSLATE_NOOP("Quantity", "井斜"),       QT_TRANSLATE_NOOP("Quantity", "井斜"),       "inclination",       ValueSource::PointValue,  Inclination,      2,  80,  1,  3.0,  0,   5, 2},
    QuantityInfo{Quantity::MagneticAzimuth,  QT_TRANSLATE_NOOP("Quantity", "磁方位"),     QT_TRANSLATE_NOOP("Quantity", "磁方位"),     QT_TRANSLATE_NOOP("Quantity", "方位"),       "azimuth",           ValueSource::PointValue,  MagneticAzimuth,  2,  90,  2,  3.8,  0,   5, 2},
    QuantityInfo{Quantity::GravityToolface,  QT_TRANSLATE_NOOP("Quantity", "重力工具面"), QT_TRANSLATE_NOOP("Quantity", "重力工具面"), QT_TRANSLATE_NOOP("Quantity", "高边工具面"), "gravity-toolface",  ValueSource::PointValue,  GravityToolface,  2, 100, -1,  4.6,  1,   5, 2},
    QuantityInfo{Quantity::MagneticToolface, QT_TRANSLATE_NOOP("Quantity", "磁性工具面"), QT_TRANSLATE_NOOP("Quantity", "磁性工具面"), QT_TRANSLATE_NOOP("Quantity", "磁性工具面"), "magnetic-toolface", ValueSource::PointValue,  MagneticToolface, 2, 100, -1,  5.8,  1,   5, 2},
    QuantityInfo{Quantity::MagneticDip,      QT_TRANSLATE_NOOP("Quantity", "磁倾角"),     QT_TRANSLATE_NOOP("Quantity", "磁倾角"),     QT_TRANSLATE_NOOP("Quantity", "磁倾角"),     "dip",               ValueSource::PointValue,  MagneticDip,      2,  80, -1,  7.0,  0,   5, 2},
    QuantityInfo{Quantity::Temperature,      QT_TRANSLATE_NOOP("Quantity", "探管温度"),   QT_TRANSLATE_NOOP("Quantity", "探管温度"),   QT_TRANSLATE_NOOP("Quantity", "温度"),       "temperature",       ValueSource::PointValue,  Temperature,      2, 100, -1,  7.8,  0,   5, 2},
    QuantityInfo{Quantity::TotalGravity,     QT_TRANSLATE_NOOP("Quantity", "总加速度"),   QT_TRANSLATE_NOOP("Quantity", "总加速度"),   QT_TRANSLATE_NOOP("Quantity", "总加速度"),   "total-gravity",     ValueSource::PointValue,  TotalGravity,     5, 100, -1,  9.0,  0,   3, 4},
    QuantityInfo{Quantity::TotalField,       QT_TRANSLATE_NOOP("Quantity", "总磁场"),     QT_TRANSLATE_NOOP("Quantity", "总磁场"),     QT_TRANSLATE_NOOP("Quantity", "总磁场"),     "total-field",       ValueSource::PointValue,  TotalField,       5, 100, -1, 10.0,  0,   3, 4},
    QuantityInfo{Quantity::Crew,             QT_TRANSLATE_NOOP("Quantity", "井队号"),     QT_TRANSLATE_NOOP("Quantity", "井队号"),     QT_TRANSLATE_NOOP("Quantity", "井队号"),     "crew",              ValueSource::Crew,        NoValueIndex,          0,   0, -1, -1.0,  0,   0, 0},
    QuantityInfo{Quantity::Well,             QT_TRANSLATE_NOOP("Quantity", "井号"),       QT_TRANSLATE_NOOP("Quantity", "井号"),       QT_TRANSLATE_NOOP("Quantity", "井号"),       "well",              ValueSource::Well,        NoValueIndex,          0,   0, -1, -1.0,  0,   0, 0},
    QuantityInfo{Quantity::TrueAzimuth,      QT_TRANSLATE_NOOP("Quantity", "真方位"),     QT_TRANSLATE_NOOP("Quantity", "真方位"),     QT_TRANSLATE_NOOP("Quantity", "真方位"),     "true-azimuth",      ValueSource::TrueAzimuth, NoValueIndex,          2,   0, -1, -1.0,  0,   5, 2},
    QuantityInfo{Quantity::Declination,      QT_TRANSLATE_NOOP("Quantity", "磁偏角"),     QT_TRANSLATE_NOOP("Quantity", "磁偏角"),     QT_TRANSLATE_NOOP("Quantity", "磁偏角"),     "declination",       ValueSource::Declination, NoValueIndex,          2,   0, -1, -1.0,  0,   5, 2},
};
// clang-format on

inline constexpr int QuantityCount = static_cast<int>(Quantities.size());

constexpr const QuantityInfo &quantityInfo(Quantity q)
{
    return Quantities[static_cast<std::size_t>(q)];
}
// The export item number of a quantity.
constexpr int itemOf(Quantity q)
{
    return static_cast<int>(q);
}

// The survey table: column 0 is the check box, then each quantity with a width, in order.
inline constexpr int CheckColumn = 0;
inline constexpr int CheckColumnWidth = 21;

namespace detail {
constexpr int countTableQuantities()
{
    int n = 0;
    for (const QuantityInfo &q : Quantities)
        n += q.tableWidth > 0 ? 1 : 0;
    return n;
}
} // namespace detail

inline constexpr int TableQuantityCount = detail::countTableQuantities();
inline constexpr int TableColumnCount = 1 + TableQuantityCount;

// The quantity of each table column from 1 on.
inline constexpr std::array<Quantity, TableQuantityCount> TableQuantities = [] {
    std::array<Quantity, TableQuantityCount> a{};
    std::size_t n = 0;
    for (const QuantityInfo &q : Quantities)
        if (q.tableWidth > 0)
            a[n++] = q.quantity;
    return a;
}();

// The quantity a table column 1..TableColumnCount-1 shows.
constexpr Quantity columnQuantity(int column)
{
    return TableQuantities[static_cast<std::size_t>(column - 1)];
}
// The table column showing a quantity, or -1.
constexpr int tableColumn(Quantity q)
{
    for (std::size_t i = 0; i < TableQuantities.size(); ++i)
        if (TableQuantities[i] == q)
            return static_cast<int>(i) + 1;
    return -1;
}

// The real-time window's eight values, in its order.
inline constexpr std::array<Quantity, 8> RealTimeQuantities{
    Quantity::Inclination,  Quantity::MagneticAzimuth, Quantity::GravityToolface, Quantity::MagneticToolface,
    Quantity::MagneticDip, Quantity::TotalGravity,    Quantity::TotalField,      Quantity::Temperature,
};

namespace detail {
constexpr bool quantitiesInOrder()
{
    for (std::size_t i = 0; i < Quantities.size(); ++i) {
        const QuantityInfo &q = Quantities[i];
        if (static_cast<std::size_t>(q.quantity) != i)
            return false;
        if ((q.source == ValueSource::PointValue) != (q.valueIndex >= 0 && q.valueIndex < SurveyValueCount))
            return false;
    }
    return true;
}
} // namespace detail
static_assert(detail::quantitiesInOrder(), "each row stands at its export item number; PointValue rows name a value");

} // namespace zolm
