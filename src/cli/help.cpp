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
#define ZOLM_FIELD_SCALE_OPTION                                                                        \
    "  --field-scale X   the probe's field units per gauss for this judgement (above 0): QC\n"     \
    "                 compares the total field with the site model's field times X. Default:\n"    \
    "                 the scale stored in the survey's site, else the one this computer\n"         \
    "                 remembers for the survey's probe number (site --calibrate-field-scale),\n"   \
    "                 else 1\n"
#define ZOLM_DLS_OPTION                                                                                \
    "  --dls-limit DEG   the dog-leg severity above which a station is warned of, in degrees\n"   \
    "                 per 30 m (above 0, at most 180). Default: the survey's site (site\n"        \
    "                 --dls-limit), else 3\n"
#define ZOLM_WARNINGS_RULE                                                                             \
    "Warnings go to stderr, one line each, starting with '警告：': ticked shots whose depth\n"      \
    "breaks the order of their times (a typo such as 900 for 90), ticked shots left out of the\n"   \
    "path and why (no depth, ...), a declination of 0 while the site's model gives another, and\n"  \
    "stations whose dog-leg is above the limit. They do not change the exit status.\n"
#define ZOLM_OPEN_RULE                                                                                 \
    "The document opens as the desktop program opens it: every point shown, ascending; then\n"      \
    "--mode and --reverse apply, in that order. A file that is not exactly a survey (its length\n"  \
    "is not 25132 + 30*N bytes, or 5220 + 30*N for the older layout, with its count N from 0 to\n"  \
    "1818) still opens, with a warning on stderr.\n"

