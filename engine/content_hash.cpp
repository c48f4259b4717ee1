#include "engine/content_hash.h"

#include "base/files.h"

namespace wavra {

void ContentHash::add(std::string_view bytes) {
    addRaw(std::to_string(bytes.size()) + ":");
    addRaw(bytes);
}

void ContentHash::addFile(const std::string& path) {
    std::string bytes;
    if (readFileText(path, bytes)) add(bytes);
    else add("missing " + path);
}

std::string ContentHash::hex() const {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[static_cast<size_t>(15 - i)] = digits[(m_value >> (4 * i)) & 0xF];
    return text;
}

void ContentHash::addRaw(std::string_view bytes) {
    for (unsigned char c : bytes) m_value = (m_value ^ c) * 0x100000001b3ULL;
}

std::string hashOf(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.hex();
}

} // namespace wavra
