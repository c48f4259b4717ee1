// The geometry window in the running program on real reports of nec2c (run
// through the staged launcher): keys, menus, mouse, the wire dialog with
// its save back into the deck, and the picture export.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include "base/files.h"
#include "engine/calculate.h"
#include "gui_test_support.h"
#include "present/geometry_marks.h"
#include "windows/geometry_window.h"

using namespace wavra;
using namespace wavra::test;

namespace {

struct GeometryWindowTest : ::testing::Test {
    Program p;
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};

    GeometryWindow& window() { return *static_cast<GeometryWindow*>(p.windows->viewWindow(kActionGeometry)); }
    GeometryView& view() { return window().geometryView(); }
    const GeometryViewState& state() { return view().controller().state(); }
    QWidget& canvas() { return *window().centralWidget(); }

    // The far-field report of the Yagi, made by nec2c before the program
    // starts; the first pass of the loop then reads it.
    void yagiReport() {
        p.nameModel(loop, "yagi");
        p.model.calcKind = kCalcFarField;
        p.model.calcRange = {0, 180, 10, 0, 350, 10, 0, 0, 0};
        ASSERT_EQ(calculate(p.model, p.ui, p.windows->processRunner(), {}), EngineStatus::Finished);
        ASSERT_TRUE(pathExists(p.tree.file("out/yagi.out")));
    }
    // A step once the geometry view waits for the user.
    void step(const std::string& name, std::function<void()> action) {
        script.add(name, [this, action] {
            if (!loopIsIdle(*p.windows, p.model) || p.model.currentView != kActionGeometry) return false;
            action();
            return true;
        });
    }
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        step("key", [this, qtKey, modifiers] { QTest::keyClick(&window(), static_cast<Qt::Key>(qtKey), modifiers); });
    }
    void menu(int16_t code, bool nearField = false) {
        step("menu", [this, code, nearField] { window().commandAction(code, nearField)->trigger(); });
    }
    // The canvas pixel of a model point.
    QPoint pixelOf(double x, double y, double z) {
        const QRect r = canvas().rect();
        const DrawingFrame f = drawingFrame(state(), r.left(), r.top(), r.width(), r.height());
        const Projection pr = modelProjection(state());
        return QPoint(static_cast<int>(std::lround(f.pixelX(pr.x(x, y)))),
                      static_cast<int>(std::lround(f.pixelY(pr.y(x, y, z)))));
    }
    // A point of the view's plane in metres, and back to its pixel.
    QPointF underPointer;
    DrawingFrame frame() {
        const QRect r = canvas().rect();
        return drawingFrame(state(), r.left(), r.top(), r.width(), r.height());
    }
    QPointF planePointAt(QPointF pixel) {
        const double metres = state().geometryScale / state().viewSize;
        return {frame().drawingX(pixel.x()) * metres, frame().drawingY(pixel.y()) * metres};
    }
    QPointF pixelOfPlanePoint(QPointF point) {
        const double units = state().viewSize / state().geometryScale;
        return {frame().pixelX(point.x() * units), frame().pixelY(point.y() * units)};
    }
    QPoint midpointOf(int row) {
        const Model& m = p.model;
        return pixelOf((m.wireX1[row] + m.wireX2[row]) / 2, (m.wireY1[row] + m.wireY2[row]) / 2,
                       (m.wireZ1[row] + m.wireZ2[row]) / 2);
    }
    void quit(std::vector<Answer> answers) {
        step("quit", [this, answers] {
            for (Answer a : answers) p.ui.queueAnswer(a);
            QTest::keyClick(&window(), Qt::Key_Escape);
        });
    }
    void run() {
        loop.run();
        std::string shown;
        for (const auto& m : p.ui.messages()) shown += "\n  " + m;
        EXPECT_FALSE(script.timedOut()) << "stuck at " << script.pending() << "; messages:" << shown;
        EXPECT_TRUE(script.done()) << "not reached: " << script.pending();
    }
};

