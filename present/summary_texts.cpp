#include "present/summary_texts.h"

#include <cmath>

#include "base/text.h"
#include "core/reflection.h"

namespace wavra {

namespace {

constexpr int kValueWidth = 7;

// A number for reading: the width-limited format, with the zero before a
// leading decimal point that the compact format leaves out.
std::string number(double v, int width = kValueWidth) {
    if (std::isnan(v)) return {};
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    std::string text = trim(formatNumber(v, width));
    if (text.rfind(".", 0) == 0) text.insert(0, "0");
    else if (text.rfind("-.", 0) == 0) text.insert(1, "0");
    return text;
}

std::string whole(int v) { return std::to_string(v); }

std::string impedance(const ViewState& viewState, double re, double im) {
    return complexText(re, im, "ohm", kValueWidth, viewState.complexNotation == 0);
}

// A field; its unit is shown only beside a value.
SummaryField field(const std::string& caption, std::string text, const std::string& unit = {}, bool warning = false) {
    SummaryField f;
    f.caption = caption;
    f.unit = text.empty() ? std::string() : unit;
    f.text = std::move(text);
    f.warning = warning;
    return f;
}

std::vector<SummaryField> emptyFields(std::initializer_list<const char*> captions) {
    std::vector<SummaryField> fields;
    for (const char* caption : captions) fields.push_back(field(caption, ""));
    return fields;
}

} // namespace

std::string complexText(double re, double im, const std::string& unit, int width, bool cartesian) {
    if (std::isnan(re) || std::isnan(im)) return {};
    if (cartesian)
        return number(re, width) + (im < 0 ? " -" : " +") + " j " + number(std::fabs(im), width) + " " + unit;
    const double magnitude = std::hypot(re, im);
    const double angle = std::atan2(im, re) * 45.0 / std::atan(1.0);
    return number(magnitude, width) + " " + unit + " @ " + number(angle, 4) + " \u00b0";
}

std::vector<SummaryField> modelFields(const Summary& summary) {
    const Summary& s = summary;
    return {
        field("Filename", trim(s.fileName)),
        field("Frequency", s.frequencyText),
        field("Wavelength", s.wavelengthText, "mtr"),
        field("Nr of segments", s.segments > 0 ? whole(s.segments) : ""),
        field("Pattern lines", s.patternLines > 0 ? whole(s.patternLines) : ""),
        field("Frequency steps", trim(s.frequencySteps)),
        field("Calculation time", trim(s.calculationTime), "sec"),
    };
}

std::vector<SummaryField> sourceFields(const Summary& summary, double z0, const ViewState& viewState) {
    const Summary& s = summary;
    std::vector<SummaryField> f =
        emptyFields({"Impedance", "Parallel form", "Series comp.", "Parallel comp.", "Voltage", "Current"});
    if (s.hasImpedance) {
        f[0].text = impedance(viewState, s.impedanceR, s.impedanceX);
        if (!f[0].text.empty()) f[1].text = number(s.parallelR) + " // " + number(s.parallelX) + " ohm";
        if (!s.seriesCompUnit.empty()) f[2] = field("Series comp.", number(s.seriesComp), s.seriesCompUnit);
        if (!s.parallelCompUnit.empty()) f[3] = field("Parallel comp.", number(s.parallelComp), s.parallelCompUnit);
    }
    if (s.hasPower || s.voltageR != 0 || s.voltageX != 0)
        f[4].text = complexText(s.voltageR, s.voltageX, "V", kValueWidth, viewState.complexNotation == 0);
    if (s.hasCurrent) f[5].text = complexText(s.currentR, s.currentX, "A", kValueWidth, viewState.complexNotation == 0);
    if (s.sourceInputs.size() >= 2) {
        f[0].label = "Impedance (sum of " + whole(static_cast<int>(s.sourceInputs.size())) + " sources)";
        for (const SourceInput& source : s.sourceInputs)
            f[0].toolTip += (f[0].toolTip.empty() ? "" : "\n") + sourceText(z0, viewState, source);
    }
    return f;
}

std::string sourceText(double z0, const ViewState& viewState, const SourceInput& in) {
    const bool cartesian = viewState.complexNotation == 0;
    auto complex = [&](double re, double im, const char* unit) {
        const std::string text = complexText(re, im, unit, kValueWidth, cartesian);
        return text.empty() ? std::string("missing") : text;
    };
    const double ratio = swr(in.impedanceR, in.impedanceX, z0);
    return "Tag " + whole(in.tag) + ", segment " + whole(in.segment) + ": V " + complex(in.voltageR, in.voltageX, "V") +
           ", I " + complex(in.currentR, in.currentX, "A") + ", Z " + complex(in.impedanceR, in.impedanceX, "ohm") +
           ", SWR " + (std::isnan(ratio) ? std::string("missing") : number(ratio, 5));
}

std::vector<SummaryField> powerFields(const Summary& summary) {
    const Summary& s = summary;
    std::vector<SummaryField> f =
        emptyFields({"Input power", "Radiated power", "Structure loss", "Network loss", "Efficiency", "Average gain"});
    if (s.hasPower) {
        const double watts[] = {s.inputPower, s.radiatedPower, s.structureLoss, s.networkLoss};
        for (size_t i = 0; i < 4; ++i) f[i] = field(f[i].caption, number(watts[i]), "W");
        f[4] = field("Efficiency", number(s.efficiency, 5), "%");
    }
    if (s.hasAverageGain) f[5] = field("Average gain", trim(s.averageGainText), "", s.averageGainRed);
    return f;
}

// A report read to its end carries the engine's run time; a deck has none.
std::string calculateHint(const Summary& summary) {
    if (summary.hasRunTime || trim(summary.fileName).empty()) return {};
    return "Press F7 to calculate";
}

std::vector<GridRow> requestGrid(const Summary& summary) {
    std::vector<GridRow> rows;
    for (const RequestRow& r : summary.requestRows)
        rows.push_back({r.label, number(r.start), number(r.stop), whole(r.count), number(r.step)});
    return rows;
}

} // namespace wavra
