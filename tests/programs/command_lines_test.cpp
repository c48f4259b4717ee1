// wavra, build and view answer --help, --version and bad usage alike.
#include <gtest/gtest.h>

#include "app/batch_options.h"
#include "builder/command_line.h"
#include "support/test_support.h"
#include "viewer/command_line.h"

using namespace wavra;

namespace {

struct Program {
    std::string name;
    const ProgramOptions& (*described)();
    std::string binary;
    std::vector<std::string> badValue; // a missing or unwanted value
    std::string badValueError;
};

const Program kPrograms[] = {
    {kProgramName, wavraCommandLine, WAVRA_PROGRAM, {"--batch", "--jobs"}, "option '--jobs' needs a value"},
    {build::kProgramName, build::commandLineOptions, BUILD_PROGRAM, {"--shape"}, "option '--shape' needs a value"},
    {view::kProgramName, view::commandLineOptions, VIEW_PROGRAM, {"--version=2"}, "option '--version' takes no value"},
};

class ProgramCommandLine : public ::testing::TestWithParam<Program> {
protected:
    ParsedArguments parse(const std::vector<std::string>& args) { return parseArguments(GetParam().described(), args); }
    test::RunResult run(const std::string& argument) {
        return test::runProgram({GetParam().binary, argument}, test::TempDir().path());
    }
};

} // namespace

TEST_P(ProgramCommandLine, NamesItselfInHelpAndUsageErrors) {
    const Program& p = GetParam();
    EXPECT_EQ(p.described().name, p.name);
    EXPECT_EQ(helpText(p.described()).rfind("Usage: " + p.name, 0), 0u);
    const ParsedArguments bad = parse(p.badValue);
    EXPECT_EQ(bad.outcome, ParsedArguments::Outcome::BadUsage);
    EXPECT_EQ(bad.error, p.badValueError);
}

// --jobs is wavra's alone; the others refuse it by name.
TEST_P(ProgramCommandLine, JobsWithAnEqualsSign) {
    const ParsedArguments jobs = parse({"--jobs=2"});
    if (GetParam().name == kProgramName) {
        EXPECT_EQ(jobs.values("jobs"), std::vector<std::string>{"2"});
        std::string error;
        const auto options = parseBatchOptions({"--batch", "--jobs=2", "m.nec"}, error);
        ASSERT_TRUE(options) << error;
        EXPECT_EQ(options->parallelRuns, 2);
    } else {
        EXPECT_EQ(jobs.error, "unknown option '--jobs'");
    }
}

TEST_P(ProgramCommandLine, TheProgramAnswersHelpVersionAndABadOption) {
    const std::string& name = GetParam().name;
    const test::RunResult help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, helpText(GetParam().described()));
    EXPECT_EQ(help.err, "");
    const test::RunResult version = run("-V");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, name + " " + WAVRA_VERSION + "\n");
    const test::RunResult bad = run("--frob");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, name + ": unknown option '--frob'\nTry '" + name + " --help' for more information.\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramCommandLine, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<Program>& param) { return param.param.name; });
