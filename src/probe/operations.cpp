#include "probe/operations.h"

#include "probe/protocol.h"
#include "probe/texts.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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

    // Sends the request and takes its answer. An answer that fails its checks is asked for
    // again, up to ExtraTries more times; a silent probe is not (its time-out stands).
    ErrorCode ask(const QByteArray &request, const AnswerCheck &check, int waitMs)
    {
        const ErrorCode s = askUncounted(request, check, waitMs);
        if (s == ErrorCode::None) {
            ++m_done;
            if (m_total > 0)
                m_ctx.view.transferProgress(m_done, m_total);
        }
        return s;
    }
    // The same, for an exchange beyond those expected (a piece read again).
    ErrorCode askUncounted(const QByteArray &request, const AnswerCheck &check, int waitMs)
    {
        m_ctx.lastWaitMs = waitMs;
        ErrorCode s = ErrorCode::None;
        for (int attempt = 0;; ++attempt) {
            s = exchange(m_ctx.link, m_ctx.decoder, request, check, waitMs, answer, m_hooks);
            if (s != ErrorCode::ProbeData || attempt == ExtraTries)
                return s;
            ++m_rereads;
            drainLine(m_ctx.link, DrainQuietMs, DrainReads, m_hooks);
        }
    }
    ErrorCode ask(const QByteArray &request, char letter, std::size_t length, int waitMs)
    {
        return ask(request, AnswerCheck::exact(letter, length), waitMs);
    }

    // A piece read once more to settle a disagreement between two copies.
    void countReread() { ++m_rereads; }

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

    // Shows the result's box, if it has one, and hands the result on with the count of
    // requests sent again.
    Result show(Result result)
    {
        result.rereads = m_rereads;
        if (const auto box = resultBox(m_op, result))
            m_ctx.view.showBox(*box);
        return result;
    }

    // The result of a failed exchange, the port's name and reason added to a port's failure.
    Result failure(ErrorCode code, Step step) const
    {
        Result r;
        r.step = step;
        r.rereads = m_rereads;
        r.outcome = code == ErrorCode::Cancelled ? Outcome::Cancelled : Outcome::Failed;
        r.code = code;
        if (code == ErrorCode::ProbePort) {
            r.portName = m_ctx.link.name();
            // A request is written only to an open link, and only the worker closes it (between
            // operations): a link still open failed to write, one that is not was never opened.
            r.portWrite = m_ctx.link.isOpen();
            r.portReason = r.portWrite ? m_ctx.link.writeError() : m_ctx.link.openError();
        }
        return r;
    }

    // The common end of a failed exchange: hidden window and the step's time-out box, or
    // nothing at all when the worker is shutting down.
    Result fail(ErrorCode s, Step step)
    {
        hide();
        return show(failure(s, step));
    }

    OperationContext &ctx() { return m_ctx; }
    Frame answer;

private:
    // An answer that failed its checks is asked for this many more times.
    static constexpr int ExtraTries = 3;
    // Before asking again, the rest of a broken answer is let through: a quiet gap this long
    // (many frame times at 115200 baud, and a USB adapter's latency) ends it.
    static constexpr int DrainQuietMs = 50;
    static constexpr int DrainReads = 20;

    static int maxOf(Bar bar) { return bar == Bar::Timeout ? TimeoutBarMax : CompletionBarMax; }
    int &position(Bar bar) { return bar == Bar::Timeout ? m_timeoutPos : m_completionPos; }

    OperationContext &m_ctx;
    Operation m_op;
    WaitHooks m_hooks;
    int m_timeoutPos = 0; // the starter set both bars to 0
    int m_completionPos = 0;
    int m_total = 0;
    int m_done = 0;
    int m_rereads = 0;
};

Result failed(ErrorCode code)
{
    Result r;
    r.outcome = Outcome::Failed;
    r.code = code;
    return r;
}

// A piece of the probe's memory as a read fetches it: a 64-byte parameter chunk or a 128-byte
// data block, with its request, the answer it needs and where its bytes lie in that answer.
struct Piece {
    QByteArray request;
    AnswerCheck check;
    std::size_t from = 0;   // the first answer byte taken
    std::size_t length = 0; // how many are taken
};

