// The options of every zolm-cli command, in one table: Args reads only what is here, and the
// help of each command names each of them.
#include "cli/cli.h"

namespace zolm::cli {

namespace {

// --mode and --reverse: the table's rows as the display-mode and order commands leave them.
#define ZOLM_VIEW_OPTIONS {"--mode", 1}, {"--reverse", 0}

constexpr OptionSpec ShowOptions[] = {{"--json", 0}, ZOLM_VIEW_OPTIONS};
constexpr OptionSpec ExportOptions[] = {{"-o", 1}, ZOLM_VIEW_OPTIONS};
constexpr OptionSpec ExportFormatOptions[] = {
    {"--title", 0}, {"--no-title", 0}, {"--space", 0}, {"--comma", 0}, {"--columns", 1}, {"--set", 1}};
constexpr OptionSpec ReportOptions[] = {
    {"--layout", 1}, {"--row", 1}, {"-o", 1}, {"--ops", 0}, {"--dpi", 1}, {"--page", 1}, ZOLM_VIEW_OPTIONS};
constexpr OptionSpec EditOptions[] = {
    {"-o", 1}, {"--force", 0}, {"--crew", 1}, {"--well", 1}, {"--declination", 1}, {"--check", 1}, {"--tick", 1},
    {"--untick", 1}, {"--auto-depth", 2}, {"--up", 0}, {"--depth", 1}, {"--declination-from-site", 0},
    {"--tally", 1}, {"--tally-window", 1}};
constexpr OptionSpec LinkTestOptions[] = {{"--port", 1}};
constexpr OptionSpec InfoOptions[] = {{"--port", 1}, {"--quiet", 0}};
constexpr OptionSpec ReadOptions[] = {{"--port", 1}, {"-o", 1}, {"--single-pass", 0}, {"--quiet", 0}};
constexpr OptionSpec SetupOptions[] = {
    {"--port", 1}, {"--delay-min", 1}, {"--delay-sec", 1}, {"--interval", 1}, {"--yes", 0}, {"--quiet", 0}};
constexpr OptionSpec LiveOptions[] = {{"--port", 1}, {"--count", 1}, {"--quiet", 0}};
constexpr OptionSpec GeomagOptions[] = {{"--lat", 1}, {"--lon", 1}, {"--height", 1}, {"--date", 1}, {"--json", 0}};
constexpr OptionSpec SiteOptions[] = {
    {"--lat", 1}, {"--lon", 1}, {"--height", 1}, {"--date", 1}, {"--vs-azimuth", 1}, {"--start-time", 1},
    {"--dls-limit", 1}, {"--clear", 0}, {"-o", 1},
    {"--force", 0}, {"--client", 1}, {"--company", 1}, {"--rig", 1}, {"--field", 1}, {"--location", 1},
    {"--service-company", 1}, {"--uwi", 1}, {"--surveyor", 1}, {"--checked-by", 1}, {"--approved-by", 1},
    {"--field-scale", 1}, {"--set-field-scale", 1}, {"--calibrate-field-scale", 0}};
constexpr OptionSpec QcOptions[] = {
    {"--json", 0}, {"--g-tol", 1}, {"--b-tol", 1}, {"--dip-tol", 1}, {"--field-scale", 1}, {"--no-site", 0},
    {"--dls-limit", 1}};
constexpr OptionSpec TrajectoryOptions[] = {
    {"--json", 0}, {"--csv", 0}, {"--meta", 0}, {"--las", 0}, {"--pdf", 0}, {"-o", 1}, {"--tie-in", 1}, {"--vs-azimuth", 1},
    {"--dls-limit", 1}, {"--field-scale", 1}};
constexpr OptionSpec StationsOptions[] = {
    {"--apply", 0}, {"-o", 1}, {"--force", 0}, {"--json", 0}, {"--inc-tol", 1}, {"--azi-tol", 1},
    {"--g-tol", 1}, {"--b-tol", 1}, {"--min-duration", 1}, {"--azi-min-inc", 1}};

#undef ZOLM_VIEW_OPTIONS

struct CommandOptions {
    std::string_view command;
    std::span<const OptionSpec> options;
};

constexpr CommandOptions AllOptions[] = {
    {"show", ShowOptions},
    {"export", ExportOptions},
    {"export-format", ExportFormatOptions},
    {"report", ReportOptions},
    {"edit", EditOptions},
    {"link-test", LinkTestOptions},
    {"info", InfoOptions},
    {"read", ReadOptions},
    {"setup", SetupOptions},
    {"live", LiveOptions},
    {"ports", {}},
    {"set-port", {}},
    {"geomag", GeomagOptions},
    {"site", SiteOptions},
    {"qc", QcOptions},
    {"trajectory", TrajectoryOptions},
    {"stations", StationsOptions},
};

} // namespace

std::span<const OptionSpec> commandOptions(std::string_view command)
{
    for (const CommandOptions &c : AllOptions) {
        if (c.command == command)
            return c.options;
    }
    return {};
}

} // namespace zolm::cli
