// The pattern window on real reports: keys, menus, the pointer, the
// comparison through the open dialog, the picture export, and F4 from the
// main loop after a far-field run.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "gui_test_support.h"
#include "present/pattern_commands.h"
#include "render/pattern_renderer.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "windows/pattern_window.h"

using namespace wavra;
using namespace wavra::test;

namespace {

struct PatternWindowTest : ViewWindowTest {
    PatternWindowTest() : ViewWindowTest(kActionPattern) {
        put("reports/a_dipole.nec2c.out", "a_dipole");
        put("reports/a_dipole.classic.out", "classic");
        p.model.modelName = "a_dipole";
        EXPECT_TRUE(test::readModelReport(p.model, p.ui, ".out"));
    }
    void put(const std::string& source, const std::string& name) {
        std::filesystem::copy_file(fixturePath(source), p.tree.file("out/" + name + ".out"));
    }
    PatternWindow& window() { return static_cast<PatternWindow&>(viewWindow()); }
    const PatternState& state() { return window().patternView().state(); }
};

TEST_F(PatternWindowTest, KeysAndMenusChangeTheViewAndItsCheckMarks) {
    whenIdle("info key", [this] {
        EXPECT_EQ(window().windowTitle(), "Far-field pattern");
        QTest::keyClick(&window(), Qt::Key_I);
    });
    whenIdle("info shown", [this] {
        EXPECT_TRUE(state().view.showInfo);
        EXPECT_TRUE(action("Info                 'I'")->isChecked());
        action("Ver / Hor plane       'Spacebar'")->trigger();
    });
    whenIdle("plane", [this] {
        EXPECT_EQ(state().view.cutPlane, kHorizontalCut);
        EXPECT_FALSE(action("Remove pattern   'Del'")->isEnabled());
        QTest::keyClick(&window(), Qt::Key_PageDown, Qt::ShiftModifier);
    });
    whenIdle("range", [this] {
        EXPECT_EQ(state().window.scale.max, 20); // 10 + one step
        action("Decr. max   'Shift+Pg down'")->trigger();
    });
    whenIdle("range back", [this] {
        EXPECT_EQ(state().window.scale.max, 10);
        action("Structure        'G'")->trigger();
    });
    whenIdle("structure", [this] {
        EXPECT_TRUE(action("Structure        'G'")->isChecked());
        QTest::keyClick(&window(), Qt::Key_Greater, Qt::ShiftModifier);
    });
    whenIdle("quantity", [this] {
        EXPECT_EQ(state().view.patternQuantity, 4);
        // The pointer straight above the centre reads phi 90 of the cut.
        QWidget* canvas = window().centralWidget();
        const QPointF top = PatternLayout(canvas->rect(), 1, kPlotRadius).toPixel(0, 100);
        QTest::mouseMove(canvas, top.toPoint());
        EXPECT_TRUE(status().startsWith(QStringLiteral("Phi: 90 dg   E(theta): "))) << status().toStdString();
    });
    runView();
    // Entering again keeps the cut and the quantity, and starts the scale afresh.
    whenIdle("again", [this] {
        EXPECT_EQ(state().view.cutPlane, kHorizontalCut);
        EXPECT_EQ(state().view.patternQuantity, 4);
        EXPECT_EQ(state().window.scale.min, 0);
    });
    runView();
}

TEST_F(PatternWindowTest, CompareAnotherReportAndExportThePicture) {
    whenIdle("add", [this] {
        p.ui.queueFile(FileChoice{p.tree.file("models/"), "classic", ".nec"});
        action("Add new pattern  'Ins'")->trigger();
    });
    whenIdle("compared", [this] {
        EXPECT_EQ(state().window.compared.size(), 2u);
        EXPECT_TRUE(action("Remove pattern   'Del'")->isEnabled());
        p.ui.queueFile(FileChoice{p.tree.path(), "picture", ".png"});
        action("Export view\u2026")->trigger();
        p.ui.queueFile(FileChoice{p.tree.path(), "picture", ".svg"});
        action("Export view\u2026")->trigger();
        QTest::keyClick(&window(), Qt::Key_Delete);
    });
    whenIdle("removed", [this] {
        EXPECT_TRUE(state().window.compared.empty());
        EXPECT_EQ(readText(p.tree.file("picture.png")).substr(1, 3), "PNG");
        EXPECT_NE(readText(p.tree.file("picture.svg")).find("<svg"), std::string::npos);
        EXPECT_EQ(p.ui.fileRequests().at(1).caption, "Export view");
    });
    runView();
}

} // namespace
