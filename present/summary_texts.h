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

// One summary field: its caption, its text, its unit, and whether the text
// is a warning (drawn in red).
struct SummaryField {
    std::string caption;
    std::string text;
    std::string unit;
    bool warning = false;
};

// The fields of the model group ("Filename" ... "Calculation time").
std::vector<SummaryField> modelFields(const Model& model);
// The fields of the source group ("Impedance" ... "Current").
std::vector<SummaryField> sourceFields(const Model& model);
// The fields of the power group ("Input power" ... "Average gain").
std::vector<SummaryField> powerFields(const Model& model);

// The request grid: one row per axis, the columns start, stop, count, step.
struct GridRow {
    std::string caption;
    std::string start, stop, count, step;
};
std::vector<GridRow> requestGrid(const Model& model);

} // namespace wavra
