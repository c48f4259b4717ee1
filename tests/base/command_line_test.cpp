#include "base/command_line.h"

#include <gtest/gtest.h>

using namespace wavra;

namespace {

const ProgramOptions& sample() {
    static const ProgramOptions described{
        "prog",
        {"[FILE]", "--run [OPTION]... FILE"},
        "Does things.",
        {{"",
          {{"run", "", "run it"},
           {"jobs", "N", "engine runs\nat once, split over the steps of a frequency loop of the model"}}},
         {"Pictures", {{"png", "FILE", "a picture"}, {"target", "NAME=max|min|VALUE", "what it aims at"}}}},
        "Exit status: 0 done."};
    return described;
}

ParsedArguments parse(const std::vector<std::string>& args) { return parseArguments(sample(), args); }

} // namespace

TEST(CommandLine, ValuesInEitherFormInOrderAndOperands) {
    const ParsedArguments p =
        parse({"--jobs=2", "a.nec", "--png", "-x.png", "--jobs", "3", "--png=", "-", "--", "--run", "-h"});
    EXPECT_EQ(p.outcome, ParsedArguments::Outcome::Run);
    EXPECT_EQ(p.values("jobs"), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(p.values("png"), (std::vector<std::string>{"-x.png", ""}));
    EXPECT_FALSE(p.has("run"));
    EXPECT_EQ(p.operands, (std::vector<std::string>{"a.nec", "-", "--run", "-h"}));
}

TEST(CommandLine, HelpAndVersionOutcomes) {
    EXPECT_EQ(parse({"--run", "-h"}).outcome, ParsedArguments::Outcome::Help);
    EXPECT_EQ(parse({"--version", "--help"}).outcome, ParsedArguments::Outcome::Help);
    EXPECT_EQ(parse({"-V"}).outcome, ParsedArguments::Outcome::Version);
}

TEST(CommandLine, FirstUsageErrorNamesTheOptionAsTyped) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frob=1", "--jobs"}, "unknown option '--frob'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-hV"}, "unknown option '-hV'"},
        {{"--run", "--jobs"}, "option '--jobs' needs a value"},
        {{"--run=yes"}, "option '--run' takes no value"},
        {{"--help", "--frob"}, "unknown option '--frob'"},
    };
    for (const auto& [args, error] : cases) {
        const ParsedArguments p = parse(args);
        EXPECT_EQ(p.outcome, ParsedArguments::Outcome::BadUsage) << error;
        EXPECT_EQ(p.error, error);
    }
}

TEST(CommandLine, HelpListsEveryOptionInColumnsWrappedAt80) {
    EXPECT_EQ(helpText(sample()),
              "Usage: prog [FILE]\n"
              "  or:  prog --run [OPTION]... FILE\n"
              "Does things.\n"
              "\n"
              "Options:\n"
              "  -h, --help                  print this help and exit\n"
              "  -V, --version               print the program's name and version and exit\n"
              "      --run                   run it\n"
              "      --jobs=N                engine runs\n"
              "                              at once, split over the steps of a frequency loop\n"
              "                              of the model\n"
              "\n"
              "Pictures:\n"
              "      --png=FILE              a picture\n"
              "      --target=NAME=max|min|VALUE\n"
              "                              what it aims at\n"
              "\n"
              "Exit status: 0 done.\n");
}

TEST(CommandLine, MessagesCarryTheProgramName) {
    EXPECT_EQ(versionText("prog"), std::string("prog ") + WAVRA_VERSION + "\n");
    EXPECT_EQ(usageErrorText("prog", "--calc takes far, not 'a\nb'"),
              "prog: --calc takes far, not 'a b'\nTry 'prog --help' for more information.\n");
    EXPECT_EQ(programMessage("prog", "first\nsecond"), "prog: first\nsecond\n");
}
