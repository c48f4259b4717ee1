// The windows of the main program as the main loop sees them: the main
// window, the calculation dialog, the status, help and about windows, the
// event loop in which the program waits for the user, and the processes.
#pragma once

#include <map>
#include <memory>

#include "control/main_loop.h"
#include "qtbase/qt_process.h"

namespace wavra {

class AboutWindow;
class HelpWindow;
class MainWindow;
class ModelFileWatch;
class StatusWindow;
class ViewWindow;

class QtWindows : public Windows {
public:
    QtWindows(Model& model, Ui& ui);
    ~QtWindows() override;

    MainWindow& mainWindow() { return *m_main; }
    StatusWindow& statusWindow() { return *m_status; }
    HelpWindow& helpWindow() { return *m_help; }
    AboutWindow& aboutWindow() { return *m_about; }
    // The window of a result view by its code; nullptr when there is none.
    ViewWindow* viewWindow(int16_t code);

    void idleWait() override;
    // True while the program waits for the user in idleWait.
    bool waitingForUser() const { return m_waiting; }
    void processEvents() override;
    void setBusy(bool busy) override;
    void setStatusCaption(const std::string& text) override;
    void showMainWindow() override;
    void hideResultWindows() override;
    bool runWindow(int16_t code, bool once) override;
    void showAbout() override;
    void showHelpPage(const std::string& path) override;
    void runCalcDialog() override;
    void openStatus() override;
    void addStatusLine(const std::string& line) override;
    void showProgress(int percent) override;
    void showProgressText(const std::string& text) override;
    bool cancelPressed() override;
    void closeStatus() override;
    ProcessRunner& processRunner() override { return m_runner; }
    void watchModelFile(const std::string& path) override;

private:
    Model& m_model;
    Ui& m_ui;
    QtProcessRunner m_runner;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<StatusWindow> m_status;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<AboutWindow> m_about;
    std::map<int16_t, std::unique_ptr<ViewWindow>> m_views;
    std::unique_ptr<ModelFileWatch> m_watch;
    bool m_busy = false;
    bool m_waiting = false;
};

} // namespace wavra
