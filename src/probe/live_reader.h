#pragma once
// The real-time sample stream as the worker reads it between requests: small reads through
// the protocol's framing, each '@' frame handed over as one raw sample, however the frames
// were cut into reads.
#include "probe/frame.h"
#include "probe/link.h"
#include "survey/survey_types.h"

#include <functional>

namespace zolm::probe {

class LiveReader {
public:
    // The decoder is the one the operations' exchanges use: a sample frame that began in the
    // read that answered A is completed here.
    explicit LiveReader(FrameDecoder &decoder) : m_decoder(decoder) {}

    // One read of at most RealTimeReadSize bytes that waits up to waitMs for the first one.
    // The wait is taken in slices of sliceMs and given up early once `interrupted` says so
    // (a request waits). Calls onSample for every sample frame completed. Returns the number
    // of bytes read.
    std::size_t readOnce(Link &link, int waitMs, int sliceMs, const std::function<bool()> &interrupted,
                         const std::function<void(const RawSample &)> &onSample);

private:
    FrameDecoder &m_decoder;
};

} // namespace zolm::probe
