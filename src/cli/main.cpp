#include "cli/cli.h"

#include <QCoreApplication>

#include <cstring>

namespace {

const char *const usageText =
    "usage: zolm-cli [--settings FILE] COMMAND [ARGS]\n"
    "\n"
    "Documents (FILE is a .ZLM file):\n"
    "  show FILE [--json] [--mode all|hide-checked|only-checked] [--reverse]\n"
    "  export FILE -o OUT [--mode ...] [--reverse]\n"
    "  export-format [--title | --no-title] [--space | --comma] [--columns L1,L2,...] [--set LABEL=POS]...\n"
    "  report FILE [--layout multi|single|economy] [--row R] [--mode ...] [--reverse]\n"
    "              (-o OUT.pdf | --ops [--dpi X[,Y]] [--page P])\n"
    "  edit FILE [-o OUT] [--crew T] [--well T] [--declination D] [--check all|none|invert]\n"
    "            [--auto-depth START LENGTH] [--depth POINT=METRES]...\n"
    "Probe (PORT: a serial device, SIM for the built-in virtual probe, SIM:FILE.ZLM for one\n"
    "loaded from a document; default: the stored comport):\n"
    "  link-test [--port PORT]\n"
    "  info      [--port PORT]\n"
    "  read      [--port PORT] -o FILE.ZLM\n"
    "  setup     [--port PORT] [--delay-min M] [--delay-sec S] [--interval I] [--yes]\n"
    "  live      [--port PORT] [--count N]\n";

} // namespace

int main(int argc, char **argv)
{
    using namespace zolm::cli;
    const auto app = makeApplication(argc, argv);

    std::vector<std::string> args(argv + 1, argv + argc);
    Context ctx;
    // Global options come before the command.
    while (!args.empty() && args.front().rfind("--", 0) == 0) {
        const std::string opt = args.front();
        if (opt == "--help" || opt == "-h") {
            printOut(QString::fromUtf8(usageText));
            return ExitOk;
        }
        if (opt == "--settings" && args.size() >= 2) {
            ctx.settingsFile = QString::fromLocal8Bit(args[1].c_str());
            args.erase(args.begin(), args.begin() + 2);
        } else if (opt.rfind("--settings=", 0) == 0) {
            ctx.settingsFile = QString::fromLocal8Bit(opt.substr(11).c_str());
            args.erase(args.begin());
        } else {
            return usageError(QStringLiteral("unknown option '%1'").arg(QString::fromStdString(opt)));
        }
    }
    if (args.empty())
        return usageError(QStringLiteral("a command is needed"));

    const std::string command = args.front();
    Args rest(std::vector<std::string>(args.begin() + 1, args.end()));
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
