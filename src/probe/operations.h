#pragma once
// The seven probe operations, each a fixed sequence of exchanges with its time-outs, progress
// and messages. They run on the communication worker, but take everything they touch as
// parameters, so a test runs them on any thread against a scripted link.
#include "probe/frame.h"
#include "probe/link.h"
#include "probe/view.h"

#include <array>
#include <cstdint>
#include <functional>

namespace zolm::probe {

// The operation codes of the starters.
namespace Op {
inline constexpr char LinkTest = 'L';
inline constexpr char StartRealTime = 'A';
inline constexpr char StopRealTime = 'P';
inline constexpr char HistoryCheck = 'D';
inline constexpr char WriteSettings = 'S';
inline constexpr char ReadInfo = 'I';
inline constexpr char ReadData = 'R';
} // namespace Op

// The probe's time-outs per silent read period, in milliseconds.
namespace Wait {
inline constexpr int Attention = 2000;    // P
inline constexpr int LedTest = 3000;      // I
inline constexpr int Header = 200;        // X
inline constexpr int WriteHeader = 1000;  // W
inline constexpr int InfoBlock = 1000;    // G and Y of the information
inline constexpr int RealTimeBlock = 500; // G before real-time output
inline constexpr int ReadBlock = 200;     // G and B of the data read
inline constexpr int RealTimeStart = 3000; // A, answered by the first sample frame
inline constexpr int AtOpen = 200;        // the link's read wait before any exchange
} // namespace Wait

inline constexpr int ParameterRequests = 384; // 0x2000..0x7FFF in 64-byte pieces
inline constexpr int TimeoutBarMax = 2;
inline constexpr int CompletionBarMax = 73;

struct OperationContext {
    Link &link;
    FrameDecoder &decoder;
    ProbeView &view;
    // The worker's images: a probe read commits both only when it has read everything, a
    // real-time start commits the parameters only when the stream has started.
    ProbeImages &images;
    std::function<bool()> cancelled; // shutdown asked; may be empty
    // The read wait of the last exchange; the real-time reader reads with it.
    int lastWaitMs = Wait::AtOpen;
};

Outcome linkTest(OperationContext &ctx);
Outcome startRealTime(OperationContext &ctx);
Outcome stopRealTime(OperationContext &ctx);
Outcome historyCheck(OperationContext &ctx);
// delay and interval in seconds; only their low 16 and 8 bits go to the probe.
Outcome writeSettings(OperationContext &ctx, std::int32_t delaySeconds, std::int32_t intervalSeconds);
Outcome readInfo(OperationContext &ctx);
Outcome readData(OperationContext &ctx);

// Runs the operation of a code; an unknown code does nothing and is Done.
Outcome runOperation(OperationContext &ctx, char code, std::int32_t delaySeconds, std::int32_t intervalSeconds);

// The 8-byte data header that writing the settings sends (the stored count becomes 0).
std::array<std::uint8_t, 8> settingsHeader(std::int32_t delaySeconds, std::int32_t intervalSeconds);

} // namespace zolm::probe
