#pragma once
// Number texts as printf writes them in the C locale, whatever locale the process runs in: a
// field engineer's comma locale must not turn a decimal point into a comma in a table, an
// export file, a report or a probe window.
#include <string>

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

} // namespace zolm
