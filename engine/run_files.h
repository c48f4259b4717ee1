// The files of one engine run, in a work directory of its own in out/:
// the control file, the Sommerfeld ground request, the engine deck and the
// report under short fixed names. Every run makes its own directory, so any
// number of runs can go at once in one install tree (two windows, two batch
// runs, parallel trials, the parts of a split frequency loop) without ever
// sharing a file, and the engine never sees a long model name. The
// directory and everything in it go with the object. Each directory holds
// the id and start time of the process that made it ("owner"); a directory
// whose owner is gone (wavra was killed) is removed by the next run.
#pragma once

#include <string>

namespace wavra {

// Removes the run directories in `outDir` (with trailing '/') whose owner
// process is gone; a directory without an owner file (an older wavra's, or
// one just being made) only when it is older than an hour.
void removeAbandonedRunDirectories(const std::string& outDir);

class RunFiles {
public:
    // Makes .run-<16 hex digits>/ in outDir (the model's out/, with trailing '/').
    explicit RunFiles(const std::string& outDir);
    ~RunFiles();
    RunFiles(const RunFiles&) = delete;
    RunFiles& operator=(const RunFiles&) = delete;

    // False when the directory could not be made; error() says why.
    bool ok() const { return !m_dir.empty(); }
    const std::string& error() const { return m_error; }

    const std::string& dir() const { return m_dir; } // with trailing '/'
    std::string deck() const { return m_dir + kDeck; }
    std::string report() const { return m_dir + kReport; }
    std::string control() const { return m_dir + kControl; }
    std::string groundRequest() const { return m_dir + kGroundRequest; }
    // A snapshot of a report in out/ taken for reading (a reused result).
    std::string snapshot() const { return m_dir + "reused.out"; }

    // The deck and the report as the launcher reads them, relative to the
    // control file's directory, which is this one: short names, whatever the
    // length of the path to out/ (the engine takes names of up to 80 bytes).
    static std::string deckName() { return kDeck; }
    static std::string reportName() { return kReport; }
    static std::string controlText() { return std::string(kDeck) + "\n" + kReport + "\n"; }

    // Moves whatever else the engine left in the directory (the plot file
    // run.inp.plt of a PL card) to out/, with "run" in its name replaced by
    // `stem`, so it stands where a run in out/ would have left it.
    void keepEngineExtras(const std::string& stem) const;

    // The owner file's text for this process: "<pid> <start time>".
    static std::string ownerText();

private:
    static constexpr const char* kDeck = "run.inp";
    static constexpr const char* kReport = "run.out";
    static constexpr const char* kControl = "nec2d.tmp";
    static constexpr const char* kGroundRequest = "som2d.tmp";
    static constexpr const char* kOwner = "owner";
    std::string m_outDir;
    std::string m_name; // ".run-..."
    std::string m_dir;
    std::string m_error;
};

} // namespace wavra
