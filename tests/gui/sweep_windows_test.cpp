// The frequency sweep and Smith chart windows in the main loop, on the real
// nec2c report of an 11-step frequency loop (13.5 to 14.5 MHz, one far-field
// direction): keys, menus, mouse, export, printing, and the pictures the
// renderers paint where the arithmetic puts the curves and points.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <filesystem>

#include "core/reflection.h"
#include "export/sweep_files.h"
#include "gui_test_support.h"
#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "windows/smith_window.h"
#include "windows/sweep_window.h"

using namespace wavra;
using namespace wavra::test;
namespace fs = std::filesystem;

namespace {

struct SweepWindowsTest : ::testing::Test {
    Program p;
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};

    SweepWindowsTest() {
        fs::copy_file(fixturePath("reports/g_loop_direction.nec"), p.modelPath("loop"));
        fs::copy_file(fixturePath("reports/g_loop_direction.nec2c.out"), p.tree.file("out/loop.out"));
    }

    SweepWindow& sweep() { return *dynamic_cast<SweepWindow*>(p.windows->viewWindow(kActionSweep)); }
    SmithWindow& smith() { return *dynamic_cast<SmithWindow*>(p.windows->viewWindow(kActionSmith)); }

    // Runs `step` once the program waits for the user.
    void whenIdle(std::string name, std::function<void()> step) {
        script.add(std::move(name), [this, step] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            step();
            return true;
        });
    }
    void press(int16_t code) {
        whenIdle("press " + std::to_string(code), [this, code] { pressKey(*p.windows, code); });
    }
    void key(QWidget& w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&w, k, mods); }
    static QAction* menuItem(QWidget& w, const QString& caption) {
        for (QAction* a : w.findChildren<QAction*>())
            if (a->text() == caption) return a;
        ADD_FAILURE() << "no menu item " << caption.toStdString();
        static QAction none;
        return &none;
    }
    static void moveMouse(QWidget& canvas, QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
    }
    void quit() {
        whenIdle("quit", [this] {
            p.ui.queueAnswer(Answer::Yes);
            pressKey(*p.windows, kActionEscape);
        });
    }
    void run() {
        p.nameModel(loop, "loop");
        loop.run();
        std::string shown;
        for (const auto& m : p.ui.messages()) shown += "\n  " + m;
        EXPECT_FALSE(script.timedOut()) << "stuck at " << script.pending() << "; messages:" << shown;
    }
};

QImage picture(const ResultView& view, int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.paint(painter, QRect(0, 0, w, h));
    return image;
}

// True when a pixel of this colour lies within `radius` pixels of (x, y).
bool colourNear(const QImage& image, double x, double y, QColor colour, int radius = 3) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint at(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
            if (image.rect().contains(at) && image.pixelColor(at) == colour) return true;
        }
    return false;
}

} // namespace

