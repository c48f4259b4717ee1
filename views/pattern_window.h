// The window of the far-field pattern view: the canvas, the menus &File,
// &Show, &Far field and &Compare with their check marks, and the pointer
// read-out in the status line.
#pragma once

#include "views/pattern_view.h"
#include "views/view_window.h"

namespace wavra {

class PatternWindow : public ViewWindow {
    Q_OBJECT
public:
    PatternWindow(Model& model, Ui& ui, QWidget* parent = nullptr);

    PatternView& patternView() { return static_cast<PatternView&>(view()); }

protected:
    void updateChecks() override;
    void canvasMouse(QMouseEvent* event) override;
    void canvasMouseMove(QMouseEvent* event) override;

private:
    QAction* m_structure = nullptr;
    QAction* m_indicator = nullptr;
    QAction* m_info = nullptr;
    QAction* m_add = nullptr;
    QAction* m_remove = nullptr;

    void buildMenus(Ui& ui);
    void showPointer(QMouseEvent* event);
};

} // namespace wavra
