#include <gtest/gtest.h>

#include <filesystem>

#include "view_test_support.h"
#include "viewer/label_file.h"
#include "viewer/viewer.h"

using namespace wavra::view;
using namespace wavra::view::test;
namespace fs = std::filesystem;

namespace {

class ViewerRules : public ::testing::Test {
protected:
    void SetUp() override {
        settings.pictureDir = tree.path();
        itsHf = tree.path() + "ItsHF/";
        plotDir = itsHf + "areadata/wavra/";
        makeRunnable(itsHf + "bin_win/worldwin");
        // The plot program copies its map to the clipboard, 20 + n pixels
        // wide for map n.
        runner.onRun = [this](const Command& command) {
            const std::string& file = command.args.at(2);
            media.clipboard = fakePicture(20 + std::stoi(file.substr(file.size() - 6, 2)));
        };
    }

    void openFile(const std::string& path) {
        ui.files.push_back(path);
        viewer.openNewPicture();
    }
    void paste(int times) {
        for (int n = 0; n < times; ++n) {
            media.clipboard = fakePicture(n + 1);
            viewer.pasteFromClipboard();
        }
    }

    TempDir tree;
    std::string itsHf, plotDir;
    ViewSettings settings;
    ScriptedUi ui;
    FakeMedia media;
    RecordingRunner runner;
    Viewer viewer{settings, ui, media, runner};
};

Command plotRun(const std::string& itsHf, const std::string& file) {
    return Command{itsHf + "bin_win/worldwin", {itsHf + "run", "AREADATA", "wavra/" + file, "s"}};
}

} // namespace

TEST_F(ViewerRules, APlotSeriesRunsThePlotProgramOncePerFile) {
    for (int n = 5; n <= 8; ++n) touch(plotDir + "map0" + std::to_string(n) + ".ig1");
    writeText(plotDir + "map06.txt", "Yagi at 14.2 MHz\nsecond line\n");
    openFile(plotDir + "map05.ig1");
    EXPECT_EQ(ui.prompts, std::vector<std::string>{"Viewer|Enter number of picture to load|4"});
    ASSERT_EQ(runner.commands.size(), 4u);
    for (size_t n = 5; n <= 8; ++n)
        EXPECT_EQ(runner.commands[n - 5], plotRun(itsHf, "map0" + std::to_string(n) + ".ig1"));
    EXPECT_EQ(media.clears, 4) << "the clipboard is cleared before each run";
    EXPECT_EQ(ui.shown, (std::vector<std::string>{"Use Alt+T, Alt+X to copy image to clipboard and exit AreaPlot.",
                                                  "4 pictures pasted."}));
    const PictureStore& store = viewer.store();
    EXPECT_EQ(store.current(), 1);
    EXPECT_EQ(store.occupiedCount(), 4);
    EXPECT_EQ(store.slot(3).picture->width(), 27);
    EXPECT_EQ(store.slot(3).sourceName, plotDir + "map07.ig1");
    EXPECT_EQ(store.slot(2).label, "Yagi at 14.2 MHz");
    EXPECT_EQ(viewer.caption(), "Picture 1 : " + plotDir + "map05.ig1");
    EXPECT_EQ(settings.pictureDir, plotDir);
    EXPECT_EQ(settings.extension, ".ig1");
}

TEST_F(ViewerRules, TheCountAnsweredLimitsTheSeries) {
    for (int n = 5; n <= 8; ++n) touch(plotDir + "map0" + std::to_string(n) + ".rg1");
    ui.inputs = {"2", "9", "0", std::nullopt, "many"};
    openFile(plotDir + "map05.rg1");
    EXPECT_EQ(runner.commands.size(), 2u);
    openFile(plotDir + "map05.rg1"); // more than exist: those that exist
    EXPECT_EQ(runner.commands.size(), 6u);
    for (int k = 0; k < 3; ++k) openFile(plotDir + "map07.rg1"); // 0, cancelled, not a number
    EXPECT_EQ(runner.commands.size(), 6u);
    EXPECT_EQ(viewer.store().occupiedCount(), 6);
}

