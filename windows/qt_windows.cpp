#include "windows/qt_windows.h"

#include <QApplication>
#include <QEventLoop>

#include "qtbase/qt_text.h"
#include "windows/calc_dialog.h"
#include "windows/card_editor_window.h"
#include "windows/help_window.h"
#include "windows/main_window.h"
#include "windows/model_file_watch.h"
#include "windows/optimizer_window.h"
#include "windows/status_window.h"
#include "windows/view_window.h"

namespace wavra {

QtWindows::QtWindows(Model& model, Ui& ui) : m_model(model), m_ui(ui), m_main(std::make_unique<MainWindow>(model, ui)) {
    auto post = [this](int16_t code) { m_main->postKey(code); };
    m_status = std::make_unique<StatusWindow>(m_main.get());
    m_help = std::make_unique<HelpWindow>(post);
    m_about = std::make_unique<AboutWindow>(post, m_main.get());
    m_watch = std::make_unique<ModelFileWatch>(model, model, [this] { return m_waiting; });
}

void QtWindows::watchModelFile(const std::string& path) { m_watch->watch(path); }

QtWindows::~QtWindows() {
    setBusy(false);
    // The dialogs parented to the main window go before it.
    m_about.reset();
    m_views.clear();
    m_status.reset();
    m_help.reset();
    m_main.reset();
}

void QtWindows::idleWait() {
    if (m_model.actionCode < 0) {
        m_model.actionCode = kActionEscape;
        return;
    }
    m_model.actionCode = 0;
    m_waiting = true;
    while (m_model.actionCode == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_waiting = false;
}

void QtWindows::processEvents() { QCoreApplication::processEvents(); }

void QtWindows::setBusy(bool busy) {
    if (busy == m_busy) return;
    m_busy = busy;
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

void QtWindows::setStatusCaption(const std::string& text) { m_main->setStatusCaption(q(text)); }

void QtWindows::showMainWindow() {
    m_main->refresh();
    m_main->show();
    m_main->raise();
    m_main->activateWindow();
}

void QtWindows::hideResultWindows() {
    m_about->hide();
    for (auto& [code, window] : m_views)
        if (code != kActionGeometry) window->hide();
}

ViewWindow* QtWindows::viewWindow(int16_t code) {
    auto it = m_views.find(code);
    if (it == m_views.end()) {
        auto window = makeViewWindow(code, m_model, m_ui, nullptr);
        if (!window) return nullptr;
        it = m_views.emplace(code, std::move(window)).first;
    }
    return it->second.get();
}

// The view loop: draw, wait for a code, let the view act on it, draw again,
// until a code belongs to the main loop; that code stays in actionCode. With
// `once` the view takes the new model and redraws where it is shown.
bool QtWindows::runWindow(int16_t code, bool once) {
    if (code == kActionEditInput) {
        // The card editor is modal and holds nothing between two uses.
        CardEditorWindow editor(m_model, m_ui, m_main.get());
        editor.run();
        return true;
    }
    if (code == kActionOptimizer) {
        // The optimizer is modal and owns the engine runs while it is open.
        OptimizerWindow optimizer(m_model, m_ui, m_runner, m_main.get());
        optimizer.run();
        return true;
    }
    ViewWindow* window = viewWindow(code);
    if (!window) return false;
    window->view().open();
    window->refresh();
    if (once) return true;
    // A view can hand over as it opens (a near field with nothing to draw
    // asks for the geometry view): its code goes to the main loop.
    if (m_model.actionCode != code && returnsToMainLoop(m_model.actionCode)) return true;
    window->show();
    window->raise();
    window->activateWindow();
    window->setLoopRunning(true);
    for (;;) {
        idleWait();
        const int16_t posted = m_model.actionCode;
        if (returnsToMainLoop(posted) || !window->view().command(posted)) break;
        window->refresh();
    }
    window->setLoopRunning(false);
    return true;
}

void QtWindows::showAbout() {
    m_about->show();
    m_about->raise();
}

void QtWindows::showHelpPage(const std::string& path) {
    m_help->showPage(QString::fromStdString(path));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void QtWindows::runCalcDialog() {
    CalcDialog dialog(m_model, m_ui, m_main.get());
    dialog.run();
}

void QtWindows::openStatus() {
    m_status->clear();
    m_status->show();
    m_status->raise();
    processEvents();
}

void QtWindows::addStatusLine(const std::string& line) {
    m_status->addLine(q(line));
    processEvents();
}

void QtWindows::showProgress(int percent) {
    m_status->setProgress(percent);
    processEvents();
}

void QtWindows::showProgressText(const std::string& text) {
    m_status->setProgressText(q(text));
    processEvents();
}

bool QtWindows::cancelPressed() { return m_status->cancelPressed(); }

void QtWindows::closeStatus() { m_status->hide(); }

} // namespace wavra
