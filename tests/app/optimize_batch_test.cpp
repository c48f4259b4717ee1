// `wavra --batch --optimize`: a symbolic dipole tuned for least SWR, its
// results saved and calculated again, and the options refused with reasons.
#include <filesystem>

#include "app/batch_options.h"
#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;

namespace {

struct OptimizeBatch : test::Batch {
    OptimizeBatch() {
        std::filesystem::copy_file(test::sourcePath("examples/dipole_tune.nec"), tree.file("models/tune.nec"));
    }
};

TEST_F(OptimizeBatch, TheDipoleIsTunedToResonanceAndTheSavedModelCalculates) {
    auto r = run({"--batch", "--json", "--optimize", "h", "--weight", "swr=100", "--jobs", "2", "--save",
                  "tuned.nec", "tune.nec"},
                 tree.file("models"));
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    const json& o = j["optimizer"];
    EXPECT_EQ(o["end"], "optimized");
    EXPECT_EQ(o["message"], "Optimized in" + std::string(" ") + std::to_string(o["runs"].size()) + " steps");
    EXPECT_EQ(o["runs"][0]["run"], 1);
    EXPECT_TRUE(o["runs"][0]["gain"].is_null()); // no pattern was asked for
    EXPECT_LT(std::fabs(j["impedance"]["X"].get<double>()), 5);
    const std::string h = o["values"]["h"];
    EXPECT_NE(test::readText(tree.file("models/tuned.nec")).find("SY h = " + h), std::string::npos);
    // The working files went when the run ended.
    EXPECT_FALSE(std::filesystem::exists(tree.file("models/tune.opt")));
    EXPECT_FALSE(std::filesystem::exists(tree.file("models/tune.bak")));

    auto again = run({"--batch", "--json", "--calc", "original", "tuned.nec"}, tree.file("models"));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_LT(std::fabs(json::parse(again.out)["impedance"]["X"].get<double>()), 5);
}

TEST_F(OptimizeBatch, TextOutputIsTheLogAndTheFinalValues) {
    auto r = run({"--batch", "--optimize", "h", "--weight", "x=100", "tune.nec"}, tree.file("models"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 1 + 10), "\nRun\tSWR\tGa");
    EXPECT_NE(r.out.find("\nh = 5.1"), std::string::npos) << r.out;
}

TEST_F(OptimizeBatch, AStartTheWindowWouldRefuseEndsWithItsMessage) {
    auto r = run({"--batch", "--optimize", "h", "tune.nec"}, tree.file("models"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("No parameter(s) selected."), std::string::npos);
    auto computed = run({"--batch", "--optimize", "lam", "--weight", "swr=1", "yagi.nec"}, tree.file("models"));
    EXPECT_EQ(computed.status, 2);
    EXPECT_NE(computed.err.find("Variable 'lam' has no SY definition with a number."), std::string::npos);
}

TEST(OptimizeOptionsTest, BadValuesAreRefusedWithTheOptionsForm) {
    std::string error;
    const auto parse = [&error](std::vector<std::string> args) {
        args.insert(args.begin(), "--batch");
        args.push_back("m.nec");
        return parseBatchOptions(args, error);
    };
    const auto ok = parse({"--optimize", "a,b", "--weight", "swr=50,fb=-20", "--target", "r=50,x=min", "--direction",
                           "80,90", "--first", "decrease"});
    ASSERT_TRUE(ok);
    const OptimizerSetup& s = ok->optimize->setup;
    EXPECT_EQ(s.variables, (std::vector<std::string>{"a", "b"}));
    EXPECT_DOUBLE_EQ(s.weightPercent[kFrontBack], -20);
    EXPECT_DOUBLE_EQ(s.targets[kResistance], 50);
    EXPECT_DOUBLE_EQ(s.targets[kReactance], kMinimize);
    EXPECT_DOUBLE_EQ(s.forward.phi, 90);
    EXPECT_EQ(s.firstRun, FirstRun::Decrease);
    EXPECT_FALSE(parse({"--optimize", "a", "--weight", "swr"}));
    EXPECT_NE(error.find("--weight takes"), std::string::npos);
    EXPECT_FALSE(parse({"--optimize", "a", "--target", "gain=big"}));
    EXPECT_FALSE(parse({"--optimize", "a", "--direction", "80"}));
    EXPECT_FALSE(parse({"--optimize", "a", "--first", "sideways"}));
    EXPECT_FALSE(parse({"--optimize", "a", "--jobs", "many"}));
    EXPECT_FALSE(parse({"--weight", "swr=1"}));
    EXPECT_EQ(error, "optimizer options need --optimize VAR[,VAR...]");
    EXPECT_FALSE(parse({"--optimize", "a", "--calc", "far"}));
}

} // namespace
