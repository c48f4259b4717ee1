// The model store: settings, the current model file, the antenna model as the
// last reader left it, the engine results, and the navigation state through
// which windows hand control to the main loop.
//
// Every table is one column vector per field, rows numbered from 1 (row 0 is
// unused), with the used length in a separate counter. Capacities come from
// the settings; allocateModelTables sizes the tables to them. The large ones
// (TableRows) take memory only for the rows a reader writes.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/action_codes.h"
#include "core/display_tables.h"
#include "core/kept_sweep.h"
#include "core/summary.h"
#include "core/table_rows.h"
#include "core/touchstone.h"

namespace wavra {

// A result the engine did not give: printed as NaN or infinity, or a sweep
// gain the report does not hold. Views leave it out; JSON writes null.
inline constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
inline bool isMissing(double v) { return !std::isfinite(v); }

// Marker values for rows and fields that hold nothing.
inline constexpr int16_t kNoLink = -999;          // wireEnd1Link / wireEnd2Link
inline constexpr int16_t kEmptyTag = -99;         // sourceTag / loadTag
inline constexpr double kNoTransLine = -99999;    // tlZ[line][1][1]
inline constexpr int16_t kNoRequest = -9;         // requestMode
inline constexpr int16_t kNearRequest = -1;       // requestMode
inline constexpr int16_t kSurfaceWaveRequest = 1; // requestMode of a ground-wave RP request

// The five values of a far-field point, farFieldGains[point][column]; the
// views number the quantities column + 1. A surface-wave table holds no
// gains: its first two columns are 0 and the last three hold the fields
// E(radial), E(theta) and E(phi).
enum FarFieldColumn : size_t {
    kGainVertical = 0,   // dB
    kGainHorizontal = 1, // dB
    kGainTotal = 2,      // dB
    kFieldTheta = 3,     // V/m
    kFieldPhi = 4,       // V/m
    kSurfaceRadial = 2,
    kSurfaceTheta = 3,
    kSurfacePhi = 4,
};

// The kinds of calculation of the calculation options dialog (calcKind).
enum CalcKind : int16_t {
    kCalcOriginal = 1, // the model file unchanged
    kCalcFarField = 2,
    kCalcFrequencyLoop = 3,
    kCalcNearField = 4,
    kCalcItsHfArea = 13,
    kCalcItsHfPointToPoint = 14,
};

// Capacities handed back by releaseModelTables.
struct TableCapacities {
    int maxSegments = 0, maxFreqSteps = 0, maxSources = 0, maxLoads = 0, maxTransLines = 0;
    int fieldPoints = 0;
};

// [point 1..2][end 1..2] of one transmission line; index 0 unused.
using TlPoints = FixedColumn<FixedColumn<double, 3>, 3>;

// The model store is one Model made of parts with one concern each. A
// function that needs only a part takes that part (const when it only
// reads); the program owns one Model and passes parts down. Every member
// keeps its name, so model.maxSegments reads the same as before.

// Everything wavra.ini holds.
struct Settings {
    std::string engineName = "&NEC2D512";
    int16_t maxSegments = 512;
    int16_t maxSources = 2;
    int16_t maxLoads = 48;
    int16_t maxTransLines = 30;
    int16_t maxFreqSteps = 100;
    int16_t maxFarFieldPoints = 6000;
    int16_t engineTimeout = 0; // seconds an engine run may take; 0 = no limit
    // Engine processes that may run at once: the parts of a split frequency
    // loop, the optimizer's trials. 0 = one per core, 1 = one at a time;
    // parallelRunCount() resolves it.
    int16_t parallelRuns = 0;
    int16_t reuseResults = -1; // nonzero: an unchanged deck reads the last report instead of running
    // Nonzero: a save of the model file by another program (a text editor
    // beside the plots) runs the last calculation choice again, key WATCH.
    int16_t watchModelFile = 0;
    int16_t z0 = 50;
    int16_t power = 100;
    int16_t minLinearDb = -24;
    int16_t minLogDb = -100;
    int16_t linearStepDb = 6;
    int16_t logStepDb = 10;
    double linLogFactor = 0.8;
    // The second SWR limit of the bandwidth on the sweep's SWR page (the
    // first is 2), key SWRLIM.
    double swrBandLimit = 1.5;
    int16_t smithMode = 0;
    int16_t redrawMode = 0;
    int16_t useNotepad = 0;
    std::string notepadPath = "C:\\";
    std::string wordpadPath = "C:\\";
    std::string wordPath = "C:\\";
    std::string itsHfDir, itsHfSub;
    int16_t itsHfType = 0, itsHfArea = 0, itsHfPtop = 0;
    std::string optimizerText1, optimizerText2;
    int16_t optimizerAbs = 0;
    double optimizerMaxStep = 0.1;
    double optimizerMinStep = 0.0001;
    // calcPresets[row 1..6][column 0..1]; row 0 unused.
    FixedColumn<FixedColumn<std::string, 2>, 7> calcPresets;

