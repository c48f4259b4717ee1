#include "export/itshf_files.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

constexpr int kElevations = 91;  // gains of one record: elevation 0 to 90
constexpr int kAzimuths = 360;   // records of an area-coverage file
constexpr int kFrequencies = 30; // records of a point-to-point file at most
constexpr int kValuesPerLine = 10;
constexpr double kHighestMHz = 30; // ItsHF covers the HF band up to 30 MHz
constexpr double kLowestGain = -99.9;
constexpr int kWaitStepMs = 250;

bool isArea(const Model& m) { return m.calcKind == kCalcItsHfArea; }

std::string withSlash(const std::string& dir) { return dir.empty() || dir.back() == '/' ? dir : dir + "/"; }
std::string withoutSlash(const std::string& dir) {
    return !dir.empty() && dir.back() == '/' ? dir.substr(0, dir.size() - 1) : dir;
}

std::string rightAligned(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}
std::string leftAligned(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// Numbers as the plain conversion writes them into a text: "14.2", "-35".
std::string plain(double v) { return formatRoundTrip(v); }

std::string gainText(double gain) {
    const double v = std::isnan(gain) || gain < kLowestGain ? kLowestGain : gain;
    return rightAligned(formatPicture(v, "##0.000"), 7);
}

// One record: the 9-character prefix, then 91 gains, 10 to a line; every
// line begins with the line break that ends the one before.
void appendRecord(std::string& text, const std::string& prefix, const double* gains) {
    for (int k = 0; k < kElevations; ++k) {
        if (k % kValuesPerLine == 0) text += "\n" + (k == 0 ? prefix : std::string(9, ' '));
        text += gainText(gains[k]);
    }
}

double areaFrequency(const Model& m) { return std::min(m.calcRange[3], kHighestMHz); }
double pathPhi(const Model& m) { return m.calcRange[0] - m.calcRange[3]; }

std::string areaHeader(const Model& m) {
    const double f = areaFrequency(m);
    return m.modelName + m.modelExt + ": freq=" + plain(f) + " Mhz\n" + " 4     4 parameters\n" +
           "  0.00  [ 1] Max Gain dBi..:\n" + "  13    [ 2] Antenna Type..: 360 x 91 gain values follow\n" +
           "  0.0   [ 3] Efficiency (for IONCAP)\n" + rightAligned(formatPicture(f, "#0.0##"), 6) + "  [ 4] Frequency";
}

std::string pointHeader(const Model& m) {
    return m.modelName + m.modelExt + ": Phi=" + plain(pathPhi(m)) + " deg.\n" + " 3     3 parameters\n" +
           "  0.00  [ 1] Max Gain dBi..:\n" +
           "  14    [ 2] Antenna Type..: 30 x (efficiency + 91 gain values) follow\n" +
           rightAligned(formatPicture(std::min(m.frequencyMHz, kHighestMHz), "#0.0##"), 6) + "  [ 3] Frequency";
}

std::string areaRecords(GainBlockReader& blocks, std::string& error, const std::function<void(int)>& records) {
    std::vector<double> gains;
    GainBlock block;
    while (blocks.next(block)) gains.insert(gains.end(), block.totalGain.begin(), block.totalGain.end());
    if (gains.size() != static_cast<size_t>(kAzimuths) * kElevations) {
        error = "The report holds" + str(static_cast<double>(gains.size())) +
                " pattern values; an ItsHF area-coverage antenna file needs 360 x 91.";
        return {};
    }
    std::string text;
    for (int r = 0; r < kAzimuths; ++r) {
        appendRecord(text, "  " + rightAligned(formatPicture(r, "##0"), 3) + "    ",
                     gains.data() + static_cast<size_t>(r) * kElevations);
        if (records) records(r + 1);
    }
    return text;
}

std::string pointRecords(GainBlockReader& blocks, std::string& error, const std::function<void(int)>& records) {
    std::string text;
    GainBlock block;
    int count = 0;
    while (count < kFrequencies && blocks.next(block)) {
        if (block.totalGain.size() != static_cast<size_t>(kElevations)) {
            error = "The pattern at" + str(block.frequencyMHz) + " MHz holds" +
                    str(static_cast<double>(block.totalGain.size())) +
                    " values; an ItsHF point-to-point antenna file needs 91 per frequency.";
            return {};
        }
        const double f = std::min(block.frequencyMHz, kHighestMHz);
        appendRecord(text, rightAligned(formatPicture(f, "#0"), 2) + "  0.00 ", block.totalGain.data());
        if (records) records(++count);
    }
    if (count == 0) error = "The report holds no far-field pattern for the ItsHF antenna file.";
    return text;
}

// Columns first..last (from 1) of `line` become `text`, the line padded
// with blanks to reach them; a longer text is cut and named in `warning`.
void overwrite(std::string& line, int first, int last, const std::string& text, std::string& warning) {
    const size_t width = static_cast<size_t>(last - first + 1), at = static_cast<size_t>(first - 1);
    if (text.size() > width)
        warning += "'" + text + "' is wider than columns" + str(first) + " to" + str(last) + "; it was cut.\n";
    if (line.size() < at + width) line.resize(at + width, ' ');
    line.replace(at, width, leftAligned(text.substr(0, width), width));
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

void missingDirectory(Ui& ui, const std::string& dir) {
    ui.message("ItsHF directory '" + dir + "' does not exist.\nCheck for directory and/or ItsHF settings.", "wavra",
               Icon::Exclamation);
}

void say(const std::function<void(const std::string&)>& caption, const std::string& text) {
    if (caption) caption(text);
}

// The template in the package's data directory, copied from the program's
// own when it is missing.
bool ensureTemplate(Ui& ui, const ItsHfNames& n) {
    if (!isDirectory(n.dataDir)) {
        missingDirectory(ui, n.dataDir);
        return false;
    }
    if (pathExists(n.templateFile)) return true;
    std::error_code ec;
    std::filesystem::create_directories(directoryOf(n.templateFile), ec);
    if (copyFile(n.templateSource, n.templateFile)) return true;
    ui.message("Cannot copy the ItsHF template " + n.templateSource + " to " + n.templateFile + ".", "wavra",
               Icon::Exclamation);
    return false;
}

bool writeInputFile(const Model& m, Ui& ui, const ItsHfNames& n) {
    std::vector<std::string> lines;
    if (!readLines(n.templateFile, lines)) {
        ui.message("Cannot read the ItsHF template " + n.templateFile + ".", "wavra", Icon::Exclamation);
        return false;
    }
    std::string text, warning;
    for (const auto& line : lines) (text += itsHfTemplateLine(m, n, line, warning)) += '\n';
    if (!warning.empty()) ui.message("ItsHF input file " + n.inputFile() + ":\n" + warning, "wavra", Icon::Exclamation);
    std::string reason;
    if (writeFileAtomic(n.inputFile(), text, reason)) return true;
    ui.message("Cannot write " + n.inputFile() + ": " + reason, "wavra", Icon::Exclamation);
    return false;
}

// One program run to its end. False (reported) when it is missing, cannot
// start, fails, or the user stopped waiting for it.
bool runProgram(Ui& ui, ProcessRunner& runner, const ItsHfNames& n, const ItsHfRun& run, const ItsHfProgress& p) {
    const std::string& program = run.argv.front();
    if (!pathExists(program)) {
        ui.message("ItsHF program '" + program + "' does not exist.\nCheck for directory and/or ItsHF settings.",
                   "wavra", Icon::Exclamation);
        return false;
    }
    say(p.caption, run.caption);
    std::string error;
    auto process = runner.start(run.argv, n.home, error);
    if (!process) {
        ui.message("Cannot start " + program + ": " + error, "wavra", Icon::Exclamation);
        return false;
    }
    if (!waitInSteps(*process, kWaitStepMs, [&p] { return !p.waiting || p.waiting(); })) return false;
    if (process->exitCode() == 0) return true;
    ui.message(program + " ended with exit status" + str(process->exitCode()) + ".", "wavra", Icon::Exclamation);
    return false;
}

void reportFiles(const Model& m, Ui& ui, const ItsHfNames& n, bool calculated) {
    const std::string prefix = isArea(m) ? "ItsHF area-coverage " : "ItsHF point-to-point ";
    auto tell = [&](const std::string& text) { ui.message(prefix + text, "wavra", Icon::Information); };
    tell("antenna file '" + n.antennaFile() + "' generated.");
    tell("input file '" + n.inputFile() + " created.");
    if (!calculated) return;
    if (isArea(m) && m.itsHfArea >= 2)
        tell("plot file '" + n.dataDir + n.antennaName + n.extension.substr(0, 2) + "g1 created.");
    if (!isArea(m)) tell("graph/time/distance data '" + n.dataDir + n.antennaName + ".io?' created.");
}

} // namespace

std::string ItsHfNames::programPath() const { return home + "bin_win/" + program + "w"; }

ItsHfNames itsHfNames(const Model& m, int fileNumber) {
    ItsHfNames n;
    n.program = m.itsHfType == 2 ? "rec533" : m.itsHfType == 3 ? "voacap" : "icepac";
    n.extension = "." + n.program.substr(0, 3);
    n.antennaExt = ".n" + formatPicture(m.calcKind, "00");
    n.antennaName = fileNumber == 0 ? m.modelName : m.modelName.substr(0, 6) + formatPicture(fileNumber, "00");
    n.home = withSlash(m.itsHfDir);
    const std::string sub = withSlash(m.itsHfSub);
    const std::string data = isArea(m) ? "areadata/" : "saved/";
    n.antennaDir = n.home + "antennas/" + sub;
    n.dataDir = n.home + data + sub;
    n.templateFile = n.home + data + "default/wavra" + n.extension;
    n.templateSource = m.installDir + "exe/" + (isArea(m) ? "wavraa" : "wavrap") + n.extension;
    return n;
}

std::string itsHfAntennaText(const Model& m, GainBlockReader& blocks, std::string& error,
                             const std::function<void(int)>& records) {
    error.clear();
    const std::string body = isArea(m) ? areaRecords(blocks, error, records) : pointRecords(blocks, error, records);
    if (!error.empty()) return {};
    return (isArea(m) ? areaHeader(m) : pointHeader(m)) + body + "\n";
}

std::string itsHfTemplateLine(const Model& m, const ItsHfNames& n, const std::string& line, std::string& warning) {
    std::string out = line;
    const double kW = m.power / 1000.0;
    const std::string sub = withSlash(m.itsHfSub);
    if (isArea(m) && line.starts_with("Freqs")) {
        overwrite(out, 12, 17, rightAligned(formatPicture(areaFrequency(m), "#0.000"), 6), warning);
    } else if (isArea(m) && line.starts_with("Tx Ants")) {
        overwrite(out, 12, 32, sub + n.antennaName + n.antennaExt, warning);
        overwrite(out, 50, 57, rightAligned(formatPicture(kW, "##0.0000"), 8), warning);
    } else if (!isArea(m) && line.starts_with("Xmtr Ants")) {
        overwrite(out, 28, 35, withoutSlash(sub), warning);
        overwrite(out, 37, 48, n.antennaName + n.antennaExt, warning);
        overwrite(out, 50, 55, rightAligned(formatPicture(m.calcRange[3], "###0.0"), 6), warning);
        overwrite(out, 57, 65, rightAligned(formatPicture(kW, "##0.00000"), 9), warning);
    }
    return out;
}

std::vector<ItsHfRun> itsHfRuns(const Model& m, const ItsHfNames& n) {
    std::vector<ItsHfRun> runs;
    const std::vector<std::string> start = {n.programPath(), withoutSlash(n.home)};
    auto add = [&](std::vector<std::string> tail, const std::string& caption) {
        std::vector<std::string> argv = start;
        argv.insert(argv.end(), tail.begin(), tail.end());
        runs.push_back({std::move(argv), caption});
    };
    if (isArea(m)) {
        if (m.itsHfArea != 1)
            add({"area", m.itsHfArea == 2 ? "calculate" : "screen",
                 withSlash(m.itsHfSub) + n.antennaName + n.extension},
                "Calculating area coverage...");
        return runs;
    }
    if (m.itsHfPtop == 1) return runs;
    const struct {
        int bit;
        const char* letter;
        const char* caption;
    } kinds[] = {{2, "g", "Calculating graph-data..."},
                 {4, "t", "Calculating time-data..."},
                 {8, "d", "Calculating distance-data..."}};
    for (const auto& k : kinds)
        if (m.itsHfPtop & k.bit) add({n.program + k.letter + ".dat", n.program + k.letter + ".out"}, k.caption);
    return runs;
}

bool exportItsHf(const Model& m, Ui& ui, ProcessRunner& runner, const ItsHfRequest& request, const ItsHfProgress& p) {
    if (m.calcKind != kCalcItsHfArea && m.calcKind != kCalcItsHfPointToPoint) {
        ui.message("No ItsHF calculation (calcKind 13 or 14) to export.", "wavra", Icon::Exclamation);
        return false;
    }
    const ItsHfNames n = itsHfNames(m, request.fileNumber);
    if (m.itsHfDir.empty()) { // else the directories would be looked for below the current one
        ui.message("The ItsHF main directory is not set.\nCheck for directory and/or ItsHF settings.", "wavra",
                   Icon::Exclamation);
        return false;
    }
    if (!isDirectory(n.antennaDir)) {
        missingDirectory(ui, n.antennaDir);
        return false;
    }
    if (request.report.empty()) {
        ui.message("Nec output file not found", "wavra", Icon::Exclamation);
        return false;
    }
    LineReader in = LineReader::fromText(request.report);
    const std::string file = n.antennaName + n.antennaExt;
    say(p.caption, isArea(m) ? "Generating " + file + " for " + plain(areaFrequency(m)) + " Mhz"
                             : "Generating " + file + " for PHI is " + plain(pathPhi(m)) + " deg.");
    GainBlockReader blocks(in);
    std::string error, reason;
    const std::string text = itsHfAntennaText(m, blocks, error, [&p](int records) {
        if (p.bar) p.bar(std::min(100, records * 100 / kAzimuths));
    });
    if (text.empty()) {
        ui.message(error, "wavra", Icon::Exclamation);
        return false;
    }
    if (!writeFileAtomic(n.antennaFile(), text, reason)) {
        ui.message("Cannot write " + n.antennaFile() + ": " + reason, "wavra", Icon::Exclamation);
        return false;
    }
    if (!ensureTemplate(ui, n)) return false;
    say(p.caption, "Creating " + n.antennaName + n.extension);
    if (!writeInputFile(m, ui, n)) return false;
    if (!request.description.empty() && request.fileNumber == 0 &&
        !writeFileAtomic(n.dataDir + n.antennaName + ".txt", request.description + "\n", reason)) {
        ui.message("Cannot write " + n.dataDir + n.antennaName + ".txt: " + reason, "wavra", Icon::Exclamation);
    }
    const std::vector<ItsHfRun> runs = itsHfRuns(m, n);
    bool ran = true;
    for (const auto& run : runs)
        if (!(ran = runProgram(ui, runner, n, run, p))) break;
    if (!request.fromOptimizer) reportFiles(m, ui, n, ran && !runs.empty());
    return ran;
}

} // namespace wavra
