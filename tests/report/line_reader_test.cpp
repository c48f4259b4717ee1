// Line reading of reports: line ends, cut lines, and files larger than the
// reading buffer.
#include <gtest/gtest.h>

#include "report/line_reader.h"
#include "support/test_support.h"

namespace wavra::test {
namespace {

std::vector<std::string> linesOf(LineReader& in) {
    std::vector<std::string> lines;
    std::string_view line;
    while (in.next(line)) lines.emplace_back(line);
    return lines;
}

std::vector<std::string> fileLines(const std::string& text) {
    TempDir dir;
    writeText(dir.file("r.out"), text);
    LineReader in(dir.file("r.out"));
    EXPECT_TRUE(in.isOpen());
    return linesOf(in);
}

std::vector<std::string> memoryLines(const std::string& text) {
    auto in = LineReader::fromText(text);
    return linesOf(in);
}

TEST(LineReader, LineEndsFromFileAndMemoryAgree) {
    const std::string text = "first\r\n\r\nthird\n\nlast without break";
    const std::vector<std::string> expected{"first", "", "third", "", "last without break"};
    EXPECT_EQ(fileLines(text), expected);
    EXPECT_EQ(memoryLines(text), expected);
    EXPECT_EQ(fileLines(""), std::vector<std::string>{});
    EXPECT_EQ(memoryLines("\n"), std::vector<std::string>{""});
}

TEST(LineReader, OverlongLinesAreCutAndTheNextLineIsWhole) {
    // Three megabytes without a break span several buffer fills.
    const std::string longLine(3u << 20, 'A');
    const std::string text = "head\n" + longLine + "\ntail\n" + longLine;
    const std::vector<std::string> expected{"head", std::string(LineReader::kMaxLineLength, 'A'), "tail",
                                            std::string(LineReader::kMaxLineLength, 'A')};
    EXPECT_EQ(fileLines(text), expected);
    EXPECT_EQ(memoryLines(text), expected);
}

TEST(LineReader, LinesAcrossBufferBoundariesStayWhole) {
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; text.size() < (5u << 20); ++i) {
        std::string line = std::to_string(i) + std::string(static_cast<size_t>(i % 157), '-') + "|";
        text += line + (i % 3 == 0 ? "\r\n" : "\n");
        expected.push_back(line);
    }
    const std::vector<std::string> lines = fileLines(text);
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines, expected);
}

TEST(LineReader, MissingFileIsNotOpen) {
    TempDir dir;
    LineReader in(dir.file("missing.out"));
    EXPECT_FALSE(in.isOpen());
    std::string_view line;
    EXPECT_FALSE(in.next(line));
}

TEST(LineReader, CountsLines) {
    auto in = LineReader::fromText("a\nb\nc");
    EXPECT_EQ(linesOf(in).size(), 3u);
    EXPECT_EQ(in.lineNumber(), 3);
}

} // namespace
} // namespace wavra::test
