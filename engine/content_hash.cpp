#include "engine/content_hash.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace wavra {

void ContentHash::add(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    addRaw(bytes);
}

void ContentHash::addContent(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    addWords(bytes);
}

// The file is hashed as it is read, a block at a time (a multiple of eight
// bytes, so the words fall as in addContent): a copy of the engine programs
// in memory cost a start-up more than the hash itself.
void ContentHash::addFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return add("missing " + path); // no pipe is opened
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return add("missing " + path);
    addRaw(std::to_string(size) + ":");
    std::array<char, 1 << 16> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0)
        addWords({block.data(), static_cast<size_t>(in.gcount())});
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

// FNV-1a's step on whole 64-bit words (little-endian), the tail byte by
// byte. Multiplying by the odd prime is one-to-one, so two programs that
// differ in one word never share a hash.
void ContentHash::addWords(std::string_view bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        m_value = (m_value ^ word) * 0x100000001b3ULL;
    }
    addRaw(bytes.substr(i));
}

std::string hashOf(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.hex();
}

} // namespace wavra
