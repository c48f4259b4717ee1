// The near-field view from the command line, on real nec2c runs of the
// dipole example: the plane, component and unit that --json describes, and
// its lowest and highest value against the ones found here in the printed
// table (split on blanks), scaled as every field is to the configured
// input power (rms).
#include <cmath>
#include <fstream>

#include "batch_fixture.h"
#include "printed_report.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::Report;
using wavra::test::words;

namespace {

struct Printed {
    double min = INFINITY, max = -INFINITY;
    size_t points = 0;
};

// The rows of a near-field table: the magnetic one has a blank line more
// above its column headings than the electric one.
std::vector<std::vector<std::string>> printedRows(const Report& report, const char* heading) {
    const int at = report.find(heading);
    for (int skip = 4; skip <= 6; ++skip)
        if (auto rows = report.table(at, skip); !rows.empty()) return rows;
    return {};
}

// The values of component 1..3 (4 the total) of the printed points whose
// coordinate along `axis` is `at`.
Printed printedPlane(const Report& report, const char* heading, int axis, double at, int component) {
    Printed p;
    for (const auto& row : printedRows(report, heading)) {
        if (std::fabs(std::stod(row.at(static_cast<size_t>(axis))) - at) > 1e-6) continue;
        double e[3];
        for (size_t k = 0; k < 3; ++k) e[k] = std::stod(row.at(3 + 2 * k));
        const double v = component == 4 ? std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]) : e[component - 1];
        p.min = std::min(p.min, v);
        p.max = std::max(p.max, v);
        ++p.points;
    }
    return p;
}

// Fields are shown at the input power of the settings (POWER=), as rms
// values: the printed peak values times sqrt(power / printed input power / 2).
double powerScale(const Report& report, const std::string& iniPath) {
    double power = 0;
    for (const std::string& line : wavra::test::readLinesOf(iniPath))
        if (line.rfind("POWER=", 0) == 0) power = std::stod(line.substr(6));
    const double input = std::stod(words(report.lines.at(static_cast<size_t>(report.find("INPUT POWER")))).at(3));
    return std::sqrt(power / input / 2);
}

void expectRange(const json& view, const Printed& printed, double scale, double divisor) {
    ASSERT_GT(printed.points, 0u);
    EXPECT_EQ(view["points"], printed.points);
    EXPECT_NEAR(view["min"].get<double>() * divisor, printed.min * scale, 2e-4 * printed.min * scale + 1e-12);
    EXPECT_NEAR(view["max"].get<double>() * divisor, printed.max * scale, 2e-4 * printed.max * scale);
}

} // namespace

TEST_F(Batch, NearFieldPlanesMatchThePrintedTable) {
    // 5 x 3 x 3 points beside the dipole; Right moves the XY plane to z = 0.
    auto r =
        run({"--batch", "--json", "--calc", "near", "--x", "-1,1,0.5", "--y", "0.5,1.5,0.5", "--z", "-2,2,2", "--show",
             "nearfield", "--keys", "Right", "--png", "near.png", "--size", "400x300", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json view = json::parse(r.out)["view"];
    Report report(tree.file("out/dipole.out"));
    const double scale = powerScale(report, tree.file("exe/wavra.ini"));
    EXPECT_EQ(view["name"], "nearfield");
    EXPECT_EQ(view["plane"], "XY");
    EXPECT_EQ(view["position"]["coordinate"], 0.0);
    EXPECT_EQ(view["component"], 4);
    EXPECT_EQ(view["field"], "E");
    ASSERT_EQ(view["unit"], "V/m");
    expectRange(view, printedPlane(report, "NEAR ELECTRIC FIELDS", 2, 0.0, 4), scale, 1);
    EXPECT_EQ(view["largest"]["value"], view["max"]);
    std::ifstream png(tree.file("near.png"), std::ios::binary);
    char magic[4] = {};
    png.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");

    // The report read again: the XZ plane at y = 0.5, component z, as a graph
    // along x at z = 2 (Up twice from z = -2 along the line axis).
    r = run({"--batch", "--json", "--show", "nearfield", "--keys", "Space,<,PgUp,Up,Up", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    view = json::parse(r.out)["view"];
    EXPECT_EQ(view["plane"], "XZ");
    EXPECT_EQ(view["component"], 3);
    EXPECT_EQ(view["mode"], "graph");
    EXPECT_EQ(view["graph"]["axis"], "X");
    EXPECT_EQ(view["graph"]["line"]["coordinate"], 2.0);
    Printed line;
    for (const auto& row : printedRows(report, "NEAR ELECTRIC FIELDS"))
        if (std::stod(row.at(1)) == 0.5 && std::stod(row.at(2)) == 2.0) {
            line.min = std::min(line.min, std::stod(row.at(7)));
            line.max = std::max(line.max, std::stod(row.at(7)));
            ++line.points;
        }
    const double divisor = view["unit"] == "mV/m" ? 1e-3 : 1;
    expectRange(view, line, scale, divisor);
}

TEST_F(Batch, MagneticNearFieldReadsAmperesPerMetre) {
    auto r = run({"--batch", "--json", "--calc", "near", "--sub", "h", "--x", "-1,1,1", "--y", "1,1,1", "--z", "-1,1,1",
                  "--show", "nearfield", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json view = json::parse(r.out)["view"];
    Report report(tree.file("out/dipole.out"));
    ASSERT_NE(report.find("NEAR MAGNETIC FIELDS"), -1);
    EXPECT_EQ(view["field"], "H");
    // The fields of a 100 W dipole 1 m away are well below 1 A/m.
    ASSERT_EQ(view["unit"], "mA/m");
    EXPECT_EQ(view["title"], "Near Field in [mA/m]  H(tot.)");
    EXPECT_EQ(view["plane"], "XY");
    expectRange(view, printedPlane(report, "NEAR MAGNETIC FIELDS", 2, -1.0, 4),
                powerScale(report, tree.file("exe/wavra.ini")), 1e-3);
}
