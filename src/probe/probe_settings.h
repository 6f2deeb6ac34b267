#pragma once
// The probe settings flow without its windows: the stored start delay and interval, the
// warning before stored data is discarded, and the checks made when the user confirms.
#include <QString>

#include <cstdint>
#include <optional>

namespace zolm {
class SettingsStore;
}

namespace zolm::probe {

struct ProbeSetup {
    std::int32_t minutes = 1;  // start delay, minutes part
    std::int32_t seconds = 0;  // start delay, seconds part
    std::int32_t interval = 10; // sampling interval, seconds

    std::int32_t delaySeconds() const { return minutes * 60 + seconds; }
};

// "setuptime/DelayMin", "setuptime/DelaySec", "setuptime/Interval"; missing values get their
// defaults, written back at once.
ProbeSetup readStoredSetup(SettingsStore &store);
void storeSetup(SettingsStore &store, const ProbeSetup &setup);

// The question asked before writing settings to a probe that still holds data.
bool setupDiscardsData(int storedCount);
QString discardWarningCaption();
QString discardWarningText();

struct SetupRefusal {
    QString caption;
    QString text;
};

// The checks made on confirming: the minimum delay, the minimum interval, then each value's
// accepted range. nullopt: the values may be written.
std::optional<SetupRefusal> validateSetup(const ProbeSetup &setup);

// An edit's text read as the dialog reads it: a signed integer, anything else 0.
std::int32_t parseSetupNumber(const QString &text);

} // namespace zolm::probe
