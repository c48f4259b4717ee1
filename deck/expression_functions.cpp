// Built-in functions of deck expressions. Angles are in degrees, as every
// angle in a NEC-2 deck is.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "deck/expression.h"

namespace wavra {

namespace {

// The sequence behind rnd(): one per program run, like the symbol table's
// life time; the program is single-threaded. splitmix64 gives well mixed
// 53-bit fractions from any seed, so rnd(-x) is reproducible for each x.
struct RandomSequence {
    uint64_t state = 0x50000;
    double last = 0;
    bool started = false;

    double next() {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        last = static_cast<double>(z >> 11) * 0x1.0p-53;
        started = true;
        return last;
    }
    void seed(double x) {
        uint64_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        state = bits;
    }
};

RandomSequence& randomSequence() {
    static RandomSequence sequence;
    return sequence;
}

// x < 0: a value fixed by x (the sequence restarts from x); x = 0: the
// previous value again; x > 0: the next value of the sequence.
double randomValue(double x) {
    RandomSequence& sequence = randomSequence();
    if (x < 0) sequence.seed(x);
    else if (x == 0 && sequence.started) return sequence.last;
    return sequence.next();
}

double sign(double x) { return x > 0 ? 1 : x < 0 ? -1 : 0; }

using FunctionBody = double (*)(double);

struct Function {
    std::string_view name;
    FunctionBody body;
};

const std::array<Function, 12> kFunctions{{
    {"abs", [](double x) { return std::fabs(x); }},
    // The argument is scaled from degrees like those of sin/cos/tan; the
    // result is in radians. Decks written for this rule rely on it.
    {"atn", [](double x) { return std::atan(x * Model::degToRad); }},
    {"cos", [](double x) { return std::cos(x * Model::degToRad); }},
    {"exp", [](double x) { return std::exp(x); }},
    {"fix", [](double x) { return std::trunc(x); }},
    {"int", [](double x) { return std::floor(x); }},
    {"log", [](double x) { return x > 0 ? std::log(x) : std::nan(""); }},
    {"rnd", [](double x) { return randomValue(x); }},
    {"sgn", [](double x) { return sign(x); }},
    {"sin", [](double x) { return std::sin(x * Model::degToRad); }},
    {"sqr", [](double x) { return x >= 0 ? std::sqrt(x) : std::nan(""); }},
    {"tan", [](double x) { return std::tan(x * Model::degToRad); }},
}};

const Function* findFunction(std::string_view name) {
    for (const Function& f : kFunctions)
        if (f.name == name) return &f;
    return nullptr;
}

} // namespace

bool isFunctionName(std::string_view name) { return findFunction(name) != nullptr; }

std::string nonFiniteMessage(double value, std::string_view operation) {
    if (std::isnan(value)) return "undefined result of '" + std::string(operation) + "'";
    if (std::isinf(value)) return "overflow in '" + std::string(operation) + "'";
    return {};
}

bool applyFunction(std::string_view name, double x, double& result, std::string& error) {
    result = 0;
    const Function* f = findFunction(name);
    if (f == nullptr) {
        error = "undefined function '" + messageText(name) + "'";
        return false;
    }
    const double value = f->body(x);
    error = nonFiniteMessage(value, name);
    if (!error.empty()) return false;
    result = value;
    return true;
}

} // namespace wavra
