// The window of the frequency sweep graphs (F5): menus "&File", "&Show",
// "Grid" and "&View", the keys of the view, and the read-out of the values
// under the mouse pointer in the status line.
#pragma once

#include <array>

#include "render/sweep_view.h"
#include "windows/view_window.h"

namespace wavra {

class SweepWindow : public ViewWindow {
    Q_OBJECT
public:
    SweepWindow(Model& model, Ui& ui, QWidget* parent = nullptr);

    SweepView& sweepView() { return *m_sweep; }

protected:
    void updateChecks() override;
    // Tab makes the next pane active instead of moving the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    SweepView* m_sweep;
    std::array<QAction*, 3> m_pages{};
    QAction* m_markers = nullptr;
    std::array<QAction*, 4> m_grids{};
};

} // namespace wavra
