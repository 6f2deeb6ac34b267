#include "probe/frame.h"

namespace zolm::probe {

QByteArray encodeBody(std::span<const std::uint8_t> body)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(body.size() * 2));
    for (const std::uint8_t b : body) {
        switch (b) {
        case 0x00: out.append("/0", 2); break;
        case FrameEscape: out.append("/S", 2); break;
        case FrameStart: out.append("/B", 2); break;
        case FrameEnd: out.append("/E", 2); break;
        default: out.append(static_cast<char>(b)); break;
        }
    }
    return out;
}

QByteArray encodeFrame(std::span<const std::uint8_t> body)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(body.size() * 2 + 2));
    out.append(static_cast<char>(FrameStart));
    out.append(encodeBody(body));
    out.append(static_cast<char>(FrameEnd));
    return out;
}

QByteArray encodeRequest(char letter, std::span<const std::uint8_t> params)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(params.size() * 2 + 3));
    out.append(static_cast<char>(FrameStart));
    out.append(letter);
    out.append(encodeBody(params));
    out.append(static_cast<char>(FrameEnd));
    return out;
}

} // namespace zolm::probe
