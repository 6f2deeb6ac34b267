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

QByteArray frameOf(const std::vector<std::uint8_t> &body) { return probe::encodeFrame(body); }

} // namespace

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
    : m_memory(std::move(memory)), m_faults(std::move(faults)), m_live(m_memory)
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
    if (answersRequest(static_cast<char>(body[0])))
        out = answer(body);
    dieWhenDue();
    return out;
}

QByteArray ProbeModel::answer(std::span<const std::uint8_t> body)
{
    if (body.empty())
        return {};
    const char letter = static_cast<char>(body[0]);
    const auto params = body.subspan(1);
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(letter)};

    switch (letter) {
    case 'P':
        if (!params.empty())
            return {};
        m_streaming = false;
        return frameOf(out);
    case 'I':
        if (!params.empty())
            return {};
        return frameOf(out);
    case 'X':
        if (!params.empty())
            return {};
        out.insert(out.end(), m_memory.data.bytes.begin(), m_memory.data.bytes.begin() + DataHeaderSize);
        return frameOf(out);
    case 'Y':
        if (!params.empty())
            return {};
        out.push_back(static_cast<std::uint8_t>(m_memory.battery & 0xFF));
        out.push_back(static_cast<std::uint8_t>(m_memory.battery >> 8));
        return frameOf(out);
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
        return frameOf(out);
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
        return frameOf(out);
    }
    case 'B': {
        if (params.size() != 1)
            return {};
        const std::size_t block = params[0];
        out.push_back(params[0]);
        const auto from = m_memory.data.bytes.begin() + static_cast<std::ptrdiff_t>(block * DataBlockSize);
        out.insert(out.end(), from, from + DataBlockSize);
        return frameOf(out);
    }
    case 'A':
        if (!params.empty() || m_faults.dropStream)
            return {};
        m_streaming = true;
        return nextSampleFrame();
    default:
        return {};
    }
}

QByteArray ProbeModel::nextSampleFrame()
{
    std::array<std::uint8_t, 1 + RawSampleSize> body{};
    body[0] = '@';
    m_live.next().toBytes(body.data() + 1);
    return probe::encodeFrame(body);
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
