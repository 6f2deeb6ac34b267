#pragma once
// JSON texts of the --json outputs and the trajectory's JSON file.
#include <QString>

namespace zolm {

// A number that reads back to the same double; a value that is not finite is null.
QString jsonNumber(double v);
// A quoted string with JSON's escapes.
QString jsonString(const QString &s);

} // namespace zolm
