// Runs an outside program with an argument list and waits for it in Qt's
// event loop, with a widget (the viewer's window) disabled meanwhile so no
// second action starts while the first waits.
#pragma once

#include "viewer/plot_program.h"

class QWidget;

namespace wavra::view {

class ProcessRunner : public ProgramRunner {
public:
    void setBusyWidget(QWidget* widget) { m_busy = widget; }
    bool run(const Command& command) override;

private:
    QWidget* m_busy = nullptr;
};

} // namespace wavra::view
