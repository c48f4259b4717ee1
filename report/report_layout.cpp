#include "report/report_layout.h"

namespace wavra {

namespace {

constexpr Heading at(std::string_view text, int column) { return {text, column, column}; }

// Segmentation data of the classic family: centre coordinates from column s,
// w wide, then length, angles, radius, connections and tag at fixed offsets
// from p = s + 3w. The radius is 10 wide (a 9-wide field drops the last digit
// of 0.00125), the connections are the whole I5 fields and the tag the whole
// I7 field, so segment numbers of five digits and large tags read in full.
void setClassicSegmentation(ReportLayout& l, int s, int w) {
    const int p = s + 3 * w;
    l.segX = {s, w};
    l.segY = {s + w, w};
    l.segZ = {s + 2 * w, w};
    l.segLength = {p, 10};
    l.segAlpha = {p + 11, 10};
    l.segBeta = {p + 21, 10};
    l.segRadius = {p + 31, 10};
    l.segEnd1 = {p + 41, 6};
    l.segEnd2 = {p + 52, 5};
    l.segTag = {p + 57, 7};
}

// Echoed cards of the classic family; o shifts the fields (1 in the enhanced
// layout, where the card name moves one column to the left). The integers are
// the whole I5 fields; the fifth real includes its sign column.
void setClassicCard(ReportLayout& l, int o) {
    l.cardName = {27 - o, 2};
    l.cardInt = {Column{29 + o, 4}, Column{34 + o, 5}, Column{40 + o, 5}, Column{46 + o, 5}};
    l.cardReal = {Column{52 + o, 12}, Column{65 + o, 12},  Column{78 + o, 12},
                  Column{91 + o, 12}, Column{104 + o, 13}, Column{117 + o, 12}};
}

// What both engines print alike: the input parameters (columns of the
// FORTRAN format E12.5, kept by nec2c), the "DEGREES" line of the pattern
// heading, the limit message, and the spacing of junction numbers.
void setCommon(ReportLayout& l) {
    l.heading.pattern = {"DEGREES", 1, 3}; // anywhere in the first 9 characters
    l.heading.limitExceeded = at("EXCEE", 46);
    l.powerBlankLines = 2;
    l.nearHeaderLines = 4;
    l.junctionStep = 5;
    l.inputTag = {1, 6};
    l.inputSegment = {7, 6};
    l.voltageRe = {13, 12};
    l.voltageIm = {25, 12};
    l.currentRe = {37, 12};
    l.currentIm = {49, 12};
    l.resistance = {61, 12};
    l.reactance = {73, 12};
    l.theta = {1, 8};
    l.fieldTheta = {76, 12};
}

ReportLayout makeClassic() {
    ReportLayout l;
    setCommon(l);
    l.name = "classic";
    l.heading.enhanced = at("Enhan", 2);
    l.heading.comments = at("COMM", 46);
    l.heading.groundPlane = at("GROUND", 4);
    l.heading.groundWhere = at("WHERE", 4);
    l.heading.environment = at("ENVI", 49);
    l.heading.junctions = at("JUNC", 2);
    l.heading.segmentation = at("SEGMENTAT", 42);
    l.heading.dataCard = at("DATA", 8);
    l.heading.loads = at("ITAG", 5);
    l.heading.currents = at("CURR", 36);
    l.heading.power = at("POWER", 47);
    l.heading.frequency = at("FREQ", 37);
    l.heading.inputs = at("INPU", 57);
    l.heading.surfacePattern = at("METERS", 6);
    l.heading.nearField = at("METERS", 7);
    l.heading.averageGain = at("AVER", 4);
    l.heading.runTime = at("RUN", 2);

    l.commentSkip = 2;
    l.environmentSkip = 1;
    l.segmentationSkip = 8;
    l.currentSkip = 6;
    l.inputSkip = 3;
    l.surfaceSkip = 1;
    l.loadSkip = 1;

    l.junctionFirst = {12, 5};
    setClassicSegmentation(l, 7, 10);
    setClassicCard(l, 0);

    // Loads are printed in I5 fields; the tag may read "ALL".
    l.loadTag = {4, 5};
    l.loadFirst = {9, 5};
    l.loadLast = {14, 5};
    l.loadWire = at("WIRE", 105);

    l.currentReal = {50, 11};
    l.currentMag = {74, 11};
    l.currentPhase = {86, 8};
    l.powerValue = {59, 11};
    l.frequency = {48, 10};

    // Theta fills columns 2-8 and phi 9-17 (F8.2, F9.2).
    l.phi = {9, 9};
    l.gainVertical = {21, 8};
    l.gainHorizontal = {29, 8};
    l.gainTotal = {37, 8};
    l.fieldPhi = {100, 12};

    l.swDistance = {3, 10};
    l.swPhi = {15, 7};
    l.swHeight = {26, 7};
    l.swFieldTheta = {36, 12};
    l.swFieldPhi = {59, 12};
    l.swFieldRadial = {82, 12};

    l.nearX = {4, 10};
    l.nearY = {15, 10};
    l.nearZ = {26, 10};
    l.nearMag = {Column{40, 11}, Column{63, 11}, Column{86, 11}};

    l.averageGain = {23, 12};
    l.averageAngle = {73, 7};
    l.runTime = {15, 7};
    l.runTimeSeconds = 1;
    return l;
}

ReportLayout makeEnhanced() {
    ReportLayout l = makeClassic();
    l.name = "enhanced";
    setClassicSegmentation(l, 8, 11);
    setClassicCard(l, 1);
    return l;
}

// Columns of the nec2c report follow its printf formats; each field includes
// the separating blank before it, where a sign or an extra digit goes.
ReportLayout makeNec2c() {
    ReportLayout l;
    setCommon(l);
    l.name = "nec2c";
    l.heading.comments = at("COMMENTS", 49);
    l.heading.groundPlane = at("GROUND", 6);
    l.heading.groundWhere = at("WHERE", 6);
    l.heading.environment = at("ENVIRONMENT", 46);
    l.heading.junctions = at("JUNCTION", 5);
    l.heading.segmentation = at("SEGMENTATION", 43);
    l.heading.dataCard = at("DATA CARD", 3);
    l.heading.loads = at("ITAG", 3);
    l.heading.currents = at("CURRENTS", 37);
    l.heading.power = at("POWER BUDGET", 43);
    l.heading.frequency = at("FREQUENCY :", 33);
    l.heading.inputs = at("INPUT PARAMETERS", 43);
    l.heading.surfacePattern = at("METERS DEGREES", 5);
    l.heading.nearField = at("METERS    METERS", 5);
    l.heading.averageGain = at("AVERAGE", 3);
    l.heading.runTime = at("TOTAL RUN TIME", 3);

    l.segmentationSkip = 5;
    l.currentSkip = 4;
    l.inputSkip = 2;
    l.inputTag = {1, 5}; // "%5d %5d": the segment number takes column 6 when it has six digits
    l.inputSegment = {6, 6};

    l.junctionFirst = {15, 5};

    l.segX = {7, 10};
    l.segY = {17, 10};
    l.segZ = {27, 10};
    l.segLength = {37, 10};
    l.segAlpha = {47, 10};
    l.segBeta = {57, 10};
    l.segRadius = {67, 10};
    l.segEnd1 = {77, 6};
    l.segEnd2 = {89, 6};
    l.segTag = {95, 6};

    l.cardName = {21, 2};
    l.cardInt = {Column{23, 4}, Column{27, 6}, Column{33, 6}, Column{39, 6}};
    l.cardReal = {Column{45, 13}, Column{58, 13}, Column{71, 13}, Column{84, 13}, Column{97, 13}, Column{110, 13}};

    l.loadTag = {1, 6};
    l.loadFirst = {7, 5};
    l.loadLast = {12, 5};
    l.loadWire = at("WIRE", 94);

    l.currentReal = {53, 12};
    l.currentMag = {77, 12};
    l.currentPhase = {89, 9};
    l.powerValue = {47, 12};
    l.frequency = {44, 12};

    l.phi = {9, 10};
    l.gainVertical = {19, 10};
    l.gainHorizontal = {29, 9};
    l.gainTotal = {38, 9};
    l.fieldPhi = {98, 12};

    l.swDistance = {1, 10};
    l.swPhi = {11, 8};
    l.swHeight = {19, 10};
    l.swFieldTheta = {29, 13};
    l.swFieldPhi = {50, 13};
    l.swFieldRadial = {71, 13};

    l.nearX = {1, 10};
    l.nearY = {11, 10};
    l.nearZ = {21, 10};
    l.nearMag = {Column{31, 13}, Column{52, 13}, Column{73, 13}};

    l.averageGain = {22, 12};
    l.averageAngle = {69, 7};
    l.runTime = {19, 12};
    l.runTimeSeconds = 0.001; // nec2c prints milliseconds
    return l;
}

} // namespace

const ReportLayout& classicLayout() {
    static const ReportLayout layout = makeClassic();
    return layout;
}

const ReportLayout& enhancedLayout() {
    static const ReportLayout layout = makeEnhanced();
    return layout;
}

const ReportLayout& nec2cLayout() {
    static const ReportLayout layout = makeNec2c();
    return layout;
}

const ReportLayout* layoutFromBanner(std::string_view line) {
    if (line.find("NUMERICAL ELECTROMAGNETICS CODE") == std::string_view::npos) return nullptr;
    return line.find("(nec2c)") != std::string_view::npos ? &nec2cLayout() : &classicLayout();
}

} // namespace wavra
