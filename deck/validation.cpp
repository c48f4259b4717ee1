#include "deck/validation.h"

#include <cmath>
#include <fstream>

#include "base/text.h"

namespace wavra {

namespace {

constexpr int16_t kWarning = 1;
constexpr int16_t kError = 2;

std::string n5(double v) { return formatNumber(v, 5); }

class Validator {
public:
    Validator(Geometry& geometry, int maxSegments, int checkMode, std::vector<std::string>& out)
        : m(geometry), maxRows(maxSegments), mode(checkMode), lines(out) {
        if (m.frequencyMHz > 0) wavelength = 299.8 / m.frequencyMHz;
    }

    // Checks row i; true when it carries an error mark afterwards.
    bool checkRow(int i);

private:
    Geometry& m;
    int maxRows; // the setting maxSegments: rows beyond it are no junction partners
    int mode;
    std::vector<std::string>& lines;
    double wavelength = 0; // 0: no frequency known, wavelength rules skipped

    bool runs(int check) const {
        return mode == kValidateAll || mode == kValidateToLog || mode == kValidateAfterReport || mode == check;
    }
    double length(int i) const;
    void mark(int row, int16_t bit, int reportedRow, const std::string& text);
    void segmentLength(int i, double L);
    void segmentRadius(int i, double R);
    void lengthToRadius(int i, double L, double R);
    void junction(int i, int j, double L, double R);
};

double Validator::length(int i) const {
    const double dx = m.wireX2[i] - m.wireX1[i], dy = m.wireY2[i] - m.wireY1[i], dz = m.wireZ2[i] - m.wireZ1[i];
    const int n = m.wireSegments[i] > 0 ? m.wireSegments[i] : 1;
    return std::sqrt(dx * dx + dy * dy + dz * dz) / n;
}

void Validator::mark(int row, int16_t bit, int reportedRow, const std::string& text) {
    m.wireMark[row] |= bit;
    if (row != reportedRow) return; // the partner of a junction is marked, not reported
    lines.push_back((bit == kError ? "Error on segment" : "Warning on segment") + str(reportedRow) + text);
}

void Validator::segmentLength(int i, double L) {
    const double w = wavelength;
    if (L > w / 5) mark(i, kError, i, ": length (" + n5(L) + ") above wlen/5 (" + n5(w / 5) + ")");
    else if (L > w / 10) mark(i, kWarning, i, ": length (" + n5(L) + ") above wlen/10 (" + n5(w / 10) + ")");
    if (L < w / 1000) mark(i, kError, i, ": segment length (" + n5(L) + ") below wlen/1000 (" + n5(w / 1000) + ")");
}

void Validator::segmentRadius(int i, double R) {
    const double w = wavelength;
    if (R > w / 30) mark(i, kError, i, ": radius (" + n5(R) + ") above wlen/30 (" + n5(w / 30) + ")");
    else if (R > w / 100) mark(i, kWarning, i, ": radius (" + n5(R) + ") above wlen/100 (" + n5(w / 100) + ")");
}

void Validator::lengthToRadius(int i, double L, double R) {
    const double k1 = m.extendedKernel ? 0.5 : 2, k2 = m.extendedKernel ? 2 : 8;
    if (L < k1 * R) mark(i, kError, i, ": length (" + n5(L) + ") below" + str(k1) + " * radius (" + n5(k1 * R) + ")");
    else if (L < k2 * R)
        mark(i, kWarning, i, ": length (" + n5(L) + ") below" + str(k2) + " * radius (" + n5(k2 * R) + ")");
}

void Validator::junction(int i, int j, double L, double R) {
    const double Lj = length(j), Rj = m.wireRadius[j];
    if (runs(kValidateJunctionLength) && !(5 * L >= Lj && 5 * Lj >= L)) {
        const std::string text = ": length (" + n5(L) + ") differs more than 5 * length (" + n5(Lj) + ")";
        mark(i, kError, i, text);
        mark(j, kError, i, text);
    }
    if (runs(kValidateJunctionRadius)) {
        if (!(10 * R >= Rj && 10 * Rj >= R)) {
            const std::string text = ": radius (" + n5(R) + ") differs more than 10 * radius (" + n5(Rj) + ")";
            mark(i, kError, i, text);
            mark(j, kError, i, text);
        } else if (!(5 * R >= Rj && 5 * Rj >= R)) {
            const std::string text = ": radius (" + n5(R) + ") differs more than 5 * radius(" + n5(Rj) + ")";
            mark(i, kWarning, i, text);
            mark(j, kWarning, i, text);
        }
    }
    if (runs(kValidateJunctionLengthRadius)) {
        const double ratio = R != 0 ? L / R : 0;
        if (2 * R > L) mark(i, kError, i, ": len/rad at junction (" + n5(ratio) + ") below 2.");
        else if (6 * R > L) mark(i, kWarning, i, ": len/rad at junction (" + n5(ratio) + ") below 6.");
    }
}

bool Validator::checkRow(int i) {
    const double L = length(i), R = m.wireRadius[i];
    if (wavelength > 0) {
        if (runs(kValidateLength)) segmentLength(i, L);
        if (runs(kValidateRadius)) segmentRadius(i, R);
    }
    if (runs(kValidateLengthRadius)) lengthToRadius(i, L, R);
    if (runs(kValidateJunctionLength) || runs(kValidateJunctionRadius) || runs(kValidateJunctionLengthRadius)) {
        for (int j : {m.wireEnd1Link[i], m.wireEnd2Link[i]}) {
            // Only links to rows of the table and to another wire are junctions.
            if (j >= 1 && j <= m.wireCount && j <= maxRows && m.wireTag[j] != m.wireTag[i]) junction(i, j, L, R);
        }
    }
    return (m.wireMark[i] & kError) != 0;
}

} // namespace

namespace {

int usedRows(const Geometry& geometry) { return std::min<int>(geometry.wireCount, geometry.wireCapacity()); }

void clearMarks(Geometry& geometry) {
    for (int i = 1; i <= usedRows(geometry); ++i) geometry.wireMark[i] = 0;
}

// Clears the marks of every row, then runs the checks; `lines` gets the findings.
bool checkRows(Geometry& geometry, int maxSegments, int mode, std::vector<std::string>& lines) {
    clearMarks(geometry);
    const int rows = usedRows(geometry);
    Validator v(geometry, maxSegments, mode, lines);
    bool ok = true;
    for (int i = 1; i <= rows; ++i) {
        if (v.checkRow(i)) {
            ok = false;
            if (mode == kValidateAfterReport) break;
        }
    }
    return ok;
}

} // namespace

bool validateGeometry(Geometry& geometry, int maxSegments, int mode, std::vector<std::string>* findings) {
    std::vector<std::string> lines;
    const bool ok = checkRows(geometry, maxSegments, mode, lines);
    if (findings) *findings = std::move(lines);
    return ok;
}

GeometryLog validateGeometryToLog(Geometry& geometry, int maxSegments, const ModelFile& file) {
    GeometryLog result;
    result.path = file.modelDir + "model.log";
    clearMarks(geometry); // also when the log cannot be created
    std::ofstream log(result.path, std::ios::binary | std::ios::trunc);
    if (!log) return result;
    const double w = geometry.frequencyMHz > 0 ? 299.8 / geometry.frequencyMHz : 0;
    log << file.modelName << file.modelExt << " wavelength=" << formatNumber(w, 5) << " mtr\n\n";
    result.ok = checkRows(geometry, maxSegments, kValidateToLog, result.findings);
    for (const auto& line : result.findings) log << line << '\n';
    result.written = true;
    return result;
}

void showGeometryLog(Ui& ui, const GeometryLog& log) {
    if (!log.written) return;
    if (!log.findings.empty()) ui.showTextFile(log.path);
    else ui.message("No errors or warnings found.");
}

} // namespace wavra
