#include "core/touchstone.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
// More diagnostics than this say nothing new; a hostile file could
// otherwise fill the memory with them.
constexpr size_t kMaxDiagnostics = 50;

enum class Parameter { S, Z, Y, Other };
enum class Format { RI, MA, DB };
enum class Section { Header, Network, Information, Done };

struct Options {
    double toMHz = 1000; // GHz unless the option line says otherwise
    Parameter parameter = Parameter::S;
    Format format = Format::MA;
};

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    splitFields(line, " ", true, out);
    std::vector<std::string_view> nonEmpty;
    for (std::string_view w : out) {
        const size_t first = w.find_first_not_of(kBlanksAndTabs);
        if (first == std::string_view::npos) continue;
        const size_t last = w.find_last_not_of(kBlanksAndTabs);
        nonEmpty.push_back(w.substr(first, last - first + 1));
    }
    return nonEmpty;
}

// A number of the file; none beyond 1e250 either (the number reader holds
// an overflow at the largest double, and no analyser writes such values).
std::optional<double> finiteNumber(std::string_view word) {
    if (!isNumeric(word)) return std::nullopt;
    const double v = readNumber(word);
    return std::fabs(v) <= 1e250 ? std::optional<double>(v) : std::nullopt;
}

// The reader's state over the lines of one file.
class Reader {
public:
    Reader(MeasuredSweep& sweep, int ports) : m_sweep(sweep), m_ports(ports) {}

    void line(std::string_view raw) {
        ++m_line;
        if (m_section == Section::Done) return;
        std::string_view text = raw.substr(0, raw.find('!'));
        const std::string trimmed = trim(text, kBlanksAndTabs);
        if (trimmed.empty()) return;
        if (m_section == Section::Information) {
            if (toLower(trimmed).starts_with("[end information]")) m_section = Section::Header;
            return;
        }
        if (trimmed[0] == '[') keyword(trimmed);
        else if (trimmed[0] == '#') optionLine(trimmed);
        else if (m_referenceLeft > 0) referenceValues(trimmed);
        else dataLine(trimmed);
    }

    void finish() {
        if (!m_record.empty())
            note(m_recordLine, "the data of " + frequencyText(m_record[0]) + " end after " +
                                   std::to_string(m_record.size()) + " of " + std::to_string(recordSize()) +
                                   " numbers; skipped");
        if (m_expectedFrequencies >= 0 && static_cast<size_t>(m_expectedFrequencies) != m_sweep.points.size() &&
            !m_stopped)
            note(0, "[Number of Frequencies] gives " + std::to_string(m_expectedFrequencies) + ", the file holds " +
                        std::to_string(m_sweep.points.size()) + " usable points");
    }

private:
    MeasuredSweep& m_sweep;
    int m_ports;
    int m_line = 0;
    Options m_options;
    bool m_optionSeen = false, m_version2 = false, m_stopped = false, m_referenceFirst = false;
    Section m_section = Section::Header;
    size_t m_pairs = 0; // complex values per record beyond the frequency (0: not known yet)
    bool m_lowerOrUpper = false;
    int m_referenceLeft = 0;
    long m_expectedFrequencies = -1;
    std::vector<double> m_record;
    int m_recordLine = 0;

    void note(int line, const std::string& text) {
        auto& d = m_sweep.diagnostics;
        if (d.size() > kMaxDiagnostics) return;
        if (d.size() == kMaxDiagnostics) d.push_back({Severity::Warning, "further problems left out"});
        else d.push_back({Severity::Warning, text, line});
    }
    void stop(const std::string& text) {
        note(m_line, text);
        m_section = Section::Done;
        m_stopped = true;
    }

    std::string frequencyText(double value) const {
        return "frequency " + formatSignificant(value * m_options.toMHz, 9) + " MHz";
    }

    void keyword(const std::string& text) {
        const size_t close = text.find(']');
        if (close == std::string::npos) return note(m_line, "a keyword without its closing ']'; line ignored");
        const std::string name = toLower(trim(text.substr(1, close - 1), kBlanksAndTabs));
        const std::string rest = trim(text.substr(close + 1), kBlanksAndTabs);
        if (name == "version") {
            m_version2 = true;
            if (rest != "2.0" && rest != "2.1") note(m_line, "version '" + rest + "' read as 2.0");
        } else if (name == "number of ports") {
            const auto n = finiteNumber(rest);
            if (!n || (*n != 1 && *n != 2))
                return stop("only one- and two-port files can be read, [Number of Ports] is '" + rest + "'");
            m_ports = static_cast<int>(*n);
        } else if (name == "number of frequencies") {
            const auto n = finiteNumber(rest);
            if (n && *n >= 0 && *n <= 1e9) m_expectedFrequencies = static_cast<long>(*n);
            else note(m_line, "[Number of Frequencies] takes a count, not '" + rest + "'");
        } else if (name == "reference") {
            m_referenceLeft = std::max(1, m_ports);
            m_referenceFirst = true;
            referenceValues(rest);
        } else if (name == "matrix format") {
            const std::string f = toLower(rest);
            if (f != "full" && f != "lower" && f != "upper") note(m_line, "unknown matrix format '" + rest + "'");
            m_lowerOrUpper = f == "lower" || f == "upper";
        } else if (name == "begin information") {
            m_section = Section::Information;
        } else if (name == "network data") {
            m_section = Section::Network;
        } else if (name == "noise data" || name == "end") {
            m_section = Section::Done;
        } else if (name != "two-port data order" && name != "number of noise frequencies" &&
                   name != "mixed-mode order" && name != "end information") {
            note(m_line, "unknown keyword [" + name + "] ignored");
        }
    }

