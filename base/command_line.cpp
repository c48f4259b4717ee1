#include "base/command_line.h"

#include <algorithm>

#include "base/text.h"

namespace wavra {

namespace {

constexpr int kUsageStatus = 2;
constexpr size_t kHelpColumn = 30; // where the descriptions of --help start
constexpr size_t kHelpWidth = 80;  // --help wraps the descriptions within this

const OptionEntry kHelpOption{"help", "", "print this help and exit", 'h'};
const OptionEntry kVersionOption{"version", "", "print the program's name and version and exit", 'V'};

const OptionEntry* findLong(const ProgramOptions& described, const std::string& name) {
    if (name == kHelpOption.name) return &kHelpOption;
    if (name == kVersionOption.name) return &kVersionOption;
    for (const OptionGroup& group : described.groups)
        for (const OptionEntry& option : group.options)
            if (option.name == name) return &option;
    return nullptr;
}

const OptionEntry* findShort(const ProgramOptions& described, char letter) {
    if (letter == kHelpOption.shortName) return &kHelpOption;
    if (letter == kVersionOption.shortName) return &kVersionOption;
    for (const OptionGroup& group : described.groups)
        for (const OptionEntry& option : group.options)
            if (option.shortName != 0 && option.shortName == letter) return &option;
    return nullptr;
}

// The parse proper: one argument at a time.
class Parser {
public:
    Parser(const ProgramOptions& described, const std::vector<std::string>& args)
        : m_described(described), m_args(args) {}

    ParsedArguments run() {
        bool endOfOptions = false;
        for (m_i = 0; m_i < m_args.size() && m_result.error.empty(); ++m_i) {
            const std::string& arg = m_args[m_i];
            if (endOfOptions || arg.size() < 2 || arg[0] != '-') m_result.operands.push_back(arg);
            else if (arg == "--") endOfOptions = true;
            else if (arg[1] == '-') longOption(arg);
            else shortOption(arg);
        }
        if (!m_result.error.empty()) m_result.outcome = ParsedArguments::Outcome::BadUsage;
        else if (m_help) m_result.outcome = ParsedArguments::Outcome::Help;
        else if (m_version) m_result.outcome = ParsedArguments::Outcome::Version;
        return m_result;
    }

private:
    const ProgramOptions& m_described;
    const std::vector<std::string>& m_args;
    size_t m_i = 0;
    bool m_help = false, m_version = false;
    ParsedArguments m_result;

    void longOption(const std::string& arg) {
        const size_t equals = arg.find('=');
        const std::string typed = arg.substr(0, equals);
        const OptionEntry* option = findLong(m_described, typed.substr(2));
        if (!option) {
            m_result.error = "unknown option '" + typed + "'";
            return;
        }
        if (equals == std::string::npos) take(*option, typed);
        else if (option->valueName.empty()) m_result.error = "option '" + typed + "' takes no value";
        else m_result.options.push_back({option->name, arg.substr(equals + 1)});
    }

    // "-h", "-V": one letter; a switch's letters are not bundled ("-hV").
    void shortOption(const std::string& arg) {
        const OptionEntry* option = arg.size() == 2 ? findShort(m_described, arg[1]) : nullptr;
        if (!option) m_result.error = "unknown option '" + arg + "'";
        else take(*option, arg);
    }