TEST_F(ViewerRules, PlotFilesOutsideAnAreadataDirectoryAreRefusedBeforeAnythingRuns) {
    for (const std::string& dir : {tree.path() + "ItsHF/saved/", tree.path() + "ItsHF/myareadata/x/"}) {
        touch(dir + "map05.vg1");
        touch(dir + "map06.vg1");
        ui.shown.clear();
        openFile(dir + "map05.vg1");
        EXPECT_EQ(ui.shown, std::vector<std::string>{"*.vg1 file not located in correct ItsHF sub-directory."});
    }
    EXPECT_TRUE(runner.commands.empty());
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(viewer.store().occupiedCount(), 0);
    // The directory name is found in any case, and the package's own case is kept.
    touch(tree.path() + "Pkg/AreaData/sub/one.ig1");
    makeRunnable(tree.path() + "Pkg/bin_win/worldwin");
    runner.onRun = [this](const Command&) { media.clipboard = fakePicture(3); };
    openFile(tree.path() + "Pkg/AreaData/sub/one.ig1");
    ASSERT_EQ(runner.commands.size(), 1u);
    EXPECT_EQ(runner.commands[0].args,
              (std::vector<std::string>{tree.path() + "Pkg/run", "AREADATA", "sub/one.ig1", "s"}));
}

TEST_F(ViewerRules, ACaptureStopsAtTheFirstFileWithoutAPictureOrProgram) {
    for (int n = 0; n <= 3; ++n) touch(plotDir + "cov0" + std::to_string(n) + ".ig1");
    runner.onRun = [this](const Command& command) {
        if (command.args[2].find("cov02") == std::string::npos) media.clipboard = fakePicture(5);
    };
    openFile(plotDir + "cov00.ig1");
    EXPECT_EQ(runner.commands.size(), 3u);
    EXPECT_EQ(viewer.store().occupiedCount(), 2);
    EXPECT_EQ(ui.shown.at(1), "No picture on the clipboard for '" + plotDir + "cov02.ig1'.");
    EXPECT_EQ(ui.shown.at(2), "2 pictures pasted.");

    ui.shown.clear();
    settings.plotProgram = "/nonexistent/plot";
    openFile(plotDir + "cov03.ig1");
    EXPECT_EQ(runner.commands.size(), 3u);
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Plot program '/nonexistent/plot' not found.\nSet PLOTPRG in "
                                                 "exe/view.ini to the ItsHF plot program."});
    ui.shown.clear();
    settings.plotProgram = "bin_win/worldwin";
    runner.starts = false;
    openFile(plotDir + "cov03.ig1");
    EXPECT_EQ(ui.shown.back(), "Plot program '" + itsHf + "bin_win/worldwin' could not be started.");
    EXPECT_EQ(viewer.store().occupiedCount(), 2);
}

TEST_F(ViewerRules, PictureFilesLoadAsASeriesWithTheirLabels) {
    for (size_t n = 10; n <= 12; ++n)
        writeText(tree.path() + "pics/yagi" + std::to_string(n) + ".bmp", std::string(n, 'x'));
    writeText(tree.path() + "pics/yagi11.txt", "second");
    writeText(tree.path() + "pics/yagi12.bmp", "bad");
    touch(tree.path() + "pics/yagi14.bmp"); // after a gap: not part of the series
    openFile(tree.path() + "pics/yagi10.bmp");
    EXPECT_EQ(ui.prompts, std::vector<std::string>{"Viewer|Enter number of picture to load|3"});
    EXPECT_EQ(viewer.store().occupiedCount(), 2);
    EXPECT_EQ(viewer.store().slot(2).label, "second");
    EXPECT_EQ(ui.shown,
              std::vector<std::string>{"Picture file '" + tree.path() + "pics/yagi12.bmp' could not be read."});
    EXPECT_TRUE(runner.commands.empty());
    EXPECT_EQ(ui.requests.at(0).caption, "Open file");
    EXPECT_EQ(ui.requests.at(0).label, "Filetype");
    EXPECT_EQ(ui.requests.at(0).patterns.at(0), "*.bmp");

    ui.shown.clear();
    touch(tree.path() + "pics/notes.jpg");
    openFile(tree.path() + "pics/notes.jpg");
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Only *.bmp, *.png, *.ig1, *.rg1 or *.vg1 files supported"});
    openFile(tree.path() + "pics/single.png");
    EXPECT_EQ(ui.shown.back(), "'" + tree.path() + "pics/single.png' not found.");
}

