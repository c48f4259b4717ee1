#include "core/files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace wavra {

bool pathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::path(path), ec);
}

void deleteFile(const std::string& path) {
    std::error_code ec;
    fs::remove(fs::path(path), ec);
}

bool renameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (from != to) fs::remove(fs::path(to), ec);
    fs::rename(fs::path(from), fs::path(to), ec);
    return !ec;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(fs::path(from), fs::path(to), fs::copy_options::overwrite_existing, ec);
    return !ec;
}

bool readFileBytes(const std::string& path, std::string& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    lines.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return true;
}

bool writeFileAtomic(const std::string& path, const std::string& text) {
    std::string reason;
    return writeFileAtomic(path, text, reason);
}

bool writeFileAtomic(const std::string& path, const std::string& text, std::string& reason) {
    // A name of its own, so two programs writing the same file at once
    // (two runs of one model) never share the temporary file.
    const std::string tmp = path + ".tmp~" + uniqueSuffix();
    auto fail = [&reason](int error) {
        reason = error != 0 ? std::strerror(error) : "write error";
        return false;
    };
    {
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return fail(errno);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            const int error = errno;
            out.close();
            deleteFile(tmp);
            return fail(error);
        }
    }
    std::error_code ec;
    fs::rename(fs::path(tmp), fs::path(path), ec);
    if (ec) {
        deleteFile(tmp);
        return fail(ec.value());
    }
    return true;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned long long> counter{0};
    static const unsigned long long seed = [] {
        std::random_device device;
        return (static_cast<unsigned long long>(device()) << 32) ^ device();
    }();
    const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 mix(seed ^ now ^ (counter++ * 0x9E3779B97F4A7C15ULL));
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    unsigned long long value = mix();
    for (char& c : text) {
        c = digits[value & 15];
        value >>= 4;
    }
    return text;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace wavra