    // [Reference] gives one resistance per port, possibly over several lines;
    // S11 is against the first.
    void referenceValues(const std::string& text) {
        const auto values = words(text);
        if (m_referenceFirst && !values.empty()) {
            m_referenceFirst = false;
            const auto r = finiteNumber(values[0]);
            if (r && *r > 0) m_sweep.referenceOhm = *r;
            else note(m_line, "[Reference] takes a resistance above 0 ohm, not '" + std::string(values[0]) + "'");
        }
        m_referenceLeft = std::max(0, m_referenceLeft - static_cast<int>(values.size()));
    }

    void optionLine(const std::string& text) {
        if (m_optionSeen) return note(m_line, "a second option line is ignored");
        m_optionSeen = true;
        const std::string options = text.substr(1);
        const auto parts = words(options);
        for (size_t i = 0; i < parts.size(); ++i) {
            const std::string w = toLower(parts[i]);
            if (w == "hz") m_options.toMHz = 1e-6;
            else if (w == "khz") m_options.toMHz = 1e-3;
            else if (w == "mhz") m_options.toMHz = 1;
            else if (w == "ghz") m_options.toMHz = 1e3;
            else if (w == "s") m_options.parameter = Parameter::S;
            else if (w == "z") m_options.parameter = Parameter::Z;
            else if (w == "y") m_options.parameter = Parameter::Y;
            else if (w == "h" || w == "g") m_options.parameter = Parameter::Other;
            else if (w == "ri") m_options.format = Format::RI;
            else if (w == "ma") m_options.format = Format::MA;
            else if (w == "db") m_options.format = Format::DB;
            else if (w == "r" && i + 1 < parts.size()) {
                const auto r = finiteNumber(parts[++i]);
                if (r && *r > 0) m_sweep.referenceOhm = *r;
                else
                    note(m_line, "R takes a resistance above 0 ohm, not '" + std::string(parts[i]) + "'; 50 ohm taken");
            } else note(m_line, "'" + std::string(parts[i]) + "' in the option line is not understood; ignored");
        }
        if (m_options.parameter == Parameter::Other) stop("H and G parameters describe two-ports only; nothing read");
    }

    size_t recordSize() const { return 1 + 2 * m_pairs; }

    void setPairs(size_t valuesOnFirstLine) {
        if (m_ports == 0) m_ports = valuesOnFirstLine == 3 ? 1 : 2;
        m_pairs = m_ports == 1 ? 1 : (m_lowerOrUpper ? 3 : 4);
    }

    void dataLine(const std::string& text) {
        std::vector<double> values;
        for (std::string_view w : words(text)) {
            const auto v = finiteNumber(w);
            if (!v) {
                dropRecord();
                return note(m_line, "'" + std::string(w) + "' is not a number in range; line skipped");
            }
            values.push_back(*v);
        }
        if (m_record.empty()) startRecord(values);
        else continueRecord(values);
    }

    void dropRecord() {
        if (!m_record.empty())
            note(m_recordLine, "the data of " + frequencyText(m_record[0]) + " are incomplete; skipped");
        m_record.clear();
    }

    void startRecord(const std::vector<double>& values) {
        if (m_pairs == 0) setPairs(values.size());
        // Two-port noise parameters follow the network data with five
        // numbers a line, starting again at a frequency not above the last.
        if (m_ports == 2 && values.size() == 5 && !m_sweep.points.empty() &&
            values[0] * m_options.toMHz <= m_sweep.points.back().frequencyMHz) {
            m_section = Section::Done;
            return;
        }
        if (m_ports == 1 && values.size() != 3)
            return note(m_line, "a one-port data line holds 3 numbers (frequency and S11), not " +
                                    std::to_string(values.size()) + "; line skipped");
        // Only version 2.0 lets a record continue on the next line; in a 1.1
        // file a short line would otherwise swallow the next frequency.
        if (m_ports == 2 && !m_version2 && values.size() != recordSize())
            return note(m_line, "a two-port data line holds " + std::to_string(recordSize()) + " numbers, not " +
                                    std::to_string(values.size()) + "; line skipped");
        m_recordLine = m_line;
        continueRecord(values);
    }

