// zolm-probe-sim: a virtual probe on a pseudo-terminal. Prints the pty's path as its first
// line, then answers as a probe until SIGINT or SIGTERM. With --save it writes the survey a
// read would produce as a document and exits.
#include "document/document.h"
#include "virtual_probe.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace {

const char *const usageText =
    "usage: zolm-probe-sim [--survey FILE.ZLM | --points N] [--battery R] [--line-rate BAUD]\n"
    "                      [--link PATH] [--fault FAULT]... [--save FILE.ZLM]\n"
    "       zolm-probe-sim --help | --version\n"
    "faults: silent-after:N  silent-at:LETTER:K  split  noise  readback-mismatch  drop-stream\n"
    "        flip:LETTER:K:BYTE:BIT  flip-rate:P[:SEED]  wire-flip-rate:P[:SEED]  stale-block:K\n"
    "        short:LETTER:K  long:LETTER:K\n";

const char *const helpText =
    "\n"
    "A virtual probe on a pseudo-terminal: prints the terminal's path as its first line, then\n"
    "answers as a probe until SIGINT or SIGTERM.\n"
    "\n"
    "  --survey FILE.ZLM  the probe holds that document's survey and calibration\n"
    "  --points N         a synthetic survey of N points (0 to 1818) from a known well path\n"
    "  --battery R        the battery reading, 0 to 65535\n"
    "  --line-rate BAUD   paces the answers as a real line of that rate would\n"
    "  --link PATH        a symbolic link to the terminal\n"
    "  --fault FAULT      a fault for tests (above); may be repeated\n"
    "  --save FILE.ZLM    writes what a read would produce as a document, and exits\n"
    "\n"
    "Faults: requests are counted from 0 over all letters (silent-after) or per letter\n"
    "(silent-at:LETTER:K, the K-th request of that letter gets no answer). split writes answers\n"
    "a byte at a time, noise puts stray bytes before them, readback-mismatch makes W store another\n"
    "interval, drop-stream leaves A unanswered.\n"
    "Line faults corrupt rather than drop; answers stay well-formed frames. K counts answers of\n"
    "that letter from 0 (the stream's samples are @ answers):\n"
    "  flip:LETTER:K:BYTE:BIT   flips one bit (0 to 7) of the K-th answer; BYTE counts the body\n"
    "                           from its letter (0 is the letter)\n"
    "  flip-rate:P[:SEED]       flips each bit of every answer after its letter with\n"
    "                           probability P; SEED (default 1) makes it repeatable\n"
    "  wire-flip-rate:P[:SEED]  flips each bit on the line with probability P, both ways,\n"
    "                           markers, escapes and requests included\n"
    "  stale-block:K            the K-th B request gets the data of the block before the one\n"
    "                           asked (block 0: block 1's) under its own block number\n"
    "  short:LETTER:K           the K-th answer one byte shorter\n"
    "  long:LETTER:K            the K-th answer one byte longer (0x00)\n"
    "\n"
    "Example: zolm-probe-sim --points 50 --link /tmp/probe &\n"
    "         zolm-cli read --port /tmp/probe -o s.ZLM\n";

int usage(const std::string &why)
{
    std::fprintf(stderr, "zolm-probe-sim: %s\n%s", why.c_str(), usageText);
    return 2;
}

int failure(const QString &why)
{
    std::fprintf(stderr, "zolm-probe-sim: %s\n", why.toUtf8().constData());
    return 1;
}

bool parseNumber(const char *text, long low, long high, long &out)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (*end || errno != 0 || v < low || v > high)
        return false;
    out = v;
    return true;
}

int saveSurvey(const zolm::sim::VirtualProbeOptions &options, const QString &path)
{
    zolm::sim::ProbeMemory memory;
    QString error;
    if (!zolm::sim::loadProbeMemory(options, memory, &error))
        return failure(error);
    const auto images = zolm::sim::readAsThePcWould(memory);
    if (!images) {
        // What the PC says to a probe that holds nothing it can read.
        std::fprintf(stderr, "探管中没有以前采集的数据。\n");
        return 1;
    }
    zolm::CNDravikDoc doc;
    doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
    if (!doc.saveFile(path, &error))
        return failure(error);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s%s", usageText, helpText);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zolm-probe-sim %s\n", ZOLM_VERSION);
            return 0;
        }
    }
    QCoreApplication app(argc, argv);
    zolm::sim::VirtualProbeOptions options;
    bool havePoints = false;
    QString saveFile;
    // Every option takes a value: step over both.
    for (int i = 1; i < argc; i += 2) {
        const std::string a = argv[i];
        const char *v = i + 1 < argc ? argv[i + 1] : nullptr;
        long n = 0;
        if (a == "--points") {
            if (!parseNumber(v, 0, zolm::MaxSurveyPoints, n))
                return usage("--points needs a count from 0 to 1818");
            options.points = static_cast<int>(n);
            havePoints = true;
        } else if (a == "--survey") {
            if (!v)
                return usage("--survey needs a file");
            options.surveyFile = QString::fromLocal8Bit(v);
        } else if (a == "--battery") {
            if (!parseNumber(v, 0, 65535, n))
                return usage("--battery needs a reading from 0 to 65535");
            options.battery = static_cast<std::uint16_t>(n);
        } else if (a == "--line-rate") {
            if (!parseNumber(v, 1, 100000000, n))
                return usage("--line-rate needs a baud rate");
            options.lineRate = static_cast<int>(n);
        } else if (a == "--link") {
            if (!v)
                return usage("--link needs a path");
            options.link = QString::fromLocal8Bit(v);
        } else if (a == "--fault") {
            QString error;
            if (!v || !zolm::sim::addFault(options, QString::fromLocal8Bit(v), &error))
                return usage(v ? error.toStdString() : std::string("--fault needs a fault"));
        } else if (a == "--save") {
            if (!v)
                return usage("--save needs a file");
            saveFile = QString::fromLocal8Bit(v);
        } else {
            return usage("unknown option " + a);
        }
    }
    if (havePoints && !options.surveyFile.isEmpty())
        return usage("--survey and --points exclude each other");

    if (!saveFile.isEmpty())
        return saveSurvey(options, saveFile);

#ifdef _WIN32
    // No pseudo-terminals here: start() says so.
    zolm::sim::VirtualProbe probe(options);
    QString error;
    probe.start(&error);
    return failure(error);
}
#else
    // The signals are taken synchronously below; block them before the probe's thread
    // starts so that it inherits the mask and they reach only this thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    zolm::sim::VirtualProbe probe(options);
    QString error;
    if (!probe.start(&error))
        return failure(error);
    std::printf("%s\n", probe.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    probe.stop();
    return 0;
}
#endif
