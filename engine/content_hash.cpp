#include "engine/content_hash.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace wavra {

namespace {
constexpr uint64_t kPrime = 0x100000001b3ULL;
}

// FNV-1a's step on whole 64-bit words (little-endian), word i into lane
// i % 4: the multiplications of one lane wait for each other, those of four
// lanes overlap, so a program hashes about four times as fast. The lanes
// go into the hash in order at the end. Every step is one-to-one, so two
// programs that differ in one word never share a hash.
class ContentHash::Lanes {
public:
    // Whole words; only the last piece of a content may end in a tail,
    // which is returned for the hash itself.
    std::string_view mix(std::string_view bytes) {
        size_t i = 0;
        for (; m_next != 0 && i + 8 <= bytes.size(); i += 8) step(wordAt(bytes, i));
        uint64_t a = m_lanes[0], b = m_lanes[1], c = m_lanes[2], d = m_lanes[3];
        for (; i + 32 <= bytes.size(); i += 32) {
            a = (a ^ wordAt(bytes, i)) * kPrime;
            b = (b ^ wordAt(bytes, i + 8)) * kPrime;
            c = (c ^ wordAt(bytes, i + 16)) * kPrime;
            d = (d ^ wordAt(bytes, i + 24)) * kPrime;
        }
        m_lanes = {a, b, c, d};
        for (; i + 8 <= bytes.size(); i += 8) step(wordAt(bytes, i));
        return bytes.substr(i);
    }
    void foldInto(uint64_t& value) const {
        for (uint64_t lane : m_lanes) value = (value ^ lane) * kPrime;
    }

private:
    static uint64_t wordAt(std::string_view bytes, size_t i) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        return word;
    }
    void step(uint64_t word) {
        m_lanes[m_next] = (m_lanes[m_next] ^ word) * kPrime;
        m_next = (m_next + 1) % m_lanes.size();
    }

    std::array<uint64_t, 4> m_lanes{0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL, 0x9ce484222325cbf2ULL,
                                    0x2325cbf29ce48422ULL};
    size_t m_next = 0;
};

void ContentHash::add(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    addRaw(bytes);
}

void ContentHash::addContent(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    Lanes lanes;
    const std::string_view tail = lanes.mix(bytes);
    lanes.foldInto(m_value);
    addRaw(tail);
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
    Lanes lanes;
    std::string tail;
    while (in.read(block.data(), block.size()) || in.gcount() > 0)
        tail = lanes.mix({block.data(), static_cast<size_t>(in.gcount())});
    lanes.foldInto(m_value);
    addRaw(tail);
}

std::string ContentHash::hex() const {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[static_cast<size_t>(15 - i)] = digits[(m_value >> (4 * i)) & 0xF];
    return text;
}

void ContentHash::addRaw(std::string_view bytes) {
    for (char c : bytes) m_value = (m_value ^ uint64_t{static_cast<unsigned char>(c)}) * kPrime;
}

std::string hashOf(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.hex();
}

} // namespace wavra
