// Line-by-line reading of an engine report without loading it into memory.
//
// Reports of long frequency loops reach hundreds of megabytes, and a damaged
// or foreign file may hold binary bytes without any line break. The reader
// fills one large buffer at a time and hands out views into it, so a line
// costs no allocation. A line ends at '\n'; a '\r' before it is dropped (CRLF
// reports). Lines longer than kMaxLineLength are cut to that length and the
// rest up to the next break is skipped, so memory stays bounded on any input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

class LineReader {
public:
    static constexpr size_t kMaxLineLength = 4096;

    // Reads a file; isOpen() tells whether it could be opened.
    explicit LineReader(const std::string& path);
    // Reads text already in memory (the text must outlive the reader).
    static LineReader fromText(std::string_view text) { return LineReader(text, MemoryTag{}); }
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return m_file != nullptr || m_memory; }

    // The next line, valid until the next call; false at the end of the text.
    bool next(std::string_view& line);

    // Number of lines handed out so far.
    int64_t lineNumber() const { return m_lineNumber; }

private:
    struct MemoryTag {};
    LineReader(std::string_view text, MemoryTag);

    std::FILE* m_file = nullptr;
    bool m_memory = false;
    bool m_eof = false;
    bool m_skipPending = false; // the tail of a cut line is still unread
    // Left uninitialised: only the bytes fread writes are read, so a short
    // report touches a few pages of it and not the whole megabyte.
    std::unique_ptr<char[]> m_buffer;
    std::string_view m_text; // memory source
    size_t m_pos = 0;        // start of the unread bytes
    size_t m_end = 0;        // end of the valid bytes
    int64_t m_lineNumber = 0;

    const char* data() const { return m_memory ? m_text.data() : m_buffer.get(); }
    bool refill();
    void skipRestOfLine();
    std::string_view finish(size_t begin, size_t length);
};

} // namespace wavra
