#include "survey/survey_types.h"

#include <algorithm>
#include <cstring>

namespace zolm {

bool ProbeParameterBlock::typeIs(const char *name) const
{
    const std::size_t n = std::strlen(name);
    if (n >= TypeSize)
        return false;
    return std::memcmp(bytes.data() + TypeOffset, name, n + 1) == 0;
}

std::string ProbeParameterBlock::typeString() const
{
    const auto *begin = bytes.data() + TypeOffset;
    const auto *end = std::find(begin, begin + TypeSize, std::uint8_t{0});
    return std::string(begin, end);
}

std::string SurveyHeader::field(std::size_t off) const
{
    const auto *begin = bytes.data() + off;
    const auto *end = std::find(begin, begin + FieldSize, std::uint8_t{0});
    return std::string(begin, end);
}

void SurveyHeader::setField(std::size_t off, const std::string &gbk)
{
    // The text and its terminator; what stood after the terminator stays, as the dialogs left it.
    const std::size_t n = std::min(gbk.size(), FieldSize - 1);
    std::memcpy(bytes.data() + off, gbk.data(), n);
    bytes[off + n] = 0;
    bytes[off + FieldSize] = 0;
}

} // namespace zolm