TEST_F(SweepWindowsTest, SweepGraphsKeysMenusMouseAndExport) {
    whenIdle("background draw", [this] {
        // The load drew the sweep in the background: page 2, fresh scales.
        const SweepState& s = sweep().sweepView().state();
        EXPECT_EQ(p.model.freqCount, 11);
        EXPECT_TRUE(s.scaled);
        EXPECT_EQ(s.loadSerial, p.model.loadSerial);
        EXPECT_EQ(s.page, kPageMatch);
        EXPECT_FALSE(sweep().isVisible());
    });
    press(kActionSweep);
    whenIdle("keys", [this] {
        ASSERT_TRUE(sweep().isVisible());
        key(sweep(), Qt::Key_I);
    });
    whenIdle("page 1 and Tab", [this] {
        EXPECT_EQ(sweep().sweepView().state().page, kPageImpedance);
        EXPECT_TRUE(menuItem(sweep(), QStringLiteral("Impedance plot    'I'"))->isChecked());
        key(sweep(), Qt::Key_Tab);
    });
    whenIdle("zoom from the menu", [this] {
        EXPECT_EQ(sweep().sweepView().state().activePane, kPaneUpper);
        menuItem(sweep(), QStringLiteral("Zoom in      'Pg up'"))->trigger();
    });
    whenIdle("grid", [this] {
        const SweepState& s = sweep().sweepView().state();
        const SweepScale r = s.scales[static_cast<size_t>(SweepQuantity::Resistance)];
        const SweepScale z = s.scales[static_cast<size_t>(SweepQuantity::Impedance)];
        SweepState fresh;
        rescaleSweep(p.model, fresh);
        EXPECT_EQ(r.lo, fresh.scales[static_cast<size_t>(SweepQuantity::Resistance)].lo + r.step);
        EXPECT_EQ(z, fresh.scales[static_cast<size_t>(SweepQuantity::Impedance)]); // the lower pane stays
        menuItem(sweep(), QStringLiteral("Resistance grid    'R'"))->trigger();
    });
    whenIdle("mouse", [this] {
        EXPECT_TRUE(sweep().sweepView().state().grid[0]);
        EXPECT_TRUE(menuItem(sweep(), QStringLiteral("Resistance grid    'R'"))->isChecked());
        QWidget& canvas = *sweep().centralWidget();
        const SweepLayout l = sweepLayout(canvas.width(), canvas.height());
        moveMouse(canvas, QPointF(l.panes[0].left + 1, l.panes[0].top + 10));
    });
    whenIdle("read-out", [this] {
        const std::string status = sweep().sweepView().statusText();
        EXPECT_EQ(status.rfind("13.500 Mhz:  R " + formatPicture(p.model.sweepR[1], "##0.00") + " ohm, X ", 0), 0u)
            << status;
        EXPECT_NE(status.find("|  Z "), std::string::npos);
        // Focus coming back (the window's own code) keeps the grid.
        pressKey(*p.windows, kActionSweep);
    });
    whenIdle("export", [this] {
        EXPECT_TRUE(sweep().sweepView().state().grid[0]);
        p.ui.queueFile(FileChoice{p.tree.path(), "loop", ""});
        menuItem(sweep(), QStringLiteral("Export sweep...   (Ctrl+E)"))->trigger();
    });
    whenIdle("gain page", [this] {
        EXPECT_EQ(readText(p.tree.file("loop.s1p")), touchstoneText(p.model));
        key(sweep(), Qt::Key_G);
    });
    whenIdle("home", [this] {
        EXPECT_EQ(sweep().sweepView().describe().count("message"), 0u);
        EXPECT_EQ(sweep().sweepView().describe()["panes"][0]["curves"][0]["title"], "Tot. gain [dB]; The= 90; Phi= 0");
        key(sweep(), Qt::Key_Home);
    });
    whenIdle("curve pixels", [this] {
        // After Home: page 2, and the SWR curve goes through the points the
        // arithmetic gives.
        const SweepState& s = sweep().sweepView().state();
        EXPECT_EQ(s.page, kPageMatch);
        const QImage image = picture(sweep().view(), 800, 600);
        const SweepLayout l = sweepLayout(800, 600);
        const SweepScale f = frequencyAxis(s);
        const SweepScale swr = s.scales[static_cast<size_t>(SweepQuantity::Swr)];
        for (int step : {1, 6, 11}) {
            const double x = l.panes[0].left + scaleFraction(f, p.model.sweepFreq[step]) * l.panes[0].width;
            const double v = std::min(swrShown(p.model.sweepR[step], p.model.sweepX[step], 50), kSwrDrawLimit);
            const double y = l.panes[0].bottom() - scaleFraction(swr, v) * l.panes[0].height;
            EXPECT_TRUE(colourNear(image, x, y, QColor(0, 0, 255))) << "step " << step << " at " << x << "," << y;
        }
        // Leaving for the main window and coming back switches the grids off.
        pressKey(*p.windows, kActionMainWindow);
    });
    press(kActionSweep);
    whenIdle("grids off", [this] {
        EXPECT_FALSE(sweep().sweepView().state().grid[0]);
        EXPECT_FALSE(menuItem(sweep(), QStringLiteral("Resistance grid    'R'"))->isChecked());
    });
    quit();
    run();
}

