#pragma once
// The driller's depth tally: one station a line, "TIME DEPTH", matched to the stops the probe
// made, so that the shot kept for each stop takes the depth measured there.
//
// A line is TIME and DEPTH separated by blanks, a tab or a comma; '#' starts a comment, and
// blank lines are skipped. TIME is HH:MM[:SS]: the clock time when the probe's start clock
// time is known, else the time since the probe started (the table's time column, whose hours
// go on past 24). DEPTH is in metres.
#include "analysis/stops.h"
#include "document/survey_data.h"
#include "platform/result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace zolm {

struct TallyLine {
    int line = 0;             // in the file, from 1
    QString time;             // as written
    std::int64_t seconds = 0; // since the probe started
    double depth = 0;         // metres
};

// The lines of a tally. With `probeStart` the times are clock times: a time earlier than the
// line before it is taken on the next day (a tally is written as the run goes). WrongFile, with
// the first fault (its line named), when a line is not a tally line; Missing when no line is.
Result<std::vector<TallyLine>> parseTally(const QByteArray &text, const std::optional<QDateTime> &probeStart);

// Said when no line found a stop while the times were read as clock times: the tally may hold
// times since the probe started instead.
QString tallyClockNote();

// A stop of the probe, as the stations finder found it: the span from its first shot to its
// last, and the shot that takes the stop's depth.
struct TallyStop {
    std::int64_t begin = 0, end = 0; // seconds since the probe started
    int point = -1;
};

// Of the shots first..last of a stop: the representative when it is ticked, else the ticked
// shot nearest it (the engineer's choice), else the representative.
TallyStop tallyStop(const SurveyData &survey, int first, int last, int representative);

// Each stop of the stations finder as the tally sees it.
std::vector<TallyStop> tallyStops(const SurveyData &survey, const std::vector<Stop> &stops);

// How far (seconds) outside every stop's span a line may lie and still go to the nearest stop.
inline constexpr int DefaultTallyWindow = 120;
inline constexpr int MaxTallyWindow = 86400;

struct TallyDepth {
    int point = 0;
    double depth = 0;
    int line = 0;
};

struct TallyAssignment {
    std::vector<TallyDepth> depths; // in the order of the lines
    QStringList problems;           // lines that assign nothing, and why (for the user)
    int unmatched = 0;              // lines that found no stop
    int shared = 0;                 // lines that shared their stop with another line
};

// Each line goes to the stop whose span holds its time, else to the nearest stop within
// `windowSeconds` of it. A line that finds no stop, and lines that find the same stop, are
// reported and assign nothing.
TallyAssignment assignTally(const std::vector<TallyLine> &lines, const std::vector<TallyStop> &stops,
                            int windowSeconds = DefaultTallyWindow);
// The same against the stops the stations finder finds in the survey (default tolerances).
TallyAssignment assignTally(const std::vector<TallyLine> &lines, const SurveyData &survey,
                            int windowSeconds = DefaultTallyWindow);

} // namespace zolm
