#pragma once
// zolm-cli: the survey and probe functions without a window. Each command returns the exit
// status: 0 done, 1 the operation failed, 2 wrong usage.
#include "platform/result.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

#include <cstdio>
#include <memory>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zolm {
class SurveyTable;
struct Site;
struct TableChange;
enum class DepthDirection : int;
} // namespace zolm

namespace zolm::cli {

enum ExitCode : int { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// An option a command takes, as its declaration (commands.cpp, help.h) gives it: its name, how
// many values follow it (0: a switch), and its help (untranslated, "zolm-cli" context).
struct OptionSpec {
    std::string name;
    int values = 0;
    const char *placeholder = nullptr; // its values as the help names them ("DEG")
    const char *help = nullptr;
    const char *more = nullptr; // a line the command adds under a shared option's help
};
// Every option the command takes, in the order its help lists them: what its Args lets it read.
// Empty for an unknown command.
std::vector<OptionSpec> commandOptions(std::string_view command);
// The trajectory formats' switches as a usage error names them ("--json、--csv 和 --las").
QString formatSwitchList();

// The command's own arguments, consumed option by option. Reading an option that is not in
// the command's table (or with another count of values) is a fault of the program, and stops it.
class Args {
public:
    Args(std::vector<std::string> args, std::string_view command)
        : m_args(std::move(args)), m_command(command), m_options(commandOptions(command))
    {
    }

    // Removes "--name" and returns true when present.
    bool flag(const std::string &name);
    // Removes "--name VALUE" (or "--name=VALUE"); an option without its value is a usage error.
    std::optional<std::string> value(const std::string &name);
    // Every occurrence, in order.
    std::vector<std::string> values(const std::string &name);
    // Removes every option named in `arities` (name, number of values) with its values and
    // returns them in the order given ("--name=VALUE" for a one-value option).
    std::vector<std::pair<std::string, std::vector<std::string>>>
    inOrder(const std::vector<std::pair<std::string, int>> &arities);
    // Removes and returns the first argument that is not an option.
    std::optional<std::string> positional();
    // The command's one argument that is not an option, taken after all its options: nothing,
    // with the usage error printed, when arguments are left over or it is missing. `what` names
    // it in the error, translated already (nullptr: a .ZLM file).
    std::optional<std::string> lastPositional(const char *command, const char *what = nullptr);
    // Whatever was not consumed; a command refuses to run with leftovers.
    const std::vector<std::string> &rest() const { return m_args; }
    bool error() const { return m_error; }
    const std::string &errorText() const { return m_errorText; }
    // Prints the usage error (a missing value or leftovers) and returns true when there is one.
    bool reportUsageError(const char *command);

private:
    void declared(const std::string &name, int values) const;

    std::vector<std::string> m_args;
    std::string m_command;
    std::vector<OptionSpec> m_options;
    bool m_error = false;
    std::string m_errorText;
};

struct Context {
    QString settingsFile; // empty: the default store
};

void printOut(const QString &text); // UTF-8 on stdout, as given
void printErr(const QString &text); // UTF-8 on stderr, as given
// The program's arguments after its name, as UTF-8 (console.cpp).
std::vector<std::string> commandLineArguments(int argc, char **argv);
// Standard output and error in binary mode (Windows would turn LF into CR LF).
void prepareStandardStreams();
// Text to a stream: UTF-8, or on a Windows console the console's own wide call.
void writeText(std::FILE *stream, const QString &text);
int usageError(const QString &text);
// Every failure ends here: its code chooses the exit status and the stream. Wrong usage exits 2
// with the usage hint; a cancelled operation exits 1 silently; a probe without data exits 1 with
// its message on stdout; any other failure exits 1 with its message on stderr. A result's text
// (None) goes the same way: on stdout, exit 0.
int exitStatus(ErrorCode code);
bool toStdout(ErrorCode code);
int fail(const Error &error);


int runShow(Args &args, const Context &ctx);

// Document commands (document_commands.cpp).
int runExport(Args &args, const Context &ctx);
int runExportFormat(Args &args, const Context &ctx);
int runReport(Args &args, const Context &ctx);
int runEdit(Args &args, const Context &ctx);
// A plain core application, or for commands that draw (report) a GUI one on the offscreen
// platform.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv);

// Probe commands (probe_commands.cpp).
int runLinkTest(Args &args, const Context &ctx);
int runInfo(Args &args, const Context &ctx);
int runRead(Args &args, const Context &ctx);
int runSetup(Args &args, const Context &ctx);
int runLive(Args &args, const Context &ctx);
int runPorts(Args &args, const Context &ctx);
int runSetPort(Args &args, const Context &ctx);

// edit's depth commands (depth_edits.cpp). Automatic depth refuses (printed; nothing) to replace
// entered depths unless forced. The tally sets the depths its lines find stops for and prints
// the lines that find none; false (printed) when it cannot be read, assigns nothing, or would
// replace entered depths unforced.
std::optional<TableChange> autoDepthEdit(SurveyTable &table, const QString &start, const QString &length,
                                         DepthDirection direction, bool force);
bool tallyEdit(SurveyTable &table, const std::optional<Site> &site, const std::string &tallyFile, int window, bool force);

// Survey analysis (analysis_commands.cpp).
int runGeomag(Args &args, const Context &ctx);
int runSite(Args &args, const Context &ctx);
int runQc(Args &args, const Context &ctx);
int runTrajectory(Args &args, const Context &ctx);
// stations (stations_command.cpp).
int runStations(Args &args, const Context &ctx);
// edit --declination-from-site: the site model's declination through the declination edit;
// without a usable site it prints why and returns nothing.
std::optional<TableChange> declinationFromSite(const std::optional<Site> &site, const std::string &file,
                                               SurveyTable &table);

} // namespace zolm::cli
