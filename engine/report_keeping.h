// The place of a run's report in out/: out/<name>.out is only ever a
// complete report of a run that ended well, with its record beside it
// (result_reuse.h); a failed run's report, kept for reading, goes to
// out/<name>.out.failed, which no load takes as a result, and the last
// complete report stays where it is, however many runs fail after it.
// Several runs of one model may publish at once: each publication (the
// report and its record) happens under a lock on out/, so readers see one
// run's pair, and the run that publishes last owns out/<name>.out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// True when the report ends with the engine's closing run-time line ("TOTAL
// RUN TIME" of nec2c, "RUN TIME =" of the classic engines): the engine got
// to the end of the deck. A report cut off by a full disk or a crash has none.
bool reportComplete(const std::string& path);
// The same for a report's text.
bool reportTextComplete(std::string_view text);

// The last non-blank lines of a text file, at most `count`, oldest first.
std::vector<std::string> lastLines(const std::string& path, size_t count);

// The longest file name the file systems wavra runs on take, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

// The path of a file kept beside `report` (its record ".hash", a failed
// run's report ".failed"): the report's path with `suffix` added, or, when
// that name would pass kMaxFileNameBytes, the report's name cut short and
// followed by a hash of the whole name, so that every model name wavra
// accepts keeps its side files apart and the same report always gets the
// same name.
std::string sideFileName(const std::string& report, std::string_view suffix);

// A finished run: `recordText` (the report's record) and the complete
// report `runReport` (a file of the run's own folder) are renamed to
// `target`'s record and to `target`, together under the lock on out/.
// False, with the system's reason, when the report could not be moved; a
// record that could not be moved is removed, so no stale one stands.
bool publishReport(const std::string& runReport, const std::string& target, const std::string& recordText,
                   std::string& reason);

// A consistent view of `target` and its record, taken under the lock on
// out/ (another run may publish at the same moment): the record file's
// text (empty when there is none) and the report, hard-linked (or copied)
// to `snapshot`. False when there is no report to take.
bool snapshotReport(const std::string& target, const std::string& snapshot, std::string& recordText);

// The same into memory: the report's bytes and its record's text. False
// when the report cannot be read (`reason` says why).
bool readPublishedReport(const std::string& target, std::string& reportBytes, std::string& recordText,
                         std::string& reason);

// A failed run: its report, when it left one, becomes `target`'s ".failed"
// side file; `target` and its record stay. The path it was kept as, empty
// when there was none to keep or it could not be moved.
std::string keepFailedReport(const std::string& runReport, const std::string& target);

} // namespace wavra