TEST_F(ViewerRules, TheTwentyFirstPictureIsRefused) {
    paste(20);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(viewer.store().current(), 20);
    paste(1);
    viewer.openNewPicture();
    EXPECT_EQ(ui.shown, std::vector<std::string>(2, "Max number of picture reached."));
    EXPECT_TRUE(ui.requests.empty()) << "no file dialog when every slot is taken";
    EXPECT_EQ(viewer.store().occupiedCount(), 20);

    // A series that meets the limit stops there.
    viewer.showSlot(3);
    viewer.removeCurrent();
    viewer.showSlot(9);
    viewer.removeCurrent();
    ui.shown.clear();
    for (int n = 0; n <= 2; ++n) touch(tree.path() + "s0" + std::to_string(n) + ".bmp");
    openFile(tree.path() + "s00.bmp");
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Max number of picture reached."});
    EXPECT_EQ(viewer.store().slot(3).sourceName, tree.path() + "s00.bmp");
    EXPECT_EQ(viewer.store().slot(9).sourceName, tree.path() + "s01.bmp");
    EXPECT_EQ(viewer.store().current(), 3);
}

TEST_F(ViewerRules, PastingWithoutAPictureOnTheClipboardSaysSo) {
    viewer.pasteFromClipboard();
    EXPECT_EQ(ui.shown, std::vector<std::string>{"The clipboard holds no picture."});
    EXPECT_EQ(viewer.store().current(), 0);
}

TEST_F(ViewerRules, NavigationStaysAtTheEndsAndSkipsEmptySlots) {
    paste(4);
    viewer.showSlot(2);
    viewer.removeCurrent();
    EXPECT_EQ(viewer.store().current(), 3) << "the next occupied slot above";
    EXPECT_TRUE(viewer.showNext());
    EXPECT_FALSE(viewer.showNext());
    EXPECT_EQ(viewer.store().current(), 4);
    viewer.removeCurrent();
    EXPECT_EQ(viewer.store().current(), 3) << "none above: the one below";
    EXPECT_TRUE(viewer.showPrevious());
    EXPECT_EQ(viewer.store().current(), 1);
    EXPECT_FALSE(viewer.showPrevious());
    EXPECT_FALSE(viewer.showSlot(5));
    EXPECT_FALSE(viewer.showSlot(21));
    EXPECT_EQ(viewer.store().current(), 1);
    ui.inputs = {"3", "2"};
    EXPECT_TRUE(viewer.askSlotToShow());
    EXPECT_FALSE(viewer.askSlotToShow());
    EXPECT_EQ(viewer.store().current(), 3);
    EXPECT_EQ(ui.prompts.at(0), "Viewer|Picture to view : |1");
    viewer.removeCurrent();
    viewer.removeCurrent();
    EXPECT_EQ(viewer.store().current(), 0);
    EXPECT_EQ(viewer.caption(), "Viewer");
    viewer.removeCurrent(); // nothing shown: nothing happens
    EXPECT_EQ(viewer.store().occupiedCount(), 0);
}

TEST_F(ViewerRules, ExitWithTwoPastedPicturesAsksTwiceAndCancelKeepsItOpen) {
    paste(2);
    ui.answers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(viewer.confirmExit());
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"Pic01 not saved as bitmap, save it now ?",
                                                      "Pic02 not saved as bitmap, save it now ?"}));
    ui.answers = {Answer::No, Answer::No};
    EXPECT_TRUE(viewer.confirmExit());
    EXPECT_TRUE(ui.requests.empty());
}