    // A lapack engine ("..._LA") needs the SZ card with the segment capacity.
    // The name is padded with blanks to 9 characters in the settings.
    bool lapackEngine() const {
        const size_t end = engineName.find_last_not_of(' ');
        return end != std::string::npos && end >= 2 && engineName.compare(end - 2, 3, "_LA") == 0;
    }
};

// Where wavra is installed and which model file is open.
struct ModelFile {
    std::string installDir; // the shipped data below exe/, with trailing '/'
    // The user's own folders of a shared install (base/places.h): the
    // settings file, and out/ and pov/. Empty in the portable tree, where
    // both lie below installDir.
    std::string settingsDir, dataDir;
    std::string modelDir; // with trailing '/'
    std::string modelName;
    std::string modelExt = ".nec";

    // Full path of the model file and of the engine files derived from it.
    std::string modelPath() const { return modelDir + modelName + modelExt; }
    // The folder of out/ and pov/; out/ with the engine decks and reports;
    // pov/ with the scenes; the settings file wavra.ini.
    std::string workDir() const { return dataDir.empty() ? installDir : dataDir; }
    std::string outDir() const { return workDir() + "out/"; }
    std::string povDir() const { return workDir() + "pov/"; }
    std::string settingsFile() const { return (settingsDir.empty() ? installDir + "exe/" : settingsDir) + "wavra.ini"; }
    // The first 8 characters of the model name (whole UTF-8 characters, so a
    // name such as "Ärmelkanal" still gives a valid file name).
    std::string engineBaseName() const;
};

// The antenna as the last reader (deck or report) left it: wires, sources,
// loads, transmission lines, ground, feed line, frequency and field request.
struct Geometry {
    // --- wire table (capacity maxSegments, used rows wireCount) ----------
    int16_t wireCount = 0;
    TableRows<int16_t> wireTag, wireSegments;
    TableRows<double> wireX1, wireY1, wireZ1, wireX2, wireY2, wireZ2, wireRadius;
    TableRows<int16_t> wireEnd1Link, wireEnd2Link;
    TableRows<int16_t> wireMark;

    // --- sources, loads, transmission lines -------------------------------
    int16_t sourceCount = 0;
    TableColumn<int16_t> sourceTag, sourceSegment;
    int16_t loadCount = 0;
    TableColumn<int16_t> loadType, loadTag, loadFirstSegment, loadLastSegment;
    int16_t transLineCount = 0;
    TableColumn<TlPoints> tlX, tlY, tlZ; // [line 1..maxTransLines][point][end]

    // --- ground -------------------------------------------------------------
    int16_t groundType = -1;
    int16_t groundRadials = 0;
    double groundEpsilon = 0;
    double groundSigma = 0;
    int16_t groundSymmetry = 0;
    int16_t extendedKernel = 0; // -1 when an EK card was read

