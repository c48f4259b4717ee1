// The record of a report: beside each complete report in out/ wavra keeps
// what it was made from, in the report's ".hash" side file
// (report_keeping.h): a hash of the run's inputs (the engine deck, the
// engine name and the engine program, that is the launcher and the program
// it runs), the model file's full path and a hash of its bytes, and a hash
// of the report itself, so a report replaced or edited since is not taken.
//
// The record serves twice: loading a model takes out/<name>.out as its
// result only when the record names this model file with these bytes, and
// "Reuse unchanged results" reads the last report again instead of running
// the engine when the record names the same model file, bytes and run.
#pragma once

#include <optional>
#include <string>

#include "core/model.h"

namespace wavra {

// The model file a run's deck was made from; empty when not known (the
// report then has no model lines in its record).
struct ReportSource {
    std::string modelPath; // full path
    std::string modelHash; // hash of its bytes
};

// The source of a model file with these bytes.
ReportSource sourceOf(const std::string& modelPath, const std::string& modelBytes);

struct RunRecord {
    std::string runKey;
    std::string reportHash;
    ReportSource source;
};

// The key of a run of `deck` with the model's engine.
std::string runKey(const Model& model, const std::string& deck);

// The record file of a report.
std::string runRecordFile(const std::string& report);

// The hash of a report's bytes as the record keeps it.
std::string reportHashOf(const std::string& reportBytes);

// The record file's text and back; nullopt when the text is no record.
std::string recordText(const RunRecord& record);
std::optional<RunRecord> parseRecord(const std::string& text);

// The record of `report` as it stands; nullopt when there is none.
std::optional<RunRecord> readRecord(const std::string& report);

// True when `report` (a snapshot of the published one) is complete, its
// record names `key` and `source`, and the report is the one the record was
// written for; `bytes` then holds the report.
bool reusableReport(const std::string& report, const std::optional<RunRecord>& record, const std::string& key,
                    const ReportSource& source, std::string& bytes);

} // namespace wavra