TEST_F(GeometryWindowTest, KeysMenusAndMouseOnTheYagiReport) {
    yagiReport();
    step("shown", [this] {
        EXPECT_TRUE(window().isVisible());
        EXPECT_EQ(window().windowTitle(), "Geometry");
        EXPECT_EQ(p.model.wireCount, 33);
        EXPECT_TRUE(showsReportSegments(p.model));
        EXPECT_EQ(state().viewElevation, 80);
        EXPECT_TRUE(window().commandAction('O')->isChecked());
    });
    key(Qt::Key_Up);
    key(Qt::Key_Right);
    key(Qt::Key_PageUp);
    step("turned", [this] {
        EXPECT_EQ(state().viewElevation, 85);
        EXPECT_EQ(state().viewAzimuth, 275);
        EXPECT_EQ(state().geometryScale, 5);
    });
    menu('C');
    menu('R');
    key(Qt::Key_M);
    key(Qt::Key_Space);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    step("pattern and bars", [this] {
        EXPECT_TRUE(state().showCurrent);
        EXPECT_TRUE(window().commandAction('C')->isChecked());
        EXPECT_TRUE(state().showPattern);
        EXPECT_TRUE(state().multiColour);
        EXPECT_EQ(state().gridType, 2);
        EXPECT_EQ(state().lineStep, 2);
        EXPECT_FALSE(window().commandAction(32, true)->isEnabled()); // no near field
    });
    key(Qt::Key_Right, Qt::AltModifier);
    step("read-out", [this] {
        EXPECT_EQ(state().selectedSegment, 1);
        const std::string text = view().describe()["current"];
        EXPECT_EQ(text.rfind("Seg: 1, Tag: 1, Curr: ", 0), 0u) << text;
        EXPECT_NE(text.find(" amp @ "), std::string::npos);
    });
    key(Qt::Key_X);
    step("cartesian", [this] {
        const std::string text = view().describe()["current"];
        EXPECT_NE(text.find(" j "), std::string::npos) << text;
    });
    step("click", [this] { QTest::mouseClick(&canvas(), Qt::LeftButton, {}, midpointOf(17)); });
    step("picked", [this] {
        EXPECT_EQ(state().selectedSegment, 17);
        EXPECT_EQ(p.model.wireTag[17], 2);
        EXPECT_FALSE(window().wireDialog().isVisible()); // segments of a report are not edited
    });
    step("press", [this] { QTest::mousePress(&canvas(), Qt::LeftButton, {}, QPoint(100, 100)); });
    for (int x : {104, 112, 120}) step("drag", [this, x] { QTest::mouseMove(&canvas(), QPoint(x, 100)); });
    step("release", [this] { QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, QPoint(120, 100)); });
    step("dragged", [this] {
        EXPECT_EQ(state().viewAzimuth, 265);    // two 5-degree steps to the right
        EXPECT_EQ(state().selectedSegment, 17); // a drag is no click
        underPointer = planePointAt(QPointF(60, 50));
        QWheelEvent wheel(QPointF(60, 50), canvas().mapToGlobal(QPointF(60, 50)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas(), &wheel);
    });
    // Pattern shown: the wheel still zooms, about the pointer: the point of
    // the model under it stays there (to the rounding of the shift to whole
    // drawing units).
    step("wheel", [this] {
        EXPECT_EQ(state().geometryScale, 2);
        const QPointF now = pixelOfPlanePoint(underPointer);
        EXPECT_NEAR(now.x(), 60, 2);
        EXPECT_NEAR(now.y(), 50, 2);
    });
    step("no render", [this] { p.ui.queueAnswer(Answer::No); });
    key(Qt::Key_G, Qt::ShiftModifier);
    step("pov", [this] {
        const std::string written = "POV-Ray scene written: " + p.tree.file("pov/yagi.pov");
        EXPECT_EQ(view().statusText(), written);
        EXPECT_NE(window().statusBar()->findChild<QLabel*>()->text().indexOf(QString::fromStdString(written)), -1);
        EXPECT_TRUE(pathExists(p.tree.file("pov/yagi.pov")));
    });
    key(Qt::Key_V);
    key(Qt::Key_Home);
    step("home", [this] {
        EXPECT_TRUE(p.ui.saw("Optimizer log " + p.model.modelDir + "Optimizer.log not found."));
        EXPECT_EQ(state().geometryScale, 10);
        EXPECT_FALSE(state().showPattern);
    });
    quit({Answer::Yes});
    run();
}

