// Helpers for the window tests: the application object, an install tree
// with engine launchers and example models, the started program with its
// windows and a scripted Ui, and a script of steps that drives the windows
// from inside their own event loops.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control/main_loop.h"
#include "support/test_support.h"
#include "windows/qt_windows.h"

class QAction;
class QWidget;

namespace wavra::test {

// The one QApplication of the test program (offscreen platform).
void ensureApplication();

// A started program: install tree with the shipped files, one launcher per
// engine name, the example models in models/, the settings read, and the
// windows over a scripted Ui.
struct Program {
    InstallTree tree;
    Model model;
    RecordingUi ui;
    std::unique_ptr<QtWindows> windows;

    Program();
    std::string modelPath(const std::string& name) const { return tree.file("models/" + name + ".nec"); }
    // Makes `name` the model named on the command line of a main loop.
    void nameModel(MainLoop& loop, const std::string& name);
    // An executable shell script in the tree; returns its path.
    std::string script(const std::string& relative, const std::string& body);
};

// Steps run one after another from a timer, inside whatever event loop the
// program is waiting in; a step returns false to be asked again later. When
// the steps do not finish in time, open dialogs are closed and Esc is
// posted until the loop ends, and `timedOut` tells.
class Script : public QObject {
public:
    explicit Script(Model& model, int timeoutMs = 90000);
    void add(std::string name, std::function<bool()> step);
    bool done() const { return m_next >= m_steps.size(); }
    bool timedOut() const { return m_timedOut; }
    std::string pending() const;

private:
    Model& m_model;
    std::vector<std::pair<std::string, std::function<bool()>>> m_steps;
    size_t m_next = 0;
    bool m_timedOut = false;
    bool m_inTick = false;
    QTimer m_timer;
    int m_ticks = 0;
    int m_maxTicks;
    void tick();
    void runStep();
};

// The main loop waits for the user: in idleWait, no modal window, nothing posted.
bool loopIsIdle(const QtWindows& windows, const Model& model);
// The modal dialog shown now, when it has this object name.
QWidget* modalDialog(const char* objectName);
// Posts a key as the main window's key handler does.
void pressKey(QtWindows& windows, int16_t code);

// A fixture over the window of one view (`code`, e.g. 115 for the pattern
// window): its menu items and status line, steps run once the view loop
// waits for the user, and the loop run until the script leaves it by Esc.
struct ViewWindowTest : ::testing::Test {
    Program p;
    Script script{p.model};

    explicit ViewWindowTest(int16_t code) : m_code(code) {}
    ViewWindow& viewWindow() { return *p.windows->viewWindow(m_code); }
    // The menu item with this text (a test failure when there is none).
    QAction* action(const char* text);
    QString status();
    void whenIdle(const std::string& name, std::function<void()> step);
    void runView();

private:
    int16_t m_code;
};

} // namespace wavra::test
