// The plot-program capture with a real program and the real clipboard. The
// test process runs offscreen, where each process has its own clipboard, so
// the stand-in plot program leaves its picture in a file and the runner
// below carries it onto this process's clipboard once the program has ended,
// as a desktop clipboard keeps a picture after the program that copied it
// has gone. Everything else is the viewer's own: the process start with an
// argument list, the clipboard clear before each run and the read after it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <filesystem>

#include "view_test_support.h"
#include "viewer/image_media.h"
#include "viewer/program_runner.h"
#include "viewer/viewer.h"

using namespace wavra::view;
using namespace wavra::view::test;
namespace fs = std::filesystem;

namespace {

class DesktopClipboard : public ProgramRunner {
public:
    explicit DesktopClipboard(std::string pictureFile) : m_file(std::move(pictureFile)) {}
    bool run(const Command& command) override {
        const bool started = m_process.run(command);
        if (fs::exists(m_file)) {
            QGuiApplication::clipboard()->setImage(QImage(QString::fromStdString(m_file)));
            fs::remove(m_file);
        }
        return started;
    }

private:
    QtProgramRunner m_process;
    std::string m_file;
};

class PlotCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        // A package directory whose name a shell would split and run.
        itsHf = tree.path() + "It s;HF/";
        plotDir = itsHf + "areadata/sub dir/";
        fs::create_directories(itsHf + "bin_win");
        fs::create_symlink(VIEW_PLOT_STANDIN, itsHf + "bin_win/worldwin");
        for (int n = 5; n <= 8; ++n) touch(plotDir + "map0" + std::to_string(n) + ".ig1");
        qputenv("VIEW_STANDIN_LOG", QByteArray::fromStdString(tree.path() + "commands.log"));
        qputenv("VIEW_STANDIN_PICTURE", QByteArray::fromStdString(tree.path() + "copied.ppm"));
        qputenv("VIEW_STANDIN_SKIP", "");
        settings.pictureDir = tree.path();
    }

    int width(int slot) const { return viewer.store().slot(slot).picture->width(); }

    TempDir tree;
    std::string itsHf, plotDir;
    ViewSettings settings;
    ScriptedUi ui;
    ImageMedia media;
    DesktopClipboard desktop{tree.path() + "copied.ppm"};
    Viewer viewer{settings, ui, media, desktop};
};

} // namespace

TEST_F(PlotCapture, EachFileOfTheSeriesIsPlottedAndTakenFromTheClipboard) {
    ui.files = {plotDir + "map05.ig1"};
    viewer.openNewPicture();
    std::string expected;
    for (int n = 5; n <= 8; ++n) expected += itsHf + "run|AREADATA|sub dir/map0" + std::to_string(n) + ".ig1|s\n";
    EXPECT_EQ(readText(tree.path() + "commands.log"), expected);
    ASSERT_EQ(viewer.store().occupiedCount(), 4);
    for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(width(slot), 14 + slot);
    EXPECT_EQ(imageOf(*viewer.store().slot(1).picture).pixelColor(1, 0), QColor(1, 0x40, 0x80));
    EXPECT_EQ(ui.shown.back(), "4 pictures pasted.");
}

TEST_F(PlotCapture, APlotNotCopiedStopsTheSeriesInsteadOfTakingTheOldPicture) {
    QGuiApplication::clipboard()->setImage(QImage(99, 9, QImage::Format_RGB32));
    qputenv("VIEW_STANDIN_SKIP", "map07");
    ui.files = {plotDir + "map05.ig1"};
    viewer.openNewPicture();
    ASSERT_EQ(viewer.store().occupiedCount(), 2);
    EXPECT_EQ(width(1), 15);
    EXPECT_EQ(width(2), 16);
    EXPECT_EQ(ui.shown.at(1), "No picture on the clipboard for '" + plotDir + "map07.ig1'.");
    EXPECT_EQ(ui.shown.at(2), "2 pictures pasted.");
}

TEST(ProcessRun, ReportsAProgramThatCannotStartAndWaitsForOneThatEnds) {
    ensureApplication();
    QtProgramRunner runner;
    EXPECT_FALSE(runner.run(Command{"/nonexistent/plot", {"x"}}));
    TempDir tree;
    const std::string marker = tree.path() + "ran";
    EXPECT_TRUE(runner.run(Command{"/bin/sh", {"-c", "sleep 0.2; echo done > \"$0\"; exit 3", marker}}));
    EXPECT_EQ(readText(marker), "done\n") << "returns only after the program has ended";
}

TEST(ImageFiles, SaveAndLoadBitmapsAndPngWithoutLeavingTemporaryFiles) {
    ensureApplication();
    TempDir tree;
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    image.setPixelColor(3, 4, QColor(250, 0, 5));
    ImageMedia media;
    const ImagePicture picture(image);
    for (const char* name : {"map.bmp", "map.PNG"}) {
        const std::string path = tree.path() + name;
        ASSERT_TRUE(media.save(picture, path)) << name;
        const PicturePtr back = media.load(path);
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(imageOf(*back).convertToFormat(QImage::Format_RGB32), image) << name;
    }
    EXPECT_EQ(readText(tree.path() + "map.bmp").substr(0, 2), "BM");
    EXPECT_EQ(readText(tree.path() + "map.PNG").substr(1, 3), "PNG");
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.path()), fs::directory_iterator()), 2);
    EXPECT_FALSE(media.save(picture, tree.path() + "missing/map.bmp"));
    EXPECT_FALSE(media.save(FakePicture(3, 3), tree.path() + "fake.bmp"));
}

TEST(ImageFiles, DamagedOrOversizedPictureFilesAreRefused) {
    ensureApplication();
    TempDir tree;
    ImageMedia media;
    writeText(tree.path() + "text.bmp", "BM this is not a picture");
    // A bitmap header that claims 60000 x 60000 pixels of 24 bits.
    std::string huge = "BM";
    huge += std::string("\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00", 16);
    huge += std::string("\x60\xea\x00\x00\x60\xea\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00", 16);
    huge += std::string(20, '\0');
    writeText(tree.path() + "huge.bmp", huge);
    writeText(tree.path() + "empty.png", "");
    for (const char* name : {"text.bmp", "huge.bmp", "empty.png", "absent.bmp"})
        EXPECT_FALSE(media.load(tree.path() + name)) << name;
}
