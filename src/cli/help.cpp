#include "cli/help.h"

#include <QStringList>

#include <array>

#ifndef ZOLM_VERSION
#error "ZOLM_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace zolm::cli {

namespace {

#define ZOLM_VIEW_OPTIONS                                                                              \
    "  --mode all|hide-checked|only-checked\n"                                                       \
    "                 which rows the table shows, as the display-mode buttons (default: all)\n"       \
    "  --reverse      the rows in descending point order\n"
#define ZOLM_PORT_OPTION                                                                               \
    "  --port PORT    a serial device (/dev/ttyUSB0), SIM for the built-in virtual probe, or\n"       \
    "                 SIM:FILE.ZLM for a virtual probe holding that document's survey;\n"            \
    "                 default: the stored port (see set-port); until one is stored, on Windows\n"     \
    "                 COM1, elsewhere the first USB serial adapter (ttyUSB*, then ttyACM*)\n"
#define ZOLM_QUIET_OPTION                                                                              \
    "  --quiet        no progress bar (it is shown on stderr only when stderr is a terminal)\n"
#define ZOLM_OUT_RULE                                                                                  \
    "-o OUT: a regular file (or a new one) is replaced atomically, so a failed write leaves the\n"    \
    "old bytes; an existing target that is not a regular file (a FIFO, a device, /dev/stdout)\n"     \
    "is written in place, as cp does; '-' writes to standard output. A write error exits 1.\n"
#define ZOLM_OPEN_RULE                                                                                 \
    "The document opens as the desktop program opens it: every point shown, ascending; then\n"      \
    "--mode and --reverse apply, in that order. A file that is not exactly a survey (its length\n"  \
    "is not 25132 + 30*N bytes, or 5220 + 30*N for the older layout, with its count N from 0 to\n"  \
    "1818) still opens, with a warning on stderr.\n"

constexpr std::array<CommandHelp, 16> helps{{
    {"show", "FILE [--json] [--mode MODE] [--reverse]",
     "Prints the survey table: a title line, then one line per row, tab-separated: the check\n"
     "state ([x] or [ ]) and the table's columns (point, time, depth, inclination, azimuth,\n"
     "gravity toolface, magnetic toolface, dip, temperature, total gravity, total field) exactly\n"
     "as the table shows them. Rows are numbered from 0 in the order shown; a row's point number\n"
     "is its index in the probe's memory (what --depth and --tick take).\n"
     "\n"
     "  --json         one JSON object: probeType, firstSampleTime, interval, pointCount, crew,\n"
     "                 well, declination and rows [{row, point, checked, time, depth, flags,\n"
     "                 values[20]}]; a value that is not finite is null\n" ZOLM_VIEW_OPTIONS "\n" ZOLM_OPEN_RULE
     "\n"
     "Example: zolm-cli show well7.ZLM --mode only-checked\n"},
    {"export", "FILE -o OUT [--mode MODE] [--reverse]",
     "Writes the table's rows as delimited text with the stored export format (see\n"
     "export-format), as the export dialog would, with no dialog. Texts are GBK, lines end in\n"
     "CRLF. True azimuth = magnetic azimuth + the document's declination.\n"
     "\n"
     "  -o OUT         where to write\n" ZOLM_VIEW_OPTIONS "\n" ZOLM_OUT_RULE ZOLM_OPEN_RULE
     "\n"
     "Example: zolm-cli export well7.ZLM -o well7.txt\n"},
    {"export-format",
     "[--title | --no-title] [--space | --comma] [--columns L1,L2,...] [--set LABEL=POS]...",
     "Without options prints the stored export format: 'title: yes|no', 'separator: space|comma',\n"
     "then 'LABEL POS' per item. With options stores it as the export dialog's OK does.\n"
     "\n"
     "  --title, --no-title   a title line first, or not\n"
     "  --space, --comma      the field separator\n"
     "  --columns L1,L2,...   the columns in order; an empty value chooses none. Each item is\n"
     "                        its Chinese label or its English name:\n"
     "                        index, time, depth, inclination, azimuth, gravity-toolface,\n"
     "                        magnetic-toolface, dip, temperature, total-gravity, total-field,\n"
     "                        crew, well, true-azimuth, declination\n"
     "  --set LABEL=POS       stores that item's position as given (a signed 32-bit value),\n"
     "                        after --columns\n"
     "\n"
     "Example: zolm-cli export-format --comma --columns depth,inclination,azimuth\n"},
    {"report", "FILE [--layout multi|single|economy] [--row R] [--mode MODE] [--reverse]\n"
               "       (-o OUT.pdf | --ops [--dpi X[,Y]] [--page P])",
     "Draws the printed report of the table's rows: as A4 PDF pages, or as its list of drawing\n"
     "operations.\n"
     "\n"
     "  --layout L     multi (several points a page, landscape; default), single (one point,\n"
     "                 landscape) or economy (portrait)\n"
     "  --row R        the row for the single-point layout, from 0 (default 0)\n"
     "  -o OUT.pdf     the PDF; the drawing rectangle sits 1/4 inch from the paper's corner\n"
     "  --ops          the draw list: 'pages N', then per page 'page P', 'logo X Y',\n"
     "                 'text X Y TEXT', 'line X1 Y1 X2 Y2', in device units\n"
     "  --dpi X[,Y]    the resolution of --ops, 1 to 100000 (default 600)\n"
     "  --page P       only page P (from 1) of --ops\n" ZOLM_VIEW_OPTIONS "\n" ZOLM_OUT_RULE ZOLM_OPEN_RULE
     "\n"
     "Example: zolm-cli report well7.ZLM --layout economy -o well7.pdf\n"},
    {"edit", "FILE [-o OUT] [--force] [--crew T] [--well T] [--declination D]\n"
             "       [--check all|none|invert] [--tick LIST] [--untick LIST]\n"
             "       [--auto-depth START LENGTH] [--depth POINT=METRES]... [--declination-from-site]",
     "Applies the edits in the order given, with the dialogs' checks and messages, then saves the\n"
     "document (to OUT, or back to FILE). With no edit it saves the document unchanged. The first\n"
     "refused edit prints its message and exits 1 before anything is written.\n"
     "\n"
     "  -o OUT         save there instead of over FILE\n"
     "  --force        overwrite FILE even when it is not exactly a survey (see below)\n"
     "  --crew T       crew number, at most 14 GBK bytes (a Chinese character takes two)\n"
     "  --well T       well number, at most 14 GBK bytes; text GBK cannot hold is refused\n"
     "  --declination D   magnetic declination in degrees, -360 to 360\n"
     "  --check all|none|invert   the check marks of the shown points\n"
     "  --tick LIST, --untick LIST   set or clear the check of the listed points: point numbers\n"
     "                 and ranges, e.g. 3,5,10-20\n"
     "  --auto-depth START LENGTH   automatic depths for the checked points: START (30 to 9999)\n"
     "                 for the first checked point, then counting DOWN by LENGTH (0.1 to 500)\n"
     "                 for each later one, in point order, until the depth would go below 0\n"
     "  --depth POINT=METRES   one point's depth, 0 to 9999.99; POINT is the point number\n"
     "                 (from 0, as 'show --json' gives it), not the row number of 'show'\n"
     "  --declination-from-site   the declination from the World Magnetic Model for the site\n"
     "                 and date of FILE (see site), through the same range check;\n"
     "                 refused (exit 1) when FILE has no site\n"
     "\n" ZOLM_OUT_RULE
     "Without -o, a FILE that is not exactly a survey (its length is not 25132 + 30*N bytes, or\n"
     "5220 + 30*N for the older layout, with its count N from 0 to 1818: perhaps not a survey\n"
     "at all) is not overwritten (exit 1) unless --force is given.\n"
     "The survey's site goes with it (see site); a FILE.site beside an older survey moves into\n"
     "the saved survey.\n"
     "\n"
     "Example: zolm-cli edit well7.ZLM --well 7号井 --check none --tick 1-20 --auto-depth 600 30\n"},
    {"link-test", "[--port PORT]",
     "Tests the link to the probe and prints the probe's answer text.\n"
     "\n" ZOLM_PORT_OPTION "\n"
     "Example: zolm-cli link-test --port /dev/ttyUSB0\n"},
    {"info", "[--port PORT] [--quiet]",
     "Reads the probe's information and prints one line per field of the information dialog,\n"
     "'LABEL: TEXT' (probe number, type, capacity, stored points, delay, interval, battery).\n"
     "\n" ZOLM_PORT_OPTION ZOLM_QUIET_OPTION "\n"
     "Example: zolm-cli info --port SIM\n"},
    {"read", "[--port PORT] -o FILE.ZLM [--single-pass] [--quiet]",
     "Reads the survey the probe holds and saves it as a document. It checks that FILE.ZLM can be\n"
     "written before the first request; on any failure it writes nothing and an existing file\n"
     "keeps its bytes. If the file cannot be written after a complete read, the survey is saved\n"
     "to a recovery file in the temporary folder, named in the error. A probe holding no points\n"
     "(or more than 1818) exits 1.\n"
     "Every answer is checked (its letter, its exact length, a block's number) and asked for\n"
     "again, up to 3 more times, when it fails; then the read ends with a data error. Unless\n"
     "--single-pass is given or the setting VerifyRead is 0, the probe's memory is then read a\n"
     "second time and compared: a block whose copies differ is read until two reads agree (at\n"
     "most 5), else the read fails. Blocks read again are counted on stderr.\n"
     "\n" ZOLM_PORT_OPTION "  -o FILE.ZLM    where to save\n"
     "  --single-pass  read the memory once (about half the time); a flipped bit, or another\n"
     "                 block's bytes, in an answer of the right shape then goes unnoticed\n" ZOLM_QUIET_OPTION "\n" ZOLM_OUT_RULE "\n"
     "Example: zolm-cli read --port /dev/ttyUSB0 -o well7.ZLM\n"},
    {"setup", "[--port PORT] [--delay-min M] [--delay-sec S] [--interval I] [--yes] [--quiet]",
     "Sets the probe's start delay and sampling interval, as the settings dialog does; values\n"
     "that pass are stored as the new defaults. Setting the probe discards the survey it holds:\n"
     "on a terminal it asks first; otherwise it refuses (exit 1) unless --yes is given.\n"
     "\n" ZOLM_PORT_OPTION
     "  --delay-min M  delay minutes, 0 to 1000 (default: the stored value)\n"
     "  --delay-sec S  delay seconds, 0 to 59; the whole delay is at least 5 seconds\n"
     "  --interval I   sampling interval in seconds, 1 to 255\n"
     "  --yes          discard the probe's survey without asking\n" ZOLM_QUIET_OPTION "\n"
     "Example: zolm-cli setup --delay-min 10 --delay-sec 0 --interval 10 --yes\n"},
    {"live", "[--port PORT] [--count N] [--quiet]",
     "Starts the probe's live stream and prints one line per sample: inclination, azimuth,\n"
     "gravity toolface, magnetic toolface, dip, total gravity, total field, temperature, each\n"
     "'LABEL: VALUE'. Stops the stream after N lines (default 10). No sample for 3 seconds\n"
     "exits 1.\n"
     "\n" ZOLM_PORT_OPTION "  --count N      how many samples\n" ZOLM_QUIET_OPTION "\n"
     "Example: zolm-cli live --port SIM --count 3\n"},
    {"ports", "",
     "Lists the serial ports the system has (name and description) and SIM, the built-in virtual\n"
     "probe.\n"
     "\n"
     "Example: zolm-cli ports\n"},
    {"set-port", "PORT",
     "Stores PORT as the default port of the probe commands, after the port dialog's open test\n"
     "and message (SIM needs no test).\n"
     "\n"
     "Example: zolm-cli set-port /dev/ttyUSB0\n"},
    {"geomag", "--lat DEG --lon DEG [--height M] [--date YYYY-MM-DD] [--json]",
     "The geomagnetic field at a place and date from the World Magnetic Model (WMM2020 for\n"
     "2020-2024, WMM2025 for 2025-2029): model, decimal year, declination and inclination\n"
     "(degrees, 4 decimals), total, horizontal, north, east and down intensity (nT).\n"
     "\n"
     "  --lat DEG      latitude, -89.9 to 89.9 (north positive)\n"
     "  --lon DEG      longitude, -180 to 360 (east positive)\n"
     "  --height M     above the WGS84 ellipsoid, -1000 m to 850 km (default 0)\n"
     "  --date D       YYYY-MM-DD (default: today)\n"
     "  --json         one JSON object, full precision\n"
     "\n"
     "Example: zolm-cli geomag --lat 36.5 --lon 117.2 --date 2026-03-15\n"},
    {"site", "FILE [--lat DEG --lon DEG [--height M] --date YYYY-MM-DD] [--vs-azimuth DEG]\n"
             "       [--client T] [--company T] [--rig T] [--field T] [--location T]\n"
             "       [--service-company T] [--uwi T] [--surveyor T] [--checked-by T] [--approved-by T]\n"
             "       [-o OUT] [--force] | FILE --clear [-o OUT] [--force]",
     "The survey's site, kept inside the survey file (in header bytes the file format leaves\n"
     "unused: its length and every other byte stay as they are, and other programs read the\n"
     "survey as before). A survey without one takes FILE.site beside it, where older versions\n"
     "kept the site; the next save moves that into the survey and leaves FILE.site as it is.\n"
     "With no option prints the site and the model's field there (exit 1 when there is none):\n"
     "'name: value' lines, the fields that are set among latitude, longitude, height, date,\n"
     "verticalSectionAzimuth, fieldScale, dogLegLimit, probeStart, client, company, rig, field,\n"
     "location, serviceCompany, uwi, surveyor, checkedBy, approvedBy, then model, declination,\n"
     "inclination, totalIntensity. With --lat, --lon and --date sets the position and date (the\n"
     "other fields of a stored site are kept); the other options change one field of the site.\n"
     "A change, or --clear, rewrites the survey as edit does and prints the site.\n"
     "\n"
     "  --lat DEG, --lon DEG   as for geomag\n"
     "  --height M     -1000 to 10000 (default 0)\n"
     "  --date D       the survey date, YYYY-MM-DD, one the models cover\n"
     "  --vs-azimuth DEG   the vertical-section azimuth\n"
     "  --client T, --company T, --location T, --service-company T   at most 39 GBK bytes (a\n"
     "                 Chinese character takes two)\n"
     "  --rig T, --field T, --uwi T   rig, oil field or block, unique well id: at most 23 bytes\n"
     "  --surveyor T, --checked-by T, --approved-by T   at most 15 bytes\n"
     "                 texts for the reports; an empty T removes one; a character GBK cannot\n"
     "                 hold is refused\n"
     "  --clear        no site any more (a FILE.site beside it is not taken again)\n"
     "  -o OUT         save the survey there instead of over FILE\n"
     "  --force        overwrite FILE even when it is not exactly a survey (as for edit)\n"
     "\n" ZOLM_OUT_RULE "\n"
     "Example: zolm-cli site well7.ZLM --lat 36.5 --lon 117.2 --date 2026-03-15 --client 第一采油厂\n"},
    {"qc", "FILE [--json] [--g-tol X] [--b-tol X] [--dip-tol DEG] [--field-scale X] [--no-site]",
     "Checks each shown point's total gravity, total field and dip against a reference: the\n"
     "site's model (gravity 1, field in probe units) or, without a site, the medians of the\n"
     "checked points. One line per point (point, pass/fail, G, dG, B, dB, dip, ddip, what\n"
     "failed), then a summary. Exit 0 even when points fail.\n"
     "\n"
     "  --g-tol X      gravity tolerance (default 0.003)\n"
     "  --b-tol X      field tolerance in probe units (default 0.003)\n"
     "  --dip-tol DEG  dip tolerance (default 0.3)\n"
     "  --field-scale X   the probe's field units per gauss (default 1)\n"
     "  --no-site      use the medians even when there is a site\n"
     "  --json         one JSON object\n"
     "\n"
     "Example: zolm-cli qc well7.ZLM\n"},
    {"trajectory", "FILE [--json | --csv | --las | --pdf] [-o OUT] [--vs-azimuth DEG]\n"
                   "       [--tie-in MD,INC,AZI,TVD,N,E]",
     "The well path by minimum curvature through the survey stations: the checked points with a\n"
     "depth, sorted by depth; true azimuth = magnetic azimuth + the document's declination. One\n"
     "line per station: point, MD, inclination, azimuth, TVD, N, E, VS, DLS (deg/30 m).\n"
     "\n"
     "  --json, --csv, --las   other formats; --pdf the trajectory report (needs -o)\n"
     "  -o OUT         where to write (default: standard output)\n"
     "  --vs-azimuth DEG   the vertical-section azimuth (default: the site's, else the closure\n"
     "                 azimuth of the last station)\n"
     "  --tie-in MD,INC,AZI,TVD,N,E   the tie-in point (default all 0)\n"
     "\n" ZOLM_OUT_RULE "\n"
     "Example: zolm-cli trajectory well7.ZLM --csv -o well7.csv\n"},
}};

#undef ZOLM_VIEW_OPTIONS
#undef ZOLM_PORT_OPTION
#undef ZOLM_QUIET_OPTION
#undef ZOLM_OUT_RULE
#undef ZOLM_OPEN_RULE

QString synopsisLine(const CommandHelp &help)
{
    QString line = QStringLiteral("zolm-cli [--settings FILE] ") + QString::fromUtf8(help.name);
    if (*help.synopsis)
        line += QLatin1Char(' ') + QString::fromUtf8(help.synopsis);
    return line;
}

// Roff treats a leading '.' or '\'' as a request and '\' as an escape.
QString roffText(const QString &text)
{
    QString out;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString l = line;
        l.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
        l.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        if (l.startsWith(QLatin1Char('.')) || l.startsWith(QLatin1Char('\'')))
            l.prepend(QStringLiteral("\\&"));
        out += l + QLatin1Char('\n');
    }
    return out;
}

} // namespace