Piece parameterPiece(int k)
{
    const auto address = static_cast<std::uint16_t>(ParameterMemoryAddress + ParameterChunk * static_cast<std::size_t>(k));
    return {requestParameters(address), AnswerCheck::exact('G', ParameterAnswerLength), 1, ParameterChunk};
}

// The stored count's place in the data header.
constexpr std::size_t CountInHeader = 4;

// Block j of a data read of `length` bytes holding `count` points. The last block gives only
// what is left (perhaps nothing, though it is still asked for), and a probe may end it early.
// Block 0 begins with the data header, which must give the count the read began with.
Piece dataPiece(int j, std::size_t length, std::uint16_t count)
{
    const auto last = length / BlockSize;
    const auto block = static_cast<std::size_t>(j);
    const std::size_t take = block < last ? BlockSize : length % BlockSize;
    AnswerCheck check = AnswerCheck::dataBlock(j, take);
    if (j == 0)
        check.storedCount = std::pair{2 + CountInHeader, count};
    return {requestBlock(static_cast<std::uint8_t>(j)), check, 2, take};
}

// A piece whose two copies differ is read again until any two of its reads agree; then
// `stored` takes the agreed bytes. nullopt when they agreed.
constexpr int MostReadsOfAPiece = 5;

std::optional<Result> settle(Run &run, const Piece &piece, std::span<std::uint8_t> stored,
                             std::span<const std::uint8_t> second, Step step, int waitMs)
{
    std::vector<std::vector<std::uint8_t>> reads{{stored.begin(), stored.end()}, {second.begin(), second.end()}};
    while (static_cast<int>(reads.size()) < MostReadsOfAPiece) {
        run.countReread();
        const ErrorCode s = run.askUncounted(piece.request, piece.check, waitMs);
        if (s != ErrorCode::None)
            return run.failure(s, step);
        const auto got = run.answer.bytes().subspan(piece.from, piece.length);
        for (const auto &earlier : reads) {
            if (std::equal(got.begin(), got.end(), earlier.begin(), earlier.end())) {
                std::copy(got.begin(), got.end(), stored.begin());
                return std::nullopt;
            }
        }
        reads.emplace_back(got.begin(), got.end());
    }
    Result r = failed(ErrorCode::ProbeUnverified);
    r.step = step;
    return r;
}

// One pass over `count` pieces whose bytes lie `stride` apart in `image`. The first pass
// stores them; a checking pass compares each with what is stored and settles a difference.
// stepOf names the step of a failure at piece i. nullopt when the pass went through.
std::optional<Result> readPass(Run &run, int count, const std::function<Piece(int)> &pieceAt, std::uint8_t *image,
                               std::size_t stride, bool checking, int waitMs, const std::function<Step(int)> &stepOf)
{
    run.setBar(Bar::Completion, 0);
    for (int i = 0; i < count; ++i) {
        run.setBar(Bar::Timeout, 0);
        const Piece piece = pieceAt(i);
        const ErrorCode s = run.ask(piece.request, piece.check, waitMs);
        if (s != ErrorCode::None)
            return run.failure(s, stepOf(i));
        const auto got = run.answer.bytes().subspan(piece.from, piece.length);
        const std::span<std::uint8_t> stored(image + stride * static_cast<std::size_t>(i), piece.length);
        if (!checking)
            std::copy(got.begin(), got.end(), stored.begin());
        else if (!std::equal(got.begin(), got.end(), stored.begin(), stored.end())) {
            if (auto r = settle(run, piece, stored, got, stepOf(i), waitMs))
                return r;
        }
        run.stepBar(Bar::Completion);
    }
    return std::nullopt;
}