TEST_F(ViewerRules, LabelEditsMarkPicturesChangedExceptPlotCaptures) {
    writeText(tree.path() + "a.bmp", "pixels");
    touch(plotDir + "m.ig1");
    openFile(tree.path() + "a.bmp");
    viewer.editLabel("");
    EXPECT_EQ(viewer.store().slot(1).sourceName, tree.path() + "a.bmp") << "an unchanged label changes nothing";
    viewer.editLabel("40 m band");
    EXPECT_EQ(viewer.store().slot(1).sourceName, tree.path() + "a.bm?");
    EXPECT_EQ(viewer.caption(), "Picture 1 : " + tree.path() + "a.bm?");
    runner.onRun = [this](const Command&) { media.clipboard = fakePicture(7); };
    openFile(plotDir + "m.ig1");
    viewer.editLabel("capture");
    EXPECT_EQ(viewer.store().slot(2).sourceName, plotDir + "m.ig1");
    EXPECT_EQ(viewer.store().slot(2).label, "capture");
    ui.answers = {Answer::No, Answer::No};
    EXPECT_TRUE(viewer.confirmExit());
    EXPECT_EQ(ui.questions, (std::vector<std::string>{tree.path() + "a.bm? changed, save changes ?",
                                                      plotDir + "m.ig1 not saved as bitmap, save it now ?"}));
}

TEST_F(ViewerRules, SavingANumberedNameWritesTheFollowingPicturesAndOneLabel) {
    paste(3);
    viewer.showSlot(1);
    ui.files = {tree.path() + "out/cov10"};
    fs::create_directories(tree.path() + "out");
    ui.inputs = {"3", "Area coverage"};
    ASSERT_TRUE(viewer.saveCurrent());
    EXPECT_EQ(ui.prompts, (std::vector<std::string>{"Viewer|Number of picture to save|3",
                                                    "Viewer|Label to save with these file(s):|"}));
    for (int n = 0; n < 3; ++n) {
        const std::string file = tree.path() + "out/cov1" + std::to_string(n) + ".bmp";
        EXPECT_EQ(readText(file), "picture " + std::to_string(n + 1) + "x10");
        EXPECT_EQ(readText(labelPath(file)), "Area coverage\n");
        EXPECT_EQ(viewer.store().slot(n + 1).sourceName, file);
    }
    EXPECT_EQ(ui.requests.at(0).caption, "Save file (as)");
    EXPECT_EQ(ui.requests.at(0).button, "Save");
    EXPECT_EQ(ui.requests.at(0).label, "Filename");
    EXPECT_EQ(settings.pictureDir, tree.path() + "out/");
    EXPECT_TRUE(viewer.confirmExit()) << "nothing is left unsaved";
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(ViewerRules, SavingOnExitKeepsOwnLabelsAndAFailedWriteKeepsTheProgramOpen) {
    paste(2);
    viewer.showSlot(2);
    viewer.editLabel("second");
    ui.answers = {Answer::Yes, Answer::Yes};
    ui.files = {tree.path() + "first.png", tree.path() + "missing/second"};
    EXPECT_FALSE(viewer.confirmExit());
    EXPECT_EQ(readText(tree.path() + "first.png"), "picture 1x10");
    EXPECT_EQ(readText(tree.path() + "first.txt"), "\n");
    EXPECT_EQ(ui.shown.back(), "Picture file '" + tree.path() + "missing/second.bmp' could not be written.");
    EXPECT_EQ(viewer.store().current(), 2);
    EXPECT_EQ(ui.questions.at(1), "Pic02 changed, save changes ?");
    EXPECT_EQ(ui.requests.at(1).name, "") << "a pasted picture suggests no name";
    ui.answers = {Answer::Yes};
    ui.files = {tree.path() + "second.bmp"};
    EXPECT_TRUE(viewer.confirmExit());
    EXPECT_EQ(readText(tree.path() + "second.txt"), "second\n");
    ui.files.clear();
    paste(1);
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(viewer.confirmExit()) << "a cancelled save dialog cancels the exit";
}