    void continueRecord(const std::vector<double>& values) {
        if (m_record.size() + values.size() > recordSize()) {
            dropRecord();
            return note(m_line,
                        "more numbers than a two-port record holds (" + std::to_string(recordSize()) + "); skipped");
        }
        m_record.insert(m_record.end(), values.begin(), values.end());
        if (m_record.size() < recordSize()) return;
        addPoint(m_record);
        m_record.clear();
    }

    std::complex<double> complexOf(double a, double b) const {
        switch (m_options.format) {
        case Format::RI: return {a, b};
        case Format::MA: return std::polar(1.0, b * kDegToRad) * a;
        case Format::DB: return std::polar(std::pow(10.0, a / 20), b * kDegToRad);
        }
        return {};
    }

    // S11 of the value; Z and Y are normalised to the reference in version
    // 1.1 files and in ohms and siemens in version 2.0 files.
    std::complex<double> reflectionOf(std::complex<double> v) const {
        const double r = m_sweep.referenceOhm;
        if (m_options.parameter == Parameter::Z) {
            const std::complex<double> z = m_version2 ? v / r : v;
            return (z - 1.0) / (z + 1.0);
        }
        if (m_options.parameter == Parameter::Y) {
            const std::complex<double> y = m_version2 ? v * r : v;
            return (1.0 - y) / (1.0 + y);
        }
        return v;
    }

    void addPoint(const std::vector<double>& record) {
        if (m_ports == 2 && m_options.parameter != Parameter::S)
            return stop(
                "a two-port file of Z or Y parameters gives no S11 of the port alone; only S parameters are read");
        const int line = m_recordLine;
        const double f = record[0] * m_options.toMHz;
        const std::complex<double> s11 = reflectionOf(complexOf(record[1], record[2]));
        if (!std::isfinite(f) || f < 0) return note(line, "a frequency below 0 or out of range; skipped");
        if (!std::isfinite(s11.real()) || !std::isfinite(s11.imag()))
            return note(line, "the value at " + frequencyText(record[0]) + " gives no reflection coefficient; skipped");
        if (!m_sweep.points.empty() && !(f > m_sweep.points.back().frequencyMHz))
            return note(line, frequencyText(record[0]) + " is not above the one before; skipped");
        if (m_sweep.points.size() >= kMaxMeasuredPoints)
            return stop("more than " + std::to_string(kMaxMeasuredPoints) + " points; the rest is left out");
        m_sweep.points.push_back({f, s11});
    }
};

} // namespace

std::string MeasuredSweep::name() const {
    const size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

MeasuredSweep parseTouchstone(std::string_view text, int ports) {
    MeasuredSweep sweep;
    Reader reader(sweep, ports == 1 || ports == 2 ? ports : 0);
    forEachLine(text, [&reader](std::string_view line) {
        reader.line(line);
        return true;
    });
    reader.finish();
    return sweep;
}

int touchstonePorts(const std::string& path) {
    const std::string lower = toLower(path);
    const size_t dot = lower.find_last_of('.');
    if (dot == std::string::npos || lower.find('/', dot) != std::string::npos) return 0;
    const std::string ext = lower.substr(dot + 1);
    if (ext.size() < 3 || ext.front() != 's' || ext.back() != 'p') return 0;
    const std::string digits = ext.substr(1, ext.size() - 2);
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits);
}

bool loadTouchstone(const std::string& path, MeasuredSweep& sweep, std::string& error) {
    std::string text, reason;
    if (!readFileText(path, text, &reason)) {
        error = "Cannot read " + path + ": " + reason;
        return false;
    }
    const int ports = touchstonePorts(path);
    if (ports > 2) {
        error = path + " is a " + std::to_string(ports) + "-port file; only one- and two-port files can be read.";
        return false;
    }
    MeasuredSweep read = parseTouchstone(text, ports);
    read.file = path;
    if (!read.loaded()) {
        error = "No measured point in " + path + ".";
        for (size_t i = 0; i < read.diagnostics.size() && i < 3; ++i) error += "\n" + shownText(read.diagnostics[i]);
        return false;
    }
    sweep = std::move(read);
    return true;
}

std::complex<double> impedanceOfReflection(std::complex<double> gamma, double referenceOhm) {
    const std::complex<double> d = 1.0 - gamma;
    if (d == 0.0) return {INFINITY, INFINITY};
    return referenceOhm * (1.0 + gamma) / d;
}

std::complex<double> reflectionAgainst(std::complex<double> gamma, double referenceOhm, double z0) {
    if (referenceOhm == z0) return gamma;
    // (Z - z0) / (Z + z0) with Z = R (1 + G) / (1 - G), multiplied out so
    // that an open circuit (G = 1) needs no infinite Z.
    const std::complex<double> num = referenceOhm * (1.0 + gamma) - z0 * (1.0 - gamma);
    const std::complex<double> den = referenceOhm * (1.0 + gamma) + z0 * (1.0 - gamma);
    if (den == 0.0) return {1, 0};
    return num / den;
}

} // namespace wavra
