#include "optimizer/run_rows.h"

#include <cmath>
#include <fstream>

#include "base/text.h"
#include "optimizer/sy_lines.h"

namespace wavra {

namespace {

std::string shown(double v, const char* picture) { return std::isnan(v) ? "" : formatPicture(v, picture); }

} // namespace

std::vector<std::string> logHeader(const std::vector<std::string>& variables) {
    std::vector<std::string> texts{"Run", "SWR", "Gain", "F/B", "R-a", "X-a", "Eff.", "%Res.", "%Step"};
    texts.insert(texts.end(), variables.begin(), variables.end());
    return texts;
}

std::vector<std::string> rowTexts(const TrialRow& row, bool fieldValues) {
    const ParamValues& v = row.values;
    const double gain = v[kGain];
    std::vector<std::string> texts{formatPicture(row.run, "0"),
                                   shown(v[kSwr], "0.000"),
                                   fieldValues && !std::isnan(gain) ? formatSignificant(gain, 6) : shown(gain, "0.00"),
                                   shown(v[kFrontBack], "0.00"),
                                   shown(v[kResistance], "0.00"),
                                   shown(v[kReactance], "0.00"),
                                   shown(v[kEfficiency], "0.00"),
                                   formatPicture(100 * row.improvement, "0.0000"),
                                   formatPicture(100 * row.step, "0.0000")};
    for (double x : row.variables) texts.push_back(valueText(x));
    return texts;
}

std::string tabLine(const std::vector<std::string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) (line += i ? "\t" : "") += texts[i];
    return line;
}

bool OptimizerLog::create() const {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out);
}

bool OptimizerLog::append(const std::string& line) const {
    std::ofstream out(m_path, std::ios::binary | std::ios::app);
    out << line << '\n';
    return static_cast<bool>(out);
}

} // namespace wavra
