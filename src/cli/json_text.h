#pragma once
// JSON texts of zolm-cli's --json outputs.
#include <QString>

namespace zolm::cli {

// A number that reads back to the same double; a value that is not finite is null.
QString jsonNumber(double v);
// A quoted string with JSON's escapes.
QString jsonString(const QString &s);

} // namespace zolm::cli
