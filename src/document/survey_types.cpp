#include "document/survey_types.h"

#include "conversion/conversion.h"

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

void SurveyData::clear()
{
    parameters.bytes.fill(0);
    data.bytes.fill(0);
    depth.fill(0.0);
    flags.fill(0);
    pointCount = 0;
}

int SurveyData::usablePointCount() const
{
    return std::clamp(pointCount, 0, MaxSurveyPoints);
}

void SurveyData::convertAll()
{
    const int n = usablePointCount();
    for (int i = 0; i < n; ++i)
        convertSample(data.sample(i), parameters, values[static_cast<std::size_t>(i)]);
}

int SurveyData::loadFromProbe(std::span<const std::uint8_t, ParameterBlockSize> param,
                              std::span<const std::uint8_t, DataImageSize> image)
{
    clear();
    header.bytes.fill(0);
    std::copy(param.begin(), param.end(), parameters.bytes.begin());
    std::copy(image.begin(), image.end(), data.bytes.begin());
    pointCount = std::min<std::int32_t>(data.storedCount(), MaxSurveyPoints);
    for (int i = 0; i < pointCount; ++i) {
        flags[static_cast<std::size_t>(i)] = PointFlag::Shown;
        depth[static_cast<std::size_t>(i)] = 0.0;
    }
    convertAll();
    return 1;
}

} // namespace zolm
