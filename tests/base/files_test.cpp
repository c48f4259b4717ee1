#include "base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace wavra {
namespace {

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// The same bytes leave the file itself in place (no new inode from a
// rename); other bytes, or no file yet, are written.
TEST(Files, WriteUnlessSameReplacesOnlyChangedFiles) {
    test::TempDir dir;
    const std::string path = dir.file("deck.inp");
    std::string reason;
    ASSERT_TRUE(writeFileUnlessSame(path, "GW 1 11\n", reason)) << reason;
    const ino_t first = inodeOf(path);
    ASSERT_TRUE(writeFileUnlessSame(path, "GW 1 11\n", reason)) << reason;
    EXPECT_EQ(inodeOf(path), first);
    ASSERT_TRUE(writeFileUnlessSame(path, "GW 1 21\n", reason)) << reason;
    EXPECT_NE(inodeOf(path), first);
    EXPECT_EQ(test::readText(path), "GW 1 21\n");
}

} // namespace
} // namespace wavra
