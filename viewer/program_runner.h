// Runs an outside program with an argument list and waits for it in Qt's
// event loop, with a widget (the viewer's window) disabled meanwhile so no
// second action starts while the first waits. What the program prints goes
// to the viewer's own terminal.
#pragma once

#include "qtbase/qt_process.h"
#include "viewer/plot_program.h"

class QWidget;

namespace wavra::view {

class QtProgramRunner : public ProgramRunner {
public:
    void setBusyWidget(QWidget* widget) { m_busy = widget; }
    bool run(const Command& command) override;

private:
    QtProcessRunner m_runner{true};
    QWidget* m_busy = nullptr;
};

} // namespace wavra::view
