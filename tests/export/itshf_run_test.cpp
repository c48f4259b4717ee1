// An ItsHF area-coverage calculation end to end: the real engine computes
// the 360 x 91 pattern the run asks for, and the export hook turns its
// report into the antenna and input files and starts the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/calculate.h"
#include "engine/engine_test_support.h"
#include "export/itshf_files.h"

namespace wavra {
namespace {

TEST(ItsHfRun, AreaCoverageAfterARealEngineRun) {
    test::EngineTree tree;
    test::TempDir its;
    for (const char* dir : {"antennas/nec", "areadata/nec", "bin_win"})
        std::filesystem::create_directories(its.file(dir));
    test::writeText(its.file("bin_win/voacapw"), "#!/bin/sh\necho \"$@\" > \"" + its.file("voacap.args") + "\"\n");
    std::filesystem::permissions(its.file("bin_win/voacapw"), std::filesystem::perms::owner_all);
    Model m;
    test::loadModel(m, tree, "dipole.nec", "dipole");
    m.calcKind = kCalcItsHfArea;
    m.calcRange = {20, 0, 0, 7.1, 0, 0, 0, 0, 0}; // antenna azimuth 20, 7.1 MHz
    m.itsHfDir = its.path();
    m.itsHfSub = "nec/";
    m.itsHfType = 3;
    m.itsHfArea = 3;
    RecordingUi ui;
    auto runner = makeNativeProcessRunner();
    std::vector<std::string> status;
    RunHooks hooks;
    hooks.statusLine = [&](const std::string& line) { status.push_back(line); };
    hooks.itsHf = [&](Model& model, Ui& hookUi, const std::string& report) {
        ItsHfProgress progress;
        progress.caption = hooks.statusLine;
        exportItsHf(model, hookUi, *runner, {report}, progress);
    };
    ASSERT_EQ(calculate(m, ui, *runner, hooks), EngineStatus::Finished) << ui.messages().back();
    const auto lines = test::readLinesOf(its.file("antennas/nec/dipole.n13"));
    ASSERT_EQ(lines.size(), 6u + 360 * 10) << (ui.messages().empty() ? "" : ui.messages().back());
    EXPECT_EQ(lines[5], "   7.1  [ 4] Frequency");
    EXPECT_EQ(lines[6 + 10 * 359].substr(0, 9), "  359    ");
    EXPECT_EQ(test::readText(its.file("voacap.args")),
              its.path().substr(0, its.path().size() - 1) + " area screen nec/dipole.voa\n");
    EXPECT_NE(std::find(status.begin(), status.end(), "Calculating area coverage..."), status.end());
    EXPECT_TRUE(ui.saw("ItsHF area-coverage plot file '" + its.file("areadata/nec/dipole.vg1 created.")));
}

} // namespace
} // namespace wavra
