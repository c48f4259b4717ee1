#include "app/batch_options.h"

#include <algorithm>
#include <map>

#include "base/text.h"

namespace wavra {

namespace {

ProgramOptions makeWavraCommandLine() {
    ProgramOptions described;
    described.name = kProgramName;
    described.synopses = {"[MODEL]", "--batch [OPTION]... MODEL"};
    described.description =
        "Without --batch the windows open, on MODEL when one is named. With --batch\n"
        "MODEL is loaded (and calculated with --calc) without windows and the main\n"
        "window's summary is printed.";
    described.groups = {
        {"",
         {{"batch", "", "run without windows"},
          {"input", "", "read the model deck, not an existing report"},
          {"json", "", "print the summary as one JSON object"},
          {"answer", "ANSWER", "yes, no, ok or cancel: the answer to the next question (repeatable)"},
          {"set", "KEY=VALUE", "a setting of exe/wavra.ini for this run only (repeatable)"},
          {"timeout", "S", "stop the engine after S seconds (0: no limit)"},
          {"jobs", "N",
           "engine runs a frequency loop or an optimizer pass is split over (0: one per core, 1: no split)"}}},
        {"Calculation",
         {{"calc", "KIND", "run the engine first: original, far, sweep or near"},
          {"freq", "A,B,C",
           "start, stop and step of the frequency in MHz (from the deck when not given); --freq F alone: the one "
           "frequency of far and near field"},
          {"theta", "A,B,C", "start, stop and step of theta in degrees"},
          {"phi", "A,B,C", "start, stop and step of phi in degrees"},
          {"x", "A,B,C", "start, stop and step of the near-field grid's X in metres"},
          {"y", "A,B,C", "the same for Y"},
          {"z", "A,B,C", "the same for Z"},
          {"sub", "MODE", "none, ver, hor or gain (the sweep's pattern), e or h (near field)"},
          {"xnda", "NNNN", "the XNDA digits of the far-field request"},
          {"distance", "KM", "the distance of the far field"},
          {"gain-factor", "G", "the gain factor of the far field"},
          {"surface-wave", "", "ask for the surface wave"}}},
        {"Files for other tools",
         {{"touchstone", "FILE", "write the frequency loop as a Touchstone .s1p file"},
          {"csv", "FILE", "write the frequency loop as a CSV table"},
          {"measured", "FILE", "a measured Touchstone .s1p/.s2p over the sweep and Smith views and in --json"},
          {"compare", "MODEL", "keep the frequency loop of MODEL's last report for comparison (repeatable, 5 at most)"},
          {"pov", "FILE", "write the geometry view's POV-Ray scene (wires and far-field pattern)"},
          {"render", "PNG", "render that scene with povray"}}},
        {"Result views",
         {{"show", "VIEW", "open a result view on the model: pattern, geometry, nearfield, sweep or smith"},
          {"keys", "K1,K2,...", "view commands by key name: I, Space, Home, PgUp, Shift+PgDn, Right, > ..."},
          {"png", "FILE", "paint the view as its window shows it, as PNG"},
          {"svg", "FILE", "the same as SVG"},
          {"size", "WxH", "picture size in pixels (800x800)"}}},
        {"Optimizer",
         {{"optimize", "VAR[,VAR...]", "optimize these SY variables of the model deck"},
          {"weight", "NAME=W,...", "weights in percent of swr, gain, fb, r, x and eff (those not named: 0)"},
          {"target", "NAME=max|min|VALUE", "what a parameter aims at (repeatable)"},
          {"direction", "THETA,PHI", "the forward direction (90,0)"},
          {"back", "THETA,PHI", "the back direction (opposite the forward one)"},
          {"resolution", "DEG", "pattern step around the directions (0: the directions alone)"},
          {"first", "HOW", "optimize, increase or decrease: the first variable's first direction"},
          {"save", "FILE", "write the model with the optimized SY values"}}},
    };
    described.epilog =
        "A calculation or optimization that takes longer than a second shows its\n"
        "progress on stderr when that is a terminal.\n"
        "Exit status: 0 done, 1 the model or report could not be read, 2 bad usage,\n"
        "3 the engine failed.";
    return described;
}

std::optional<Answer> parseAnswer(const std::string& text) {
    static const std::map<std::string, Answer> answers = {
        {"yes", Answer::Yes}, {"no", Answer::No}, {"ok", Answer::Ok}, {"cancel", Answer::Cancel}};
    auto it = answers.find(toLower(text));
    return it == answers.end() ? std::nullopt : std::optional<Answer>(it->second);
}

std::optional<RangeTriple> parseTriple(const std::string& text) {
    RangeTriple t{};
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = text.find(',', pos);
        const std::string part = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        if (!isNumeric(part)) return std::nullopt;
        t[static_cast<size_t>(i)] = readNumber(part);
        if (i < 2 && comma == std::string::npos) return std::nullopt;
        pos = comma + 1;
        if (i == 2 && comma != std::string::npos) return std::nullopt;
    }
    return t;
}

std::optional<double> parseNumber(const std::string& text) {
    if (!isNumeric(text)) return std::nullopt;
    return readNumber(text);
}

std::optional<std::vector<std::string>> parseList(const std::string& text) {
    std::vector<std::string> items;
    size_t pos = 0;
    for (;;) {
        const size_t comma = text.find(',', pos);
        const std::string item = trim(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
        if (item.empty()) return std::nullopt;
        items.push_back(item);
        if (comma == std::string::npos) return items;
        pos = comma + 1;
    }
}

std::optional<Direction> parseDirection(const std::string& text) {
    const auto items = parseList(text);
    if (!items || items->size() != 2 || !isNumeric((*items)[0]) || !isNumeric((*items)[1])) return std::nullopt;
    return Direction{readNumber((*items)[0]), readNumber((*items)[1])};
}

// The parameter named in --weight and --target.
std::optional<size_t> paramOfName(const std::string& name) {
    static const std::map<std::string, size_t> params = {{"swr", kSwr},      {"gain", kGain},   {"fb", kFrontBack},
                                                         {"r", kResistance}, {"x", kReactance}, {"eff", kEfficiency}};
    auto it = params.find(toLower(name));
    return it == params.end() ? std::nullopt : std::optional<size_t>(it->second);
}

// NAME=VALUE items of --weight and --target; `value` parses the right side.
template <class Parse>
bool parsePairs(const std::string& text, Parse value) {
    const auto items = parseList(text);
    if (!items) return false;
    for (const auto& item : *items) {
        const size_t equals = item.find('=');
        if (equals == std::string::npos) return false;
        const auto param = paramOfName(trim(item.substr(0, equals)));
        if (!param || !value(*param, trim(item.substr(equals + 1)))) return false;
    }
    return true;
}

// The options of a parsed command line, one at a time in the order given.
class Parser {
public:
    Parser(const ParsedArguments& arguments, std::string& errorText) : parsed(arguments), error(errorText) {}
    std::optional<BatchOptions> run();

private:
    const ParsedArguments& parsed;
    std::string& error;
    BatchOptions o;

    bool fail(const std::string& text) {
        error = text;
        return false;
    }
    CalcOptions& calc() {
        if (!o.calc) o.calc = CalcOptions{};
        return *o.calc;
    }
    bool option(const std::string& a, const std::string& v);
    bool calcOption(const std::string& a, const std::string& v);
    bool showOption(const std::string& a, const std::string& v);
    bool optimizeOption(const std::string& a, const std::string& v);
    bool wholeNumberOption(const std::string& a, const std::string& v);
    OptimizeOptions& optimize() {
        if (!o.optimize) o.optimize = OptimizeOptions{};
        return *o.optimize;
    }
    bool showAsked = false;
};

bool Parser::calcOption(const std::string& a, const std::string& v) {
    static const std::map<std::string, int16_t> kinds = {
        {"original", kCalcOriginal}, {"far", kCalcFarField}, {"sweep", kCalcFrequencyLoop}, {"near", kCalcNearField}};
    static const std::map<std::string, int16_t> subs = {{"none", 0}, {"ver", 1}, {"hor", 2},
                                                        {"gain", 3}, {"e", 1},   {"h", 2}};
    CalcOptions& c = calc();
    if (a == "--calc") {
        auto it = kinds.find(toLower(v));
        if (it == kinds.end()) return fail("--calc takes original, far, sweep or near, not '" + v + "'");
        c.calcKind = it->second;
        return true;
    }
    if (a == "--sub") {
        auto it = subs.find(toLower(v));
        if (it == subs.end()) return fail("--sub takes none, ver, hor, gain, e or h, not '" + v + "'");
        c.calcSubMode = it->second;
        return true;
    }
    std::map<std::string, std::optional<RangeTriple>*> triples = {
        {"--freq", &c.freq}, {"--theta", &c.theta}, {"--phi", &c.phi}, {"--x", &c.x}, {"--y", &c.y}, {"--z", &c.z}};
    if (auto it = triples.find(a); it != triples.end()) {
        *it->second = parseTriple(v);
        if (!*it->second && a == "--freq" && isNumeric(v)) *it->second = RangeTriple{readNumber(v), readNumber(v), 1};
        return *it->second ? true : fail(a + " takes START,STOP,STEP, not '" + v + "'");
    }
    auto number = parseNumber(v);
    if (!number) return fail(a + " takes a number, not '" + v + "'");
    if (a == "--xnda") c.xnda = toInt16(*number);
    if (a == "--distance") c.distanceKm = *number;
    if (a == "--gain-factor") c.gainFactor = *number;
    return true;
}

// "800x600": both sides from 16 to 16384 pixels.
bool parseSize(const std::string& text, int& width, int& height) {
    const size_t x = toLower(text).find('x');
    if (x == std::string::npos) return false;
    const std::string w = text.substr(0, x), h = text.substr(x + 1);
    const auto digits = [](const std::string& t) {
        return !t.empty() && t.size() <= 5 && t.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(w) || !digits(h)) return false;
    width = std::stoi(w);
    height = std::stoi(h);
    return width >= 16 && height >= 16 && width <= 16384 && height <= 16384;
}

bool Parser::showOption(const std::string& a, const std::string& v) {
    ViewRequest& r = o.show;
    showAsked = true;
    if (a == "--show") r.view = toLower(v);
    else if (a == "--keys") r.keys = v;
    else if (a == "--png") r.png = v;
    else if (a == "--svg") r.svg = v;
    else if (!parseSize(v, r.width, r.height)) return fail("--size takes WIDTHxHEIGHT (16 to 16384), not '" + v + "'");
    return true;
}

bool Parser::optimizeOption(const std::string& a, const std::string& v) {
    OptimizerSetup& s = optimize().setup;
    const std::string bad = a + " does not take '" + v + "'";
    if (a == "--optimize") {
        const auto names = parseList(v);
        if (!names || names->size() > kMaxVariables)
            return fail("--optimize takes VAR[,VAR...] (at most 32), not '" + v + "'");
        s.variables = *names;
    } else if (a == "--weight") {
        const bool ok = parsePairs(v, [&s](size_t k, const std::string& w) {
            s.weightPercent[k] = readNumber(w);
            return isNumeric(w);
        });
        if (!ok) return fail("--weight takes swr=W,gain=W,fb=W,r=W,x=W,eff=W, not '" + v + "'");
    } else if (a == "--target") {
        const bool ok = parsePairs(v, [&s](size_t k, const std::string& t) {
            if (toLower(t) == "max") s.targets[k] = kMaximize;
            else if (toLower(t) == "min") s.targets[k] = kMinimize;
            else if (isNumeric(t)) s.targets[k] = readNumber(t);
            else return false;
            return true;
        });
        if (!ok) return fail("--target takes NAME=max|min|VALUE with NAME swr, gain, fb, r, x or eff, not '" + v + "'");
    } else if (a == "--direction" || a == "--back") {
        const auto d = parseDirection(v);
        if (!d) return fail(a + " takes THETA,PHI, not '" + v + "'");
        if (a == "--back") s.back = *d;
        else s.forward = *d;
    } else if (a == "--resolution") {
        if (!isNumeric(v)) return fail(bad);
        s.resolution = readNumber(v);
    } else if (a == "--first") {
        static const std::map<std::string, FirstRun> firsts = {
            {"optimize", FirstRun::Optimize}, {"increase", FirstRun::Increase}, {"decrease", FirstRun::Decrease}};
        auto it = firsts.find(toLower(v));
        if (it == firsts.end()) return fail("--first takes optimize, increase or decrease, not '" + v + "'");
        s.firstRun = it->second;
    } else {
        optimize().save = v;
    }
    return true;
}

// --timeout and --jobs: whole numbers from 0 to 32767.
bool Parser::wholeNumberOption(const std::string& a, const std::string& v) {
    if (v.empty() || v.size() > 5 || v.find_first_not_of("0123456789") != std::string::npos || std::stoi(v) > 32767)
        return fail(a == "--jobs" ? "--jobs takes a number of engine runs from 0 to 32767, not '" + v + "'"
                                  : "--timeout takes whole seconds from 0 to 32767, not '" + v + "'");
    (a == "--jobs" ? o.parallelRuns : o.timeoutSeconds) = static_cast<int16_t>(std::stoi(v));
    return true;
}

// One option `a` ("--calc") with its value `v` ("" for a switch).
bool Parser::option(const std::string& a, const std::string& v) {
    static const std::vector<std::string> calcOptions = {
        "--calc", "--sub", "--freq", "--theta", "--phi", "--x", "--y", "--z", "--xnda", "--distance", "--gain-factor"};
    static const std::vector<std::string> showOptions = {"--show", "--keys", "--png", "--svg", "--size"};
    static const std::vector<std::string> optimizeOptions = {"--optimize", "--weight",     "--target", "--direction",
                                                             "--back",     "--resolution", "--first",  "--save"};
    const auto among = [&a](const std::vector<std::string>& names) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    if (a == "--batch") o.batch = true;
    else if (a == "--json") o.json = true;
    else if (a == "--input") o.forceInput = true;
    else if (a == "--surface-wave") calc().surfaceWave = true;
    else if (a == "--set") {
        if (v.find('=') == std::string::npos) return fail("--set takes KEY=VALUE, not '" + v + "'");
        o.settings.push_back(v);
    } else if (a == "--answer") {
        auto answer = parseAnswer(v);
        if (!answer) return fail("--answer takes yes, no, ok or cancel, not '" + v + "'");
        o.answers.push_back(*answer);
    } else if (a == "--touchstone") o.touchstone = v;
    else if (a == "--csv") o.csv = v;
    else if (a == "--measured") o.measured = v;
    else if (a == "--compare") o.compare.push_back(v);
    else if (a == "--pov") o.pov = v;
    else if (a == "--render") o.render = v;
    else if (a == "--timeout" || a == "--jobs") return wholeNumberOption(a, v);
    else if (among(calcOptions)) return calcOption(a, v);
    else if (among(showOptions)) return showOption(a, v);
    else if (among(optimizeOptions)) return optimizeOption(a, v);
    return true;
}

std::optional<BatchOptions> Parser::run() {
    for (const ParsedOption& given : parsed.options)
        if (!option("--" + given.name, given.value)) return std::nullopt;
    if (parsed.operands.size() > 1) {
        error = "more than one model file: " + parsed.operands[0] + " and " + parsed.operands[1];
        return std::nullopt;
    }
    if (!parsed.operands.empty()) o.model = parsed.operands[0];
    if (o.batch && o.model.empty()) {
        error = "--batch needs a model file";
        return std::nullopt;
    }
    if (o.calc && o.calc->calcKind == 0) {
        error = "calculation options need --calc original|far|sweep|near";
        return std::nullopt;
    }
    if (showAsked && o.show.view.empty()) {
        error = "view options need --show VIEW";
        return std::nullopt;
    }
    if (!o.render.empty() && o.pov.empty()) {
        error = "--render needs --pov FILE";
        return std::nullopt;
    }
    if (o.optimize && o.optimize->setup.variables.empty()) {
        error = "optimizer options need --optimize VAR[,VAR...]";
        return std::nullopt;
    }
    if (o.optimize && (o.calc || !o.batch)) {
        error = o.calc ? "--optimize runs the engine itself; it does not go with --calc" : "--optimize needs --batch";
        return std::nullopt;
    }
    if (showAsked && !o.batch) {
        error = "--show needs --batch";
        return std::nullopt;
    }
    return o;
}

} // namespace

const ProgramOptions& wavraCommandLine() {
    static const ProgramOptions described = makeWavraCommandLine();
    return described;
}

std::optional<BatchOptions> batchOptionsFrom(const ParsedArguments& parsed, std::string& error) {
    return Parser(parsed, error).run();
}

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error) {
    const ParsedArguments parsed = parseArguments(wavraCommandLine(), args);
    if (parsed.outcome == ParsedArguments::Outcome::BadUsage) {
        error = parsed.error;
        return std::nullopt;
    }
    return batchOptionsFrom(parsed, error);
}

} // namespace wavra
