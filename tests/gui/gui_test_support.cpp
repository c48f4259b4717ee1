#include "gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "control/startup.h"
#include "engine/engine_choice.h"
#include "windows/main_window.h"
#include "windows/view_window.h"

namespace fs = std::filesystem;

namespace wavra::test {

void ensureApplication() {
    if (QApplication::instance()) return;
    // Also under the comma locale, whose run sets LC_ALL as its one variable.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down in the exit handlers, after the
    // test framework has finished, crashes in the input-device registry.
    new QApplication(argc, argv);
}

Program::Program() {
    ensureApplication();
    for (const std::string& engine : engineNames()) fs::create_symlink("wavra.sh", tree.file("exe/" + engine));
    fs::permissions(tree.file("exe/wavra.sh"), fs::perms::owner_all, fs::perm_options::add);
    fs::create_directories(tree.file("models"));
    for (const char* name : {"dipole", "yagi", "vertical", "phased", "nearfield"})
        fs::copy_file(sourcePath(std::string("examples/") + name + ".nec"), modelPath(name));
    startUp(model, ui, tree.file("exe/wavra"));
    windows = std::make_unique<QtWindows>(model, ui);
}

void Program::nameModel(MainLoop& loop, const std::string& name) {
    takeModelName(model, modelPath(name), tree.path());
    loop.setPendingModel();
}

std::string Program::script(const std::string& relative, const std::string& body) {
    const std::string path = tree.file(relative);
    writeText(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

Script::Script(Model& model, int timeoutMs) : m_model(model), m_maxTicks(timeoutMs / 10) {
    connect(&m_timer, &QTimer::timeout, this, &Script::tick);
    m_timer.start(10);
}

void Script::add(std::string name, std::function<bool()> step) {
    m_steps.emplace_back(std::move(name), std::move(step));
}

std::string Script::pending() const { return done() ? std::string() : m_steps[m_next].first; }

void Script::tick() {
    if (m_inTick) return; // a step that waits in an event loop is not asked again meanwhile
    m_inTick = true;
    runStep();
    m_inTick = false;
}

void Script::runStep() {
    if (++m_ticks > m_maxTicks) {
        m_timedOut = true;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        m_model.actionCode = kActionEscape;
        return;
    }
    if (!done() && m_steps[m_next].second()) ++m_next;
}

bool loopIsIdle(const QtWindows& windows, const Model& model) {
    return windows.waitingForUser() && model.actionCode == 0 && !QApplication::activeModalWidget();
}

QWidget* modalDialog(const char* objectName) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->objectName() == QLatin1String(objectName) ? modal : nullptr;
}

void pressKey(QtWindows& windows, int16_t code) { windows.mainWindow().postKey(code); }

QAction* ViewWindowTest::action(const char* text) {
    for (QAction* a : viewWindow().findChildren<QAction*>())
        if (a->text() == QString::fromUtf8(text)) return a;
    ADD_FAILURE() << "no menu item " << text;
    return nullptr;
}

QString ViewWindowTest::status() { return viewWindow().statusBar()->findChild<QLabel*>()->text(); }

void ViewWindowTest::whenIdle(const std::string& name, std::function<void()> step) {
    script.add(name, [this, step] {
        if (!loopIsIdle(*p.windows, p.model)) return false;
        step();
        return true;
    });
}

void ViewWindowTest::runView() {
    whenIdle("leave", [this] { QTest::keyClick(&viewWindow(), Qt::Key_Escape); });
    ASSERT_TRUE(p.windows->runWindow(m_code, false));
    EXPECT_FALSE(script.timedOut()) << "stuck at " << script.pending();
    EXPECT_EQ(p.model.actionCode, kActionEscape);
}

} // namespace wavra::test
