#include "deck/model_file.h"

#include <cstdint>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 code units after the mark; a surrogate without its partner and an
// odd last byte become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                code = 0xFFFD;
            }
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    if (i < bytes.size()) appendUtf8(out, 0xFFFD);
    return out;
}

std::string decodeMark(std::string_view bytes, std::string& encoding) {
    encoding.clear();
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding = "UTF-8 text with a byte-order mark; wavra reads it without the mark";
        return std::string(bytes.substr(3));
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        encoding = "UTF-16 text (little-endian); wavra reads it converted to UTF-8";
        return utf16ToUtf8(bytes.substr(2), false);
    }
    if (bytes.substr(0, 2) == "\xFE\xFF") {
        encoding = "UTF-16 text (big-endian); wavra reads it converted to UTF-8";
        return utf16ToUtf8(bytes.substr(2), true);
    }
    return std::string(bytes);
}

// A card line: neither blank nor an apostrophe comment.
bool holdsCards(std::string_view text) {
    bool found = false;
    forEachLine(text, [&found](std::string_view line) {
        const size_t first = line.find_first_not_of(" \t");
        found = first != std::string_view::npos && line[0] != '\'' && !(line.size() > 1 && line[1] == '\'');
        return !found;
    });
    return found;
}

} // namespace

std::string deckText(std::string_view bytes, std::string& encoding) {
    const std::string decoded = decodeMark(bytes, encoding);
    std::string text;
    text.reserve(decoded.size() + 1);
    forEachLine(decoded, [&text](std::string_view line) {
        (text += line) += '\n';
        return true;
    });
    return text;
}

bool readModelFile(Diagnostics& found, const std::string& path, std::string& text) {
    std::string bytes, reason;
    if (!readFileText(path, bytes, &reason)) {
        found.push_back({Severity::Fatal, "Open failure on NEC-2 input file " + path + ": " + reason});
        return false;
    }
    std::string encoding;
    text = deckText(bytes, encoding);
    if (!encoding.empty()) found.push_back({Severity::Note, "The model file " + path + " is " + encoding + "."});
    if (text.find('\0') != std::string::npos) {
        found.push_back({Severity::Fatal, "The model file " + path + " is not a text deck: it holds NUL bytes."});
        return false;
    }
    if (!holdsCards(text)) {
        found.push_back({Severity::Fatal, "The model file " + path + " holds no cards."});
        return false;
    }
    return true;
}

} // namespace wavra