// P then X: the probe's attention, then its data header in run.answer. *step: the one that failed.
ErrorCode attentionAndHeader(Run &run, int *step)
{
    *step = 1;
    const ErrorCode s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != ErrorCode::None)
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
    ErrorCode s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s == ErrorCode::None) {
        run.setBar(Bar::Completion, CompletionAfterAttention);
        step = 2;
        s = run.ask(requestLedTest(), 'I', 1, Wait::LedTest);
    }
    Result result;
    if (s == ErrorCode::None) {
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
    const auto end = [&](const Result &r) {
        run.hide();
        if (r.outcome == Outcome::Cancelled)
            return r;
        ctx.view.realTimeFailed();
        return run.show(r);
    };
    const auto fail = [&](ErrorCode s, int step) { return end(run.failure(s, {step})); };
    ErrorCode s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != ErrorCode::None)
        return fail(s, 1);
    // The samples are converted with the probe's own calibration, fetched afresh.
    auto fresh = std::make_unique<ProbeParameterBlock>(ctx.images.parameters);
    if (const auto r = readPass(run, ParameterRequests, parameterPiece, fresh->bytes.data(), ParameterChunk, false,
                                Wait::RealTimeBlock, [](int) { return Step{2}; }))
        return end(*r);
    s = run.ask(requestRealTime(), static_cast<char>(SampleLetter), SampleFrameLength, Wait::RealTimeStart);
    if (s != ErrorCode::None)
        return fail(s, 3);
    ctx.images.parameters = *fresh;
    ctx.view.realTimeStarted();
    run.hide();
    return Result{};
}

Result stopRealTime(OperationContext &ctx)
{
    Run run(ctx, Operation::StopRealTime);
    const ErrorCode s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != ErrorCode::None)
        return run.fail(s, {1});
    run.hide();
    return Result{};
}

Result historyCheck(OperationContext &ctx)
{
    Run run(ctx, Operation::HistoryCheck);
    run.expectExchanges(2);
    int step = 0;
    const ErrorCode s = attentionAndHeader(run, &step);
    if (s != ErrorCode::None)
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
    ErrorCode s = attentionAndHeader(run, &step);
    if (s != ErrorCode::None)
        return run.fail(s, {step});

    const auto header = settingsHeader(settings);
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestWriteHeader(header), 'W', 1, Wait::WriteHeader);
    if (s != ErrorCode::None)
        return run.fail(s, {3});

    ctx.view.setCaption(text::captionReadBack());
    run.setBar(Bar::Timeout, 0);
    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != ErrorCode::None)
        return run.fail(s, {4});

    const bool same = std::equal(header.begin(), header.end(), run.answer.body.begin() + 1);
    // The box comes while the progress window is still up.
    const Result result = run.show(same ? Result{} : failed(ErrorCode::ProbeMismatch));
    run.hide();
    return result;
}

Result readInfo(OperationContext &ctx)
{
    Run run(ctx, Operation::ReadInfo);
    run.expectExchanges(5);
    ProbeInfo info;
    ErrorCode s = run.ask(requestAttention(), 'P', 1, Wait::Attention);
    if (s != ErrorCode::None)
        return run.fail(s, {1});
    run.setBar(Bar::Completion, CompletionAfterAttention);

    s = run.ask(requestHeader(), 'X', HeaderAnswerLength, Wait::Header);
    if (s != ErrorCode::None)
        return run.fail(s, {2});
    std::copy_n(run.answer.body.begin() + 1, info.header.size(), info.header.begin());
    run.setBar(Bar::Completion, 0);
    run.setBar(Bar::Timeout, 0);

    s = run.ask(requestParameters(IdentityAddress), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != ErrorCode::None)
        return run.fail(s, {3});
    std::copy_n(run.answer.body.begin() + 1, info.identity.size(), info.identity.begin());

    s = run.ask(requestBattery(), 'Y', BatteryAnswerLength, Wait::InfoBlock);
    if (s != ErrorCode::None)
        return run.fail(s, {4});
    info.battery = le::u16(run.answer.body.data() + 1);
    run.hide();

    s = run.ask(requestParameters(ParameterMemoryAddress), 'G', ParameterAnswerLength, Wait::InfoBlock);
    if (s != ErrorCode::None)
        return run.fail(s, {3});
    std::copy_n(run.answer.body.begin() + 1, info.typeBlock.size(), info.typeBlock.begin());

    ctx.view.showProbeInfo(info);
    return Result{};
}

