// The near field in the pattern window: keys and the &Near field menu on a
// real nec2c report, the cut-off question, the pointer read-out on the map,
// the hand-over to the geometry view of a grid without a plane to draw, and
// F4 from the main loop after a run of the near-field example.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "base/text.h"
#include "gui_test_support.h"
#include "render/near_field_renderer.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "windows/pattern_window.h"

using namespace wavra;
using namespace wavra::test;

namespace {

struct NearFieldWindowTest : ViewWindowTest {
    NearFieldWindowTest() : ViewWindowTest(kActionPattern) {
        // A 3 x 3 grid in the plane z = 0 around a vertical dipole.
        std::filesystem::copy_file(fixturePath("reports/b_dipole_fr3_ne.nec2c.out"), p.tree.file("out/grid.out"));
        p.model.modelName = "grid";
        EXPECT_TRUE(test::readModelReport(p.model, p.ui, ".out"));
    }
    PatternWindow& window() { return static_cast<PatternWindow&>(viewWindow()); }
    const NearFieldState& state() { return window().nearFieldView().state(); }
    QMenu* menu(const char* title) {
        for (QMenu* m : window().findChildren<QMenu*>())
            if (m->title() == QString::fromUtf8(title)) return m;
        ADD_FAILURE() << "no menu " << title;
        return nullptr;
    }
};

TEST_F(NearFieldWindowTest, KeysAndTheNearFieldMenu) {
    whenIdle("opened", [this] {
        EXPECT_EQ(window().windowTitle(), "Near field");
        EXPECT_TRUE(menu("&Near field")->isEnabled());
        EXPECT_FALSE(menu("&Far field")->isEnabled());
        EXPECT_FALSE(menu("&Compare")->isEnabled());
        EXPECT_EQ(state().plane, kPlaneXY);
        EXPECT_TRUE(state().map2D);
        QTest::keyClick(&window(), Qt::Key_PageDown);
    });
    whenIdle("graph", [this] {
        EXPECT_FALSE(state().map2D);
        action("2D map / graph         'Pg down'")->trigger();
    });
    whenIdle("map again", [this] {
        EXPECT_TRUE(state().map2D);
        QTest::keyClick(&window(), Qt::Key_Up);
    });
    whenIdle("line", [this] {
        EXPECT_EQ(state().position[1], 2);
        action("Prev graph line         'Down'")->trigger();
    });
    whenIdle("line back", [this] {
        EXPECT_EQ(state().position[1], 1);
        QTest::keyClick(&window(), Qt::Key_PageUp, Qt::ControlModifier);
    });
    whenIdle("more log", [this] {
        EXPECT_EQ(state().logFactor, 0.4);
        QTest::keyClick(&window(), Qt::Key_Space);
    });
    whenIdle("plane", [this] {
        EXPECT_EQ(state().plane, kPlaneXZ);
        action("Next plane XY/XZ/YZ  'Spacebar'")->trigger();
    });
    whenIdle("planes", [this] {
        EXPECT_EQ(state().plane, kPlaneYZ);
        // x has three coordinates: Left from the first goes to the last.
        QTest::keyClick(&window(), Qt::Key_Left);
    });
    whenIdle("position", [this] {
        EXPECT_EQ(state().position[0], 3);
        action("Next plane position   'Right'")->trigger();
    });
    whenIdle("wrapped", [this] {
        EXPECT_EQ(state().position[0], 1);
        QTest::keyClick(&window(), Qt::Key_Greater, Qt::ShiftModifier);
    });
    whenIdle("component", [this] {
        EXPECT_EQ(state().component, 1);
        action("Structure        'G'")->trigger();
    });
    whenIdle("structure", [this] {
        EXPECT_TRUE(state().showStructure);
        EXPECT_TRUE(action("Structure        'G'")->isChecked());
        // Half the largest Ex: the hot spot is clipped and the scale turns linear.
        p.ui.queueInput(formatRoundTrip(p.model.summary.nearFieldMax[1] / 2));
        QTest::keyClick(&window(), Qt::Key_Delete);
    });
    whenIdle("cut-off", [this] {
        EXPECT_TRUE(p.ui.saw("Ignore points with field-strength above: "));
        EXPECT_DOUBLE_EQ(state().cutoff, p.model.summary.nearFieldMax[1] / 2);
        EXPECT_EQ(state().logFactor, 0.5);
    });
    runView();
    // Entering again shows the colour map of the plane left.
    whenIdle("again", [this] {
        EXPECT_EQ(state().plane, kPlaneYZ);
        EXPECT_TRUE(state().map2D);
    });
    runView();
}

TEST_F(NearFieldWindowTest, PointerReadsTheCellUnderIt) {
    whenIdle("point", [this] {
        QWidget* canvas = window().centralWidget();
        const NearMap map = nearFieldMap(p.model, p.model, p.model.summary, state(),
                                         planeValues(p.model, p.model, p.model.summary, state()));
        const QPointF centre = NearMapLayout(canvas->rect(), map).toPixel(0, 0);
        QTest::mouseMove(canvas, centre.toPoint());
    });
    whenIdle("read", [this] {
        EXPECT_TRUE(status().startsWith(QStringLiteral("X = 0.0 mtr. ; Y = 0.0 mtr. : "))) << status().toStdString();
        EXPECT_TRUE(status().endsWith(QStringLiteral("[ V/m]"))) << status().toStdString();
    });
    runView();
}

TEST_F(NearFieldWindowTest, AGridOfOnePointHandsOverToTheGeometryView) {
    p.model.requestCount = {0, 1, 1, 1};
    p.model.summary.nearFieldCount = 1;
    ASSERT_TRUE(p.windows->runWindow(kActionPattern, false));
    EXPECT_EQ(p.model.actionCode, kActionGeometry);
    EXPECT_TRUE(p.ui.saw("Unable to display pattern, Start and Stop are equal."));
    EXPECT_FALSE(window().isVisible());
}

struct NearFieldMainLoop : ViewWindowTest {
    NearFieldMainLoop() : ViewWindowTest(kActionPattern) {}
    MainLoop loop{p.model, p.ui, *p.windows};
};

TEST_F(NearFieldMainLoop, F4AfterARunOfTheNearFieldExampleShowsItsLine) {
    p.nameModel(loop, "nearfield");
    whenIdle("calculate", [this] { pressKey(*p.windows, kActionCalculate); });
    script.add("dialog", [] {
        QWidget* dialog = modalDialog("Gen");
        if (!dialog) return false;
        dialog->findChild<QRadioButton*>("OptDef")->click();
        dialog->findChild<QPushButton*>("generate")->click();
        return true;
    });
    whenIdle("F4", [this] {
        EXPECT_EQ(p.model.summary.nearFieldCount, 21);
        pressKey(*p.windows, kActionPattern);
    });
    whenIdle("shown", [this] {
        auto& window = static_cast<PatternWindow&>(viewWindow());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(p.model.currentView, kActionPattern);
        // The line along z: the XY plane holds one point, the view opens on XZ.
        EXPECT_EQ(window.nearFieldView().state().plane, kPlaneXZ);
        EXPECT_TRUE(p.ui.messages().empty());
        p.ui.queueAnswer(Answer::Yes);
        pressKey(*p.windows, kActionEscape);
    });
    loop.run();
    EXPECT_FALSE(script.timedOut()) << "stuck at " << script.pending();
}

} // namespace
