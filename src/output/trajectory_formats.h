#pragma once
// The trajectory's output formats, each described once: zolm-cli's switch and its help, the
// desktop's button and file dialog, and the writer. zolm-cli trajectory (its options, help and
// usage errors) and the desktop's trajectory window both read this list, so a new format is a
// row and its writer.
#include "output/trajectory_report.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <span>

namespace zolm {

struct TrajectoryFileOptions {
    bool csvFacts = false; // CSV: the facts as comments before the column line (zolm-cli --meta)
};

struct TrajectoryFormat {
    const char *name;        // zolm-cli's switch without its dashes ("csv"); empty: the default
    bool needsFile;          // binary: zolm-cli writes it only with -o
    bool draws;              // its writer paints pages: zolm-cli starts a GUI application for it
    // zolm-cli trajectory's help line for the switch, in the "zolm-cli" context (formats next to
    // each other with the same line are listed together), and what its usage line shows after
    // the switch ("[--meta]"), or nullptr.
    const char *cliHelp;
    const char *cliUsage;
    // The desktop's texts, translated in the trajectory window's context; a format without a
    // button is not offered there.
    const char *button;
    bool withReport;         // its button stands with the report's print and preview
    const char *dialogTitle;
    const char *filter;
    const char *suffix;
    const char *defaultFile;
    // The file's bytes, or nothing when they could not be made.
    std::optional<QByteArray> (*write)(const TrajectoryReportData &data, const TrajectoryFileOptions &options);
};

std::span<const TrajectoryFormat> trajectoryFormats();
// The format of a zolm-cli switch name ("csv"), or null; "" is the default (the text table).
const TrajectoryFormat *trajectoryFormat(const char *name);

// "%.<decimals>f", or "nan": a number of zolm-cli's text outputs.
QString fixedOrNan(double v, int decimals);
// The default output: a tab-separated table of the stations with a Chinese heading, UTF-8.
QByteArray trajectoryText(const Trajectory &trajectory);
// declination, verticalSectionAzimuth, tieIn, stations and skipped, one line.
QByteArray trajectoryJson(const Trajectory &trajectory);

} // namespace zolm