Result readData(OperationContext &ctx, bool verify)
{
    Run run(ctx, Operation::ReadData);
    // The count is known only once the header has told how many blocks there are.
    int step = 0;
    ErrorCode s = attentionAndHeader(run, &step);
    if (s != ErrorCode::None)
        return run.fail(s, {step});

    const std::uint16_t n = headerOf(run.answer).storedCount;
    if (n == 0 || n > MaxSurveyPoints) {
        run.hide();
        return run.show(failed(ErrorCode::ProbeNoData));
    }

    const std::size_t length = RawSampleSize * static_cast<std::size_t>(n) + RawDataImage::HeaderSize;
    const int blocks = static_cast<int>(length / BlockSize) + 1; // at most 256 for 1818 points
    const int passes = verify ? 2 : 1;
    // Both passes, and the header read again at the end.
    run.expectExchanges(2 + passes * (ParameterRequests + blocks) + 1);

    // Read into a copy: the worker's images, and so the next read's bytes beyond the survey,
    // change only when the whole read has succeeded.
    auto fresh = std::make_shared<ProbeImages>(ctx.images);
    const auto blockAt = [&](int j) { return dataPiece(j, length, n); };
    const auto fail = [&](const Result &r) {
        run.hide();
        return run.show(r);
    };
    for (int pass = 0; pass < passes; ++pass) {
        const bool checking = pass > 0;
        // The line carries no checksum: the second pass reads everything again and compares.
        if (checking)
            ctx.view.setCaption(text::captionVerifyData());
        if (const auto r = readPass(run, ParameterRequests, parameterPiece, fresh->parameters.bytes.data(),
                                    ParameterChunk, checking, Wait::ReadBlock, [](int k) { return Step{3, k}; }))
            return fail(*r);
        if (const auto r = readPass(run, blocks, blockAt, fresh->data.bytes.data(), BlockSize, checking, Wait::ReadBlock,
                                    [](int j) { return Step{4, j}; }))
            return fail(*r);
    }

    // A count misread at the start would have made every block of the read the wrong ones.
    run.setBar(Bar::Timeout, 0);
    AnswerCheck header = AnswerCheck::exact('X', HeaderAnswerLength);
    header.storedCount = std::pair{1 + CountInHeader, n};
    s = run.ask(requestHeader(), header, Wait::Header);
    if (s != ErrorCode::None)
        return run.fail(s, {2});

    ctx.images = *fresh;
    ctx.view.dataRead(std::move(fresh));
    run.hide();
    return run.show(Result{});
}

namespace {

// clang-format off
constexpr OperationInfo Operations[] = {
    {Operation::LinkTest, text::captionLinkTest,
     [](OperationContext &ctx, const Request &) { return linkTest(ctx); },
     text::captionResult, text::linkTestPassed, false, ViewEvent::RestoreFocus},
    {Operation::StartRealTime, text::captionStartRealTime,
     [](OperationContext &ctx, const Request &) { return startRealTime(ctx); },
     nullptr, nullptr, true, ViewEvent::RealTimeStarted},
    {Operation::StopRealTime, text::captionStopRealTime,
     [](OperationContext &ctx, const Request &) { return stopRealTime(ctx); },
     nullptr, nullptr, false, ViewEvent::None},
    {Operation::HistoryCheck, text::captionHistoryCheck,
     [](OperationContext &ctx, const Request &) { return historyCheck(ctx); },
     nullptr, nullptr, false, ViewEvent::HistoryResult},
    {Operation::WriteSettings, text::captionWriteSettings,
     [](OperationContext &ctx, const Request &r) { return writeSettings(ctx, r.settings.value_or(SettingsToWrite{})); },
     text::captionInfo, text::settingsWritten, false, ViewEvent::None},
    {Operation::ReadInfo, text::captionReadInfo,
     [](OperationContext &ctx, const Request &) { return readInfo(ctx); },
     nullptr, nullptr, true, ViewEvent::ProbeInfo},
    {Operation::ReadData, text::captionReadData,
     [](OperationContext &ctx, const Request &r) { return readData(ctx, r.verify); },
     text::captionResult, text::dataRead, true, ViewEvent::DataRead},
};
// clang-format on

constexpr bool operationsInOrder()
{
    for (std::size_t i = 0; i < std::size(Operations); ++i)
        if (static_cast<std::size_t>(Operations[i].operation) != i)
            return false;
    return true;
}
static_assert(operationsInOrder(), "each operation's row stands at its number");

} // namespace

const OperationInfo &operationInfo(Operation operation)
{
    return Operations[static_cast<std::size_t>(operation)];
}

Result runOperation(OperationContext &ctx, const Request &request)
{
    return operationInfo(request.operation).run(ctx, request);
}

} // namespace zolm::probe
