#include "views/qt_windows.h"

#include <QApplication>
#include <QEventLoop>

#include "views/calc_dialog.h"
#include "views/help_window.h"
#include "views/main_window.h"
#include "views/status_window.h"

namespace wavra {

QtWindows::QtWindows(Model& model, Ui& ui) : m_model(model), m_ui(ui), m_main(std::make_unique<MainWindow>(model, ui)) {
    auto post = [this](int16_t code) { m_main->postKey(code); };
    m_status = std::make_unique<StatusWindow>(m_main.get());
    m_help = std::make_unique<HelpWindow>(post);
    m_about = std::make_unique<AboutWindow>(post, m_main.get());
}

QtWindows::~QtWindows() {
    setBusy(false);
    // The dialogs parented to the main window go before it.
    m_about.reset();
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

void QtWindows::setStatusCaption(const std::string& text) { m_main->setStatusCaption(QString::fromStdString(text)); }

void QtWindows::showMainWindow() {
    m_main->refresh();
    m_main->show();
    m_main->raise();
    m_main->activateWindow();
}

void QtWindows::hideResultWindows() { m_about->hide(); }

// The geometry, pattern, sweep and Smith views, the card editor and the
// optimizer are not part of this program yet.
bool QtWindows::runWindow(int16_t, bool) { return false; }

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
    m_status->addLine(QString::fromStdString(line));
    processEvents();
}

void QtWindows::showProgress(int percent) {
    m_status->setProgress(percent);
    processEvents();
}

void QtWindows::closeStatus() { m_status->hide(); }

} // namespace wavra
