#pragma once
// The probe's byte framing: '[' body ']' with 0x00, '/', '[' and ']' escaped by '/'.
#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zolm::probe {

inline constexpr std::uint8_t FrameStart = 0x5B; // '['
inline constexpr std::uint8_t FrameEnd = 0x5D;   // ']'
inline constexpr std::uint8_t FrameEscape = 0x2F; // '/'

// The escaped form of body bytes (never contains a zero byte).
QByteArray encodeBody(std::span<const std::uint8_t> body);
// A whole frame: '[', the body's escaped form, ']'.
QByteArray encodeFrame(std::span<const std::uint8_t> body);
// A request: '[', the command letter, the escaped parameters, ']'.
QByteArray encodeRequest(char letter, std::span<const std::uint8_t> params = {});

// Turns received bytes into frames. Each frame is handed over when its end marker arrives;
// bytes after it start the next one, so two frames in one read never mix. A start marker
// restarts the frame (dropping what came before it). A frame that outgrows the buffer is
// dropped whole, never written past the buffer.
class FrameDecoder {
public:
    static constexpr std::size_t Capacity = 512;

    void reset()
    {
        m_escaped = false;
        m_length = 0;
        m_overflow = false;
        m_open = false;
    }

    // Calls onFrame(std::span<const std::uint8_t>) for every frame completed by these bytes,
    // in order. Returns the number of frames completed.
    template <typename OnFrame>
    int feed(std::span<const std::uint8_t> bytes, OnFrame &&onFrame)
    {
        int frames = 0;
        for (const std::uint8_t b : bytes) {
            if (b == FrameStart) {
                // The escape flag keeps its value across a start marker, as the probe's
                // own decoder does.
                m_length = 0;
                m_overflow = false;
                m_open = true;
                continue;
            }
            if (b == FrameEnd) {
                if (!m_overflow) {
                    onFrame(std::span<const std::uint8_t>(m_buffer.data(), m_length));
                    ++frames;
                }
                m_length = 0;
                m_overflow = false;
                m_escaped = false;
                m_open = false;
                continue;
            }
            if (b == FrameEscape && !m_escaped) {
                m_escaped = true;
                continue;
            }
            std::uint8_t out = b;
            if (m_escaped) {
                switch (b) {
                case '0': out = 0x00; break;
                case 'S': out = FrameEscape; break;
                case 'B': out = FrameStart; break;
                case 'E': out = FrameEnd; break;
                default: break; // '/' '/' gives '/', '/' x gives x
                }
            }
            m_escaped = false;
            append(out);
        }
        return frames;
    }

    std::size_t pendingLength() const { return m_length; }
    // The first body byte of a frame whose start marker has come and whose end has not: an
    // answer that began and broke off when the line falls silent.
    std::optional<std::uint8_t> openFrameLetter() const
    {
        if (!m_open || m_length == 0)
            return std::nullopt;
        return m_buffer[0];
    }

private:
    void append(std::uint8_t b)
    {
        if (m_length >= Capacity) {
            m_overflow = true;
            return;
        }
        m_buffer[m_length++] = b;
    }

    std::array<std::uint8_t, Capacity> m_buffer{};
    std::size_t m_length = 0;
    bool m_escaped = false;
    bool m_overflow = false;
    bool m_open = false; // a start marker came, its end marker not yet
};

} // namespace zolm::probe
