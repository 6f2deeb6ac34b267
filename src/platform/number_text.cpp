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

namespace {

// from_chars takes a '-' but no '+': one '+' is taken here, and not before a '-'.
std::optional<std::string_view> withoutPlus(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    return text;
}

// Full-width and other scripts' digits are not read as numbers.
std::optional<std::string> ascii(QStringView text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

template <typename T, typename... Format>
std::optional<T> readWhole(std::string_view text, Format... format)
{
    const auto digits = withoutPlus(text);
    if (!digits)
        return std::nullopt;
    T v{};
    const char *end = digits->data() + digits->size();
    const auto r = std::from_chars(digits->data(), end, v, format...);
    if (r.ec != std::errc() || r.ptr != end)
        return std::nullopt;
    return v;
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    const auto v = readWhole<double>(text, std::chars_format::general);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

std::optional<double> parseNumber(QStringView text)
{
    const auto a = ascii(text);
    return a ? parseNumber(std::string_view(*a)) : std::nullopt;
}

std::optional<long long> parseInteger(std::string_view text)
{
    return readWhole<long long>(text, 10);
}

std::optional<long long> parseInteger(QStringView text)
{
    const auto a = ascii(text);
    return a ? parseInteger(std::string_view(*a)) : std::nullopt;
}

} // namespace zolm