    // --- feed line ------------------------------------------------------------
    // The characteristic impedance of the feed line that the deck names on a
    // ZO card (ohm); 0 when the deck has none and the setting z0 applies.
    // The engine never sees the card, so a report does not hold it: the deck
    // conversion sets it, and a load from the report takes it from the deck.
    double deckZ0 = 0;

    // --- frequency and field request ----------------------------------------
    double frequencyMHz = 0;
    int16_t requestMode = kNoRequest;
    int16_t requestXnda = 0;
    double requestDistance = 0;
    double requestGainNorm = 0;
    FixedColumn<int16_t, 4> requestCount{}; // [1..3]
    FixedColumn<double, 4> requestStep{};   // [1..3]

    // --- extents --------------------------------------------------------------
    double extentX = -1, extentY = -1, extentZ = -1, modelExtent = -1;

    // Current capacities (rows usable, excluding row 0).
    int wireCapacity() const { return static_cast<int>(wireTag.size()) - 1; }
    int sourceCapacity() const { return static_cast<int>(sourceTag.size()) - 1; }
    int loadCapacity() const { return static_cast<int>(loadTag.size()) - 1; }
    int transLineCapacity() const { return static_cast<int>(tlZ.size()) - 1; }

    // Empties the counters, ground, request and extents before a reader
    // fills them (the tables keep their size).
    void clearForLoad();
};

// What the engine's report gave: segment currents, pattern, near field and
// the frequency-loop tables (points numbered from 1). Gains, fields,
// currents and sweep values the engine printed as NaN, and sweep gains of
// steps without a pattern line, hold kMissing.
struct Results {
    TableRows<double> wireCurrentMag, wireCurrentPhase; // per wire-table row
    double maxCurrentMag = -1, maxCurrentPhase = -1;
    int16_t freqCount = 0;
    int16_t patternCount = 0;
    FixedColumn<double, 6> patternMax{}; // [1..5]
    int16_t sweepPatternAxis = 0;
    int engineExitStatus = -1; // exit status of the last engine run, -1 when none ran

    TableRows<std::array<double, 2>> farFieldAngles; // theta, phi
    TableRows<std::array<double, 5>> farFieldGains;
    TableRows<std::array<float, 3>> nearFieldPoints;
    TableRows<std::array<float, 4>> nearFieldValues;
    TableColumn<double> sweepR, sweepX;                  // rows 0..maxFreqSteps
    TableColumn<double> sweepFreq, sweepGain, sweepPlot; // rows 1..maxFreqSteps

    int freqCapacity() const { return static_cast<int>(sweepFreq.size()) - 1; }
    int farFieldCapacity() const { return static_cast<int>(farFieldAngles.size()) - 1; }
    int nearFieldCapacity() const { return static_cast<int>(nearFieldPoints.size()) - 1; }
    // The far-field point of the largest total gain (of E(radial) in a
    // surface-wave table), missing values left out; 0 when no pattern is loaded.
    int strongestPatternPoint() const;

    // Empties the counters and maxima before a report is read.
    void clearForLoad();
    // Sizes the far-field tables to `points` rows, or the near-field tables
    // for a near-field request; the other kind keeps one row.
    void sizeFieldTables(int points, bool nearField);
};

// The navigation state through which windows hand control to the main loop,
// and the flags the windows share.
struct ViewState {
    int16_t actionCode = 0;
    int16_t currentView = kActionGeometry;
    // The view that was current before the one running now: a view tells a
    // fresh entry from another window from a redraw of its own by it.
    int16_t previousView = kActionNone;
    int16_t reloadInput = 0;
    int16_t inputModified = 0;
    // Counts the loads (resetForLoad); a view whose state belongs to an older
    // load initialises it again.
    uint32_t loadSerial = 0;
    // Wire rows the wire edit changed since the load, for the save back into
    // the input file.
    std::vector<int16_t> editedWires;
    // The last mouse press in a view, in the view's drawing coordinates.
    double pointerX = 0, pointerY = 0;
    // A measured feed point shown over the sweep graphs and the Smith chart;
    // it stays over new results, so a trimmed model is compared with it
    // again. The serial counts the files loaded.
    MeasuredSweep measured;
    uint32_t measuredSerial = 0;
    // Earlier frequency loops kept for comparison (at most five); like the
    // measurement they stay over new results.
    std::vector<KeptSweep> keptSweeps;

