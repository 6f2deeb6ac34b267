#include "document/survey_file.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static auto survey = std::make_unique<zolm::SurveyData>();
    if (zolm::parseSurveyFile({data, size}, *survey)) {
        if (survey->pointCount > zolm::MaxSurveyPoints)
            __builtin_trap();
        (void)zolm::serializeSurvey(*survey);
    }
    return 0;
}
