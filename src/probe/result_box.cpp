#include "probe/texts.h"
#include "probe/view.h"

namespace zolm::probe {

namespace {

// The operations whose time-out texts say which step failed.
bool numberedSteps(Operation op)
{
    return op == Operation::StartRealTime || op == Operation::ReadInfo || op == Operation::ReadData;
}

QString timeoutText(Operation op, const Step &step)
{
    if (!numberedSteps(op) || step.number == 0)
        return text::timeout();
    if (step.block >= 0)
        return step.number == 3 ? text::parameterBlockTimeout(step.block) : text::dataBlockTimeout(step.block);
    return text::timeoutStep(step.number);
}

} // namespace

std::optional<ProbeBox> resultBox(Operation op, const Result &result)
{
    switch (result.failure) {
    case Failure::None:
        switch (op) {
        case Operation::LinkTest: return ProbeBox{text::captionResult(), text::linkTestPassed(), BoxIcon::Information};
        case Operation::WriteSettings:
            return ProbeBox{text::captionInfo(), text::settingsWritten(), BoxIcon::Information};
        case Operation::ReadData: return ProbeBox{text::captionResult(), text::dataRead(), BoxIcon::Information};
        default: return std::nullopt;
        }
    case Failure::Timeout: return ProbeBox{text::captionError(), timeoutText(op, result.step), BoxIcon::Question};
    case Failure::Port:
        // The system's own text first; the cause on a line of its own after it.
        return ProbeBox{text::captionError(),
                        timeoutText(op, result.step) + QLatin1Char('\n')
                            + text::portNotOpened(result.portName, result.portReason),
                        BoxIcon::Question};
    case Failure::Mismatch: return ProbeBox{text::captionError(), text::settingsNotWritten(), BoxIcon::Question};
    case Failure::NoData: return ProbeBox{text::captionInfo(), text::noStoredData(), BoxIcon::Information};
    case Failure::Cancelled: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace zolm::probe