constexpr std::array<CommandHelp, 17> helps{{
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
             "       [--auto-depth START LENGTH [--up]] [--depth POINT=METRES]... [--declination-from-site]\n"
             "       [--tally TALLY [--tally-window SECONDS]]",
     "Applies the edits in the order given, with the dialogs' checks and messages, then saves the\n"
     "document (to OUT, or back to FILE). With no edit it saves the document unchanged. The first\n"
     "refused edit prints its message and exits 1 before anything is written.\n"
     "\n"
     "  -o OUT         save there instead of over FILE\n"
     "  --force        overwrite FILE even when it is not exactly a survey (see below), and\n"
     "                 let --auto-depth and --tally replace depths entered before\n"
     "  --crew T       crew number, at most 14 GBK bytes (a Chinese character takes two)\n"
     "  --well T       well number, at most 14 GBK bytes; text GBK cannot hold is refused\n"
     "  --declination D   magnetic declination in degrees, -360 to 360\n"
     "  --check all|none|invert   the check marks of the shown points\n"
     "  --tick LIST, --untick LIST   set or clear the check of the listed points: point numbers\n"
     "                 and ranges, e.g. 3,5,10-20\n"
     "  --auto-depth START LENGTH   automatic depths for the checked points: START (30 to 9999)\n"
     "                 for the first checked point, then counting DOWN by LENGTH (0.1 to 500)\n"
     "                 for each later one, in point order (the order of the shots' times, not\n"
     "                 the order of --reverse), until the depth would go below 0: a survey taken\n"
     "                 while pulling out of the hole. A checked point whose entered depth it\n"
     "                 would replace makes it refuse (exit 1, the points named) unless --force\n"
     "  --up           with --auto-depth: count UP from START instead, until the depth would\n"
     "                 pass 9999.99: a survey taken while running into the hole\n"
     "  --depth POINT=METRES   one point's depth, 0 to 9999.99; POINT is the point number\n"
     "                 (from 0, as 'show --json' gives it), not the row number of 'show'\n"
     "  --declination-from-site   the declination from the World Magnetic Model for the site\n"
     "                 and date of FILE (see site), through the same range check;\n"
     "                 refused (exit 1) when FILE has no site\n"
     "  --tally TALLY  depths from the driller's tally: a text file, one station a line,\n"
     "                 'TIME DEPTH' separated by blanks, a tab or a comma; '#' starts a\n"
     "                 comment. TIME is HH:MM or HH:MM:SS: the clock time when the site holds the\n"
     "                 probe's start time (site --start-time; a time earlier than the line\n"
     "                 before is on the next day), else the time since the probe started (the\n"
     "                 time column of show; hours go on past 24). DEPTH in metres, 0.01 to\n"
     "                 9999.99. The stops are found as stations finds them; each line goes to\n"
     "                 the stop whose span holds its time, else to the nearest stop within the\n"
     "                 window. The stop's depth goes to its representative shot when that is\n"
     "                 checked, else to the checked shot nearest it, else to the representative.\n"
     "                 A line that finds no stop, and lines that find the same stop, are named\n"
     "                 on stderr and assign nothing; the others are applied. A line that is not\n"
     "                 a tally line fails the command (exit 1, nothing written). Depths entered\n"
     "                 before are replaced only with --force\n"
     "  --tally-window SECONDS   how far outside a stop a tally time may lie, 0 to 86400\n"
     "                 (default 120)\n"
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
             "       [--calibrate-field-scale | --set-field-scale X] [--field-scale X]\n"
             "       [--start-time \"YYYY-MM-DD HH:MM:SS\"] [--dls-limit DEG]\n"
             "       [-o OUT] [--force] | FILE --clear [-o OUT] [--force]",
     "The survey's site, kept inside the survey file (in header bytes the file format leaves\n"
     "unused: its length and every other byte stay as they are, and other programs read the\n"
     "survey as before). A survey without one takes FILE.site beside it, where older versions\n"
     "kept the site; the next save moves that into the survey and leaves FILE.site as it is.\n"
     "With no option prints the site and the model's field there (exit 1 when there is none):\n"
     "'name: value' lines, the fields that are set among latitude, longitude, height, date,\n"
     "verticalSectionAzimuth, fieldScale, dogLegLimit, probeStart, client, company, rig, field,\n"
     "location, serviceCompany, uwi, surveyor, checkedBy, approvedBy, then model, declination,\n"
     "inclination, totalIntensity, then what QC compares the total field with: qcFieldScale,\n"
     "qcFieldScaleSource (option, site, probe or default) and qcTotalField (probe units).\n"
     "With --lat, --lon and --date sets the position and date (the other fields of a stored site\n"
     "are kept); the other options change one field of the site. A change, or --clear, rewrites\n"
     "the survey as edit does and prints the site.\n"
     "\n"
     "  --lat DEG, --lon DEG   as for geomag\n"
     "  --height M     -1000 to 10000 (default 0)\n"
     "  --date D       the survey date, YYYY-MM-DD, one the models cover\n"
     "  --vs-azimuth DEG   the vertical-section azimuth\n"
     "  --start-time \"YYYY-MM-DD HH:MM:SS\"   the probe's clock time when it started: the tally\n"
     "                 then takes clock times, and the trajectory window and report show each\n"
     "                 shot's clock time; an empty value removes it\n"
     "  --dls-limit DEG   the dog-leg severity limit the warnings use (degrees per 30 m, above\n"
     "                 0, at most 180; default 3); an empty value removes it\n"
     "  --client T, --company T, --location T, --service-company T   at most 39 GBK bytes (a\n"
     "                 Chinese character takes two)\n"
     "  --rig T, --field T, --uwi T   rig, oil field or block, unique well id: at most 23 bytes\n"
     "  --surveyor T, --checked-by T, --approved-by T   at most 15 bytes\n"
     "                 texts for the reports; an empty T removes one; a character GBK cannot\n"
     "                 hold is refused\n"
     "  --calibrate-field-scale   sets the site's field scale from this survey: the median\n"
     "                 total field of the checked shots (of every shown shot when none is\n"
     "                 checked) over the site model's total field in gauss. A scale more than\n"
     "                 5% from 1 is refused (exit 1, nothing written) with the reason. The scale\n"
     "                 is also remembered on this computer for the survey's probe number\n"
     "                 (setting FieldScale/NUMBER), so the probe's next survey starts with it;\n"
     "                 calibrationShots, calibrationMeasured and calibrationModel are printed\n"
     "  --set-field-scale X   stores X (above 0) as the site's field scale, remembered for\n"
     "                 the probe in the same way\n" ZOLM_FIELD_SCALE_OPTION
     "  --clear        no site any more (a FILE.site beside it is not taken again)\n"
     "  -o OUT         save the survey there instead of over FILE\n"
     "  --force        overwrite FILE even when it is not exactly a survey (as for edit)\n"
     "\n" ZOLM_OUT_RULE "\n"
     "Example: zolm-cli site well7.ZLM --lat 36.5 --lon 117.2 --date 2026-03-15 --client 第一采油厂\n"},
    {"qc", "FILE [--json] [--g-tol X] [--b-tol X] [--dip-tol DEG] [--field-scale X] [--no-site]\n"
           "       [--dls-limit DEG]",
     "Checks each shown point's total gravity, total field and dip against a reference: the\n"
     "site's model (gravity 1, field in probe units) or, without a site, the medians of the\n"
     "checked points. One line per point (point, pass/fail, G, dG, B, dB, dip, ddip, what\n"
     "failed), then a summary. Exit 0 even when points fail.\n"
     "\n"
     "  --g-tol X      gravity tolerance (default 0.003)\n"
     "  --b-tol X      field tolerance in probe units (default 0.003)\n"
     "  --dip-tol DEG  dip tolerance (default 0.3)\n" ZOLM_FIELD_SCALE_OPTION
     "  --no-site      use the medians even when there is a site\n" ZOLM_DLS_OPTION
     "  --json         one JSON object; its reference names the fieldScale used and its\n"
     "                 fieldScaleSource (option, site, probe or default)\n"
     "\n"
     "\n" ZOLM_WARNINGS_RULE "\n"
     "Example: zolm-cli qc well7.ZLM\n"},
    {"trajectory", "FILE [--json | --csv [--meta] | --las | --pdf] [-o OUT] [--vs-azimuth DEG]\n"
                   "       [--tie-in MD,INC,AZI,TVD,N,E] [--field-scale X] [--dls-limit DEG]",
     "The well path by minimum curvature through the survey stations: the checked points with a\n"
     "depth, sorted by depth; true azimuth = magnetic azimuth + the document's declination. One\n"
     "line per station: point, MD, inclination, azimuth, TVD, N, E, VS, DLS (deg/30 m).\n"
     "\n"
     "  --json, --csv, --las   other formats; --pdf the survey report (needs -o): who and where\n"
     "                 from the site, QC with its field scale, the warnings, a signature block\n"
     "  --meta         with --csv: the well, site, declination, model, field scale and tie-in\n"
     "                 first, as '# key: value' lines (the LAS file's ~Well and ~Parameter)\n"
     "  -o OUT         where to write (default: standard output)\n"
     "  --vs-azimuth DEG   the vertical-section azimuth (default: the site's, else the closure\n"
     "                 azimuth of the last station)\n"
     "  --tie-in MD,INC,AZI,TVD,N,E   the tie-in point (default all 0)\n" ZOLM_FIELD_SCALE_OPTION
     "                 (the report's QC verdicts; every format takes it)\n" ZOLM_DLS_OPTION
     "\n" ZOLM_OUT_RULE ZOLM_WARNINGS_RULE "\n"
     "Example: zolm-cli trajectory well7.ZLM --csv -o well7.csv\n"},
    {"stations", "FILE [--apply [-o OUT] [--force]] [--json] [--inc-tol DEG] [--azi-tol DEG]\n"
                 "       [--g-tol X] [--b-tol X] [--min-duration S] [--azi-min-inc DEG]",
     "Finds the stations of a multi-shot run: the stops, where consecutive shots keep their\n"
     "inclination, azimuth, total gravity and total field within the limits below (largest minus\n"
     "smallest value over the stop) for at least the shortest duration. Every point of the survey\n"
     "is looked at, shown or not, in point order (the order the probe took them); a shot's time is\n"
     "the table's time column (the start delay, then one interval per shot). A shot with a value\n"
     "that is not a number belongs to no stop. Of each stop the shot nearest the stop's medians\n"
     "(each quantity measured in its own limit) represents it.\n"
     "One line per stop (number, points first-last, shots, start and end time, duration in\n"
     "seconds, representative point, median inclination, azimuth, total gravity, total field,\n"
     "then their spreads; '-' for an azimuth not compared), then a summary.\n"
     "\n"
     "  --apply        ticks each stop's representative and unticks every other point (the\n"
     "                 moving shots and the rest of each stop), then saves as edit does; the\n"
     "                 ticks can be changed afterwards as any others. Without a stop nothing is\n"
     "                 changed (exit 1)\n"
     "  -o OUT         with --apply: save there instead of over FILE\n"
     "  --force        with --apply: overwrite FILE even when it is not exactly a survey\n"
     "  --json         one JSON object: tolerance, stops [{first, last, shots, start, end,\n"
     "                 duration, representative, inclination, azimuth, gtotal, btotal,\n"
     "                 spread {...}}], summary {points, stops, resting, moving}\n"
     "  --inc-tol DEG  inclination spread of a stop, 0 to 180 (default 0.5)\n"
     "  --azi-tol DEG  azimuth spread, 0 to 360 (default 2); 359 and 1 are 2 apart. At a low\n"
     "                 inclination a small turn of the hole swings the azimuth far, so the limit\n"
     "                 widens there to --inc-tol / sin(inclination): 9.6 at 3 degrees by default\n"
     "  --g-tol X      total gravity spread in g, 0 to 10 (default 0.005)\n"
     "  --b-tol X      total field spread in probe units, 0 to 1000000 (default 0.005)\n"
     "  --min-duration S   the shortest stop, from its first shot to its last, 0 to 86400\n"
     "                 seconds (default 60); a stop holds at least two shots\n"
     "  --azi-min-inc DEG  the azimuth of a shot inclined less than this is left out (near\n"
     "                 vertical it means nothing and must not part a stop), 0 to 180 (default 2)\n"
     "\n" ZOLM_OUT_RULE "\n"
     "Example: zolm-cli stations well7.ZLM --apply\n"},
}};

#undef ZOLM_VIEW_OPTIONS
#undef ZOLM_PORT_OPTION
#undef ZOLM_QUIET_OPTION
#undef ZOLM_OUT_RULE
#undef ZOLM_OPEN_RULE
#undef ZOLM_FIELD_SCALE_OPTION
#undef ZOLM_DLS_OPTION
#undef ZOLM_WARNINGS_RULE

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
