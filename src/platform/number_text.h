#pragma once
// Number texts as printf writes them in the C locale, whatever locale the process runs in: a
// field engineer's comma locale must not turn a decimal point into a comma in a table, an
// export file, a report or a probe window.
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace zolm {

// printf's "%<width>.<decimals>f" (with spaceFlag: "% <width>.<decimals>f"), correctly rounded.
std::string formatNumber(double value, int width, int decimals, bool spaceFlag = false);
// A fixed number of decimals for values people read off a well path: a value that rounds to
// zero prints without a sign ("0.00", never "-0.00"). Finite values only.
std::string formatDecimals(double value, int decimals);
// printf's "%.15g": the shortest form up to 15 significant digits ("2000", "0.1", "99999.99").
std::string formatGeneral15(double value);
// The shortest text that reads back to the same double ("0.1", "1e+300").
std::string formatRoundTrip(double value);

// The one reader of a number a person typed or a file holds (an argument, a tally, a setting):
// the whole text, decimal in the C locale, with an optional sign ("+" too, but not
// "+-"), point and exponent. No blanks (callers that allow them trim first), no group separators,
// no hex, and nothing that is not finite: NaN would slip through every range check.
std::optional<double> parseNumber(std::string_view text);
std::optional<double> parseNumber(QStringView text);
// The same for whole numbers ("+7", "-3", "007"), as long as a long long holds them.
std::optional<long long> parseInteger(std::string_view text);
std::optional<long long> parseInteger(QStringView text);

} // namespace zolm
