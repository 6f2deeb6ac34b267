#pragma once
// Everything the probe operations show goes through this interface: the progress window
// (caption and two bars), message boxes, the probe information, and the messages to the main
// window. The desktop program, zolm-cli and the tests each present it their own way.
//
// Threads: the progress calls come from the starters (caller's thread) and from the worker;
// everything else from the worker. showBox and showProbeInfo block the worker until the
// user has closed them; once abandonWaits() has been called (shutdown) they must return
// promptly. Results arrive as copies; nothing here refers to the worker's own memory.
#include "survey/survey_types.h"
#include "probe/probe_info.h"

#include <QString>

#include <memory>

namespace zolm::probe {

enum class BoxIcon { Information, Question, Exclamation };

struct ProbeBox {
    QString caption;
    QString text;
    BoxIcon icon = BoxIcon::Information;
};

enum class Bar {
    Timeout,    // "超时": silent read periods of the current exchange, 0..2
    Completion, // "完成": blocks done, 0..73, starting again at 0 past the end
};

// The two memory images of a successful probe read.
struct ProbeImages {
    ProbeParameterBlock parameters;
    RawDataImage data;
};

// How an operation ended; the desktop ignores it, zolm-cli and tests wait for it.
enum class Outcome {
    Done,      // its success box, dialog or message was given
    Failed,    // a time-out, a refusal or a mismatch was reported
    Cancelled, // stopped at shutdown between exchanges; nothing was reported
};

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

    // Messages to the main window.
    virtual void dataRead(std::shared_ptr<const ProbeImages> images) = 0;
    virtual void realTimeSample(const RawSample &sample, const SurveyValues &values) = 0;
    virtual void realTimeStarted() = 0;
    virtual void realTimeFailed() = 0;
    virtual void historyResult(int storedCount) = 0;
    // After the link test: the owner view takes the keyboard focus back.
    virtual void restoreFocus() {}

    virtual void operationFinished(char code, Outcome outcome) { (void)code; (void)outcome; }
    // Called on shutdown from the thread destroying the worker, before it waits for it.
    virtual void abandonWaits() {}
};

} // namespace zolm::probe
