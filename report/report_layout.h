// Where things stand in a printed NEC-2 report: the headings that open each
// section, the lines between a heading and its data, and the columns of every
// field read. One table per report layout:
//
// - classic: the FORTRAN NEC-2 report (line-printer layout, carriage-control
//   character in column 1);
// - enhanced: the classic report of engines that announce "Enhanced" in their
//   banner, whose echoed cards and segmentation data are shifted;
// - nec2c: the report of the C translation nec2c, the engine wavra runs, with
//   its own headings, columns and run time in milliseconds.
//
// Several classic fields are read a little wider than the nominal format
// width so that values with a sign or an extra digit are read whole; the
// widened columns are blank in the nominal layout.
#pragma once

#include <array>
#include <string_view>

#include "report/columns.h"

namespace wavra {

// Section headings, tested in the order listed.
struct ReportHeadings {
    Heading enhanced, comments, groundPlane, groundWhere, environment, junctions, segmentation, dataCard, loads,
        currents, power, frequency, inputs, pattern, surfacePattern, nearField, averageGain, runTime;
    // An engine message about an exceeded limit.
    Heading limitExceeded;
};

struct ReportLayout {
    std::string_view name;
    ReportHeadings heading;

    // Lines between a heading and the first line of its data.
    int commentSkip = 0, environmentSkip = 0, segmentationSkip = 0, currentSkip = 0, inputSkip = 0, surfaceSkip = 0;
    int powerBlankLines = 0; // blank lines skipped at most after the power-budget heading
    int nearHeaderLines = 0; // lines without a point skipped at most after the near-field heading
    int loadSkip = 0;        // lines skipped before each load line

    // Multiple-wire junctions: up to 20 segment numbers, one every junctionStep columns.
    Column junctionFirst;
    int junctionStep = 0;

    // Segmentation data.
    Column segX, segY, segZ, segLength, segAlpha, segBeta, segRadius, segEnd1, segEnd2, segTag;

    // Echoed program-control card: name, I1..I4, F1..F6.
    Column cardName;
    std::array<Column, 4> cardInt;
    std::array<Column, 6> cardReal;

    // Structure loading table.
    Column loadTag, loadFirst, loadLast;
    Heading loadWire; // "WIRE" in the type column: a wire-conductivity load

    // Currents, power budget, frequency.
    Column currentReal, currentMag, currentPhase;
    Column powerValue;
    Column frequency;

    // Antenna input parameters.
    Column inputTag, inputSegment;
    Column voltageRe, voltageIm, currentRe, currentIm, resistance, reactance;

    // Radiation pattern.
    Column theta, phi, gainVertical, gainHorizontal, gainTotal, fieldTheta, fieldPhi;

    // Radiated fields near ground (surface-wave pattern).
    Column swDistance, swPhi, swHeight, swFieldTheta, swFieldPhi, swFieldRadial;

    // Near fields.
    Column nearX, nearY, nearZ;
    std::array<Column, 3> nearMag;

    // Average gain and run time.
    Column averageGain, averageAngle;
    Column runTime;
    double runTimeSeconds = 1; // seconds per unit of the printed run time
};

const ReportLayout& classicLayout();
const ReportLayout& enhancedLayout();
const ReportLayout& nec2cLayout();

// The layout a banner line announces, or nullptr when the line is no banner.
const ReportLayout* layoutFromBanner(std::string_view line);

} // namespace wavra
