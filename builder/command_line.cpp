#include "builder/command_line.h"

#include <ostream>

#include "builder/number_text.h"
#include "builder/output_file.h"

namespace wavra::build {
namespace {

bool sameCaption(const std::string& a, const std::string& b) {
    return toLower(trim(a, kBlanksAndTabs)) == toLower(trim(b, kBlanksAndTabs));
}

bool hasControlCharacters(const std::string& s) { return oneLine(s) != s; }

// A value given for an option ("1") or a check box ("0", "no", ...).
int truthOf(const std::string& value) {
    const std::string v = toLower(trim(value, kBlanksAndTabs));
    if (v == "1" || v == "yes" || v == "true" || v == "on") return 1;
    if (v == "0" || v == "no" || v == "false" || v == "off") return 0;
    return -1;
}

// Splits "a, b, c" into exactly three trimmed texts.
bool threeValues(const std::string& value, std::array<std::string, 3>& into) {
    std::array<std::string, 3> parts;
    size_t start = 0;
    for (size_t k = 0; k < 3; ++k) {
        const size_t comma = value.find(',', start);
        if ((k < 2) == (comma == std::string::npos)) return false;
        parts[k] = trim(value.substr(start, k < 2 ? comma - start : std::string::npos), kBlanksAndTabs);
        start = comma + 1;
    }
    into = parts;
    return true;
}

// True when the caption names a common entry; `error` is set when its value
// does not fit.
bool applyCommon(const std::string& caption, const std::string& value, CommonEntries& c, std::string& error) {
    if (sameCaption(caption, "Wire radius in mm.")) c.radius = value;
    else if (sameCaption(caption, "Start with tagnr.")) c.startTag = value;
    else if (sameCaption(caption, "Move X, Y, Z") || sameCaption(caption, "Rotate X, Y, Z")) {
        auto& boxes = sameCaption(caption, "Move X, Y, Z") ? c.move : c.rotate;
        if (!threeValues(value, boxes)) error = "\"" + caption + "\" takes three values separated by commas.";
    } else return false;
    return true;
}

bool applyEntry(const std::string& caption, const std::string& value, ShapeForm& form) {
    for (FormEntry& e : form.entries) {
        for (const std::string& name : e.captions) {
            if (sameCaption(caption, name)) {
                e.text = value;
                return true;
            }
            if (e.hasSegments && sameCaption(caption, name + " segments")) {
                e.segments = value;
                return true;
            }
        }
    }
    return false;
}

bool applyChoice(const std::string& caption, const std::string& value, ShapeForm& form, std::string& error) {
    for (FormCheck& check : form.checks) {
        if (!sameCaption(caption, check.caption)) continue;
        const int truth = truthOf(value);
        if (truth < 0) error = "\"" + caption + "\" takes 1 or 0.";
        else check.checked = truth == 1;
        return true;
    }
    for (size_t k = 0; k < form.options.size(); ++k) {
        if (!sameCaption(caption, form.options[k])) continue;
        if (truthOf(value) != 1) error = "An option is chosen with \"" + form.options[k] + "=1\".";
        else form.option = static_cast<int>(k);
        updateCaptions(form);
        return true;
    }
    return false;
}

std::string knownCaptions(const ShapeForm& form) {
    std::string list;
    auto add = [&list](const std::string& caption) { list += (list.empty() ? "\"" : ", \"") + caption + "\""; };
    for (const FormEntry& e : form.entries)
        for (const std::string& name : e.captions) {
            add(name);
            if (e.hasSegments) add(name + " segments");
        }
    for (const FormCheck& c : form.checks) add(c.caption);
    for (const std::string& o : form.options) add(o);
    for (const char* common : {"Wire radius in mm.", "Start with tagnr.", "Move X, Y, Z", "Rotate X, Y, Z"})
        add(common);
    return list;
}

class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : m_err(err) {}
    void inform(const std::string& text) override { m_err << programMessage(kProgramName, text); }
    void fail(const std::string& text) override { m_err << programMessage(kProgramName, text); }

private:
    std::ostream& m_err;
};

ProgramOptions makeCommandLineSpec() {
    ProgramOptions described;
    described.name = kProgramName;
    described.synopses = {"[OUTPUT]", "--shape NAME [--param CAPTION=VALUE]... OUTPUT"};
    described.description =
        "Without --shape the builder window opens; with OUTPUT, Create writes that\n"
        "file and the window closes. With --shape the deck is written without a window.";
    described.groups = {
        {"",
         {{"shape", "NAME", "Patch, Plane, Helix, Box, Cylinder or Parabola"},
          {"param", "CAPTION=VALUE",
           "an entry of the shape's form (repeatable); a caption is the label of an entry box, check box or "
           "option (\"X sections segments\" for the segment box beside \"X sections\"), or \"Wire radius in "
           "mm.\", \"Start with tagnr.\", \"Move X, Y, Z\", \"Rotate X, Y, Z\""}}}};
    described.epilog = "Exit status: 0 written, 1 failed, 2 bad usage.";
    return described;
}

// What is wrong with a parsed command line as a whole, or "".
std::string usageError(const CommandLine& cmd, const std::vector<std::string>& positional, bool shapeGiven) {
    if (positional.size() > 1) return "Only one output file can be given.";
    if (!positional.empty() && positional[0].empty()) return "The output file name is empty.";
    if (!shapeGiven) return cmd.params.empty() ? "" : "--param needs --shape.";
    if (positional.empty()) return "--shape needs an output file.";
    if (!shapeFromName(cmd.shape))
        return "Unknown shape \"" + cmd.shape + "\"; use Patch, Plane, Helix, Box, Cylinder or Parabola.";
    return "";
}

} // namespace

