#include "platform/fonts.h"

namespace zolm {

QStringList tahomaWithChineseFallback()
{
#ifdef _WIN32
    // Windows' own Chinese faces; under Wine the Linux face the setup installs is seen too.
    return {QStringLiteral("Tahoma"), QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
            QStringLiteral("WenQuanYi Micro Hei")};
#else
    return {QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
#endif
}

} // namespace zolm
