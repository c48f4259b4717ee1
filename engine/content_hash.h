// A 64-bit FNV-1a hash over length-framed pieces of bytes, so that moving
// bytes from one piece to the next changes the hash. It keys reports to
// what they were made from and shortens long file names; it guards against
// mix-ups, not against someone forging a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wavra {

class ContentHash {
public:
    void add(std::string_view bytes);
    // A program's bytes, mixed eight at a time into four lanes: the engine
    // programs hashed for every run are a megabyte, and byte by byte they
    // cost a small calculation a millisecond. Framed by the size as add() is.
    void addContent(std::string_view bytes);
    // A file's bytes as addContent takes them, or a mark that it is missing.
    void addFile(const std::string& path);
    // 16 lower-case hexadecimal digits.
    std::string hex() const;

private:
    class Lanes;
    void addRaw(std::string_view bytes);
    uint64_t m_value = 0xcbf29ce484222325ULL;
};

// The hash of one piece of bytes.
std::string hashOf(std::string_view bytes);

} // namespace wavra
