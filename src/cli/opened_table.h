#pragma once
// A document opened as the desktop program opens it (the same session), with its table; then
// --mode and --reverse applied as the display-mode and order commands. Shared by the document
// commands.
#include "analysis/site.h"
#include "cli/cli.h"
#include "document/document.h"
#include "session/survey_session.h"
#include "table/survey_table.h"

#include <optional>
#include <string>

namespace zolm::cli {

struct OpenedTable {
    SurveySession session;
    CNDravikDoc &doc = session.document();
    SurveyTable &table = session.table();
};

struct ViewOptions {
    std::optional<DisplayMode> mode;
    bool reverse = false;
};

// Takes --mode and --reverse out of args; a mode that does not exist is a usage error
// (printed; the result is empty).
std::optional<ViewOptions> takeViewOptions(Args &args, const char *command);

// Opens FILE and refills the table; on failure prints why and returns false.
bool openTable(const std::string &path, OpenedTable &opened);
void applyView(OpenedTable &opened, const ViewOptions &view);

// The opened survey's site: its own, else the site file beside it, which the next save moves
// into the survey. A site that cannot be used is reported on stderr (here, so that only the
// commands that use the site say so) and ignored.
const std::optional<Site> &openedSite(const OpenedTable &opened);
// The rule of every command that writes a survey back: without -o, a file that is not exactly
// a survey is not overwritten unless --force is given. True (printed) when refused.
bool refuseOverwrite(const OpenedTable &opened, const std::string &path, bool toOut, bool force);
// Saves the survey at `target` (a path, or "-" for standard output); prints why on failure.
bool saveOpened(OpenedTable &opened, const std::string &target);

QString fromArg(const std::string &arg); // a command-line argument as text
QString fileArg(const std::string &arg); // a command-line argument as a file name

} // namespace zolm::cli
