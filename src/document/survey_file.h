#pragma once
// The .ZLM document file: header, parameter block (or, in the older layout, only the
// calibration area), data header, data tail, then 30 bytes per point. No values are stored;
// they are recomputed on every open.
#include "document/survey_data.h"

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

enum class SurveyLayout { Current, Older };

// Which layout the bytes after the header announce; a file too short for that says Older.
SurveyLayout detectLayout(std::span<const std::uint8_t> file);

// Checks the file first; only a file that is whole replaces the survey (converted, flags and
// depths from the file). On refusal the survey is untouched and *error says why.
bool parseSurveyFile(std::span<const std::uint8_t> file, SurveyData &survey, QString *error);

// Empty when the file is exactly what a survey of its layout and count is (the fixed part,
// then 30 bytes for each of its 0 to 1818 points, nothing more); otherwise why it is not.
// `file` holds at least the file's first bytes, `fileSize` is the whole file's length. The
// reader stays lenient: a file this calls inexact may still open.
QString inexactReason(std::span<const std::uint8_t> file, std::uint64_t fileSize);

// Saving rewrites a type other than "ZOLM120" to "ZOLM60" and sets pointCount from the data
// header, as the stored file then describes. Refuses a header count above the store's capacity.
bool serializeSurvey(SurveyData &survey, QByteArray &out, QString *error);

} // namespace zolm
