// The window of the far-field pattern view: the canvas, the menus &File,
// &Show, &Far field, &Near field and &Compare with their check marks, and
// the pointer read-out in the status line. After an NE or NH request it
// shows the near-field view instead, with the &Near field menu.
#pragma once

#include "render/near_field_view.h"
#include "render/pattern_view.h"
#include "windows/view_window.h"

namespace wavra {

class PatternWindow : public ViewWindow {
    Q_OBJECT
public:
    PatternWindow(Model& model, Ui& ui, QWidget* parent = nullptr);

    PatternView& patternView() { return static_cast<PatternView&>(ViewWindow::shownView()); }
    NearFieldView& nearFieldView() { return *m_nearField; }
    // The near-field view is shown while the model holds an NE or NH request.
    bool showsNearField() const { return m_model.requestMode == kNearRequest; }

protected:
    ResultView& shownView() const override;
    void updateChecks() override;
    void canvasMouse(QMouseEvent* event) override;
    void canvasMouseMove(QMouseEvent* event) override;

private:
    std::unique_ptr<NearFieldView> m_nearField;
    QMenu* m_farMenu = nullptr;
    QMenu* m_nearMenu = nullptr;
    QMenu* m_compareMenu = nullptr;
    QAction* m_structure = nullptr;
    QAction* m_indicator = nullptr;
    QAction* m_info = nullptr;
    QAction* m_maximum = nullptr;
    QAction* m_add = nullptr;
    QAction* m_remove = nullptr;

    void buildMenus(Ui& ui);
    void showPointer(QMouseEvent* event);
};

} // namespace wavra