TEST_F(SweepWindowsTest, CtrlLLoadsAMeasurementDrawnOverTheCurvesAndReadOut) {
    press(kActionSweep);
    whenIdle("load", [this] {
        // The loop's own sweep as the measurement: it lies on the model.
        std::string error;
        ASSERT_TRUE(writeSweepFile(p.model, p.tree.file("measured.s1p"), SweepFileFormat::Touchstone, error));
        p.ui.queueFile(FileChoice{p.tree.path(), "measured", ".s1p"});
        key(sweep(), Qt::Key_L, Qt::ControlModifier);
    });
    whenIdle("curve and read-out", [this] {
        ASSERT_EQ(p.model.measured.points.size(), 11u);
        const SweepState& s = sweep().sweepView().state();
        EXPECT_EQ(s.measuredSerial, p.model.measuredSerial);
        // Drawn over the model's SWR curve in its own colour.
        const QImage image = picture(sweep().view(), 800, 600);
        const SweepLayout l = sweepLayout(800, 600);
        const double x = l.panes[0].left + scaleFraction(frequencyAxis(s), p.model.sweepFreq[6]) * l.panes[0].width;
        const double v = std::min(swrShown(p.model.sweepR[6], p.model.sweepX[6], 50), kSwrDrawLimit);
        const double y = l.panes[0].bottom() -
                         scaleFraction(s.scales[static_cast<size_t>(SweepQuantity::Swr)], v) * l.panes[0].height;
        EXPECT_TRUE(colourNear(image, x, y, QColor(kMeasuredColour.r, kMeasuredColour.g, kMeasuredColour.b)));
        QWidget& canvas = *sweep().centralWidget();
        const SweepLayout shown = sweepLayout(canvas.width(), canvas.height());
        moveMouse(canvas, QPointF(shown.panes[0].left + 1, shown.panes[0].top + 10));
    });
    whenIdle("read-out", [this] {
        const std::string status = sweep().sweepView().statusText();
        const std::string swr = formatPicture(swrShown(p.model.sweepR[1], p.model.sweepX[1], 50), "##0.00");
        EXPECT_EQ(status.rfind("13.500 Mhz:  SWR " + swr + " (measured " + swr + ")", 0), 0u) << status;
        key(sweep(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    });
    whenIdle("unloaded", [this] {
        EXPECT_FALSE(p.model.measured.loaded());
        EXPECT_EQ(sweep().sweepView().statusText().find("measured"), std::string::npos);
    });
    quit();
    run();
}

// The pointer marks its step across both panes and reads both out; K keeps
// the loop shown for comparison, Shift+K clears the kept loops.
TEST_F(SweepWindowsTest, PointerLineAndKeptLoops) {
    press(kActionSweep);
    whenIdle("pointer", [this] {
        QWidget& canvas = *sweep().centralWidget();
        const SweepLayout l = sweepLayout(canvas.width(), canvas.height());
        const double x =
            l.panes[1].left +
            scaleFraction(frequencyAxis(sweep().sweepView().state()), p.model.sweepFreq[6]) * l.panes[1].width;
        moveMouse(canvas, QPointF(x, l.panes[1].top + 5));
    });
    whenIdle("line and keep", [this] {
        EXPECT_EQ(sweep().sweepView().state().pointerStep, 6);
        const std::string status = sweep().sweepView().statusText();
        EXPECT_EQ(status.rfind("14.000 Mhz:  SWR ", 0), 0u) << status;
        EXPECT_NE(status.find("|  Refl coef "), std::string::npos) << status;
        key(sweep(), Qt::Key_K);
    });
    whenIdle("kept", [this] {
        ASSERT_EQ(p.model.keptSweeps.size(), 1u);
        EXPECT_EQ(p.model.keptSweeps[0].label.rfind("loop ", 0), 0u);
        EXPECT_EQ(sweep().sweepView().describe()["kept"][0]["steps"].size(), 11u);
        key(sweep(), Qt::Key_K, Qt::ShiftModifier);
    });
    whenIdle("cleared", [this] { EXPECT_TRUE(p.model.keptSweeps.empty()); });
    quit();
    run();
}

TEST_F(SweepWindowsTest, SmithChartKeysMenusMousePrintAndEscape) {
    const std::string pdf = p.tree.file("chart.pdf");
    press(kActionSmith);
    whenIdle("chart", [this] {
        ASSERT_TRUE(smith().isVisible());
        EXPECT_EQ(smith().windowTitle(), "Smith Chart");
        EXPECT_EQ(smith().smithView().chart().grid.size(), 46u);
        EXPECT_EQ(smith().smithView().describe()["pointCount"], 11);
        key(smith(), Qt::Key_Right);
    });
    whenIdle("cursor", [this] {
        const auto readout = smith().smithView().describe()["readout"];
        EXPECT_EQ(readout[0], "Freq : 13.500 Mhz");
        EXPECT_EQ(readout[1], "Imp. : " + formatComplex(p.model.sweepR[1], p.model.sweepX[1], "ohm", 7, true));
        menuItem(smith(), QStringLiteral("Cartesian not.   (X)"))->trigger();
    });
    whenIdle("line step", [this] {
        EXPECT_EQ(p.model.complexNotation, -1);
        EXPECT_FALSE(menuItem(smith(), QStringLiteral("Cartesian not.   (X)"))->isChecked());
        key(smith(), Qt::Key_Left, Qt::ShiftModifier);
    });
    whenIdle("normalised", [this] { key(smith(), Qt::Key_Home); });
    whenIdle("coarse grid", [this] {
        EXPECT_EQ(smith().smithView().state().lineStep, 99);
        EXPECT_EQ(smith().smithView().state().normalise, 1);
        EXPECT_TRUE(menuItem(smith(), QStringLiteral("Normalized        [Home]"))->isChecked());
        key(smith(), Qt::Key_G);
    });
    whenIdle("insert", [this] {
        EXPECT_EQ(p.model.smithMode, 1);
        EXPECT_EQ(smith().smithView().chart().grid.size(), 8u);
        EXPECT_TRUE(menuItem(smith(), QStringLiteral("Coarse grid       (G)"))->isChecked());
        p.ui.queueInput("50");
        p.ui.queueInput("0");
        key(smith(), Qt::Key_Insert);
    });
    whenIdle("picture and mouse", [this] {
        const SmithState& s = smith().smithView().state();
        EXPECT_EQ(s.added, 1);
        EXPECT_EQ(s.cursor, 12);
        // The added 50 ohm point sits at the centre of the chart, in light red.
        const QImage image = picture(smith().view(), 600, 780);
        const ChartFrame f = chartFrame(600, 780);
        EXPECT_TRUE(colourNear(image, f.px({0.01, 0}), f.py({0, 0}), QColor(255, 0, 0), 2));
        QWidget& canvas = *smith().centralWidget();
        const ChartFrame onScreen = chartFrame(canvas.width(), canvas.height());
        moveMouse(canvas, QPointF(onScreen.px({0, 0}), onScreen.py({0, 0})));
    });
    whenIdle("delete", [this] {
        const auto readout = smith().smithView().describe()["readout"];
        EXPECT_EQ(readout.back().get<std::string>().substr(0, 6), "Mouse ");
        key(smith(), Qt::Key_Delete);
    });
    whenIdle("print", [this, pdf] {
        smith().printToFile(QString::fromStdString(pdf));
        menuItem(smith(), QStringLiteral("Print chart   (Ctrl+P)"))->trigger();
    });
    whenIdle("missing chart file", [this, pdf] {
        EXPECT_EQ(smith().smithView().state().added, 0);
        EXPECT_EQ(readText(pdf).substr(0, 5), "%PDF-");
        EXPECT_GT(fs::file_size(pdf), 2000u);
        fs::remove(p.tree.file("exe/smith.dat"));
        key(smith(), Qt::Key_G);
    });
    whenIdle("escape", [this] {
        EXPECT_TRUE(p.ui.saw("Smith-chart initialisation file exe/smith.dat not found."));
        EXPECT_TRUE(smith().smithView().chart().grid.empty());
        EXPECT_EQ(smith().smithView().describe()["pointCount"], 11); // the points are still plotted
        key(smith(), Qt::Key_Escape);
    });
    whenIdle("handed to the geometry view", [this] {
        // Esc in the Smith chart goes to the geometry view, not to the exit question.
        EXPECT_FALSE(p.ui.saw("Do you want to exit wavra ?"));
        EXPECT_NE(p.model.currentView, kActionSmith);
    });
    quit();
    run();
}
