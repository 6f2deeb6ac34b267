#include "probe/operations.h"

#include "probe/protocol.h"
#include "probe/texts.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zolm::probe {

namespace {

// One operation's run: its exchanges, its two bars and the ways it ends.
class Run {
public:
    explicit Run(OperationContext &ctx) : m_ctx(ctx)
    {
        m_hooks.silentPeriod = [this] { stepBar(Bar::Timeout); };
        m_hooks.cancelled = ctx.cancelled;
    }

    Status ask(const QByteArray &request, char letter, std::size_t minLength, int waitMs)
    {
        m_ctx.lastWaitMs = waitMs;
        return exchange(m_ctx.link, m_ctx.decoder, request, letter, minLength, waitMs, answer, m_hooks);
    }

    void setBar(Bar bar, int step)
    {
        Q_ASSERT(step >= 0 && step <= maxOf(bar));
        position(bar) = step;
        m_ctx.view.setProgress(bar, step, maxOf(bar));
    }
    // A progress bar stepped past its end starts again at 0.
    void stepBar(Bar bar)
    {
        int &p = position(bar);
        p = p + 1 > maxOf(bar) ? 0 : p + 1;
        m_ctx.view.setProgress(bar, p, maxOf(bar));
    }

    void hide() { m_ctx.view.hideProgress(); }
    void box(const QString &caption, const QString &text, BoxIcon icon) { m_ctx.view.showBox({caption, text, icon}); }
    void errorBox(const QString &text) { box(text::captionError(), text, BoxIcon::Question); }

    // The common end of a failed exchange: hidden window and the step's time-out text, or
    // nothing at all when the worker is shutting down.
    Outcome fail(Status s, const QString &text)
    {
        hide();
        if (s == Status::Cancelled)
            return Outcome::Cancelled;
        errorBox(text);
        return Outcome::Failed;
    }

    OperationContext &ctx() { return m_ctx; }
    Frame answer;

private:
    static int maxOf(Bar bar) { return bar == Bar::Timeout ? TimeoutBarMax : CompletionBarMax; }
    int &position(Bar bar) { return bar == Bar::Timeout ? m_timeoutPos : m_completionPos; }

    OperationContext &m_ctx;
    WaitHooks m_hooks;
    int m_timeoutPos = 0; // the starter set both bars to 0
    int m_completionPos = 0;
};

// Refreshes a whole parameter image, 64 bytes per request. Returns the failing piece's index
// through *failedAt.
Status readParameters(Run &run, ProbeParameterBlock &into, int waitMs, int *failedAt)
{
    run.setBar(Bar::Completion, 0);
    for (int k = 0; k < ParameterRequests; ++k) {
        run.setBar(Bar::Timeout, 0);
        const auto address = static_cast<std::uint16_t>(0x2000 + ParameterChunk * static_cast<std::size_t>(k));
        const Status s = run.ask(requestParameters(address), 'G', ParameterAnswerLength, waitMs);
        if (s != Status::Ok) {
            *failedAt = k;
            return s;
        }
        std::memcpy(into.bytes.data() + ParameterChunk * static_cast<std::size_t>(k), run.answer.body.data() + 1,
                    ParameterChunk);
        run.stepBar(Bar::Completion);
    }
    return Status::Ok;
}

// P then X: the probe's attention, then its data header in run.answer.
Status attentionAndHeader(Run &run)
{
    const Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    return s == Status::Ok ? run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header) : s;
}

} // namespace

std::array<std::uint8_t, 8> settingsHeader(std::int32_t delaySeconds, std::int32_t intervalSeconds)
{
    return {0,
            static_cast<std::uint8_t>(delaySeconds & 0xFF),
            static_cast<std::uint8_t>((delaySeconds >> 8) & 0xFF),
            static_cast<std::uint8_t>(intervalSeconds & 0xFF),
            0,
            0,
            0,
            0};
}

Outcome linkTest(OperationContext &ctx)
{
    Run run(ctx);
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s == Status::Ok) {
        run.setBar(Bar::Completion, 50);
        s = run.ask(requestLedTest(), 'I', 1, Wait::LedTest);
    }
    Outcome outcome;
    if (s == Status::Ok) {
        run.hide();
        run.box(text::captionResult(), text::linkTestPassed(), BoxIcon::Information);
        outcome = Outcome::Done;
    } else {
        outcome = run.fail(s, text::timeout());
    }
    ctx.view.restoreFocus();
    return outcome;
}

Outcome startRealTime(OperationContext &ctx)
{
    Run run(ctx);
    const auto failed = [&](Status s, int step) {
        run.hide();
        if (s == Status::Cancelled)
            return Outcome::Cancelled;
        ctx.view.realTimeFailed();
        run.errorBox(text::timeoutStep(step));
        return Outcome::Failed;
    };
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return failed(s, 1);
    // The samples are converted with the probe's own calibration, fetched afresh.
    auto fresh = std::make_unique<ProbeParameterBlock>(ctx.images.parameters);
    int failedAt = 0;
    s = readParameters(run, *fresh, Wait::RealTimeBlock, &failedAt);
    if (s != Status::Ok)
        return failed(s, 2);
    s = run.ask(requestRealTime(), static_cast<char>(SampleLetter), SampleFrameLength, Wait::RealTimeStart);
    if (s != Status::Ok)
        return failed(s, 3);
    ctx.images.parameters = *fresh;
    ctx.view.realTimeStarted();
    run.hide();
    return Outcome::Done;
}

