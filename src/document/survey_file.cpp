#include "document/survey_file.h"

#include "conversion/conversion.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zolm {

namespace {

constexpr std::size_t HeaderBytes = SurveyHeaderSize;
constexpr std::size_t TypeBytes = ProbeParameterBlock::TypeSize;

struct LayoutOffsets {
    std::size_t dataHeader; // RawDataHeader
    std::size_t tail;
    std::size_t points;
};

LayoutOffsets offsetsOf(SurveyLayout layout)
{
    const std::size_t params = layout == SurveyLayout::Current ? ParameterBlockSize : ProbeParameterBlock::CalibrationSize;
    const std::size_t dataHeader = HeaderBytes + params;
    return {dataHeader, dataHeader + RawDataImage::HeaderSize,
            dataHeader + RawDataImage::HeaderSize + RawDataImage::TailSize};
}

bool holdsTypeString(const std::uint8_t *p, const char *name)
{
    return std::memcmp(p, name, std::strlen(name) + 1) == 0;
}

bool acceptableDepth(double d) { return !std::isnan(d) && d >= 0.0 && d <= MaxStoredDepth; }

// Whether `size` is the length of some survey of either layout.
bool surveyLength(std::size_t size)
{
    for (const std::size_t fixed : {CurrentLayoutFixedSize, OlderLayoutFixedSize}) {
        if (size >= fixed && (size - fixed) % PointRecordSize == 0 && (size - fixed) / PointRecordSize <= MaxSurveyPoints)
            return true;
    }
    return false;
}

} // namespace

SurveyLayout detectLayout(std::span<const std::uint8_t> file)
{
    if (file.size() < HeaderBytes + TypeBytes)
        return SurveyLayout::Older;
    const std::uint8_t *type = file.data() + HeaderBytes;
    return holdsTypeString(type, "ZOLM120") || holdsTypeString(type, "ZOLM60") ? SurveyLayout::Current
                                                                              : SurveyLayout::Older;
}

Done parseSurveyFile(std::span<const std::uint8_t> file, SurveyData &survey)
{
    auto fail = [](const QString &text) { return makeError(ErrorCode::WrongFile, text); };

    const SurveyLayout layout = detectLayout(file);
    const LayoutOffsets at = offsetsOf(layout);
    const std::size_t fixedSize = at.points;
    // A file without the current layout's type string whose length fits no survey is most likely
    // not a survey at all (a PDF, a picture): that comes first, what exactly failed after it.
    const auto failForeign = [&](const QString &detail) -> Error {
        if (layout == SurveyLayout::Current || surveyLength(file.size()))
            return fail(detail);
        return fail(QCoreApplication::translate("SurveyFile", "这不是本程序的测斜数据文件（文件的长度和格式都不相符）。")
                    + QStringLiteral("\n\n") + detail);
    };
    if (file.size() < fixedSize) {
        return failForeign(QCoreApplication::translate("SurveyFile", "文件不完整：长度为 %1 字节，至少应为 %2 字节。")
                               .arg(file.size())
                               .arg(fixedSize));
    }

    const int count = static_cast<std::int16_t>(le::u16(file.data() + at.dataHeader + 4));
    if (count > MaxSurveyPoints) {
        return failForeign(
            QCoreApplication::translate("SurveyFile", "文件中的测点数 %1 超过了最多 %2 个测点，无法打开。").arg(count).arg(MaxSurveyPoints));
    }
    const std::size_t records = static_cast<std::size_t>(std::max(count, 0));
    const std::size_t required = fixedSize + PointRecordSize * records;
    if (file.size() < required) {
        return fail(QCoreApplication::translate("SurveyFile", "文件不完整：长度为 %1 字节，按其中的 %2 个测点应为 %3 字节。")
                        .arg(file.size())
                        .arg(count)
                        .arg(required));
    }

    // From here on nothing can fail: the survey is replaced as a whole.
    survey.clear();
    std::copy_n(file.data(), HeaderBytes, survey.header.bytes.begin());
    auto &block = survey.parameters.bytes;
    if (layout == SurveyLayout::Current) {
        std::copy_n(file.data() + HeaderBytes, ParameterBlockSize, block.begin());
    } else {
        // The older layout holds only the calibration area; the type string stays empty.
        std::copy_n(file.data() + HeaderBytes, ProbeParameterBlock::CalibrationSize,
                    block.begin() + ProbeParameterBlock::CalibrationOffset);
    }
    std::copy_n(file.data() + at.dataHeader, RawDataImage::HeaderSize, survey.data.bytes.begin());
    std::copy_n(file.data() + at.tail, RawDataImage::TailSize, survey.data.bytes.begin() + RawDataImage::TailOffset);

    survey.pointCount = count;
    for (std::size_t i = 0; i < records; ++i) {
        const std::uint8_t *rec = file.data() + fixedSize + PointRecordSize * i;
        survey.flags[i] = le::u32(rec);
        const double d = le::f64(rec + 4);
        survey.depth[i] = acceptableDepth(d) ? d : 0.0;
        std::copy_n(rec + 12, RawSampleSize, survey.data.bytes.begin() + RawDataImage::SamplesOffset + RawSampleSize * i);
    }
    survey.convertAll();
    return {};
}

