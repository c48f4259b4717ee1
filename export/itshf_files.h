// Handing a calculated pattern to the HF propagation package ItsHF (its
// programs ICEPAC, REC533 and VOACAP): after an engine run of calcKind 13
// (area coverage) or 14 (point to point) the pattern is read from the
// report into an ItsHF antenna file, the package's input file is made from
// a template, and the chosen program is run as the settings ask.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "engine/process.h"
#include "report/gain_blocks.h"

namespace wavra {

// The files and programs of one export.
struct ItsHfNames {
    std::string program;        // "icepac", "rec533" or "voacap"
    std::string extension;      // ".ice", ".rec" or ".voa"
    std::string antennaExt;     // ".n13" or ".n14"
    std::string antennaName;    // the model's base name, or its first 6 characters and the file number "00"
    std::string home;           // itsHfDir with its final '/'
    std::string antennaDir;     // <home>antennas/<itsHfSub>
    std::string dataDir;        // <home>areadata/<itsHfSub> (13) or <home>saved/<itsHfSub> (14)
    std::string templateFile;   // <home>areadata/default/wavra<ext> (13) or <home>saved/default/wavra<ext> (14)
    std::string templateSource; // <installDir>exe/wavraa<ext> (13) or exe/wavrap<ext> (14)
    std::string antennaFile() const { return antennaDir + antennaName + antennaExt; }
    std::string inputFile() const { return dataDir + antennaName + extension; }
    // <home>bin_win/<program>w
    std::string programPath() const;
};

ItsHfNames itsHfNames(const Model& model, int fileNumber);

// The antenna file of the gain blocks: the header for calcKind 13 or 14,
// then records of 91 gains, 10 to a line, each "##0.000" in 7 columns
// (no separator, so -12.345 touches its neighbour), gains below -99.9 and
// missing ones as -99.900. Area coverage needs exactly 360 records of one
// frequency; point to point one record of 91 per frequency, up to 30.
// Empty, with the reason in `error`, when the report does not hold that.
// `records` is told the record count while they are written.
std::string itsHfAntennaText(const Model& model, GainBlockReader& blocks, std::string& error,
                             const std::function<void(int records)>& records = {});

// One line of the template as it goes into the input file: the "Freqs" and
// "Tx Ants" lines (13) or the "Xmtr Ants" line (14) get their fixed columns
// overwritten; every other line stays. A value wider than its columns is
// cut and named in `warning`.
std::string itsHfTemplateLine(const Model& model, const ItsHfNames& names, const std::string& line,
                              std::string& warning);

// The program runs of the settings, each an argument list: area coverage
// "<home>bin_win/<program>w <home> area calculate|screen <sub><antenna
// name><ext>"; point to point one run per set bit 2, 4, 8 with "<program>g.dat
// <program>g.out" (t, d for the others). None for itsHfArea 1 or itsHfPtop 1.
struct ItsHfRun {
    std::vector<std::string> argv;
    std::string caption; // "Calculating area coverage..." ...
};
std::vector<ItsHfRun> itsHfRuns(const Model& model, const ItsHfNames& names);

// What the export is asked to do.
struct ItsHfRequest {
    ItsHfRequest(std::string reportText, int number = 0, std::string text = {}, bool optimizer = false)
        : report(std::move(reportText)), fileNumber(number), description(std::move(text)), fromOptimizer(optimizer) {}
    std::string report;         // the engine report's text, as the run that made it read it
    int fileNumber = 0;         // 0 for an ordinary run; the optimizer numbers its runs
    std::string description;    // written to <data dir><antenna name>.txt (file number 0 only)
    bool fromOptimizer = false; // no closing messages while the optimizer runs
};

// How the export shows its progress: the status window's caption, its bar
// (records of 360) and, while a program runs, a step every 250 ms that
// returns false to stop waiting (the program then runs on).
struct ItsHfProgress {
    std::function<void(const std::string&)> caption;
    std::function<void(int percent)> bar;
    std::function<bool()> waiting;
};

// The whole export for the model's calcKind (13 or 14). True when the
// antenna and input files were written and every program run ended well;
// each failure is reported through ui.
bool exportItsHf(const Model& model, Ui& ui, ProcessRunner& runner, const ItsHfRequest& request,
                 const ItsHfProgress& progress = {});

} // namespace wavra
