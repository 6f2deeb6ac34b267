#pragma once
// Every help text of zolm-cli in one table: `zolm-cli --help`, `zolm-cli COMMAND --help` and
// the manual page are all made from it, so they cannot disagree.
#include <QString>

#include <span>
#include <string_view>

namespace zolm::cli {

struct CommandHelp {
    const char *name;
    const char *synopsis; // the command's arguments, after its name
    // What it does, its options with their ranges, what it assumes, an example: the untranslated
    // text, with markers for the paragraphs commands share (commandHelp gives it as shown).
    const char *text;
};

std::span<const CommandHelp> commandHelps();
const CommandHelp *findCommandHelp(std::string_view command); // nullptr: no such command

QString overviewHelp();                 // zolm-cli --help
QString commandHelp(const CommandHelp &help); // zolm-cli COMMAND --help
QString manualPage();                  // zolm-cli.1, in roff
QString versionText(const char *program); // "PROGRAM VERSION"

} // namespace zolm::cli
