// The record beside each report: a plain open takes out/<name>.out as the
// model's result only when it was made from this model file with these
// bytes, and says why otherwise; runs of one model side by side each return
// the report they made.
#include <filesystem>

#include "base/files.h"
#include "batch_fixture.h"
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
    // Two dipoles of one name in two folders; the second is 12 m long and
    // written with CR LF line ends and no line end after its last card.
    fs::create_directories(tree.file("other"));
    std::string longer;
    for (const std::string& line : test::readLinesOf(tree.file("models/dipole.nec")))
        longer += (longer.empty() ? "" : "\r\n") + line;
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
    test::writeText(tree.file("other/dipole.nec"), longer + "\r\nCM edited");
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

// Far-field runs and frequency loops of one model at once in one tree, 50
// rounds of both, while optimizations of the same model publish their
// trials' reports all along: each returns what the same request returns
// alone.
TEST_F(ReportRecord, RunsOfOneModelSideBySideEachReturnTheirOwnResult) {
    fs::copy_file(test::sourcePath("examples/dipole_tune.nec"), tree.file("models/tune.nec"));
    const std::vector<std::vector<std::string>> requests = {
        {"--calc", "far", "--theta", "0,90,30", "--phi", "0,90,90"},
        {"--calc", "sweep", "--sub", "none", "--freq", "13.5,14.5,0.25", "--jobs", "1"},
        {"--optimize", "h", "--weight", "swr=100", "--jobs", "2"},
    };
    const size_t optimize = 2;
    auto runner = makeNativeProcessRunner();
    auto start = [&](size_t request) {
        std::vector<std::string> argv = {tree.file("exe/wavra"), "--batch", "--json"};
        argv.insert(argv.end(), requests[request].begin(), requests[request].end());
        argv.push_back("models/tune.nec");
        std::string error;
        auto process = runner->start(argv, tree.path(), error);
        EXPECT_NE(process, nullptr) << error;
        return process;
    };
    // What a result is: everything the summary says but how the run was
    // made (its timing, engine processes, a report read again).
    auto result = [](RunningProcess& process) {
        EXPECT_TRUE(process.waitFor(120000));
        EXPECT_EQ(process.exitCode(), 0) << process.standardError();
        json j = json::parse(process.standardOutput());
        for (const char* how : {"run", "runTime", "parts", "reused"}) j.erase(how);
        j["engine"].erase("exitStatus");
        return j;
    };
    std::vector<json> alone;
    for (size_t i = 0; i < requests.size(); ++i) {
        auto process = start(i);
        ASSERT_NE(process, nullptr);
        alone.push_back(result(*process));
    }
    ASSERT_NE(alone[0], alone[1]);
    ASSERT_NE(alone[1], alone[2]);
    std::unique_ptr<RunningProcess> optimizer = start(optimize);
    int optimizations = 0;
    for (int round = 0; round < 50; ++round) {
        std::vector<std::unique_ptr<RunningProcess>> running;
        for (size_t i = 0; i < optimize; ++i) running.push_back(start(i));
        for (size_t i = 0; i < optimize; ++i)
            if (running[i]) {
                EXPECT_EQ(result(*running[i]), alone[i]) << "round " << round << ", request " << i;
            }
        if (optimizer && optimizer->waitFor(0)) {
            EXPECT_EQ(result(*optimizer), alone[optimize]) << "round " << round;
            ++optimizations;
            optimizer = start(optimize);
        }
    }
    ASSERT_NE(optimizer, nullptr);
    EXPECT_EQ(result(*optimizer), alone[optimize]);
    EXPECT_GE(optimizations, 1);
}

} // namespace