TEST_F(GeometryWindowTest, WireDialogChangesTheDeckAndTheSaveKeepsABackup) {
    p.nameModel(loop, "yagi"); // no report: the deck's wires
    const std::string deck = readText(p.modelPath("yagi"));
    step("pick", [this] {
        ASSERT_FALSE(showsReportSegments(p.model));
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, midpointOf(2));
    });
    step("dialog", [this] {
        WireDialog& d = window().wireDialog();
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.windowTitle(), "Wire geometry");
        EXPECT_EQ(d.findChild<QLineEdit*>("Tagn")->text(), "2");
        d.findChild<QLineEdit*>("Y1")->setText(QStringLiteral("-6"));
        d.findChild<QPushButton*>("OK")->click();
    });
    step("applied", [this] {
        EXPECT_EQ(p.model.wireY1[2], -6);
        EXPECT_NE(p.model.inputModified, 0);
        EXPECT_EQ(state().selectedSegment, 0);
    });
    // Leaving the view offers the save; Cancel comes back with the change.
    quit({Answer::Cancel});
    step("back", [this] { EXPECT_EQ(p.model.wireY1[2], -6); });
    quit({Answer::Yes, Answer::Yes, Answer::Yes}); // save, lose the symbols, exit
    run();
    EXPECT_TRUE(p.ui.saw("Wire geometry modified, save changes ? "));
    EXPECT_EQ(readText(p.tree.file("models/yagi.bak")), deck);
    const std::string saved = readText(p.modelPath("yagi"));
    EXPECT_NE(saved.find("GW\t2\t11\t0.0\t-6.0\t0.0\t0.0\t"), std::string::npos) << saved;
    EXPECT_NE(saved.find("GW 1 11 -sp1 -ref/2 0 -sp1 ref/2 0 r\n"), std::string::npos); // untouched
    EXPECT_NE(saved.find("SY drv=0.473 lam"), std::string::npos);
}

// Away from the picture the status line ends with the view's main keys;
// over it the line is the view's own.
TEST_F(GeometryWindowTest, StatusLineHintsTheKeysWhileThePointerIsOffThePicture) {
    p.nameModel(loop, "yagi");
    auto statusText = [this] { return window().statusBar()->findChild<QLabel*>()->text(); };
    step("away", [this, statusText] {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&canvas(), &leave);
        EXPECT_TRUE(statusText().startsWith(QStringLiteral("Keys: arrows turn"))) << statusText().toStdString();
    });
    key(Qt::Key_C); // the deck has no currents: the view says so, the keys follow
    step("message and hint", [statusText] {
        EXPECT_TRUE(statusText().startsWith(QStringLiteral("The input file has no currents")))
            << statusText().toStdString();
        EXPECT_TRUE(statusText().endsWith(QStringLiteral("Home reset")));
    });
    step("over", [this, statusText] {
        QTest::mouseMove(&canvas(), QPoint(40, 40));
        QEnterEvent enter(QPointF(40, 40), QPointF(40, 40), canvas().mapToGlobal(QPointF(40, 40)));
        QApplication::sendEvent(&canvas(), &enter);
        EXPECT_EQ(statusText().indexOf(QStringLiteral("Keys:")), -1) << statusText().toStdString();
    });
    quit({Answer::Yes});
    run();
}

