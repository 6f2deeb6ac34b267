#include "probe_model.h"

#include "probe/frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace zolm::sim {

namespace {

constexpr std::size_t DataHeaderSize = RawDataImage::HeaderSize;
// W's parameters: three bytes that select the data header, then the header itself.
constexpr std::array<std::uint8_t, 3> WritePrefix{0x00, 0x00, 0x08};
constexpr std::uint32_t ParameterMemoryEnd = ParameterMemoryStart + ParameterBlockSize; // exclusive
// Memory the probe does not hold reads as erased.
constexpr std::uint8_t ErasedByte = 0xFF;

} // namespace

BitFlipper::BitFlipper(FlipRate rate) : m_state(rate.seed)
{
    if (!(rate.probability > 0)) // NaN too
        return;
    if (rate.probability >= 1) {
        m_all = true;
        return;
    }
    // A draw of 64 uniform bits falls below p * 2^64 with probability p.
    const double threshold = std::ldexp(rate.probability, 64);
    m_threshold = threshold >= std::ldexp(1.0, 64) ? ~std::uint64_t{0} : static_cast<std::uint64_t>(threshold);
}

std::uint64_t BitFlipper::next()
{
    // splitmix64: small, fast, and the same sequence from every compiler and library.
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int BitFlipper::apply(std::span<std::uint8_t> bytes)
{
    if (!active())
        return 0;
    int flipped = 0;
    for (std::uint8_t &b : bytes)
        for (int bit = 0; bit < 8; ++bit)
            if (m_all || next() < m_threshold) {
                b = static_cast<std::uint8_t>(b ^ (1u << bit));
                ++flipped;
            }
    return flipped;
}

ProbeMemory syntheticMemory(int points, CalibrationKind kind)
{
    const int n = std::clamp(points, 0, MaxSurveyPoints);
    const auto path = defaultWellPath(n);
    const ProbeImages survey = makeSurvey(kind, path);
    ProbeMemory memory;
    memory.parameters = survey.parameters;
    memory.data = survey.data;
    return memory;
}

std::optional<ProbeImages> readAsThePcWould(const ProbeMemory &memory)
{
    const int n = memory.data.storedCount();
    if (n == 0 || n > MaxSurveyPoints)
        return std::nullopt;
    ProbeImages images;
    images.parameters = memory.parameters;
    const std::size_t length = DataHeaderSize + RawSampleSize * static_cast<std::size_t>(n);
    std::copy_n(memory.data.bytes.begin(), length, images.data.bytes.begin());
    return images;
}

LiveSampleSource::LiveSampleSource(const ProbeMemory &memory)
{
    for (const CalibrationKind kind : {CalibrationKind::Realistic, CalibrationKind::Ideal, CalibrationKind::Type120,
                                       CalibrationKind::Type120Realistic}) {
        SyntheticProbe sensor(kind);
        if (sensor.parameters().bytes == memory.parameters.bytes) {
            m_sensor.emplace(std::move(sensor));
            return;
        }
    }
    // A foreign calibration: only its own samples convert sensibly with it.
    const int stored = std::clamp<int>(memory.data.storedCount(), 1, MaxSurveyPoints);
    m_replay.reserve(static_cast<std::size_t>(stored));
    for (int i = 0; i < stored; ++i)
        m_replay.push_back(memory.data.sample(i));
}

RawSample LiveSampleSource::next()
{
    const std::uint32_t k = m_counter++;
    if (!m_sensor)
        return m_replay[k % m_replay.size()];
    // A probe lying still in a slightly deviated hole while it is turned slowly.
    const double t = static_cast<double>(k);
    Station s;
    s.inclination = 12.5 + 0.4 * std::sin(t * 0.21);
    s.azimuth = 135.0 + 0.5 * std::sin(t * 0.13);
    s.toolface = std::fmod(45.0 + 3.0 * t, 360.0);
    s.temperature = 24.0 + 0.5 * std::sin(t * 0.05);
    return m_sensor->sample(s, EarthField{});
}

ProbeModel::ProbeModel(ProbeMemory memory, ProtocolFaults faults)
    : m_memory(std::move(memory)), m_faults(std::move(faults)), m_live(m_memory), m_flipper(m_faults.flipRate)
{
    dieWhenDue();
}

bool ProbeModel::answersRequest(char letter)
{
    ++m_requests;
    const int ofLetter = m_perLetter[static_cast<std::uint8_t>(letter)]++;
    if (m_mute)
        return false;
    for (const auto &s : m_faults.silentAt)
        if (s.letter == letter && s.index == ofLetter)
            return false;
    return true;
}

void ProbeModel::dieWhenDue()
{
    if (m_faults.silentAfter >= 0 && m_requests >= m_faults.silentAfter) {
        m_mute = true;
        m_streaming = false;
    }
}

QByteArray ProbeModel::receive(std::span<const std::uint8_t> body)
{
    if (body.empty())
        return {};
    QByteArray out;
    const char letter = static_cast<char>(body[0]);
    if (answersRequest(letter)) {
        Body reply = answerBody(body);
        // A stale block: the probe sent its buffer before refilling it, number byte already set.
        const auto &stale = m_faults.staleBlocks;
        if (letter == 'B' && reply.size() == 2 + DataBlockSize
            && std::find(stale.begin(), stale.end(), m_perLetter[static_cast<std::uint8_t>('B')] - 1) != stale.end()) {
            const std::size_t asked = reply[1];
            const std::size_t before = asked > 0 ? asked - 1 : 1;
            std::copy_n(m_memory.data.bytes.begin() + static_cast<std::ptrdiff_t>(before * DataBlockSize),
                        DataBlockSize, reply.begin() + 2);
        }
        if (!reply.empty())
            out = send(std::move(reply));
    }
    dieWhenDue();
    return out;
}

QByteArray ProbeModel::send(Body body)
{
    const auto letter = body.front();
    const int index = m_answersPerLetter[letter]++;
    auto hits = [&](const auto &fault) {
        return static_cast<std::uint8_t>(fault.letter) == letter && fault.index == index;
    };
    for (const auto &f : m_faults.flips)
        if (hits(f) && f.byte < body.size())
            body[f.byte] = static_cast<std::uint8_t>(body[f.byte] ^ (1u << f.bit));
    m_flipper.apply(std::span(body).subspan(1));
    for (const auto &r : m_faults.shortAnswers)
        if (hits(r) && !body.empty())
            body.pop_back();
    for (const auto &r : m_faults.longAnswers)
        if (hits(r))
            body.push_back(0x00);
    return probe::encodeFrame(body);
}

QByteArray ProbeModel::answer(std::span<const std::uint8_t> body)
{
    const Body out = answerBody(body);
    return out.empty() ? QByteArray() : probe::encodeFrame(out);
}

ProbeModel::Body ProbeModel::answerBody(std::span<const std::uint8_t> body)
{
    if (body.empty())
        return {};
    const char letter = static_cast<char>(body[0]);
    const auto params = body.subspan(1);
    Body out{static_cast<std::uint8_t>(letter)};

    switch (letter) {
    case 'P':
        if (!params.empty())
            return {};
        m_streaming = false;
        return out;
    case 'I':
        if (!params.empty())
            return {};
        return out;
    case 'X':
        if (!params.empty())
            return {};
        out.insert(out.end(), m_memory.data.bytes.begin(), m_memory.data.bytes.begin() + DataHeaderSize);
        return out;
    case 'Y':
        if (!params.empty())
            return {};
        out.push_back(static_cast<std::uint8_t>(m_memory.battery & 0xFF));
        out.push_back(static_cast<std::uint8_t>(m_memory.battery >> 8));
        return out;
    case 'W': {
        if (params.size() != WritePrefix.size() + DataHeaderSize
            || !std::equal(WritePrefix.begin(), WritePrefix.end(), params.begin()))
            return {};
        std::copy_n(params.begin() + WritePrefix.size(), DataHeaderSize, m_memory.data.bytes.begin());
        // New settings start a new survey: what was stored is given up.
        DataHeader h = m_memory.data.header();
        h.storedCount = 0;
        if (m_faults.readbackMismatch)
            h.interval ^= 0x01;
        m_memory.data.setHeader(h);
        return out;
    }
    case 'G': {
        if (params.size() != 4)
            return {};
        const std::uint32_t address = (std::uint32_t{params[0]} << 16) | (std::uint32_t{params[1]} << 8) | params[2];
        const std::uint32_t count = params[3];
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t a = address + i;
            const bool held = a >= ParameterMemoryStart && a < ParameterMemoryEnd;
            out.push_back(held ? m_memory.parameters.bytes[a - ParameterMemoryStart] : ErasedByte);
        }
        return out;
    }
    case 'B': {
        if (params.size() != 1)
            return {};
        const std::size_t block = params[0];
        out.push_back(params[0]);
        const auto from = m_memory.data.bytes.begin() + static_cast<std::ptrdiff_t>(block * DataBlockSize);
        out.insert(out.end(), from, from + DataBlockSize);
        return out;
    }
    case 'A':
        if (!params.empty() || m_faults.dropStream)
            return {};
        m_streaming = true;
        return sampleBody();
    default:
        return {};
    }
}

QByteArray ProbeModel::nextSampleFrame()
{
    return send(sampleBody());
}

ProbeModel::Body ProbeModel::sampleBody()
{
    Body body(1 + RawSampleSize);
    body[0] = '@';
    m_live.next().toBytes(body.data() + 1);
    return body;
}

QByteArray LineNoise::burst()
{
    QByteArray out;
    const int n = 1 + static_cast<int>(m_rng() % 8);
    while (out.size() < n) {
        const auto b = static_cast<std::uint8_t>(m_rng() & 0xFF);
        if (b == probe::FrameStart || b == probe::FrameEnd || b == probe::FrameEscape)
            continue;
        out.append(static_cast<char>(b));
    }
    return out;
}

} // namespace zolm::sim
