#pragma once
// zolm-cli's commands, each declared once (commands.cpp): its usage line, what it does, every
// option it takes with its help, and what it assumes. Args parses from the declaration
// (commandOptions), and `zolm-cli --help`, `zolm-cli COMMAND --help` and the manual page are
// printed from it, so they cannot disagree.
#include <QString>

#include <span>
#include <string_view>

namespace zolm::cli {

// An option as its command declares it.
struct DeclaredOption {
    const char *name; // nullptr: the trajectory formats' switches, one per format
    int values;       // how many values follow it (0: a switch)
    const char *placeholder; // its values as the help names them ("DEG"), or nullptr
    // Its help, untranslated ("zolm-cli" context), with a line break where a line ends. It
    // starts at the command's help column, or on the next line when it starts with a line
    // break; options next to each other with the same help are listed together on its first
    // line ("--title, --no-title").
    const char *help;
    const char *more = nullptr; // a line the command adds under a shared option's help
};

struct CommandHelp {
    const char *name;
    // The command's arguments, after its name; "@formats@" stands for the trajectory formats'
    // switches (commandSynopsis gives it as shown).
    const char *synopsis;
    // What it does, before the options, and after them what it assumes and an example: the
    // untranslated texts, with markers for the paragraphs commands share (commandHelp gives
    // them as shown).
    const char *intro;
    std::span<const DeclaredOption> options;
    const char *closing;
    int column = 17; // where the options' help lines start
};

std::span<const CommandHelp> commandHelps();
const CommandHelp *findCommandHelp(std::string_view command); // nullptr: no such command
QString commandSynopsis(const CommandHelp &help);

QString overviewHelp();                 // zolm-cli --help
QString commandHelp(const CommandHelp &help); // zolm-cli COMMAND --help
QString manualPage();                  // zolm-cli.1, in roff
QString versionText(const char *program); // "PROGRAM VERSION"

} // namespace zolm::cli
