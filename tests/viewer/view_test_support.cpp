#include "view_test_support.h"

#include <QApplication>
#include <atomic>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace wavra::view::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    const fs::path dir =
        fs::temp_directory_path() / ("view_test_" + std::to_string(run) + "_" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
    m_path = dir.string() + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void touch(const std::string& path) { writeText(path, ""); }

void makeRunnable(const std::string& path) {
    touch(path);
    fs::permissions(path, fs::perms::owner_all);
}

PicturePtr fakePicture(int width, int height) { return std::make_shared<FakePicture>(width, height); }

PicturePtr FakeMedia::load(const std::string& path) {
    if (!fs::is_regular_file(path) || readText(path).find("bad") != std::string::npos) return nullptr;
    return fakePicture(static_cast<int>(fs::file_size(path)) + 1);
}

bool FakeMedia::save(const Picture& picture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "picture " << picture.width() << "x" << picture.height();
    return static_cast<bool>(out);
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "view_tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: taken down among the static objects,
    // the application would outlive parts of Qt it still uses.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

} // namespace wavra::view::test
