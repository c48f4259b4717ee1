// The far-field tables of an engine report as blocks of total gains, read
// by the columns of the report's layout (picked from its banner): what the
// ItsHF antenna files are made of. A block is one pattern table with the
// frequency printed before it.
#pragma once

#include <vector>

#include "report/line_reader.h"
#include "report/report_layout.h"

namespace wavra {

struct GainBlock {
    double frequencyMHz = 0;       // the frequency line before the table; 0 when none came
    std::vector<double> totalGain; // dB, one per pattern line; NaN where no number stands
};

class GainBlockReader {
public:
    explicit GainBlockReader(LineReader& in) : m_in(in) {}

    // The next pattern table; false at the end of the report.
    bool next(GainBlock& block);

private:
    LineReader& m_in;
    const ReportLayout* m_layout = &classicLayout();
    double m_frequency = 0;

    bool endsTable(std::string_view line) const;
};

} // namespace wavra
