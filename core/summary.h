// What the main window shows about the loaded model and the engine results.
// The input reader and the report reader fill it; the main window and the
// batch command line only present it.
#pragma once

#include <string>
#include <vector>

namespace wavra {

// One row of the request grid: an axis of the first field request.
struct RequestRow {
    std::string label; // "Theta", "Phi", "   X", "   Y", "   Z"
    double start = 0, stop = 0, step = 0;
    int count = 0;
};

struct Summary {
    // Model (input reader and report reader).
    std::string fileName;        // " " + modelName + modelExt
    std::string frequencyText;   // "14.00 Mhz"
    std::string wavelengthText;  // "21.4"
    double wavelength = 0;       // metres, 0 when no frequency
    std::vector<std::string> comments;
    std::vector<std::string> environment;
    std::vector<RequestRow> requestRows;
    int segments = 0;            // "Nr of segments"
    int patternLines = 0;        // "Pattern lines"
    std::string frequencySteps;  // "Frequency steps" as written on the FR card

    // Engine results (report reader). has* tells whether the value was read.
    bool hasImpedance = false;
    double impedanceR = 0, impedanceX = 0;
    double voltageR = 0, voltageX = 0;
    double currentR = 0, currentX = 0;
    bool hasPower = false;
    double inputPower = 0, radiatedPower = 0, structureLoss = 0, networkLoss = 0;
    double efficiency = 0;       // percent
    bool hasAverageGain = false;
    double averageGain = 0;
    std::string averageGainText; // label as shown
    bool hasRunTime = false;
    double runTimeSeconds = 0;
    std::string calculationTime;
    std::vector<std::string> engineErrors; // "Nec2d : " + line

    void clear() { *this = Summary{}; }
};

} // namespace wavra