QString inexactReason(std::span<const std::uint8_t> file, std::uint64_t fileSize)
{
    const LayoutOffsets at = offsetsOf(detectLayout(file));
    const std::size_t fixedSize = at.points;
    if (file.size() < fixedSize || fileSize < fixedSize)
        return QCoreApplication::translate("SurveyFile", "长度为 %1 字节，不足 %2 字节").arg(fileSize).arg(fixedSize);
    const int count = static_cast<std::int16_t>(le::u16(file.data() + at.dataHeader + 4));
    if (count < 0 || count > MaxSurveyPoints)
        return QCoreApplication::translate("SurveyFile", "测点数为 %1，不在 0 到 %2 之间").arg(count).arg(MaxSurveyPoints);
    const std::uint64_t expected = fixedSize + PointRecordSize * static_cast<std::size_t>(count);
    if (fileSize != expected) {
        return QCoreApplication::translate("SurveyFile", "长度为 %1 字节，按其中的 %2 个测点应为 %3 字节")
            .arg(fileSize)
            .arg(count)
            .arg(expected);
    }
    return {};
}

namespace {

bool writtenAsType120(const SurveyData &survey) { return isType120(survey.parameters.bytes); }

constexpr char StandardType[] = "ZOLM60";

} // namespace

Result<QByteArray> serializeSurvey(const SurveyData &survey)
{
    const int count = static_cast<std::int16_t>(survey.data.storedCount());
    if (count > MaxSurveyPoints) {
        return makeError(ErrorCode::Refused,
                         QCoreApplication::translate("SurveyFile", "测点数 %1 超过了最多 %2 个测点，无法保存。").arg(count).arg(MaxSurveyPoints));
    }
    QByteArray out;

    const auto &block = survey.parameters.bytes;
    const std::size_t records = static_cast<std::size_t>(std::max(count, 0));
    out.resize(static_cast<qsizetype>(CurrentLayoutFixedSize + PointRecordSize * records));
    auto *p = reinterpret_cast<std::uint8_t *>(out.data());
    p = std::copy(survey.header.bytes.begin(), survey.header.bytes.end(), p);
    std::uint8_t *typeAt = p;
    p = std::copy(block.begin(), block.end(), p);
    if (!writtenAsType120(survey))
        std::memcpy(typeAt, StandardType, sizeof StandardType);
    p = std::copy_n(survey.data.bytes.begin(), RawDataImage::HeaderSize, p);
    p = std::copy_n(survey.data.bytes.begin() + RawDataImage::TailOffset, RawDataImage::TailSize, p);
    for (std::size_t i = 0; i < records; ++i) {
        le::put32(p, survey.flags[i]);
        le::putF64(p + 4, survey.depth[i]);
        std::copy_n(survey.data.bytes.begin() + RawDataImage::SamplesOffset + RawSampleSize * i, RawSampleSize, p + 12);
        p += PointRecordSize;
    }
    return out;
}

void adoptSavedForm(SurveyData &survey)
{
    if (!writtenAsType120(survey))
        std::memcpy(survey.parameters.bytes.data(), StandardType, sizeof StandardType);
    survey.pointCount = static_cast<std::int16_t>(survey.data.storedCount());
}

} // namespace zolm
