#include "core/smith_chart_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/text.h"

namespace wavra {

namespace {

constexpr size_t kMaxTickText = 8;
constexpr double kMaxGridValue = 1e9;

double fieldNumber(const std::vector<std::string_view>& fields, size_t i) {
    return i < fields.size() ? readNumber(fields[i]) : 0;
}

void readGridLine(const std::vector<std::string_view>& fields, SmithChartFile& chart) {
    ChartGridLine line{fieldNumber(fields, 1), fieldNumber(fields, 2), fieldNumber(fields, 3)};
    // A negative resistance circle lies outside the chart (and r = -1 has
    // no place at all); the reactance arcs of -g are those of g. Beyond
    // kMaxGridValue a line is a dot at the open circuit.
    if (line.value >= 0 && line.value <= kMaxGridValue && std::isfinite(line.lo) && std::isfinite(line.hi))
        chart.grid.push_back(line);
}

// The items after the ruler's name, "value,position" each, up to the first
// missing one.
std::vector<RulerTick> readTicks(const std::vector<std::string_view>& fields) {
    std::vector<RulerTick> ticks;
    std::vector<std::string_view> parts;
    for (size_t i = 1; i < fields.size() && ticks.size() < kMaxRulerTicks; ++i) {
        splitFields(fields[i], ",", true, parts, 2);
        if (parts.size() < 2 || trim(parts[0]) == "*" || trim(parts[1]) == "*") break;
        RulerTick tick{readNumber(parts[0]), readNumber(parts[1]), trim(parts[0]).substr(0, kMaxTickText)};
        if (std::isfinite(tick.position) && tick.position >= 0 && tick.position <= 1) ticks.push_back(std::move(tick));
    }
    return ticks;
}

void readRuler(RulerKind kind, const std::vector<std::string_view>& fields, SmithChartFile& chart) {
    ChartRuler ruler{kind, readTicks(fields)};
    for (ChartRuler& existing : chart.rulers)
        if (existing.kind == kind) {
            existing = std::move(ruler);
            return;
        }
    chart.rulers.push_back(std::move(ruler));
}

} // namespace

const std::vector<RulerStyle>& rulerStyles() {
    static const std::vector<RulerStyle> styles = {
        {RulerKind::Swr, "SWR", "SWR", "", true, 1, -1.35},
        {RulerKind::SwrDb, "SDB", "SWR", "[dB]", true, -1, -1.35},
        {RulerKind::VoltageReflection, "RHO", "E / I", "refl-c", false, 1, -1.35},
        {RulerKind::PowerReflection, "RHP", " P", "refl-c", false, -1, -1.35},
        {RulerKind::ReflectionLoss, "RFL", "Refl.", "loss", true, 1, -1.65},
        {RulerKind::ReturnLoss, "RTL", "loss", "Ret.", false, 1, -1.65},
        {RulerKind::Attenuation, "ATT", "ATT.", "[dB]", true, -1, -1.65},
    };
    return styles;
}

const RulerStyle& rulerStyle(RulerKind kind) {
    for (const RulerStyle& s : rulerStyles())
        if (s.kind == kind) return s;
    return rulerStyles().front();
}

SmithChartFile parseSmithChart(std::string_view text) {
    SmithChartFile chart;
    size_t gridLinesRead = 0;
    std::vector<std::string_view> fields;
    forEachLine(text, [&](std::string_view line) {
        splitFields(line, "\t", false, fields);
        if (fields.empty()) return true;
        const std::string name = trim(fields[0]);
        if (name == "Z") {
            if (gridLinesRead++ < kMaxChartGridLines) readGridLine(fields, chart);
            return true;
        }
        for (const RulerStyle& s : rulerStyles())
            if (name == s.name) readRuler(s.kind, fields, chart);
        return true;
    });
    return chart;
}

std::string smithChartFileName(const Model& model) { return model.smithMode != 0 ? "exe/smith1.dat" : "exe/smith.dat"; }

bool loadSmithChart(const Model& model, SmithChartFile& chart) {
    const std::string path = model.installDir + smithChartFileName(model);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    chart = parseSmithChart(text);
    return true;
}

} // namespace wavra
