#include "app/batch_options.h"

#include <algorithm>
#include <map>

#include "base/text.h"

namespace wavra {

const char* const kBatchUsage =
    "usage: wavra [MODEL]\n"
    "       wavra --batch [options] MODEL\n"
    "options:\n"
    "  --input                 read the model deck, not an existing report\n"
    "  --json                  print the summary as one JSON object\n"
    "  --answer yes|no|ok|cancel   answer to the next question (repeatable)\n"
    "  --calc original|far|sweep|near   run the engine first\n"
    "  --freq A,B,C  --theta A,B,C  --phi A,B,C  --x A,B,C  --y A,B,C  --z A,B,C\n"
    "                          start, stop and step of an axis (from the deck when not given);\n"
    "                          --freq F alone: the one frequency of far and near field\n"
    "  --sub none|ver|hor|gain (sweep pattern)  or  e|h (near field)\n"
    "  --xnda NNNN  --distance KM  --gain-factor G  --surface-wave\n"
    "  --set KEY=VALUE         a setting of exe/wavra.ini for this run only (repeatable)\n"
    "  --timeout S             stop the engine after S seconds (0: no limit)\n"
    "  --jobs N                engine runs a frequency loop is split over (0: one per core, 1: no split)\n"
    "  --show VIEW             open a result view on the model (see below)\n"
    "  --keys K1,K2,...        view commands by key name: I, Space, Home, PgUp, Shift+PgDn, Right, > ...\n"
    "  --png FILE  --svg FILE  paint the view as its window shows it\n"
    "  --size WxH              picture size in pixels (800x800)\n"
    "  --touchstone FILE  --csv FILE   write the frequency loop as a Touchstone .s1p or a CSV table\n"
    "  --measured FILE         a measured Touchstone .s1p/.s2p over the sweep and Smith views and in --json\n"
    "  --pov FILE [--render PNG]   write the geometry view's POV-Ray scene (wires and far-field\n"
    "                          pattern) and render it with povray\n"
    "  --optimize VAR[,VAR...] optimize these SY variables of the model deck\n"
    "  --weight swr=W,gain=W,fb=W,r=W,x=W,eff=W   weights in percent (those not named: 0)\n"
    "  --target NAME=max|min|VALUE   what a parameter aims at (repeatable)\n"
    "  --direction THETA,PHI  --back THETA,PHI   forward and back directions (90,0; back opposite)\n"
    "  --resolution DEG        pattern step around the directions (0: the directions alone)\n"
    "  --first optimize|increase|decrease   the first variable's first direction\n"
    "  --save FILE             write the model with the optimized SY values\n";

namespace {

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

// The option parser proper: one option at a time, with its value.
class Parser {
public:
    Parser(const std::vector<std::string>& arguments, std::string& errorText) : args(arguments), error(errorText) {}
    std::optional<BatchOptions> run();

private:
    const std::vector<std::string>& args;
    std::string& error;
    size_t i = 0;
    BatchOptions o;

    bool fail(const std::string& text) {
        error = text;
        return false;
    }
    bool value(const std::string& option, std::string& out) {
        if (i + 1 >= args.size()) return fail(option + " needs a value");
        out = args[++i];
        return true;
    }
    CalcOptions& calc() {
        if (!o.calc) o.calc = CalcOptions{};
        return *o.calc;
    }
    bool option(const std::string& a);
    bool calcOption(const std::string& a, const std::string& v);
    bool showOption(const std::string& a, const std::string& v);
    bool optimizeOption(const std::string& a, const std::string& v);
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

bool Parser::option(const std::string& a) {
    static const std::vector<std::string> calcOptions = {
        "--calc", "--sub", "--freq", "--theta", "--phi", "--x", "--y", "--z", "--xnda", "--distance", "--gain-factor"};
    static const std::vector<std::string> showOptions = {"--show", "--keys", "--png", "--svg", "--size"};
    static const std::vector<std::string> optimizeOptions = {"--optimize", "--weight",     "--target", "--direction",
                                                             "--back",     "--resolution", "--first",  "--save"};
    std::string v;
    if (a == "--batch") o.batch = true;
    else if (a == "--help" || a == "-h") o.help = true;
    else if (a == "--json") o.json = true;
    else if (a == "--input") o.forceInput = true;
    else if (a == "--surface-wave") calc().surfaceWave = true;
    else if (a == "--set") {
        if (!value(a, v)) return false;
        if (v.find('=') == std::string::npos) return fail("--set takes KEY=VALUE, not '" + v + "'");
        o.settings.push_back(v);
    } else if (a == "--answer") {
        if (!value(a, v)) return false;
        auto answer = parseAnswer(v);
        if (!answer) return fail("--answer takes yes, no, ok or cancel, not '" + v + "'");
        o.answers.push_back(*answer);
    } else if (a == "--touchstone" || a == "--csv") {
        return value(a, a == "--csv" ? o.csv : o.touchstone);
    } else if (a == "--measured") {
        return value(a, o.measured);
    } else if (a == "--pov" || a == "--render") {
        return value(a, a == "--pov" ? o.pov : o.render);
    } else if (a == "--timeout" || a == "--jobs") {
        if (!value(a, v)) return false;
        if (v.empty() || v.size() > 5 || v.find_first_not_of("0123456789") != std::string::npos || std::stoi(v) > 32767)
            return fail(a == "--jobs" ? "--jobs takes a number of engine runs from 0 to 32767, not '" + v + "'"
                                      : "--timeout takes whole seconds from 0 to 32767, not '" + v + "'");
        (a == "--jobs" ? o.parallelRuns : o.timeoutSeconds) = static_cast<int16_t>(std::stoi(v));
    } else if (std::find(calcOptions.begin(), calcOptions.end(), a) != calcOptions.end()) {
        return value(a, v) && calcOption(a, v);
    } else if (std::find(showOptions.begin(), showOptions.end(), a) != showOptions.end()) {
        return value(a, v) && showOption(a, v);
    } else if (std::find(optimizeOptions.begin(), optimizeOptions.end(), a) != optimizeOptions.end()) {
        return value(a, v) && optimizeOption(a, v);
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
        return fail("unknown option " + a);
    } else if (o.model.empty()) {
        o.model = a;
    } else {
        return fail("more than one model file: " + o.model + " and " + a);
    }
    return true;
}

std::optional<BatchOptions> Parser::run() {
    for (i = 0; i < args.size(); ++i)
        if (!option(args[i])) return std::nullopt;
    if (o.help) return o;
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

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error) {
    return Parser(args, error).run();
}

} // namespace wavra
