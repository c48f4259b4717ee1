// What the main window shows about the loaded model and the engine results.
// The input reader and the report reader fill it; the main window and the
// batch command line only present it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/text.h"

namespace wavra {

// One row of the request grid: an axis of the first field request.
struct RequestRow {
    std::string label; // "Theta", "Phi", "   X", "   Y", "   Z"
    double start = 0, stop = 0, step = 0;
    int count = 0;
};

// Ranges of a frequency loop as the report reader found them; the sweep
// graphs scale by them. The start values mark "nothing found yet".
struct SweepRanges {
    double freqMin = 9999, freqMax = 0;
    double rMin = 10000, rMax = 0;
    double xMin = 10000, xMax = -10000;
    double gainMin = 999, gainMax = -999;
    double theta = -1, phi = -1; // direction of the gain of a single-direction sweep
};

// One source line of the report's input parameters, as printed.
struct SourceInput {
    int tag = 0, segment = 0;
    double voltageR = 0, voltageX = 0;
    double currentR = 0, currentX = 0;
    double impedanceR = 0, impedanceX = 0;
};

struct Summary {
    // Model (input reader and report reader).
    std::string fileName;       // modelName + modelExt, or modelName + the report's extension
    std::string frequencyText;  // "14.00 Mhz"
    std::string wavelengthText; // "21.4"
    double wavelength = 0;      // metres, 0 when no frequency
    std::vector<std::string> comments;
    std::vector<std::string> environment;
    std::vector<RequestRow> requestRows;
    int segments = 0;                 // "Nr of segments"
    int wires = 0;                    // wires: the deck's wire rows, or the report's runs of joined segments
    int patternLines = 0;             // "Pattern lines"
    std::string frequencySteps;       // "Frequency steps" as written on the FR card
    int deckErrors = 0;               // errors the conversion of the model deck reported
    bool engineDeckUnwritten = false; // the engine deck out/<name>.inp could not be written

    // Engine results (report reader). has* tells whether the value was read;
    // a value the engine printed as NaN is kept as NaN and shown as missing.
    bool hasImpedance = false;
    double impedanceR = 0, impedanceX = 0;
    double parallelR = 0, parallelX = 0; // parallel form; infinite when R or X is 0
    double seriesComp = 0;               // element that cancels the reactance in series
    std::string seriesCompUnit;          // "pF" or "uH"; empty when there is nothing to cancel
    double parallelComp = 0;             // element that cancels the parallel reactance
    std::string parallelCompUnit;
    double voltageR = 0, voltageX = 0; // source voltage, scaled to the configured power
    double currentR = 0, currentX = 0; // source current, scaled likewise
    bool hasCurrent = false;           // the current is shown only outside a frequency loop
    bool hasPower = false;
    double inputPower = 0, radiatedPower = 0, structureLoss = 0, networkLoss = 0; // watts at `power`
    double efficiency = 0;                                                        // percent
    double fieldScale = 0;       // factor applied to fields and voltages, 0 without a power budget
    bool hasAverageGain = false; // both average-gain labels visible
    double averageGain = 0;
    int averageGainAngle = 0;    // solid angle of the averaging x 180, whole "degrees"
    bool averageGainRed = false; // the label is drawn in red (gain outside 0.8..1.2 or lossy ground)
    std::string averageGainText; // label as shown
    bool hasRunTime = false;
    double runTimeSeconds = 0;
    std::string calculationTime;           // "Calculation time" in seconds as printed
    std::vector<std::string> engineErrors; // "Nec2d : " + line
    int engineErrorLines = 0;              // error lines in the report, shown or not
    int invalidValues = 0;                 // results the engine printed as NaN or infinity
    std::vector<SourceInput> sourceInputs; // every source of the first input-parameter block
    int sweepRows = 0;                     // rows of the sweep tables the report filled

    // Near-field table (report reader).
    int nearFieldCount = 0;               // points loaded
    std::array<double, 5> nearFieldMax{}; // [1..4] largest x, y, z and total value
    bool nearFieldMagnetic = false;       // NH request: fields in A/m

    SweepRanges sweep;

    void clear() { *this = Summary{}; }

    // The Frequency and Wavelength fields for a frequency in MHz.
    void showFrequency(double mhz) {
        frequencyText = formatPicture(mhz, mhz < 100 ? "#0.00" : "###0") + " Mhz";
        if (mhz > 0) {
            wavelength = 299.8 / mhz;
            wavelengthText = formatPicture(wavelength, mhz < 100 ? "##0.0" : "0.0##");
        }
    }
};

} // namespace wavra
