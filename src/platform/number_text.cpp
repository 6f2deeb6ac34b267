#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace zolm {

std::string formatNumber(double value, int width, int decimals, bool spaceFlag)
{
    char buf[400];
    char *begin = buf + 1; // room for the space flag
    const auto r = std::to_chars(begin, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    char *end = r.ptr;
    if (r.ec != std::errc()) { // cannot happen with this buffer; keep the text well-formed
        end = begin;
    }
    if (spaceFlag && *begin != '-') {
        *--begin = ' ';
    }
    std::string out(begin, end);
    if (static_cast<int>(out.size()) < width)
        out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}

std::string formatDecimals(double value, int decimals)
{
    double limit = 0.5;
    for (int i = 0; i < decimals; ++i)
        limit /= 10.0;
    return formatNumber(value > -limit && value < limit ? 0.0 : value, 0, decimals);
}

std::string formatGeneral15(double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ec == std::errc() ? r.ptr : buf);
}

std::string formatRoundTrip(double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ec == std::errc() ? r.ptr : buf);
}

} // namespace zolm
