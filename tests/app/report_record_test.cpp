// The record beside each report: a plain open takes out/<name>.out as the
// model's result only when it was made from this model file with these
// bytes, and says why otherwise; runs of one model side by side each return
// the report they made.
#include <filesystem>

#include "batch_fixture.h"
#include "core/files.h"
#include "engine/process.h"

using namespace wavra;
using nlohmann::json;

namespace {

namespace fs = std::filesystem;

struct ReportRecord : test::Batch {
    json open(const std::string& model) {
        auto r = run({"--batch", "--json", model});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out);
    }
    json calc(std::vector<std::string> args) {
        args.insert(args.begin(), {"--batch", "--json", "--calc"});
        auto r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.status == 0 ? json::parse(r.out) : json();
    }
    std::string canonical(const std::string& path) const { return fs::weakly_canonical(tree.file(path)).string(); }
};

TEST_F(ReportRecord, AReportIsTheResultOnlyOfTheModelFileAndBytesItWasMadeFrom) {
    // Two dipoles of one name in two folders; the second is 12 m long.
    fs::create_directories(tree.file("other"));
    std::string longer = test::readText(tree.file("models/dipole.nec"));
    longer.replace(longer.find("-5.15 0 0 5.15"), 14, "-6 0 0 6");
    test::writeText(tree.file("other/dipole.nec"), longer);

    const json first = calc({"original", "models/dipole.nec"});
    json shown = open("models/dipole.nec");
    EXPECT_EQ(shown["loadedFrom"], "report");
    EXPECT_TRUE(shown["messages"].empty()) << shown["messages"];
    EXPECT_EQ(shown["impedance"], first["impedance"]);

    json other = open("other/dipole.nec");
    EXPECT_EQ(other["loadedFrom"], "deck");
    EXPECT_EQ(other["messages"], json::array({"The report out/dipole.out was made from another model (" +
                                              canonical("models/dipole.nec") + "): press F7 to calculate this one."}));

    const json second = calc({"original", "other/dipole.nec"});
    EXPECT_NE(second["impedance"], first["impedance"]);
    EXPECT_EQ(open("other/dipole.nec")["impedance"], second["impedance"]);
    EXPECT_EQ(open("models/dipole.nec")["loadedFrom"], "deck");

    // Edited in another editor: the old report is not its result.
    test::writeText(tree.file("other/dipole.nec"), longer + "CM edited\n");
    other = open("other/dipole.nec");
    EXPECT_EQ(other["loadedFrom"], "deck");
    EXPECT_EQ(other["messages"], json::array({"The report out/dipole.out was made before the model was changed: "
                                              "press F7 to calculate it again."}));

    // A report without a record (put there by hand) is read, with a doubt.
    deleteFile(tree.file("out/dipole.out.hash"));
    other = open("other/dipole.nec");
    EXPECT_EQ(other["loadedFrom"], "report");
    EXPECT_EQ(other["messages"], json::array({"The report out/dipole.out cannot be matched to the model: it may be "
                                              "out of date."}));
}

// Far-field runs, frequency loops and optimizations of one model at once in
// one tree: each returns what the same request returns alone.
TEST_F(ReportRecord, RunsOfOneModelSideBySideEachReturnTheirOwnResult) {
    fs::copy_file(test::sourcePath("examples/dipole_tune.nec"), tree.file("models/tune.nec"));
    const std::vector<std::vector<std::string>> requests = {
        {"--calc", "far", "--theta", "0,90,30", "--phi", "0,90,90"},
        {"--calc", "sweep", "--sub", "none", "--freq", "13.5,14.5,0.25"},
        {"--optimize", "h", "--weight", "swr=100"},
    };
    auto command = [&](const std::vector<std::string>& request) {
        std::vector<std::string> argv = {tree.file("exe/wavra"), "--batch", "--json"};
        argv.insert(argv.end(), request.begin(), request.end());
        argv.push_back("models/tune.nec");
        return argv;
    };
    // What a result is: everything the summary says but the run's timing.
    auto result = [](const std::string& out) {
        json j = json::parse(out);
        for (const char* volatileKey : {"run", "runTime"}) j.erase(volatileKey);
        if (j.contains("optimizer")) j["optimizer"].erase("log");
        return j;
    };
    auto runner = makeNativeProcessRunner();
    std::vector<json> alone;
    for (const auto& request : requests) {
        std::string error;
        auto process = runner->start(command(request), tree.path(), error);
        ASSERT_TRUE(process && process->waitFor(60000)) << error;
        ASSERT_EQ(process->exitCode(), 0) << process->standardError();
        alone.push_back(result(process->standardOutput()));
    }
    ASSERT_NE(alone[0]["impedance"], alone[1]["impedance"]);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::unique_ptr<RunningProcess>> running;
        for (const auto& request : requests) {
            std::string error;
            running.push_back(runner->start(command(request), tree.path(), error));
            ASSERT_NE(running.back(), nullptr) << error;
        }
        for (size_t i = 0; i < requests.size(); ++i) {
            ASSERT_TRUE(running[i]->waitFor(60000));
            ASSERT_EQ(running[i]->exitCode(), 0) << running[i]->standardError();
            EXPECT_EQ(result(running[i]->standardOutput()), alone[i]) << "round " << round << ", request " << i;
        }
    }
}

} // namespace
