// The pictures of the program in the README, made from the running program
// after real engine runs of the Yagi: the main window after a far-field
// run, and the program at work (the main window with the pattern, the
// geometry and the sweep views beside it, painted offscreen by their
// renderers). The checks are what the pictures are to show; with
// WAVRA_DOCS_DIR set (scripts/make-docs.sh) they are written there.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cstdlib>

#include "gui_test_support.h"
#include "present/key_names.h"
#include "render/result_view.h"
#include "windows/main_window.h"

using namespace wavra;
using namespace wavra::test;

namespace {

// The three views beside the main window, each this size.
constexpr int kPanel = 390, kGap = 8;

struct DocsPictures : ::testing::Test {
    Program p;
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};
    QImage mainWindow, pattern, geometry, sweep;

    MainWindow& main() { return p.windows->mainWindow(); }
    void whenIdle(std::function<void()> step) {
        script.add("idle", [this, step] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            step();
            return true;
        });
    }
    // F7 with one choice and its ranges filled in.
    void calculate(const char* choice, std::vector<std::pair<const char*, const char*>> fields) {
        whenIdle([this] { pressKey(*p.windows, kActionCalculate); });
        script.add("dialog", [choice, fields] {
            QWidget* dialog = modalDialog("Gen");
            if (!dialog) return false;
            dialog->findChild<QRadioButton*>(choice)->click();
            for (const auto& [name, text] : fields)
                dialog->findChild<QLineEdit*>(name)->setText(QString::fromLatin1(text));
            dialog->findChild<QPushButton*>("generate")->click();
            return true;
        });
    }
    // A view of the model painted after its keys, as --show paints it.
    QImage view(const char* name, std::initializer_list<const char*> keys) {
        auto shown = makeResultView(name, p.model, p.ui);
        shown->open();
        for (const char* key : keys) shown->command(*actionCodeOfKeyName(key));
        QImage image(kPanel, kPanel, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        shown->paint(painter, image.rect());
        return image;
    }
    static void save(const QImage& image, const char* file) {
        if (const char* dir = std::getenv("WAVRA_DOCS_DIR")) {
            EXPECT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/" + file)) << file;
        }
    }
};

} // namespace

TEST_F(DocsPictures, MainWindowAfterAFarFieldRunAndTheProgramAtWork) {
    p.nameModel(loop, "yagi");
    calculate("OptFF", {{"txtXYZ1", "0"},
                        {"txtXYZ2", "180"},
                        {"txtXYZ3", "5"},
                        {"txtXYZ4", "0"},
                        {"txtXYZ5", "355"},
                        {"txtXYZ6", "5"},
                        {"TxtXNDA", "0001"}});
    whenIdle([this] {
        // Results filled in, and nothing left over in the status line.
        for (const char* caption : {"Impedance", "Input power", "Radiated power", "Efficiency", "Average gain"})
            EXPECT_FALSE(main().fieldText(QString::fromLatin1(caption)).isEmpty()) << caption;
        EXPECT_EQ(main().fieldText(QStringLiteral("Filename")), "yagi.out");
        EXPECT_EQ(main().statusCaption(), "");
        EXPECT_EQ(main().calculateHint(), "");
        mainWindow = main().grab().toImage();
        pattern = view("pattern", {"Space", "I"}); // the horizontal cut through the maximum
        geometry = view("geometry", {"M", "Left", "Left", "Left", "Left", "Down", "Down"});
    });
    calculate("OptFR", {{"txtXYZ1", "13.9"}, {"txtXYZ2", "14.5"}, {"txtXYZ3", "0.025"}});
    whenIdle([this] {
        EXPECT_EQ(p.model.freqCount, 25);
        sweep = view("sweep", {"S"});
        p.ui.queueAnswer(Answer::Yes);
        pressKey(*p.windows, kActionEscape);
    });
    loop.run();
    ASSERT_TRUE(script.done()) << "not reached: " << script.pending();
    ASSERT_FALSE(mainWindow.isNull());
    save(mainWindow, "main-window.png");

    const int width = std::max(mainWindow.width(), 3 * kPanel + 2 * kGap) + 2 * kGap;
    QImage atWork(width, mainWindow.height() + kPanel + 3 * kGap, QImage::Format_RGB32);
    atWork.fill(QColor(0xdd, 0xe2, 0xea));
    QPainter painter(&atWork);
    painter.drawImage(kGap, kGap, mainWindow);
    const int top = mainWindow.height() + 2 * kGap;
    const std::array panels{pattern, geometry, sweep};
    for (int k = 0; k < 3; ++k) painter.drawImage(kGap + k * (kPanel + kGap), top, panels[static_cast<size_t>(k)]);
    painter.end();
    // The panels hold pictures, not blank paper: each has dark pixels.
    for (const QImage* panel : {&pattern, &geometry, &sweep}) {
        int dark = 0;
        for (int y = 0; y < panel->height(); y += 2)
            for (int x = 0; x < panel->width(); x += 2) dark += qGray(panel->pixel(x, y)) < 100;
        EXPECT_GT(dark, 200);
    }
    save(atWork, "at-work.png");
}