const ProgramOptions& commandLineOptions() {
    static const ProgramOptions described = makeCommandLineSpec();
    return described;
}

CommandLine commandLineFrom(const ParsedArguments& parsed) {
    CommandLine cmd;
    const std::vector<std::string> shapes = parsed.values("shape");
    cmd.params = parsed.values("param");
    if (!shapes.empty()) cmd.shape = shapes.back();
    cmd.error = parsed.outcome == ParsedArguments::Outcome::BadUsage
                    ? parsed.error
                    : usageError(cmd, parsed.operands, !shapes.empty());
    if (!cmd.error.empty()) {
        cmd.mode = RunMode::Invalid;
        return cmd;
    }
    cmd.mode = shapes.empty() ? RunMode::Dialog : RunMode::Batch;
    if (!parsed.operands.empty()) cmd.outputPath = parsed.operands[0];
    return cmd;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    return commandLineFrom(parseArguments(commandLineOptions(), args));
}

bool applyParam(const std::string& assignment, ShapeForm& form, CommonEntries& common, std::string& error) {
    error.clear();
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        error = "--param \"" + oneLine(assignment) + "\" is not of the form \"Caption=value\".";
        return false;
    }
    const std::string caption = assignment.substr(0, equals);
    const std::string value = trim(assignment.substr(equals + 1), kBlanksAndTabs);
    if (hasControlCharacters(assignment)) {
        error = "--param \"" + oneLine(assignment) + "\" holds a line break or another control character.";
        return false;
    }
    if (applyCommon(caption, value, common, error) || applyEntry(caption, value, form) ||
        applyChoice(caption, value, form, error))
        return error.empty();
    error = "The " + shapeName(form.kind) + " has no entry \"" + trim(caption, kBlanksAndTabs) +
            "\"; known: " + knownCaptions(form) + ".";
    return false;
}

int runBatch(const CommandLine& command, std::ostream& out, std::ostream& err) {
    const auto kind = shapeFromName(command.shape);
    if (command.mode != RunMode::Batch || !kind || command.outputPath.empty()) {
        return reportUsageError(kProgramName, "bad command line", err);
    }
    ShapeForm form = defaultForm(*kind);
    CommonEntries common;
    for (const std::string& param : command.params) {
        std::string error;
        if (!applyParam(param, form, common, error)) {
            return reportUsageError(kProgramName, error, err);
        }
    }
    StreamSink sink(err);
    DeckBuilder builder;
    const Deck deck = builder.create(form, common, sink);
    if (!deck.ok) return 1;
    const std::string path = absolutePath(command.outputPath);
    const WriteOutcome written = writeDeckFile(path, deck.text);
    if (!written.ok) {
        err << programMessage(kProgramName, written.message);
        return 1;
    }
    out << createdMessage(path, deck.totalSegments) << '\n';
    return 0;
}

} // namespace wavra::build
