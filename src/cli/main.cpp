#include "cli/cli.h"
#include "cli/help.h"

#include "platform/language.h"
#include "platform/settings.h"

#include <QCoreApplication>

#include <optional>
#include <string>
#include <vector>

namespace {

// Whether a global option takes the next argument as its value.
bool takesValue(const std::string &option)
{
    return option == "--settings" || option == "--lang";
}

// --help, --version and --man (the manual page, for the build) answer before anything else
// starts; `zolm-cli COMMAND --help` too, so that no command's own code needs to know of it.
struct HelpRequest {
    enum Kind { None, Overview, Version, Manual, Command } kind = None;
    const zolm::cli::CommandHelp *command = nullptr;
};

HelpRequest helpRequest(const std::vector<std::string> &args)
{
    std::size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) {
        const std::string &opt = args[i];
        if (opt == "--help" || opt == "-h")
            return {HelpRequest::Overview};
        if (opt == "--version")
            return {HelpRequest::Version};
        if (opt == "--man")
            return {HelpRequest::Manual};
        i += takesValue(opt) ? 2 : 1;
    }
    if (i >= args.size())
        return {};
    const zolm::cli::CommandHelp *help = zolm::cli::findCommandHelp(args[i]);
    if (!help)
        return {};
    for (std::size_t k = i + 1; k < args.size(); ++k) {
        if (args[k] == "--help" || args[k] == "-h")
            return {HelpRequest::Command, help};
    }
    return {};
}

// The text the request asks for, in the installed language.
QString helpText(const HelpRequest &request)
{
    using namespace zolm::cli;
    switch (request.kind) {
    case HelpRequest::Overview: return overviewHelp();
    case HelpRequest::Version: return versionText("zolm-cli");
    case HelpRequest::Manual: return manualPage();
    case HelpRequest::Command: return commandHelp(*request.command);
    case HelpRequest::None: break;
    }
    return {};
}

// The global options, before the command: they are taken off `args`. A wrong one is told only
// once the language is known (usageError()).
struct GlobalOptions {
    zolm::cli::Context ctx;
    std::optional<zolm::UiLanguage> language;
    std::string unknownOption;  // not empty: the first option that is not a global one
    std::optional<QString> badLanguage; // --lang's value when it names no language

    QString usageError() const
    {
        if (!unknownOption.empty())
            return QCoreApplication::translate("zolm-cli", "未知的选项“%1”").arg(QString::fromStdString(unknownOption));
        if (badLanguage)
            return QCoreApplication::translate("zolm-cli", "--lang 应为 en 或 zh，而不是“%1”").arg(*badLanguage);
        return {};
    }
};

GlobalOptions takeGlobalOptions(std::vector<std::string> &args)
{
    GlobalOptions g;
    while (!args.empty() && args.front().rfind("--", 0) == 0) {
        const std::string opt = args.front();
        const auto eq = opt.find('=');
        const std::string name = opt.substr(0, eq);
        // A value-less --settings at the end is no known option either, as it always was.
        if (!takesValue(name) || (eq == std::string::npos && args.size() < 2)) {
            g.unknownOption = opt;
            break;
        }
        const QString value = QString::fromUtf8(eq == std::string::npos ? args[1].c_str() : opt.substr(eq + 1).c_str());
        args.erase(args.begin(), args.begin() + (eq == std::string::npos ? 2 : 1));
        if (name == "--settings") {
            g.ctx.settingsFile = value;
        } else if (const auto language = zolm::parseLanguage(value)) {
            g.language = language;
        } else {
            g.badLanguage = value;
            break;
        }
    }
    return g;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zolm::cli;
    prepareStandardStreams();
    std::vector<std::string> args = commandLineArguments(argc, argv);
    const HelpRequest help = helpRequest(args);
    // Help needs no more than a core application, whatever the command draws.
    const auto app = help.kind != HelpRequest::None ? std::make_unique<QCoreApplication>(argc, argv)
                                                    : makeApplication(argc, argv);
    const GlobalOptions global = takeGlobalOptions(args);
    {
        // Chinese needs no catalogue: the texts are Chinese already. (Qt's own Chinese is for
        // dialogs, which the command line has none of; it would reword the system's error texts
        // the messages quote.)
        const zolm::SettingsStore settings(global.ctx.settingsFile);
        if (zolm::chosenLanguage(settings, global.language) == zolm::UiLanguage::English)
            zolm::installLanguage(*app, zolm::UiLanguage::English);
    }
    if (help.kind != HelpRequest::None) {
        printOut(helpText(help));
        return ExitOk;
    }
    if (const QString wrong = global.usageError(); !wrong.isEmpty())
        return usageError(wrong);
    const Context &ctx = global.ctx;
    if (args.empty())
        return usageError(QCoreApplication::translate("zolm-cli", "需要一个命令"));

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
    return usageError(QCoreApplication::translate("zolm-cli", "未知的命令“%1”").arg(QString::fromStdString(command)));
}
