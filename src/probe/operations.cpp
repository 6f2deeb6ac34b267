#include "probe/operations.h"

#include "probe/protocol.h"
#include "probe/texts.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zolm::probe {

namespace {

// One operation's run: its exchanges, its two bars, the count of exchanges done, and the ways
// it ends.
class Run {
public:
    Run(OperationContext &ctx, Operation op) : m_ctx(ctx), m_op(op)
    {
        m_hooks.silentPeriod = [this] { stepBar(Bar::Timeout); };
        m_hooks.cancelled = ctx.cancelled;
    }

    // The exchanges this operation will make, for the view's count of them.
    void expectExchanges(int total) { m_total = total; }

    Status ask(const QByteArray &request, char letter, std::size_t minLength, int waitMs)
    {
        m_ctx.lastWaitMs = waitMs;
        const Status s = exchange(m_ctx.link, m_ctx.decoder, request, letter, minLength, waitMs, answer, m_hooks);
        if (s == Status::Ok) {
            ++m_done;
            if (m_total > 0)
                m_ctx.view.transferProgress(m_done, m_total);
        }
        return s;
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

    // Shows the result's box, if it has one, and hands the result on.
    Result show(const Result &result)
    {
        if (const auto box = resultBox(m_op, result))
            m_ctx.view.showBox(*box);
        return result;
    }

    // What a failed exchange means: a time-out, a port that is not open, or a shutdown.
    Result failure(Status s, Step step) const
    {
        Result r;
        r.step = step;
        switch (s) {
        case Status::Cancelled:
            r.outcome = Outcome::Cancelled;
            r.failure = Failure::Cancelled;
            break;
        case Status::NoPort:
            r.outcome = Outcome::Failed;
            r.failure = Failure::Port;
            r.portName = m_ctx.link.name();
            r.portReason = m_ctx.link.openError();
            break;
        default:
            r.outcome = Outcome::Failed;
            r.failure = Failure::Timeout;
            break;
        }
        return r;
    }

    // The common end of a failed exchange: hidden window and the step's time-out box, or
    // nothing at all when the worker is shutting down.
    Result fail(Status s, Step step)
    {
        hide();
        return show(failure(s, step));
    }

    OperationContext &ctx() { return m_ctx; }
    Frame answer;

private:
    static int maxOf(Bar bar) { return bar == Bar::Timeout ? TimeoutBarMax : CompletionBarMax; }
    int &position(Bar bar) { return bar == Bar::Timeout ? m_timeoutPos : m_completionPos; }

    OperationContext &m_ctx;
    Operation m_op;
    WaitHooks m_hooks;
    int m_timeoutPos = 0; // the starter set both bars to 0
    int m_completionPos = 0;
    int m_total = 0;
    int m_done = 0;
};

Result failed(Failure f)
{
    Result r;
    r.outcome = Outcome::Failed;
    r.failure = f;
    return r;
}

// Refreshes a whole parameter image, 64 bytes per request. Returns the failing piece's index
// through *failedAt.
Status readParameters(Run &run, ProbeParameterBlock &into, int waitMs, int *failedAt)
{
    run.setBar(Bar::Completion, 0);
    for (int k = 0; k < ParameterRequests; ++k) {
        run.setBar(Bar::Timeout, 0);
        const auto offset = ParameterChunk * static_cast<std::size_t>(k);
        const auto address = static_cast<std::uint16_t>(ParameterMemoryAddress + offset);
        const Status s = run.ask(requestParameters(address), 'G', ParameterAnswerLength, waitMs);
        if (s != Status::Ok) {
            *failedAt = k;
            return s;
        }
        std::memcpy(into.bytes.data() + offset, run.answer.body.data() + 1, ParameterChunk);
        run.stepBar(Bar::Completion);
    }
    return Status::Ok;
}

// P then X: the probe's attention, then its data header in run.answer. *step: the one that failed.
Status attentionAndHeader(Run &run, int *step)
{
    *step = 1;
    const Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return s;
    *step = 2;
    return run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
}

DataHeader headerOf(const Frame &answer) { return DataHeader::decode(answer.body.data() + 1); }

} // namespace

std::array<std::uint8_t, DataHeader::Size> settingsHeader(SettingsToWrite settings)
{
    DataHeader h;
    h.firstSampleTime = static_cast<std::uint16_t>(settings.delaySeconds & 0xFFFF);
    h.interval = static_cast<std::uint8_t>(settings.intervalSeconds & 0xFF);
    h.storedCount = 0;
    return h.encode();
}

Result linkTest(OperationContext &ctx)
{
    Run run(ctx, Operation::LinkTest);
    run.expectExchanges(2);
    int step = 1;
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s == Status::Ok) {
        run.setBar(Bar::Completion, CompletionAfterAttention);
        step = 2;
        s = run.ask(requestLedTest(), 'I', 1, Wait::LedTest);
    }
    Result result;
    if (s == Status::Ok) {
        run.hide();
        result = run.show(Result{});
    } else {
        result = run.fail(s, {step});
    }
    ctx.view.restoreFocus();
    return result;
}

Result startRealTime(OperationContext &ctx)
{
    Run run(ctx, Operation::StartRealTime);
    run.expectExchanges(2 + ParameterRequests);
    const auto fail = [&](Status s, int step) {
        run.hide();
        const Result r = run.failure(s, {step});
        if (r.outcome == Outcome::Cancelled)
            return r;
        ctx.view.realTimeFailed();
        return run.show(r);
    };
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return fail(s, 1);
    // The samples are converted with the probe's own calibration, fetched afresh.
    auto fresh = std::make_unique<ProbeParameterBlock>(ctx.images.parameters);
    int failedAt = 0;
    s = readParameters(run, *fresh, Wait::RealTimeBlock, &failedAt);
    if (s != Status::Ok)
        return fail(s, 2);
    s = run.ask(requestRealTime(), static_cast<char>(SampleLetter), SampleFrameLength, Wait::RealTimeStart);
    if (s != Status::Ok)
        return fail(s, 3);
    ctx.images.parameters = *fresh;
    ctx.view.realTimeStarted();
    run.hide();
    return Result{};
}

