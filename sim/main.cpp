// zolm-probe-sim: a virtual probe on a pseudo-terminal. Prints the pty's path as its first
// line, then answers as a probe until SIGINT or SIGTERM. With --save it writes the survey a
// read would produce as a document and exits.
#include "document/document.h"
#include "virtual_probe.h"

#include <QCoreApplication>
#include <QSaveFile>

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
    "usage: zolm-probe-sim [--survey FILE.ZLM | --points N | RUN OPTION...] [--battery R]\n"
    "                      [--line-rate BAUD] [--link PATH] [--fault FAULT]... [--save FILE.ZLM]\n"
    "                      [--save-tally FILE]\n"
    "       zolm-probe-sim --help | --version\n"
    "run options: --direction in|out  --td M  --kickoff M  --build DEG  --hold DEG  --azimuth DEG\n"
    "             --course M  --stop S  --speed M/S  --trip-speed M/S  --lat DEG  --lon DEG\n"
    "             --height M  --date YYYY-MM-DD  --field-scale X  --noise X  --vibration G\n"
    "             --delay S  --interval S  --seed N\n"
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
    "  --save-tally FILE  writes the driller's tally of the run (below) and goes on\n"
    "\n"
    "A realistic multi-shot run, held unless --survey or --points is given: the probe is lowered (or\n"
    "pulled) along a well path, vertical down to the kick-off, then building at a constant rate\n"
    "and holding its inclination, in one true azimuth. It rests at a station every course\n"
    "length for a while and moves between them (the accelerometers shake, the toolface turns),\n"
    "and sees the Earth's field of a site (World Magnetic Model) through its calibration: the\n"
    "azimuth it measures is magnetic. Shots are taken from the start delay on, every interval,\n"
    "as the probe's settings in its memory say, until the probe is back at the surface or its\n"
    "memory (1818 shots) is full. The same options give the same survey, byte for byte.\n"
    "  --direction in|out  out (default): lowered to the bottom without stops, surveyed while\n"
    "                      pulled out; in: surveyed while lowered, pulled out without stops\n"
    "  --td M              measured depth of the deepest station, 1 to 10000 (default 1500)\n"
    "  --kickoff M         vertical down to this depth, 0 to 10000 (default 300)\n"
    "  --build DEG         build rate below the kick-off, degrees per 30 m, 0.01 to 30 (default 2.5)\n"
    "  --hold DEG          inclination held after the build, 0 to 90 (default 30)\n"
    "  --azimuth DEG       true azimuth of the build and hold, 0 to 360 (default 45)\n"
    "  --course M          metres between stations, 1 to 1000 (default 30); stations lie at\n"
    "                      every multiple of it down to the deepest, and at --td itself\n"
    "  --stop S            seconds at each station, 0 to 36000 (default 120); each stop lasts\n"
    "                      up to a quarter longer, as a crew times it, and the first lasts\n"
    "                      until the start delay has passed\n"
    "  --speed M/S         speed between stations, 0.01 to 10 (default 0.5)\n"
    "  --trip-speed M/S    speed of the trip without stops, 0.01 to 10 (default 2)\n"
    "  --lat DEG --lon DEG --height M --date YYYY-MM-DD\n"
    "                      the site (default 38.71, 116.10, 0, 2026-05-20): total field, dip\n"
    "                      and declination from the model for 2020 to 2029\n"
    "  --field-scale X     the magnetometers' units per gauss, 0.5 to 2 (default 1.01: this\n"
    "                      probe reads the field 1 % high until its field scale is calibrated)\n"
    "  --noise X           sensor noise, standard deviation per axis in full-scale units,\n"
    "                      0 to 0.1 (default 0.0003)\n"
    "  --vibration G       accelerometer vibration while the probe moves, standard deviation\n"
    "                      per axis in g, 0 to 2 (default 0.05)\n"
    "  --delay S           the probe's start delay, 0 to 65535 seconds (default 600)\n"
    "  --interval S        the probe's sampling interval, 1 to 255 seconds (default 10)\n"
    "  --seed N            the noise, the turns and the stops' lengths (default 1)\n"
    "The tally has a line per station in the order visited, \"HH:MM:SS DEPTH\": the middle of\n"
    "the stop as time since the probe started (the table's time column), and the station's\n"
    "measured depth in metres; lines starting with # are comments.\n"
    "The port SIM of zolm-cli and zolm holds such a run when the environment variable\n"
    "ZOLM_SIM_RUN is set: \"default\", or the run options without their dashes as NAME=VALUE,\n"
    "separated by commas (ZOLM_SIM_RUN=seed=2,direction=in).\n"
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
    "         zolm-cli read --port /tmp/probe -o s.ZLM\n"
    "         zolm-probe-sim --direction in --seed 7 --save run.ZLM --save-tally run.txt\n";

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
    QString tallyFile;
    zolm::sim::RunOptions run;
    bool haveRun = false;
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
        } else if (a == "--save-tally") {
            if (!v)
                return usage("--save-tally needs a file");
            tallyFile = QString::fromLocal8Bit(v);
            haveRun = true;
        } else if (a.starts_with("--") && zolm::sim::isRunOption(QString::fromStdString(a.substr(2)))) {
            QString error;
            if (!v)
                return usage(a + " needs a value");
            if (!zolm::sim::setRunOption(run, QString::fromStdString(a.substr(2)), QString::fromLocal8Bit(v), &error))
                return usage(error.toStdString());
            haveRun = true;
        } else {
            return usage("unknown option " + a);
        }
    }
    if (havePoints && !options.surveyFile.isEmpty())
        return usage("--survey and --points exclude each other");
    if (haveRun && (havePoints || !options.surveyFile.isEmpty()))
        return usage("a run option or --save-tally excludes --survey and --points");
    if (!havePoints && options.surveyFile.isEmpty())
        haveRun = true;
    if (haveRun) {
        // Made once here: the tally and the probe's memory come from the same run.
        zolm::sim::MultiShotRun made;
        QString error;
        if (!zolm::sim::makeMultiShotRun(run, made, &error))
            return failure(error);
        if (made.shotsLost > 0)
            std::fprintf(stderr, "zolm-probe-sim: the memory is full after %d shots; the last %d shots of the run are not stored\n",
                         zolm::MaxSurveyPoints, made.shotsLost);
        if (!tallyFile.isEmpty()) {
            QSaveFile tally(tallyFile);
            if (!tally.open(QIODevice::WriteOnly) || tally.write(zolm::sim::tallyText(run, made)) < 0 || !tally.commit())
                return failure(QStringLiteral("%1: %2").arg(tallyFile, tally.errorString()));
        }
        options.run = run;
        options.memory = std::move(made.memory);
    }

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
