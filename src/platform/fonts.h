#pragma once
// The faces the table, the windows and the printed report ask for: "Tahoma", then a Simplified
// Chinese face of the system, named explicitly so that the generic fallback cannot pick a
// Japanese one whose glyphs differ.
#include <QStringList>

namespace zolm {

QStringList tahomaWithChineseFallback();

} // namespace zolm