Result stopRealTime(OperationContext &ctx)
{
    Run run(ctx, Operation::StopRealTime);
    const Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return run.fail(s, {1});
    run.hide();
    return Result{};
}

Result historyCheck(OperationContext &ctx)
{
    Run run(ctx, Operation::HistoryCheck);
    run.expectExchanges(2);
    int step = 0;
    const Status s = attentionAndHeader(run, &step);
    if (s != Status::Ok)
        return run.fail(s, {step});
    ctx.view.historyResult(headerOf(run.answer).storedCount);
    run.hide();
    return Result{};
}

Result writeSettings(OperationContext &ctx, SettingsToWrite settings)
{
    Run run(ctx, Operation::WriteSettings);
    run.expectExchanges(4);
    int step = 0;
    Status s = attentionAndHeader(run, &step);
    if (s != Status::Ok)
        return run.fail(s, {step});

    const auto header = settingsHeader(settings);
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestWriteHeader(header), 'W', 1, Wait::WriteHeader);
    if (s != Status::Ok)
        return run.fail(s, {3});

    ctx.view.setCaption(text::captionReadBack());
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != Status::Ok)
        return run.fail(s, {4});

    const bool same = std::equal(header.begin(), header.end(), run.answer.body.begin() + 1);
    // The box comes while the progress window is still up.
    const Result result = run.show(same ? Result{} : failed(Failure::Mismatch));
    run.hide();
    return result;
}

Result readInfo(OperationContext &ctx)
{
    Run run(ctx, Operation::ReadInfo);
    run.expectExchanges(5);
    ProbeInfo info;
    Status s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != Status::Ok)
        return run.fail(s, {1});
    run.setBar(Bar::Completion, CompletionAfterAttention);

    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != Status::Ok)
        return run.fail(s, {2});
    std::copy_n(run.answer.body.begin() + 1, info.header.size(), info.header.begin());
    run.setBar(Bar::Completion, 0);
    run.setBar(Bar::Timeout, 0);

    s = run.ask(requestParameters(IdentityAddress), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, {3});
    std::copy_n(run.answer.body.begin() + 1, info.identity.size(), info.identity.begin());

    s = run.ask(requestBattery(), 'Y', BatteryAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, {4});
    info.battery = le::u16(run.answer.body.data() + 1);
    run.hide();

    s = run.ask(requestParameters(ParameterMemoryAddress), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != Status::Ok)
        return run.fail(s, {3});
    std::copy_n(run.answer.body.begin() + 1, info.typeBlock.size(), info.typeBlock.begin());

    ctx.view.showProbeInfo(info);
    return Result{};
}

Result readData(OperationContext &ctx)
{
    Run run(ctx, Operation::ReadData);
    // The count is known only once the header has told how many blocks there are.
    int step = 0;
    Status s = attentionAndHeader(run, &step);
    if (s != Status::Ok)
        return run.fail(s, {step});

    const int n = headerOf(run.answer).storedCount;
    if (n == 0 || n > MaxSurveyPoints) {
        run.hide();
        return run.show(failed(Failure::NoData));
    }

    const std::size_t length = RawSampleSize * static_cast<std::size_t>(n) + RawDataImage::HeaderSize;
    const std::size_t last = length / BlockSize; // at most 255 for 1818 points
    run.expectExchanges(2 + ParameterRequests + static_cast<int>(last) + 1);

    // Read into a copy: the worker's images, and so the next read's bytes beyond the survey,
    // change only when the whole read has succeeded.
    auto fresh = std::make_shared<ProbeImages>(ctx.images);
    int failedAt = 0;
    s = readParameters(run, fresh->parameters, Wait::ReadBlock, &failedAt);
    if (s != Status::Ok)
        return run.fail(s, {3, failedAt});

    run.setBar(Bar::Completion, 0);
    for (std::size_t j = 0; j <= last; ++j) {
        run.setBar(Bar::Timeout, 0);
        // The last block is requested even when it contributes nothing. An answer must carry
        // the bytes that are taken from it, and no more: a probe may end its last block early.
        const std::size_t take = j < last ? BlockSize : length % BlockSize;
        s = run.ask(requestBlock(static_cast<std::uint8_t>(j)), 'B', 2 + take, Wait::ReadBlock);
        if (s != Status::Ok)
            return run.fail(s, {4, static_cast<int>(j)});
        std::memcpy(fresh->data.bytes.data() + BlockSize * j, run.answer.body.data() + 2, take);
        run.stepBar(Bar::Completion);
    }

    ctx.images = *fresh;
    ctx.view.dataRead(std::move(fresh));
    run.hide();
    return run.show(Result{});
}

Result runOperation(OperationContext &ctx, const Request &request)
{
    switch (request.operation) {
    case Operation::LinkTest: return linkTest(ctx);
    case Operation::StartRealTime: return startRealTime(ctx);
    case Operation::StopRealTime: return stopRealTime(ctx);
    case Operation::HistoryCheck: return historyCheck(ctx);
    case Operation::WriteSettings: return writeSettings(ctx, request.settings.value_or(SettingsToWrite{}));
    case Operation::ReadInfo: return readInfo(ctx);
    case Operation::ReadData: return readData(ctx);
    }
    return Result{};
}

} // namespace zolm::probe