std::span<const CommandHelp> commandHelps()
{
    return helps;
}

const CommandHelp *findCommandHelp(std::string_view command)
{
    for (const CommandHelp &h : helps) {
        if (command == h.name)
            return &h;
    }
    return nullptr;
}

QString overviewHelp()
{
    QString text = QStringLiteral(
        "usage: zolm-cli [--settings FILE] COMMAND [ARGS]\n"
        "       zolm-cli --version | --help | COMMAND --help\n"
        "\n"
        "The survey and probe functions of ZOLM without a window. Exit status: 0 done, 1 the\n"
        "operation failed, 2 wrong usage.\n"
        "\n"
        "  --settings FILE   use this settings file (also: ZOLM_SETTINGS=FILE)\n"
        "\n"
        "Commands:\n");
    for (const CommandHelp &h : helps) {
        const QString name = QString::fromUtf8(h.name);
        QString synopsis = QString::fromUtf8(h.synopsis);
        synopsis.replace(QStringLiteral("\n       "), QStringLiteral("\n") + QString(17, QLatin1Char(' ')));
        text += (QStringLiteral("  %1 %2").arg(name, -14).arg(synopsis)).trimmed().prepend(QStringLiteral("  "))
            + QLatin1Char('\n');
    }
    text += QStringLiteral("\n'zolm-cli COMMAND --help' tells more of each command.\n");
    return text;
}

