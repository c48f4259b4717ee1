// The main window's field texts for reports of nec2c: values the engine
// could not compute stay empty, and several sources are named and listed.
#include <gtest/gtest.h>

#include "present/summary_texts.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "support/test_support.h"

using namespace wavra;

namespace {

struct SummaryTexts : ::testing::Test {
    Model model;
    RecordingUi ui;

    void read(const std::string& fixture) {
        const std::string text = test::readText(test::fixturePath("reports/" + fixture));
        auto in = LineReader::fromText(text);
        ASSERT_TRUE(test::readModelReport(model, ui, in, ".out"));
    }
    static const SummaryField& find(const std::vector<SummaryField>& fields, const std::string& caption) {
        for (const SummaryField& f : fields)
            if (f.caption == caption) return f;
        throw std::runtime_error("no field " + caption);
    }
};

} // namespace

TEST_F(SummaryTexts, ValuesPrintedAsNaNLeaveTheirFieldsEmpty) {
    read("n_overlap_nan.nec2c.out");
    const auto source = sourceFields(model.summary, model.referenceZ0(), model);
    for (const char* caption : {"Impedance", "Parallel form", "Series comp.", "Parallel comp.", "Current"})
        EXPECT_EQ(find(source, caption).text, "") << caption;
    EXPECT_EQ(find(source, "Voltage").text, "0.707107 + j 0.0 V"); // printed, scaled to the power setting
    const auto power = powerFields(model.summary);
    for (const char* caption : {"Input power", "Radiated power", "Efficiency"}) {
        EXPECT_EQ(find(power, caption).text, "") << caption;
        EXPECT_EQ(find(power, caption).unit, "") << caption;
    }
    EXPECT_EQ(find(power, "Structure loss").text, "0.0");
}

TEST_F(SummaryTexts, SeveralSourcesAreSummedNamedAndListedWithTheirSwr) {
    read("j_two_sources_nh.nec2c.out");
    const SummaryField impedance = sourceFields(model.summary, model.referenceZ0(), model)[0];
    EXPECT_EQ(impedance.shownCaption(), "Impedance (sum of 2 sources)");
    // A negative input resistance (the sources feed each other) reflects
    // more than it takes: no finite SWR.
    EXPECT_EQ(impedance.toolTip,
              "Tag 1, segment 3: V 1.0 + j 0.0 V, I -0.09553 + j 0.095111 A, Z -5.257 - j 5.2338 ohm, "
              "SWR inf\n"
              "Tag 2, segment 8: V 0.0 + j 1.0 V, I -0.09569 + j 0.09588 A, Z 5.2253 - j 5.2149 ohm, "
              "SWR 9.674");
    read("a_dipole.nec2c.out");
    EXPECT_EQ(sourceFields(model.summary, model.referenceZ0(), model)[0].shownCaption(), "Impedance");
    EXPECT_EQ(sourceFields(model.summary, model.referenceZ0(), model)[0].toolTip, "");
}