    // An option written without "=": its value, if it takes one, is the next argument.
    void take(const OptionEntry& option, const std::string& typed) {
        if (&option == &kHelpOption) m_help = true;
        else if (&option == &kVersionOption) m_version = true;
        else if (option.valueName.empty()) m_result.options.push_back({option.name, ""});
        else if (m_i + 1 < m_args.size()) m_result.options.push_back({option.name, m_args[++m_i]});
        else m_result.error = "option '" + typed + "' needs a value";
    }
};

// "  -h, --help" or "      --jobs=N" (padded to the description column).
std::string optionColumn(const OptionEntry& option) {
    std::string text = option.shortName != 0 ? std::string("  -") + option.shortName + ", " : std::string(6, ' ');
    text += "--" + option.name;
    if (!option.valueName.empty()) text += "=" + option.valueName;
    return text;
}

// The description's lines, each wrapped at blanks to fit beside the option column.
std::vector<std::string> wrappedHelp(const std::string& help) {
    std::vector<std::string> lines;
    for (const std::string& paragraph : splitLines(help)) {
        std::string line;
        for (size_t pos = 0; pos < paragraph.size();) {
            const size_t blank = std::min(paragraph.find(' ', pos), paragraph.size());
            const std::string word = paragraph.substr(pos, blank - pos);
            if (!line.empty() && kHelpColumn + line.size() + 1 + word.size() > kHelpWidth) {
                lines.push_back(line);
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
            pos = blank + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

void appendOption(std::string& text, const OptionEntry& option) {
    std::string column = optionColumn(option);
    if (column.size() + 2 > kHelpColumn) column += "\n" + std::string(kHelpColumn, ' ');
    else column.resize(kHelpColumn, ' ');
    text += column;
    const std::vector<std::string> lines = wrappedHelp(option.help);
    for (size_t k = 0; k < lines.size(); ++k) text += (k == 0 ? "" : std::string(kHelpColumn, ' ')) + lines[k] + "\n";
    if (lines.empty()) text += "\n";
}

} // namespace

bool ParsedArguments::has(const std::string& name) const {
    return std::any_of(options.begin(), options.end(), [&name](const ParsedOption& o) { return o.name == name; });
}

std::vector<std::string> ParsedArguments::values(const std::string& name) const {
    std::vector<std::string> found;
    for (const ParsedOption& o : options)
        if (o.name == name) found.push_back(o.value);
    return found;
}

ParsedArguments parseArguments(const ProgramOptions& described, const std::vector<std::string>& args) {
    return Parser(described, args).run();
}

std::string helpText(const ProgramOptions& described) {
    std::string text;
    for (size_t k = 0; k < described.synopses.size(); ++k)
        text += std::string(k == 0 ? "Usage: " : "  or:  ") + described.name +
                (described.synopses[k].empty() ? "" : " " + described.synopses[k]) + "\n";
    if (!described.description.empty()) text += described.description + "\n";
    text += "\nOptions:\n";
    appendOption(text, kHelpOption);
    appendOption(text, kVersionOption);
    for (const OptionGroup& group : described.groups) {
        if (!group.heading.empty()) text += "\n" + group.heading + ":\n";
        for (const OptionEntry& option : group.options) appendOption(text, option);
    }
    if (!described.epilog.empty()) text += "\n" + described.epilog + "\n";
    return text;
}

std::string versionText(const std::string& program) { return program + " " + WAVRA_VERSION + "\n"; }

std::string usageErrorText(const std::string& program, const std::string& error) {
    return program + ": " + oneLine(error) + "\nTry '" + program + " --help' for more information.\n";
}

std::optional<int> answerStandardOptions(const ProgramOptions& described, const ParsedArguments& parsed,
                                         std::ostream& out, std::ostream& err) {
    switch (parsed.outcome) {
    case ParsedArguments::Outcome::Help: out << helpText(described); return 0;
    case ParsedArguments::Outcome::Version: out << versionText(described.name); return 0;
    case ParsedArguments::Outcome::BadUsage: return reportUsageError(described.name, parsed.error, err);
    case ParsedArguments::Outcome::Run: break;
    }
    return std::nullopt;
}

int reportUsageError(const std::string& program, const std::string& error, std::ostream& err) {
    err << usageErrorText(program, error);
    return kUsageStatus;
}

std::string programMessage(const std::string& program, const std::string& text) {
    return program + ": " + text + (text.empty() || text.back() != '\n' ? "\n" : "");
}

} // namespace wavra
