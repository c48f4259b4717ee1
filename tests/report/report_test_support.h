// Shared helpers of the report reader tests: a test fixture that places a
// report in out/ of a temporary install tree and reads it, and the closeness
// test for numbers printed with different precision by the two engines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "support/test_support.h"

namespace wavra::test {

// The classic report prints 5 or 6 significant digits, nec2c 4 or 5, and the
// two engines round differently: values agree to about 1e-3 relative, plus a
// small absolute slack for values printed as 0.0000 in one and 0.00001 in
// the other.
inline ::testing::AssertionResult closeAsPrinted(double a, double b, double absolute = 1e-4) {
    const double slack = 2e-3 * std::max(std::fabs(a), std::fabs(b)) + absolute;
    if (std::fabs(a - b) <= slack) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " and " << b << " differ by more than " << slack;
}

inline std::string fixtureReport(const std::string& name) { return readText(fixturePath("reports/" + name)); }

class ReportTest : public ::testing::Test {
protected:
    InstallTree tree;
    Model model;
    RecordingUi ui;

    ReportTest() {
        tree.prepare(model);
        model.modelName = "model";
    }

    // Writes `text` as out/model.out and reads it.
    bool load(const std::string& text) {
        writeText(tree.path() + "out/model.out", text);
        return test::readModelReport(model, ui, ".out");
    }

    // Messages other than the engine's own error lines.
    std::vector<std::string> userMessages() const {
        std::vector<std::string> list;
        for (const auto& m : ui.messages())
            if (m.rfind("Nec2d : ", 0) != 0) list.push_back(m);
        return list;
    }
};

} // namespace wavra::test
