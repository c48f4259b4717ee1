#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>

#include "qtbase/help_browser.h"
#include "view_test_support.h"
#include "viewer/image_media.h"
#include "viewer/viewer_window.h"

using namespace wavra::view;
using namespace wavra::view::test;
namespace fs = std::filesystem;

namespace {

const QString kShow = QStringLiteral("Show picture                ('1' .. '9')");
const QString kPaste = QStringLiteral("Paste from clipboard");
const QString kSave = QStringLiteral("&Save picture(s) as");

class ViewerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeText(install.path() + "exe/view.ini", "DSPDIR=\t' last directory\nDSPEXT=.bmp\n");
        fs::copy_file(VIEW_SOURCE_DIR "/exe/view_help.html", install.path() + "exe/view_help.html");
        settings.pictureDir = install.path();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Picture files pics/p01.bmp ... of the given sizes.
    void writePictures(const std::vector<QSize>& sizes) {
        fs::create_directories(install.path() + "pics");
        for (size_t n = 0; n < sizes.size(); ++n) {
            QImage image(sizes[n], QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            image.save(QString::fromStdString(picture(static_cast<int>(n) + 1)), "BMP");
        }
    }
    std::string picture(int n) const { return install.path() + "pics/p" + twoDigitName(n) + ".bmp"; }
    static std::string twoDigitName(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

    void key(Qt::Key k) { QTest::keyClick(&window, k); }
    int current() const { return viewer.store().current(); }
    void pasteTwo() {
        for (int n = 0; n < 2; ++n) {
            QGuiApplication::clipboard()->setImage(QImage(50 + n, 40, QImage::Format_RGB32));
            window.menuItem(kPaste)->trigger();
        }
    }

    WithApplication application;
    TempDir install;
    ViewSettings settings;
    ScriptedUi ui;
    ImageMedia media;
    RecordingRunner runner;
    Viewer viewer{settings, ui, media, runner};
    ViewerWindow window{viewer, ui, wavra::portablePlaces(install.path())};
};

} // namespace

TEST_F(ViewerWindowTest, KeysMoveBetweenPicturesAndLeaveEmptySlotsAsTheyAre) {
    writePictures({{200, 100}, {300, 150}, {120, 80}});
    writeText(install.path() + "pics/p02.txt", "Second map");
    ui.files = {picture(1)};
    key(Qt::Key_Insert);
    EXPECT_EQ(ui.prompts, std::vector<std::string>{"Viewer|Enter number of picture to load|3"});
    EXPECT_EQ(window.windowTitle().toStdString(), "Picture 1 : " + picture(1));
    EXPECT_EQ(window.pictureBox()->pixmap().size(), QSize(200, 100));
    key(Qt::Key_Right);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(window.labelBox()->text(), "Second map");
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(current(), 3) << "the last picture stays";
    key(Qt::Key_Left);
    EXPECT_EQ(current(), 2);
    key(Qt::Key_F5);
    EXPECT_EQ(current(), 2) << "slot 5 is empty";
    key(Qt::Key_3);
    EXPECT_EQ(current(), 3);
    EXPECT_EQ(window.labelBox()->text(), "");
    key(Qt::Key_F1);
    EXPECT_EQ(current(), 1);
    ui.inputs = {"2"};
    window.menuItem(kShow)->trigger();
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(ui.prompts.back(), "Viewer|Picture to view : |1");
}

TEST_F(ViewerWindowTest, TheWindowIsSizedToThePictureAndCentred) {
    writePictures({{300, 150}});
    ui.files = {picture(1)};
    key(Qt::Key_Insert);
    EXPECT_EQ(window.pictureBox()->size(), QSize(300, 150));
    EXPECT_GE(window.height(), 150 + window.labelBox()->height());
    EXPECT_LE(window.height(), 150 + window.labelBox()->height() + 80);
    const QPoint screenCentre = window.screen()->availableGeometry().center();
    EXPECT_LE((window.frameGeometry().center() - screenCentre).manhattanLength(), 2);
}

TEST_F(ViewerWindowTest, TypingALabelKeepsItsKeysAndMarksThePictureChanged) {
    writePictures({{40, 30}, {40, 30}});
    ui.files = {picture(1)};
    key(Qt::Key_Insert);
    window.labelBox()->setFocus();
    QTest::keyClicks(window.labelBox(), "Band 2");
    QTest::keyClick(window.labelBox(), Qt::Key_Left);
    QTest::keyClick(window.labelBox(), Qt::Key_Delete);
    EXPECT_EQ(current(), 1) << "digits, arrows and Delete edit the label";
    EXPECT_EQ(viewer.store().slot(1).label, "Band ");
    EXPECT_EQ(window.windowTitle().toStdString(), "Picture 1 : " + install.path() + "pics/p01.bm?");
    QTest::keyClick(window.labelBox(), Qt::Key_Return);
    key(Qt::Key_2);
    EXPECT_EQ(current(), 2);
}

// The empty window says how pictures come in; a picture takes its place.
TEST_F(ViewerWindowTest, DeletingTheOnlyPictureLeavesAnEmptyWindow) {
    EXPECT_TRUE(window.emptyHint()->isVisible());
    EXPECT_NE(window.emptyHint()->text().indexOf(QStringLiteral("Insert")), -1);
    EXPECT_NE(window.emptyHint()->text().indexOf(QStringLiteral("Paste from clipboard")), -1);
    QGuiApplication::clipboard()->setImage(QImage(64, 48, QImage::Format_RGB32));
    window.menuItem(kPaste)->trigger();
    EXPECT_EQ(window.windowTitle(), "Picture 1 : From clipboard.");
    EXPECT_FALSE(window.emptyHint()->isVisible());
    EXPECT_TRUE(window.labelBox()->isVisible());
    EXPECT_TRUE(window.menuItem(kSave)->isEnabled());
    key(Qt::Key_Delete);
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(window.windowTitle(), "Viewer");
    EXPECT_FALSE(window.labelBox()->isVisible());
    EXPECT_FALSE(window.pictureBox()->isVisible());
    EXPECT_FALSE(window.menuItem(kSave)->isEnabled());
    EXPECT_TRUE(window.emptyHint()->isVisible());
}

TEST_F(ViewerWindowTest, ExitAsksForEachUnsavedPictureAndThenRewritesTheSettings) {
    pasteTwo();
    ui.answers = {Answer::No, Answer::Cancel};
    key(Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(readText(install.path() + "exe/view.ini"), "DSPDIR=\t' last directory\nDSPEXT=.bmp\n");

    ui.answers = {Answer::Yes, Answer::No};
    ui.files = {install.path() + "kept.png"};
    window.menuItem(QStringLiteral("&Exit                                         (Esc)"))->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(media.load(install.path() + "kept.png")->width(), 50);
    EXPECT_EQ(readText(install.path() + "exe/view.ini"),
              "DSPDIR=" + install.path() + "\t' last directory\nDSPEXT=.png\n");
}

TEST_F(ViewerWindowTest, HelpShowsTheShippedPageOrSaysItIsMissing) {
    window.menuItem(QStringLiteral("&Help"))->trigger();
    ASSERT_NE(window.helpWindow(), nullptr);
    EXPECT_TRUE(window.helpWindow()->isVisible());
    EXPECT_TRUE(window.helpWindow()->toPlainText().contains("coverage picture viewer"));
    fs::remove(install.path() + "exe/view_help.html");
    TempDir other;
    ViewerWindow bare(viewer, ui, wavra::portablePlaces(other.path()));
    bare.menuItem(QStringLiteral("&Help"))->trigger();
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Help file 'exe/view_help.html' not found."});
}
