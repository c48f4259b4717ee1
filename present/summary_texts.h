// The texts of the main window's fields, from the model store and the
// summary the input and report readers filled. Plain functions, so the
// window only places them and tests can read them.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"

namespace wavra {

// A complex value as the views write it: cartesian "R +/- j |X| unit" or
// polar "magnitude unit @ angle°", each number `width` characters wide.
std::string complexText(double re, double im, const std::string& unit, int width, bool cartesian);

// One summary field: its caption (the field's name), its text, its unit,
// whether the text is a warning (drawn in red), and, where the field needs
// them, the caption as shown and a tool tip. A value the engine printed as
// NaN leaves the text empty.
struct SummaryField {
    std::string caption;
    std::string text;
    std::string unit;
    bool warning = false;
    std::string label; // shown instead of the caption when not empty
    std::string toolTip;

    const std::string& shownCaption() const { return label.empty() ? caption : label; }
};

// The fields of the model group ("Filename" ... "Calculation time").
std::vector<SummaryField> modelFields(const Summary& summary);
// The fields of the source group ("Impedance" ... "Current"). With several
// sources the impedance is their sum, labelled "Impedance (sum of N
// sources)", and its tool tip lists every source as printed.
std::vector<SummaryField> sourceFields(const Summary& summary, double z0, const ViewState& viewState);

// One source of the report as printed, with its SWR against z0:
// "Tag 1, segment 3: V 1 + j 0 V, I -0.09553 + j 0.09511 A,
// Z -5.257 - j 5.234 ohm, SWR 10.52".
std::string sourceText(double z0, const ViewState& viewState, const SourceInput& source);
// The fields of the power group ("Input power" ... "Average gain").
std::vector<SummaryField> powerFields(const Summary& summary);

// The hint over the main window's fields while a model is loaded without
// an engine report (no results yet): "Press F7 to calculate"; empty once a
// report was read or before any model.
std::string calculateHint(const Summary& summary);

// The request grid: one row per axis, the columns start, stop, count, step.
struct GridRow {
    std::string caption;
    std::string start, stop, count, step;
};
std::vector<GridRow> requestGrid(const Summary& summary);

} // namespace wavra
