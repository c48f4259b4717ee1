// A file is hashed as its bytes would be: the run record of a report keys
// on the engine programs, so reading them in blocks must not change a key,
// and a changed program must change it.
#include <gtest/gtest.h>

#include <string>

#include "engine/content_hash.h"
#include "support/test_support.h"

namespace wavra {
namespace {

std::string hexOfFile(const std::string& path) {
    ContentHash hash;
    hash.addFile(path);
    return hash.hex();
}

std::string hexOfContent(const std::string& bytes) {
    ContentHash hash;
    hash.addContent(bytes);
    return hash.hex();
}

TEST(ContentHash, FileHashesAsItsBytesOverSeveralBlocksAndAMissingFileAsItsMark) {
    test::TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < 200000; ++i) bytes += std::to_string(i * 7919) + (i % 13 == 0 ? '\0' : '\n');
    const std::string path = dir.file("engine");
    test::writeText(path, bytes);
    EXPECT_EQ(hexOfFile(path), hexOfContent(bytes));
    bytes[123457] ^= 0x40; // one bit in the middle of a block
    EXPECT_NE(hexOfContent(bytes), hexOfFile(path));
    test::writeText(path, bytes.substr(0, 65541)); // a block and a tail that is no whole word
    EXPECT_EQ(hexOfFile(path), hexOfContent(bytes.substr(0, 65541)));
    test::writeText(path, "");
    EXPECT_EQ(hexOfFile(path), hexOfContent(""));
    EXPECT_EQ(hexOfFile(dir.file("gone")), hashOf("missing " + dir.file("gone")));
    EXPECT_EQ(hexOfFile(dir.path()), hashOf("missing " + dir.path())); // a folder is no program
}

} // namespace
} // namespace wavra
