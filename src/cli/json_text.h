#pragma once
// JSON texts of zolm-cli's --json outputs: the output folder's, which the trajectory's JSON
// file is written with as well.
#include "output/json_text.h"

namespace zolm::cli {

using zolm::jsonNumber;
using zolm::jsonString;

} // namespace zolm::cli
