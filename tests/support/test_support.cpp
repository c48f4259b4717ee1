#include "support/test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "base/files.h"

namespace fs = std::filesystem;

namespace wavra::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    fs::path p =
        fs::temp_directory_path() / ("wavra-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    m_path = p.string() + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

InstallTree::InstallTree() {
    fs::create_directories(path() + "exe");
    fs::create_directories(path() + "out");
    fs::create_directories(path() + "pov");
    for (const auto& entry : fs::directory_iterator(sourcePath("exe"))) {
        if (entry.is_regular_file() && entry.path().filename() != "CMakeLists.txt")
            fs::copy_file(entry.path(), path() + "exe/" + entry.path().filename().string(),
                          fs::copy_options::overwrite_existing);
    }
}

void InstallTree::prepare(Model& model) const {
    model.installDir = path();
    model.modelDir = path();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> readLinesOf(const std::string& path) {
    std::vector<std::string> lines;
    readLines(path, lines);
    return lines;
}

RunResult runProgram(const std::vector<std::string>& argv, const std::string& workingDir) {
    TempDir capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    RunResult result;
    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) _exit(126);
        if (chdir(workingDir.c_str()) != 0) _exit(126);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readText(outPath);
    result.err = readText(errPath);
    return result;
}

std::string hangingEngineScript(const std::string& dir, const std::string& prelude) {
    return "#!/bin/sh\n" + prelude + "\necho $$ > '" + dir + "engine.pid'\nsleep 300 &\necho $! > '" + dir +
           "helper.pid'\nprintf 'half a report\\n' > \"$2\"\nwait\n";
}

void replaceEngine(const std::string& installDir, const std::string& script, const std::string& engine) {
    const std::string path = installDir + "exe/" + engine;
    fs::remove(path);
    writeText(path, script);
    fs::permissions(path, fs::perms::owner_all);
}

bool processGone(const std::string& pidFile) {
    std::string pid = readText(pidFile);
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
    if (pid.empty()) return false;
    for (int i = 0; i < 100; ++i) {
        const std::string stat = readText("/proc/" + pid + "/stat");
        const size_t close = stat.rfind(')');
        if (stat.empty() || (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0)) return true;
        ::usleep(30000);
    }
    return false;
}

std::string sourcePath(const std::string& relative) { return std::string(WAVRA_SOURCE_DIR) + "/" + relative; }
std::string fixturePath(const std::string& relative) { return std::string(WAVRA_FIXTURES_DIR) + "/" + relative; }

} // namespace wavra::test
