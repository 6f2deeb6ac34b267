#include "probe/operations.h"
#include "probe/texts.h"
#include "probe/view.h"

namespace zolm::probe {

namespace {

// The operations whose time-out texts say which step failed.
bool numberedSteps(Operation op)
{
    return operationInfo(op).numberedSteps;
}

QString timeoutText(Operation op, const Step &step)
{
    if (!numberedSteps(op) || step.number == 0)
        return text::timeout();
    if (step.block >= 0)
        return step.number == 3 ? text::parameterBlockTimeout(step.block) : text::dataBlockTimeout(step.block);
    return text::timeoutStep(step.number);
}

// The step as the time-out text names it: "2", "4.17", or nothing.
QString stepName(Operation op, const Step &step)
{
    if (!numberedSteps(op) || step.number == 0)
        return {};
    if (step.block >= 0)
        return QStringLiteral("%1.%2").arg(step.number).arg(step.block);
    return QString::number(step.number);
}

std::optional<ProbeBox> boxOf(Operation op, const Result &result)
{
    const ErrorCode code = result.code;
    switch (code) {
    case ErrorCode::None: {
        const OperationInfo &info = operationInfo(op);
        if (!info.successCaption)
            return std::nullopt;
        return ProbeBox{info.successCaption(), info.successText(), code};
    }
    case ErrorCode::ProbeTimeout: return ProbeBox{text::captionError(), timeoutText(op, result.step), code};
    case ErrorCode::ProbePort:
        // The system's own text first; the cause on a line of its own after it.
        return ProbeBox{text::captionError(),
                        timeoutText(op, result.step) + QLatin1Char('\n')
                            + (result.portWrite ? text::portWriteFailed(result.portName, result.portReason)
                                                : text::portNotOpened(result.portName, result.portReason)),
                        code};
    case ErrorCode::ProbeData:
        return ProbeBox{text::captionError(), text::dataError(stepName(op, result.step)), code};
    case ErrorCode::ProbeUnverified:
        return ProbeBox{text::captionError(), text::verifyFailed(stepName(op, result.step)), code};
    case ErrorCode::ProbeMismatch: return ProbeBox{text::captionError(), text::settingsNotWritten(), code};
    case ErrorCode::ProbeNoData: return ProbeBox{text::captionInfo(), text::noStoredData(), code};
    // Cancelled ends silently; the other codes are not the probe's.
    default: return std::nullopt;
    }
}

} // namespace

std::optional<ProbeBox> resultBox(Operation op, const Result &result)
{
    auto box = boxOf(op, result);
    // A read tells the engineer that the cable is bad even when the survey came through.
    if (box && op == Operation::ReadData && result.rereads > 0)
        box->text += QStringLiteral("\n\n") + text::rereads(result.rereads);
    return box;
}

} // namespace zolm::probe
