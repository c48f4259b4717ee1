#include "windows/sweep_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "present/sweep_compare.h"

namespace wavra {

SweepWindow::SweepWindow(Model& model, Ui& ui, QWidget* parent)
    : ViewWindow(model, std::make_unique<SweepView>(model, ui), kActionSweep, QStringLiteral("Frequency sweep"),
                 parent),
      m_sweep(static_cast<SweepView*>(&view())) {
    setObjectName(QStringLiteral("Im"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, QStringLiteral("Export sweep...   (Ctrl+E)"), kActionExportSweep);
    addCommand(file, QStringLiteral("Load measured...  (Ctrl+L)"), kActionLoadMeasured);
    addCommand(file, QStringLiteral("Unload measured   (Ctrl+Shift+L)"), kActionUnloadMeasured);
    addCompareMenu();
    QMenu* show = menuBar()->addMenu(QStringLiteral("&Show"));
    m_pages[0] = addCheckCommand(show, QStringLiteral("Impedance plot    'I'"), 'I');
    m_pages[1] = addCheckCommand(show, QStringLiteral("refl-coef./ SWR   'S'"), 'S');
    m_pages[2] = addCheckCommand(show, QStringLiteral("Total gain plot     'G'"), 'G');
    m_markers = addCheckCommand(show, QStringLiteral("markers               'M'"), 'M');
    QMenu* grid = menuBar()->addMenu(QStringLiteral("Grid"));
    m_grids[0] = addCheckCommand(grid, QStringLiteral("Resistance grid    'R'"), 'R');
    m_grids[1] = addCheckCommand(grid, QStringLiteral("Reactance grid    'X'"), 'X');
    m_grids[2] = addCheckCommand(grid, QStringLiteral("Impedance grid    'Z'"), 'Z');
    m_grids[3] = addCheckCommand(grid, QStringLiteral("Phase grid           'A'"), 'A');
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    addCommand(viewMenu, QStringLiteral("Shift up      'Up'"), 38);
    addCommand(viewMenu, QStringLiteral("Shift down  'Down'"), 40);
    addCommand(viewMenu, QStringLiteral("Zoom in      'Pg up'"), 33);
    addCommand(viewMenu, QStringLiteral("Zoom out    'Pg down'"), 34);
    addCommand(viewMenu, QStringLiteral("Calculate  (F7)"), kActionCalculate);
    resize(760, 640);
}

void SweepWindow::updateChecks() {
    const SweepState& s = m_sweep->state();
    for (size_t i = 0; i < m_pages.size(); ++i) m_pages[i]->setChecked(s.page == static_cast<int>(i) + 1);
    m_markers->setChecked(s.markers);
    for (size_t i = 0; i < m_grids.size(); ++i) m_grids[i]->setChecked(s.grid[i]);
}

} // namespace wavra