TEST_F(GeometryWindowTest, WireDialogKeysStayInTheFieldsButEscAndFunctionKeysLeave) {
    p.nameModel(loop, "yagi");
    auto field = [this](const char* name) { return window().wireDialog().findChild<QLineEdit*>(name); };
    step("pick", [this] { QTest::mouseClick(&canvas(), Qt::LeftButton, {}, midpointOf(1)); });
    step("escape", [this, field] {
        ASSERT_TRUE(window().wireDialog().isVisible());
        QTest::keyClicks(field("X1"), QStringLiteral("12")); // digits are typing, not checks '1' and '2'
        EXPECT_EQ(state().validationMode, 0);
        QTest::keyClick(field("X1"), Qt::Key_Escape);
    });
    step("cancelled", [this] {
        EXPECT_FALSE(window().wireDialog().isVisible());
        EXPECT_EQ(state().selectedSegment, 0);
        EXPECT_EQ(p.model.inputModified, 0);
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, midpointOf(3));
    });
    step("function key", [this, field] {
        ASSERT_TRUE(window().wireDialog().isVisible());
        EXPECT_EQ(field("Tagn")->text(), "3");
        QTest::keyClick(field("Zang"), Qt::Key_F2);
    });
    script.add("main window", [this] {
        if (!loopIsIdle(*p.windows, p.model) || p.model.currentView != kActionMainWindow) return false;
        EXPECT_FALSE(window().wireDialog().isVisible());
        p.ui.queueAnswer(Answer::Yes);
        pressKey(*p.windows, kActionEscape);
        return true;
    });
    run();
    EXPECT_FALSE(p.ui.saw("Wire geometry modified, save changes ? "));
}

TEST_F(GeometryWindowTest, ExportWritesTheViewAsPngAndSvg) {
    yagiReport();
    const std::string png = p.tree.file("view.png"), svg = p.tree.file("view.svg");
    step("export", [this, png, svg] {
        p.ui.queueFile(splitPath(png));
        p.ui.queueFile(splitPath(svg));
        p.ui.queueFile(splitPath(p.tree.file("view.txt")));
        QMenu* file = window().menuBar()->actions().front()->menu();
        for (int k = 0; k < 3; ++k) file->actions().front()->trigger();
    });
    quit({Answer::Yes});
    run();
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png)));
    EXPECT_GT(image.width(), 300);
    EXPECT_NE(readText(svg).find("<svg"), std::string::npos);
    EXPECT_TRUE(p.ui.saw("Export view: " + p.tree.file("view.txt") + " is neither a .png nor an .svg file."));
    EXPECT_EQ(p.ui.fileRequests().front().caption, "Export view");
}

// Shift+R with the pattern of the report, answered Yes: povray renders the
// scene (the real one) and the picture opens in its window and as pov/yagi.png.
TEST_F(GeometryWindowTest, ShiftRRendersThePatternIntoAPictureWindow) {
    yagiReport();
    step("render", [this] {
        p.ui.queueAnswer(Answer::Yes);
        QTest::keyClick(&window(), Qt::Key_R, Qt::ShiftModifier);
    });
    script.add("picture", [this] {
        const PovPictureWindow& shown = window().povPictureWindow();
        if (!loopIsIdle(*p.windows, p.model) || !shown.isVisible()) return false;
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("POV-Ray - yagi.png"));
        EXPECT_EQ(shown.picture().pixmap().size(), QSize(800, 600));
        return true;
    });
    quit({Answer::Yes});
    run();
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(p.tree.file("pov/yagi.png"))));
    EXPECT_NE(readText(p.tree.file("pov/yagi.pov")).find("mesh {"), std::string::npos);
}

TEST_F(GeometryWindowTest, BackgroundRefreshTakesTheNewModel) {
    yagiReport();
    p.model.currentView = kActionMainWindow;
    script.add("main window", [this] {
        if (!loopIsIdle(*p.windows, p.model)) return false;
        // Drawn once after the load although the main window is shown.
        EXPECT_EQ(state().loadSerial, p.model.loadSerial);
        EXPECT_EQ(state().geometryScale, 10);
        pressKey(*p.windows, kActionGeometry);
        return true;
    });
    step("geometry", [this] { EXPECT_TRUE(window().isVisible()); });
    quit({Answer::Yes});
    run();
}

} // namespace