QString commandHelp(const CommandHelp &help)
{
    return QStringLiteral("usage: ") + synopsisLine(help) + QStringLiteral("\n\n") + QString::fromUtf8(help.text);
}

QString manualPage()
{
    QString page = QStringLiteral(".TH ZOLM\\-CLI 1 \"\" \"zolm-cli %1\" \"User Commands\"\n"
                                  ".SH NAME\n"
                                  "zolm\\-cli \\- survey documents and the probe, without a window\n"
                                  ".SH SYNOPSIS\n"
                                  ".nf\n")
                       .arg(QStringLiteral(ZOLM_VERSION));
    for (const CommandHelp &h : helps)
        page += roffText(synopsisLine(h));
    page += QStringLiteral(".fi\n.SH DESCRIPTION\n.nf\n");
    QString overview = overviewHelp();
    overview = overview.mid(overview.indexOf(QStringLiteral("\n\n")) + 2);
    page += roffText(overview.left(overview.indexOf(QStringLiteral("\nCommands:"))));
    page += QStringLiteral(".fi\n.SH COMMANDS\n");
    for (const CommandHelp &h : helps) {
        page += QStringLiteral(".SS %1\n.nf\n").arg(roffText(QString::fromUtf8(h.name)).trimmed());
        page += roffText(synopsisLine(h) + QStringLiteral("\n\n") + QString::fromUtf8(h.text).trimmed());
        page += QStringLiteral(".fi\n");
    }
    page += QStringLiteral(".SH FILES\n.nf\n"
                           "$XDG_CONFIG_HOME/Vexmoor/ZOLM.ini   the settings (port, probe settings, export format)\n"
                           ".fi\n");
    return page;
}

QString versionText(const char *program)
{
    return QStringLiteral("%1 %2\n").arg(QString::fromUtf8(program), QStringLiteral(ZOLM_VERSION));
}

} // namespace zolm::cli
