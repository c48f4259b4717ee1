// The place of a run's report in out/: out/<name>.out is what the main
// loop reads, out/<name>.out.old keeps the last complete report while a
// failed run's report stands in out/<name>.out for the user to read. A
// failure's report never replaces the last complete one, however many runs
// fail after it.
#pragma once

#include <string>
#include <vector>

namespace wavra {

// True when the report ends with the engine's closing run-time line ("TOTAL
// RUN TIME" of nec2c, "RUN TIME =" of the classic engines): the engine got
// to the end of the deck. A report cut off by a full disk or a crash has none.
bool reportComplete(const std::string& path);

// The last non-blank lines of a text file, at most `count`, oldest first.
std::vector<std::string> lastLines(const std::string& path, size_t count);

// A finished run: its complete report is renamed over `target` (readers
// see the old report or the new one, never a mix) and `target`.old goes.
// False when the rename failed.
bool publishReport(const std::string& runReport, const std::string& target);

// A failed run: when `target` is a complete report it is the last complete
// one and moves to `target`.old; then the failure's report (when the run
// left one) becomes `target`, else `target` goes. True when `target`.old
// holds a complete report afterwards.
bool keepFailedReport(const std::string& runReport, const std::string& target);

} // namespace wavra
