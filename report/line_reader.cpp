#include "report/line_reader.h"

#include <algorithm>
#include <cstring>

namespace wavra {

namespace {
// One read fetches this much; large reads keep the cost per byte low.
constexpr size_t kBufferSize = size_t(1) << 20;
static_assert(kBufferSize > 2 * LineReader::kMaxLineLength);
} // namespace

LineReader::LineReader(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {
    if (m_file) m_buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
}

LineReader::LineReader(std::string_view text, MemoryTag)
    : m_memory(true), m_eof(true), m_text(text), m_end(text.size()) {}

LineReader::~LineReader() {
    if (m_file) std::fclose(m_file);
}

// Moves the unread bytes to the front of the buffer and appends what the file
// has next. False when nothing new could be read.
bool LineReader::refill() {
    if (m_memory || m_eof) return false;
    const size_t rest = m_end - m_pos;
    if (rest > 0 && m_pos > 0) std::memmove(m_buffer.get(), m_buffer.get() + m_pos, rest);
    m_pos = 0;
    m_end = rest;
    const size_t got = std::fread(m_buffer.get() + m_end, 1, kBufferSize - m_end, m_file);
    m_end += got;
    if (got == 0) m_eof = true;
    return got > 0;
}

// Drops the bytes up to and including the next line break: the tail of a line
// that was cut at kMaxLineLength.
void LineReader::skipRestOfLine() {
    for (;;) {
        const char* base = data();
        const void* nl = std::memchr(base + m_pos, '\n', m_end - m_pos);
        if (nl) {
            m_pos = static_cast<size_t>(static_cast<const char*>(nl) - base) + 1;
            return;
        }
        m_pos = m_end;
        if (!refill()) return;
    }
}

std::string_view LineReader::finish(size_t begin, size_t length) {
    std::string_view line(data() + begin, length);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineLength) line = line.substr(0, kMaxLineLength);
    ++m_lineNumber;
    return line;
}

bool LineReader::next(std::string_view& line) {
    if (!isOpen()) return false;
    if (m_skipPending) {
        m_skipPending = false;
        skipRestOfLine();
    }
    for (;;) {
        const char* base = data();
        const size_t avail = m_end - m_pos;
        const void* nl = avail > 0 ? std::memchr(base + m_pos, '\n', avail) : nullptr;
        if (nl) {
            const size_t length = static_cast<size_t>(static_cast<const char*>(nl) - (base + m_pos));
            line = finish(m_pos, length);
            m_pos += length + 1;
            return true;
        }
        if (!m_memory && !m_eof && avail >= kMaxLineLength) {
            // A line without a break in sight: hand out its head, drop the rest.
            line = finish(m_pos, kMaxLineLength);
            m_pos += kMaxLineLength;
            // The view stays valid: skipping happens on the next call.
            m_skipPending = true;
            return true;
        }
        if (refill()) continue;
        if (avail == 0) return false;
        line = finish(m_pos, avail);
        m_pos = m_end;
        return true;
    }
}

} // namespace wavra
