#include "windows/model_file_watch.h"

#include <QTest>

#include "base/files.h"
#include "gui_test_support.h"

namespace wavra::test {
namespace {

// With WATCH off a load does not read the deck; turned on, the next save is
// read and posts the change, although no bytes were known to compare.
TEST(ModelFileWatchTest, ReadsTheDeckOnlyWhileWatchIsOn) {
    ensureApplication();
    TempDir dir;
    const std::string deck = dir.file("dipole.nec");
    writeText(deck, "GW 1 11 0 -5 0 0 5 0 0.001\n");
    Settings settings;
    settings.watchModelFile = 0;
    ViewState view;
    int reads = 0;
    ModelFileWatch watch(
        settings, view, [] { return true; },
        [&reads](const std::string& path) {
            ++reads;
            return fileBytes(path);
        });
    watch.watch(deck);
    EXPECT_EQ(reads, 0);

    settings.watchModelFile = -1;
    writeText(deck, "GW 1 11 0 -4 0 0 4 0 0.001\n");
    EXPECT_TRUE(QTest::qWaitFor([&view] { return view.actionCode == kActionModelChanged; }, 5000));
    EXPECT_GE(reads, 1);

    view.actionCode = 0;
    reads = 0;
    watch.watch(deck); // WATCH on: the bytes loaded are read to compare later saves
    EXPECT_EQ(reads, 1);
}

} // namespace
} // namespace wavra::test
