#include "cli/cli.h"
#include "cli/help.h"

#include <QCoreApplication>

#include <optional>
#include <string>
#include <vector>

namespace {

// --help, --version and --man (the manual page, for the build) answer before anything else
// starts; `zolm-cli COMMAND --help` too, so that no command's own code needs to know of it.
std::optional<int> answerHelp(const std::vector<std::string> &args)
{
    using namespace zolm::cli;
    std::size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) {
        const std::string &opt = args[i];
        if (opt == "--help" || opt == "-h") {
            printOut(overviewHelp());
            return ExitOk;
        }
        if (opt == "--version") {
            printOut(versionText("zolm-cli"));
            return ExitOk;
        }
        if (opt == "--man") {
            printOut(manualPage());
            return ExitOk;
        }
        i += opt == "--settings" ? 2 : 1;
    }
    if (i >= args.size())
        return std::nullopt;
    const CommandHelp *help = findCommandHelp(args[i]);
    if (!help)
        return std::nullopt;
    for (std::size_t k = i + 1; k < args.size(); ++k) {
        if (args[k] == "--help" || args[k] == "-h") {
            printOut(commandHelp(*help));
            return ExitOk;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zolm::cli;
    prepareStandardStreams();
    std::vector<std::string> args = commandLineArguments(argc, argv);
    if (const auto answered = answerHelp(args))
        return *answered;
    const auto app = makeApplication(argc, argv);

    Context ctx;
    // Global options come before the command.
    while (!args.empty() && args.front().rfind("--", 0) == 0) {
        const std::string opt = args.front();
        if (opt == "--settings" && args.size() >= 2) {
            ctx.settingsFile = QString::fromUtf8(args[1].c_str());
            args.erase(args.begin(), args.begin() + 2);
        } else if (opt.rfind("--settings=", 0) == 0) {
            ctx.settingsFile = QString::fromUtf8(opt.substr(11).c_str());
            args.erase(args.begin());
        } else {
            return usageError(QStringLiteral("unknown option '%1'").arg(QString::fromStdString(opt)));
        }
    }
    if (args.empty())
        return usageError(QStringLiteral("a command is needed"));

    const std::string command = args.front();
    Args rest(std::vector<std::string>(args.begin() + 1, args.end()), command);
    if (command == "show")
        return runShow(rest, ctx);
    if (command == "export")
        return runExport(rest, ctx);
    if (command == "export-format")
        return runExportFormat(rest, ctx);
    if (command == "report")
        return runReport(rest, ctx);
    if (command == "edit")
        return runEdit(rest, ctx);
    if (command == "geomag")
        return runGeomag(rest, ctx);
    if (command == "site")
        return runSite(rest, ctx);
    if (command == "qc")
        return runQc(rest, ctx);
    if (command == "trajectory")
        return runTrajectory(rest, ctx);
    if (command == "stations")
        return runStations(rest, ctx);
    if (command == "link-test")
        return runLinkTest(rest, ctx);
    if (command == "info")
        return runInfo(rest, ctx);
    if (command == "read")
        return runRead(rest, ctx);
    if (command == "setup")
        return runSetup(rest, ctx);
    if (command == "live")
        return runLive(rest, ctx);
    if (command == "ports")
        return runPorts(rest, ctx);
    if (command == "set-port")
        return runSetPort(rest, ctx);
    return usageError(QStringLiteral("unknown command '%1'").arg(QString::fromStdString(command)));
}
