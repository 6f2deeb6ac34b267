#pragma once
// The built-in virtual probe as a link: the port names "SIM" and "SIM:FILE.ZLM" become a
// virtual probe on a pty, reached through the real serial link, so that every byte still goes
// through the serial code; on Windows, which has no pty, the probe answers in-process behind
// the link interface (in_process_link.h). The virtual probe is started when the link opens
// and stops when the link is destroyed; a worker that changes its port to SIM and back needs
// nothing else.
#include "probe/comm.h"

namespace zolm::sim {

// A factory for ProbeComm: SIM names get a virtual probe, every other name `others`.
probe::ProbeComm::LinkFactory simLinks(probe::ProbeComm::LinkFactory others = probe::ProbeComm::serialLinks());

} // namespace zolm::sim