    // --- the optimizer's target direction, for the pattern view ----------------
    // Set by an optimizer run: the forward direction it aimed at, and whether
    // its gain or front-to-back target was active. The pattern view starts at
    // that direction on its next call and clears the flag.
    int16_t optimizerTargetFlag = 0; // -1 after a run, 0 when nothing is pending
    bool optimizerTargetActive = false;
    double optimizerTargetTheta = 0, optimizerTargetPhi = 0;

    // --- window flags ------------------------------------------------------------------
    int16_t helpMode = 0;
    int16_t complexNotation = 0;
    int16_t cartesianCurrents = 0; // geometry view: segment currents in cartesian form ('X')

    // A new load: views start afresh and no wire counts as edited.
    void countLoad() {
        ++loadSerial;
        editedWires.clear();
    }
};

// What the next engine run calculates (the calculation options dialog and
// the optimizer).
struct Calculation {
    int16_t calcKind = 0;
    int16_t calcSubMode = 0;
    FixedColumn<double, 9> calcRange{};
    // Far and near field: the one frequency to calculate at, in MHz; 0 runs
    // the deck's first frequency.
    double calcFrequencyMHz = 0;
    // The frequency loop's factor when its steps multiply (an FR card with
    // I1 = 1, taken over from the deck or the last run): calcRange 0 and 1
    // are its first and last frequency and calcRange 2 the linear step that
    // gives the same count. 0: steps of calcRange 2 are added.
    double calcFrequencyRatio = 0;
    int16_t surfaceWaveFlag = 0;
    int16_t expectedRunTime = 0;
    int16_t optimizerVarCount = 0;
    // Set by the optimizer window when it closes: the model holds the report
    // of the last accepted trial, read at the end of its run.
    bool optimizerResultRead = false;
};

// The symbol table of the expression parser: the fixed constants, then the
// deck's SY variables.
struct Symbols {
    TableColumn<std::string> constNames; // [0..constCapacity]
    TableColumn<double> constValues;
    TableColumn<int16_t> constFlags;
    int16_t constCount = 0;
    int16_t constCapacity = 64;
    int16_t baseConstantCount = 0;
};

struct Model : Settings, ModelFile, Geometry, Results, ViewState, Calculation, Symbols {
    Model();

    // --- fixed values ---------------------------------------------------
    // Degrees to radians (4 atan(1) / 180): angles are kept in degrees
    // everywhere and turned into radians only inside computations.
    static constexpr double degToRad = std::numbers::pi / 180;
    static constexpr char tabChar = '\t';
    static constexpr char lineFeed = '\n';

    // --- what the main window shows ---------------------------------------------------------
    Summary summary;

    // --- table management: geometry and results together ---------------------------------
    void allocateModelTables(int segments, int freqSteps, int sources, int loads, int transLines);
    void allocateFieldTables(int points);
    TableCapacities releaseModelTables();
    void resetForLoad();

    // The reference impedance of SWR, reflection coefficient, Smith chart and
    // sweep files: the deck's ZO card when it has one, else the setting z0.
    double referenceZ0() const { return deckZ0 > 0 ? deckZ0 : z0; }
    // Where referenceZ0 comes from: "deck" or "settings".
    const char* referenceZ0Source() const { return deckZ0 > 0 ? "deck" : "settings"; }
};

} // namespace wavra
