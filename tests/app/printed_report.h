// A nec2c report read the simple way, for checking what wavra read from it:
// sections found by their headings, table rows split on blanks (not by the
// columns the report reader uses).
#pragma once

#include <cctype>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace wavra::test {

inline std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string t; in >> t;) w.push_back(t);
    return w;
}

struct Report {
    std::vector<std::string> lines;
    explicit Report(const std::string& path) : lines(readLinesOf(path)) {}

    // Index of the n-th line (from 0) containing `text`, or -1.
    int find(const std::string& text, int n = 0, int from = 0) const {
        for (int i = from; i < static_cast<int>(lines.size()); ++i)
            if (lines[static_cast<size_t>(i)].find(text) != std::string::npos && n-- == 0) return i;
        return -1;
    }
    // Data rows of a table: the lines after the heading that start with a
    // number, until the first line that does not.
    std::vector<std::vector<std::string>> table(int heading, int skip) const {
        std::vector<std::vector<std::string>> rows;
        for (size_t i = static_cast<size_t>(heading + skip); i < lines.size(); ++i) {
            auto w = words(lines[i]);
            if (w.empty() || !(std::isdigit(static_cast<unsigned char>(w[0][0])) || w[0][0] == '-' || w[0][0] == '.'))
                break;
            rows.push_back(w);
        }
        return rows;
    }
    // Impedance of the n-th input-parameter table.
    std::pair<double, double> impedance(int n = 0) const {
        auto rows = table(find("ANTENNA INPUT PARAMETERS", n), 3);
        return {std::stod(rows.at(0).at(6)), std::stod(rows.at(0).at(7))};
    }
    double efficiency() const {
        auto w = words(lines.at(static_cast<size_t>(find("EFFICIENCY"))));
        return std::stod(w.at(2));
    }
};

} // namespace wavra::test
