#pragma once
// Everything the probe operations show goes through this interface: the progress window
// (caption and two bars), message boxes, the probe information, and the messages to the main
// window. The desktop program, zolm-cli and the tests each present it their own way.
//
// Threads: the progress calls come from the starters (caller's thread) and from the worker;
// everything else from the worker, except the end of a superseded request (the starter's
// thread) and of a request left waiting at shutdown (the destroying thread). showBox and showProbeInfo block the worker until the
// user has closed them; once abandonWaits() has been called (shutdown) they must return
// promptly. Results arrive as copies; nothing here refers to the worker's own memory.
#include "platform/result.h"
#include "survey/survey_types.h"
#include "probe/probe_info.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace zolm::probe {

// A box carries its result's code (None for a success): the desktop chooses the icon from it.
struct ProbeBox {
    QString caption;
    QString text;
    ErrorCode code = ErrorCode::None;
};

enum class Bar {
    Timeout,    // "超时": silent read periods of the current exchange, 0..2
    Completion, // "完成": blocks done, 0..73, starting again at 0 past the end
};

// The probe operations, as the starters name them.
enum class Operation { LinkTest, StartRealTime, StopRealTime, HistoryCheck, WriteSettings, ReadInfo, ReadData };

// The settings write's arguments, in seconds; only their low 16 and 8 bits go to the probe.
struct SettingsToWrite {
    std::int32_t delaySeconds = 0;
    std::int32_t intervalSeconds = 0;
};

using RequestId = std::uint64_t;

// One request to the worker. The id is given by the worker's owner when the request is made
// and is unique for its life, so whoever waits knows its own request's end.
struct Request {
    Operation operation = Operation::LinkTest;
    RequestId id = 0;
    std::optional<SettingsToWrite> settings; // the settings write's, and only its
    bool verify = true; // the data read's: read the memory a second time and compare
};

// How an operation ended; the desktop ignores it, zolm-cli and tests wait for it.
enum class Outcome {
    Done,       // its success box, dialog or message was given
    Failed,     // a time-out, a data error, a refusal or a mismatch was reported
    Cancelled,  // stopped at shutdown between exchanges; nothing was reported
    Superseded, // replaced by a newer request before it ran; it never ran
};

// The exchange that failed: its number in the operation, counted as the numbered texts count
// them (1..4; the information's second G is 3 again), and in the data read's transfers (3 and
// 4) the block. 0 / -1 when none applies.
struct Step {
    int number = 0;
    int block = -1;
};

struct Result {
    Outcome outcome = Outcome::Done;
    // Why it failed: None when done, Cancelled when cancelled or superseded, else one of the
    // probe's codes (ProbeTimeout ... ProbeUnverified).
    ErrorCode code = ErrorCode::None;
    Step step;
    // ProbePort: the port's name and the reason it could not be opened (or written to).
    QString portName;
    QString portReason;
    bool portWrite = false; // the port was open, but a request could not be written
    // Requests that had to be sent again: after an answer that failed its checks, and the
    // extra reads of a piece whose two copies differed.
    int rereads = 0;
};

// The box that ends an operation with this result; nothing when it ends without one. Every
// caption and text of the operations' boxes is chosen here; the icon follows from the code.
std::optional<ProbeBox> resultBox(Operation operation, const Result &result);

class ProbeView {
public:
    virtual ~ProbeView() = default;

    // Progress window. showProgress: shown, caption set, both bars at 0.
    virtual void showProgress(const QString &caption) = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual void setProgress(Bar bar, int step, int max) = 0;
    virtual void hideProgress() = 0;

    virtual void showBox(const ProbeBox &box) = 0;
    virtual void showProbeInfo(const ProbeInfo &info) = 0;

    // Messages to the main window, each the end of an operation (its table's ViewEvent) or of a
    // real-time sample. A view takes those it shows; a new operation's message is one more here.
    virtual void dataRead(std::shared_ptr<const ProbeImages> images) { (void)images; }
    virtual void realTimeSample(const RawSample &sample, const SurveyValues &values)
    {
        (void)sample;
        (void)values;
    }
    virtual void realTimeStarted() {}
    virtual void realTimeFailed() {}
    virtual void historyResult(int storedCount) { (void)storedCount; }
    // After the link test: the owner view takes the keyboard focus back.
    virtual void restoreFocus() {}

    // Exchanges done out of those the operation will make, for a bar that counts them.
    virtual void transferProgress(int done, int total) { (void)done; (void)total; }

    // Every request ends here once: run, cancelled at shutdown, or superseded (then from the
    // thread of the starter that replaced it).
    virtual void operationFinished(const Request &request, const Result &result) { (void)request; (void)result; }
    // After every opening of the port: an empty reason when it opened, else why it did not.
    virtual void portOpened(const QString &portName, const QString &failureReason)
    {
        (void)portName;
        (void)failureReason;
    }
    // Called on shutdown from the thread destroying the worker, before it waits for it.
    virtual void abandonWaits() {}
};

} // namespace zolm::probe
