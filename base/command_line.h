// The command lines of wavra, build and view, parsed the GNU way: long
// options "--name", with a value as "--name VALUE" or "--name=VALUE", the
// short switches -h and -V, "--" ending the options, and everything else an
// operand. Each program describes its options once (ProgramOptions); the same
// description gives the parser, --help and --version, and usage errors are
// one line naming the option plus the pointer to --help.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace wavra {

// One option of a command line.
struct OptionEntry {
    std::string name;      // long name without the dashes: "jobs"
    std::string valueName; // what the value is called in --help ("N"); empty for a switch
    std::string help;      // its description in --help; '\n' starts a continuation line
    char shortName = 0;    // 'h' for -h; 0 for none
};

// Options that --help lists under one heading (no heading: none).
struct OptionGroup {
    std::string heading;
    std::vector<OptionEntry> options;
};

struct ProgramOptions {
    std::string name;                  // the program as messages and --help name it
    std::vector<std::string> synopses; // what follows the name on a usage line: "[MODEL]"
    std::string description;           // printed after the usage lines
    std::vector<OptionGroup> groups;   // --help and --version come first without being listed here
    std::string epilog;                // printed after the options: exit status, examples
};

struct ParsedOption {
    std::string name; // the long name
    std::string value;
};

struct ParsedArguments {
    enum class Outcome { Run, Help, Version, BadUsage };
    Outcome outcome = Outcome::Run;
    std::vector<ParsedOption> options; // in the order given, --help and --version left out
    std::vector<std::string> operands;
    std::string error; // BadUsage: one line naming the option, without the program name

    bool has(const std::string& name) const;
    // Every value given to the option, in order.
    std::vector<std::string> values(const std::string& name) const;
};

// Parses the arguments after the program name. The first unknown option,
// missing value or value given to a switch makes the outcome BadUsage; a
// value is taken as it is even when it starts with '-' ("--z -1,1,0.5").
ParsedArguments parseArguments(const ProgramOptions& described, const std::vector<std::string>& args);

std::string helpText(const ProgramOptions& described);
// "wavra 0.1": the program and the version of the project.
std::string versionText(const std::string& program);
// "wavra: ERROR" and "Try 'wavra --help' for more information.", two lines.
std::string usageErrorText(const std::string& program, const std::string& error);

// What a program's main does first with its parsed command line: --help
// and --version answered on `out` (status 0), a usage error on `err`
// (status 2). nullopt: the program runs.
std::optional<int> answerStandardOptions(const ProgramOptions& described, const ParsedArguments& parsed,
                                         std::ostream& out, std::ostream& err);

// Writes the usage error to `err`; returns the bad-usage status 2.
int reportUsageError(const std::string& program, const std::string& error, std::ostream& err);

// `text` as a message of the program: "wavra: text\n" (the lines after the
// first carry on the message as they are).
std::string programMessage(const std::string& program, const std::string& text);

} // namespace wavra