Outcome stopRealTime(OperationContext &ctx)
{
    Run run(ctx);
    const Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return run.fail(s, text::timeout());
    run.hide();
    return Outcome::Done;
}

Outcome historyCheck(OperationContext &ctx)
{
    Run run(ctx);
    Status s = attentionAndHeader(run);
    if (s != Status::Ok)
        return run.fail(s, text::timeout());
    const int count = run.answer[5] | (run.answer[6] << 8);
    ctx.view.historyResult(count);
    run.hide();
    return Outcome::Done;
}

Outcome writeSettings(OperationContext &ctx, std::int32_t delaySeconds, std::int32_t intervalSeconds)
{
    Run run(ctx);
    Status s = attentionAndHeader(run);
    if (s != Status::Ok)
        return run.fail(s, text::timeout());

    const auto header = settingsHeader(delaySeconds, intervalSeconds);
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestWriteHeader(header), 'W', 1, Wait::WriteHeader);
    if (s != Status::Ok)
        return run.fail(s, text::timeout());

    ctx.view.setCaption(text::captionReadBack());
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != Status::Ok)
        return run.fail(s, text::timeout());

    const bool same = std::equal(header.begin(), header.end(), run.answer.body.begin() + 1);
    // The box comes while the progress window is still up.
    if (same)
        run.box(text::captionInfo(), text::settingsWritten(), BoxIcon::Information);
    else
        run.errorBox(text::settingsNotWritten());
    run.hide();
    return same ? Outcome::Done : Outcome::Failed;
}

Outcome readInfo(OperationContext &ctx)
{
    Run run(ctx);
    ProbeInfo info;
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(1));
    run.setBar(Bar::Completion, 50);

    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(2));
    std::copy_n(run.answer.body.begin() + 1, info.header.size(), info.header.begin());
    run.setBar(Bar::Completion, 0);
    run.setBar(Bar::Timeout, 0);

    s = run.ask(requestParameters(0x6000), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(3));
    std::copy_n(run.answer.body.begin() + 1, info.identity.size(), info.identity.begin());

    s = run.ask(requestBattery(), 'Y', BatteryAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(4));
    info.battery = static_cast<std::uint16_t>(run.answer[1] | (run.answer[2] << 8));
    run.hide();

    s = run.ask(requestParameters(0x2000), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(3));
    std::copy_n(run.answer.body.begin() + 1, info.typeBlock.size(), info.typeBlock.begin());

    ctx.view.showProbeInfo(info);
    return Outcome::Done;
}

Outcome readData(OperationContext &ctx)
{
    Run run(ctx);
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(1));
    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != Status::Ok)
        return run.fail(s, text::timeoutStep(2));

    const int n = run.answer[5] | (run.answer[6] << 8);
    if (n == 0 || n > MaxSurveyPoints) {
        run.hide();
        run.box(text::captionInfo(), text::noStoredData(), BoxIcon::Information);
        return Outcome::Failed;
    }

    // Read into a copy: the worker's images, and so the next read's bytes beyond the survey,
    // change only when the whole read has succeeded.
    auto fresh = std::make_shared<ProbeImages>(ctx.images);
    int failedAt = 0;
    s = readParameters(run, fresh->parameters, Wait::ReadBlock, &failedAt);
    if (s != Status::Ok)
        return run.fail(s, text::parameterBlockTimeout(failedAt));

    run.setBar(Bar::Completion, 0);
    const std::size_t length = RawSampleSize * static_cast<std::size_t>(n) + RawDataImage::HeaderSize;
    const std::size_t last = length / BlockSize; // at most 255 for 1818 points
    for (std::size_t j = 0; j <= last; ++j) {
        run.setBar(Bar::Timeout, 0);
        // The last block is requested even when it contributes nothing. An answer must carry
        // the bytes that are taken from it, and no more: a probe may end its last block early.
        const std::size_t take = j < last ? BlockSize : length % BlockSize;
        s = run.ask(requestBlock(static_cast<std::uint8_t>(j)), 'B', 2 + take, Wait::ReadBlock);
        if (s != Status::Ok)
            return run.fail(s, text::dataBlockTimeout(static_cast<int>(j)));
        std::memcpy(fresh->data.bytes.data() + BlockSize * j, run.answer.body.data() + 2, take);
        run.stepBar(Bar::Completion);
    }

    ctx.images = *fresh;
    ctx.view.dataRead(std::move(fresh));
    run.hide();
    run.box(text::captionResult(), text::dataRead(), BoxIcon::Information);
    return Outcome::Done;
}

Outcome runOperation(OperationContext &ctx, char code, std::int32_t delaySeconds, std::int32_t intervalSeconds)
{
    switch (code) {
    case Op::LinkTest: return linkTest(ctx);
    case Op::StartRealTime: return startRealTime(ctx);
    case Op::StopRealTime: return stopRealTime(ctx);
    case Op::HistoryCheck: return historyCheck(ctx);
    case Op::WriteSettings: return writeSettings(ctx, delaySeconds, intervalSeconds);
    case Op::ReadInfo: return readInfo(ctx);
    case Op::ReadData: return readData(ctx);
    default: return Outcome::Done;
    }
}

} // namespace zolm::probe
