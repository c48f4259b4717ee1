#include "base/files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "base/text.h"

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

namespace {

// Why a path cannot be read as a file: a directory, pipe or device would
// hang or misread, so only regular files are opened.
std::string notAFileReason(const fs::file_status& status) {
    switch (status.type()) {
    case fs::file_type::directory: return "it is a directory, not a file";
    case fs::file_type::fifo: return "it is a named pipe (FIFO), not a regular file";
    case fs::file_type::block:
    case fs::file_type::character: return "it is a device, not a regular file";
    case fs::file_type::socket: return "it is a socket, not a regular file";
    default: return "it is not a regular file";
    }
}

// The file a path names, through any chain of symbolic links; a dangling
// link gives the path it points to.
fs::path linkTarget(const fs::path& path) {
    fs::path target = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

} // namespace

std::string notARegularFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (ec || !fs::exists(status)) return ec ? ec.message() : "No such file or directory";
    return fs::is_regular_file(status) ? std::string() : notAFileReason(status);
}

bool readFileText(const std::string& path, std::string& text, std::string* reason) {
    auto fail = [reason](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    if (std::string why = notARegularFile(path); !why.empty()) return fail(std::move(why));
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(std::generic_category().message(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return fail("read error");
    text = std::move(buffer).str();
    return true;
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::string text;
    if (!readFileText(path, text)) return false;
    lines = splitLines(text);
    return true;
}

bool isWriteProtected(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (ec || !fs::is_regular_file(status)) return false;
    constexpr auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & writable) == fs::perms::none;
}

bool writeFileAtomic(const std::string& path, const std::string& text) {
    std::string reason;
    return writeFileAtomic(path, text, reason);
}

bool writeFileAtomic(const std::string& path, const std::string& text, std::string& reason) {
    return writeFileAtomicVia(path, text, std::string(), reason);
}

bool writeFileAtomicVia(const std::string& path, const std::string& text, const std::string& tempName,
                        std::string& reason) {
    // Through a symbolic link the file it names is replaced, not the link,
    // and the new file keeps the old one's permissions.
    const fs::path target = linkTarget(fs::path(path));
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    // Without a given name the temporary file has a name of its own, so two
    // programs writing the same file at once (two runs of one model) never
    // share it.
    const std::string tmp = tempName.empty() ? target.string() + ".tmp~" + uniqueSuffix()
                                             : (target.parent_path() / fs::path(tempName)).string();
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
    if (fs::is_regular_file(old)) fs::permissions(fs::path(tmp), old.permissions(), ec);
    fs::rename(fs::path(tmp), target, ec);
    if (ec) {
        deleteFile(tmp);
        return fail(ec.value());
    }
    return true;
}

bool writeFileUnlessSame(const std::string& path, const std::string& text, std::string& reason) {
    std::string bytes;
    if (readFileText(path, bytes) && bytes == text) return true;
    return writeFileAtomic(path, text, reason);
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

PathParts splitPath(const std::string& path) {
    PathParts parts;
    const size_t slash = path.find_last_of('/');
    parts.dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    parts.name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = parts.name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        parts.ext = parts.name.substr(dot);
        parts.name.erase(dot);
    }
    return parts;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> fileBytes(const std::string& path) {
    std::string bytes;
    if (!readFileText(path, bytes)) return std::nullopt;
    return bytes;
}

} // namespace wavra
