#pragma once
// The virtual probe on a pseudo-terminal: the probe's line (probe_line.h) behind a pty, with
// the line's pacing and the faults a test asks for. zolm-probe-sim runs one as a program;
// on Linux zolm-cli and the desktop program run one in-process for the port names "SIM" and
// "SIM:FILE.ZLM", so every byte still goes through the real serial code. Windows has no pty:
// there SIM is the same line behind the link interface (in_process_link.h).
#include "multishot_run.h"
#include "probe_model.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

namespace zolm::sim {

struct VirtualProbeOptions {
    // Where the memories come from, first match wins: memory, surveyFile, run, points.
    std::optional<ProbeMemory> memory;
    QString surveyFile; // a .ZLM document: its parameter block and data image
    std::optional<RunOptions> run; // a realistic multi-shot run (multishot_run.h)
    int points = 28;    // a synthetic survey of this many points (0..1818)

    std::optional<std::uint16_t> battery; // raw battery reading; default 760 (7.36 V)
    int lineRate = 0;                     // baud; 0 answers as fast as the pty takes it
    ProtocolFaults protocolFaults;
    bool split = false; // answers a byte at a time, about 1 ms apart
    bool noise = false; // stray bytes before every answer
    FlipRate wireFlipRate; // bits of the raw bytes flipped, both ways, markers and escapes included
    QString link;       // a symlink to the pty, made at start and removed at stop
    int samplePeriodMs = 50; // time between sample frames of the live stream
    // A fault that did not parse where the options were made (ZOLM_SIM_FAULTS); a probe with
    // these options does not start and gives this as the reason.
    QString faultError;
};

// Adds one --fault value ("silent-after:N", "silent-at:LETTER:K", "split", "noise",
// "readback-mismatch", "drop-stream", and the line's: "flip:LETTER:K:BYTE:BIT",
// "flip-rate:P[:SEED]", "wire-flip-rate:P[:SEED]", "stale-block:K", "short:LETTER:K",
// "long:LETTER:K") to the options. False with *error on a bad value.
bool addFault(VirtualProbeOptions &options, const QString &fault, QString *error);

// True for the port names of the built-in virtual probe: "SIM" and "SIM:FILE".
bool isSimPortName(const QString &portName);
// The options for such a port name ("SIM": a realistic multi-shot run, the default one or the
// one the environment variable ZOLM_SIM_RUN describes (see parseRunVariable); "SIM:FILE.ZLM": that
// document), with the faults listed in the environment variable ZOLM_SIM_FAULTS
// (comma-separated, as addFault takes them; a bad one sets faultError). Empty for any other name.
std::optional<VirtualProbeOptions> simPortOptions(const QString &portName);

// A run as ZOLM_SIM_RUN gives it: "default", or NAME=VALUE items separated by commas, the names
// those of zolm-probe-sim's run options without their dashes ("seed=2,direction=in"). False
// with *error for a bad item.
bool parseRunVariable(const QString &value, RunOptions &run, QString *error);

// The probe's memories as the options describe them (document opened, survey synthesised,
// battery applied). False with *error when the document cannot be opened or the options
// carry a faultError.
bool loadProbeMemory(const VirtualProbeOptions &options, ProbeMemory &memory, QString *error);

class VirtualProbe {
public:
    explicit VirtualProbe(VirtualProbeOptions options);
    ~VirtualProbe(); // stops
    VirtualProbe(const VirtualProbe &) = delete;
    VirtualProbe &operator=(const VirtualProbe &) = delete;

    // Loads the memories, opens the pty and starts answering on a thread of its own.
    // False with *error when any of that fails; nothing is left running then.
    bool start(QString *error);
    // Ends the thread (within one wake-up), closes the pty, removes the link. Idempotent.
    void stop();

    bool isRunning() const { return m_thread.joinable(); }
    // The pty's slave device, e.g. /dev/pts/7; empty before start.
    QString devicePath() const { return m_devicePath; }
    // Requests received so far, answered or not (readable from any thread).
    int requestCount() const { return m_requestCount.load(std::memory_order_relaxed); }

private:
    struct Shell; // the thread's state
    VirtualProbeOptions m_options;
    QString m_devicePath;
    QString m_linkMade;
    int m_master = -1;
    int m_slave = -1; // held open so the pty lives on while the PC closes and reopens it
    int m_wake = -1;  // eventfd that interrupts the thread's wait
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_requestCount{0};
    std::unique_ptr<Shell> m_shell;
    std::thread m_thread;
};

} // namespace zolm::sim
