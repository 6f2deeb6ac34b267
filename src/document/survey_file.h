#pragma once
// The .ZLM document file: header, parameter block (or, in the older layout, only the
// calibration area), data header, data tail, then 30 bytes per point. No values are stored;
// they are recomputed on every open.
#include "document/survey_data.h"
#include "platform/result.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

namespace zolm {

inline constexpr std::size_t CurrentLayoutFixedSize = 25132;
inline constexpr std::size_t OlderLayoutFixedSize = 5220;
inline constexpr std::size_t PointRecordSize = 30;
// Nothing beyond this many bytes is ever read.
inline constexpr std::size_t MaxSurveyFileRead = CurrentLayoutFixedSize + PointRecordSize * MaxSurveyPoints;

// A document keeps depths from 0 to this many metres; any other stored depth reads back as 0.
inline constexpr double MaxStoredDepth = 9999.99;

enum class SurveyLayout { Current, Older };

// Which layout the bytes after the header announce; a file too short for that says Older.
SurveyLayout detectLayout(std::span<const std::uint8_t> file);

// Checks the file first; only a file that is whole replaces the survey (converted, flags and
// depths from the file). On refusal (WrongFile) the survey is untouched.
Done parseSurveyFile(std::span<const std::uint8_t> file, SurveyData &survey);

// Empty when the file is exactly what a survey of its layout and count is (the fixed part,
// then 30 bytes for each of its 0 to 1818 points, nothing more); otherwise why it is not.
// `file` holds at least the file's first bytes, `fileSize` is the whole file's length. The
// reader stays lenient: a file this calls inexact may still open.
QString inexactReason(std::span<const std::uint8_t> file, std::uint64_t fileSize);

// The file's bytes: a type other than "ZOLM120" is written as "ZOLM60" and the data header's
// count decides how many points are written. Refuses a count above the store's capacity.
Result<QByteArray> serializeSurvey(const SurveyData &survey);
// What saving changes in the open document so that it describes the file just written: the
// type rewritten as serializeSurvey writes it and pointCount taken from the data header.
void adoptSavedForm(SurveyData &survey);

} // namespace zolm
