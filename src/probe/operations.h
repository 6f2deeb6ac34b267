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
// A live stream that stays silent this long after its start has stopped.
inline constexpr int LiveSilence = 3000;
} // namespace Wait

inline constexpr int ParameterRequests = 384; // 0x2000..0x7FFF in 64-byte pieces
inline constexpr int TimeoutBarMax = 2;
inline constexpr int CompletionBarMax = 73;
// Where two operations set the completion bar after their first exchange.
inline constexpr int CompletionAfterAttention = 50;

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

Result linkTest(OperationContext &ctx);
Result startRealTime(OperationContext &ctx);
Result stopRealTime(OperationContext &ctx);
Result historyCheck(OperationContext &ctx);
Result writeSettings(OperationContext &ctx, SettingsToWrite settings);
Result readInfo(OperationContext &ctx);
// Every answer is checked; with `verify` the parameters and the data blocks are read a second
// time and compared, so a line that corrupts cannot pass a wrong survey.
Result readData(OperationContext &ctx, bool verify = true);

// Runs the request's operation.
Result runOperation(OperationContext &ctx, const Request &request);

// The view's message an operation ends with when it succeeds, besides its box.
enum class ViewEvent { None, RestoreFocus, RealTimeStarted, HistoryResult, ProbeInfo, DataRead };

// The probe operations, each described once: the progress window's caption its starter shows,
// how it runs, the box it ends with when it succeeds, whether its time-out texts number the
// step that failed, and the view's message it ends with.
struct OperationInfo {
    Operation operation;
    QString (*caption)();
    Result (*run)(OperationContext &ctx, const Request &request);
    QString (*successCaption)(); // null: it succeeds without a box
    QString (*successText)();
    bool numberedSteps;
    ViewEvent endsWith;
};
const OperationInfo &operationInfo(Operation operation);

// The 8-byte data header that writing the settings sends (the stored count becomes 0).
std::array<std::uint8_t, DataHeader::Size> settingsHeader(SettingsToWrite settings);

} // namespace zolm::probe
