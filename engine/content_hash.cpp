#include "engine/content_hash.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace wavra {

void ContentHash::add(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    addRaw(bytes);
}

// The file is hashed as it is read, a block at a time, framed by its size
// as add() frames a piece: the engine programs hashed for every run are
// hundreds of kilobytes, and a copy of them in memory cost a start-up more
// than the hash itself.
void ContentHash::addFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return add("missing " + path); // no pipe is opened
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return add("missing " + path);
    addRaw(std::to_string(size) + ":");
    std::array<char, 1 << 16> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0)
        addRaw({block.data(), static_cast<size_t>(in.gcount())});
}

std::string ContentHash::hex() const {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[static_cast<size_t>(15 - i)] = digits[(m_value >> (4 * i)) & 0xF];
    return text;
}

void ContentHash::addRaw(std::string_view bytes) {
    for (char c : bytes) m_value = (m_value ^ uint64_t{static_cast<unsigned char>(c)}) * 0x100000001b3ULL;
}

std::string hashOf(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.hex();
}

} // namespace wavra
