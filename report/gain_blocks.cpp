#include "report/gain_blocks.h"

#include <limits>

#include "report/columns.h"

namespace wavra {

// A table ends at a blank line, a line of asterisks, or the echo of the next
// card that nec2c prints right after a run's last pattern.
bool GainBlockReader::endsTable(std::string_view line) const {
    return isBlank(line) || line.substr(0, 3) == " **" || headingMatches(line, m_layout->heading.dataCard);
}

bool GainBlockReader::next(GainBlock& block) {
    std::string_view line;
    while (m_in.next(line)) {
        if (const ReportLayout* announced = layoutFromBanner(line)) m_layout = announced;
        else if (headingMatches(line, m_layout->heading.frequency))
            m_frequency = columnNumber(line, m_layout->frequency);
        else if (headingMatches(line, m_layout->heading.pattern)) {
            block.frequencyMHz = m_frequency;
            block.totalGain.clear();
            while (m_in.next(line) && !endsTable(line)) {
                block.totalGain.push_back(columnIsNumber(line, m_layout->gainTotal)
                                              ? columnNumber(line, m_layout->gainTotal)
                                              : std::numeric_limits<double>::quiet_NaN());
            }
            return true;
        }
    }
    return false;
}

} // namespace wavra
