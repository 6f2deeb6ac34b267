#pragma once
// What the probe windows show: the information (identity, type, capacity, stored count,
// settings and battery, from the four pieces the read-information operation brings back)
// and the real-time values.
#include "survey/survey_types.h"

#include <QString>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace zolm::probe {

struct ProbeInfo {
    std::array<std::uint8_t, DataHeader::Size> header{}; // the data header (X answer)
    std::array<std::uint8_t, 64> identity{};             // probe memory from 0x6000
    std::array<std::uint8_t, 64> typeBlock{};            // probe memory from 0x2000
    std::uint16_t battery = 0;                           // the Y reading

    DataHeader dataHeader() const { return DataHeader::decode(header.data()); }
    std::uint16_t storedCount() const { return dataHeader().storedCount; }
    std::uint16_t delaySeconds() const { return dataHeader().firstSampleTime; }
    std::uint8_t intervalSeconds() const { return dataHeader().interval; }
};

// How the information is worded: as `zolm-cli info` prints it, a format other tools read and
// so never translated, or in the UI language, for the probe information window.
enum class Wording { Fixed, Translated };

struct BatteryState {
    double volts = 0;
    int percent = 0; // 0..100, the bar's position
    QString voltageText;
    QString percentText;
};

BatteryState batteryState(std::uint16_t reading, Wording wording = Wording::Fixed);

// Identity bytes 0..13 up to the first zero byte.
QString probeNumberText(const ProbeInfo &info);
QString probeTypeText(const ProbeInfo &info, Wording wording = Wording::Fixed);
QString probeCapacityText(const ProbeInfo &info, Wording wording = Wording::Fixed);
QString delayText(std::uint16_t delaySeconds, Wording wording = Wording::Fixed);

// The dialog's fields in its order, (label, text); the charge bar has no label and is
// BatteryState::percent.
std::vector<std::pair<QString, QString>> infoFields(const ProbeInfo &info, Wording wording = Wording::Fixed);

// The real-time window's eight fields in its order, (label, "%2.2f" text).
std::vector<std::pair<QString, QString>> realTimeFields(const SurveyValues &values);

} // namespace zolm::probe
