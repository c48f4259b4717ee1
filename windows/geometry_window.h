// The geometry window G ("Geometry"): the geometry view on its canvas, its
// menus with every command and key, the mouse (click to pick, drag to turn,
// wheel to zoom), the wire dialog of a picked input wire, "File -> Export
// view..." writing the picture as PNG or SVG, and the rendering of the
// POV-Ray scenes of Shift+G and Shift+R.
#pragma once

#include <QPoint>
#include <map>

#include "qtbase/qt_process.h"
#include "render/geometry_view.h"
#include "windows/pov_picture_window.h"
#include "windows/view_window.h"
#include "windows/wire_dialog.h"

namespace wavra {

class GeometryWindow : public ViewWindow {
    Q_OBJECT
public:
    GeometryWindow(Model& model, Ui& ui, QWidget* parent = nullptr);

    GeometryView& geometryView() { return static_cast<GeometryView&>(view()); }
    WireDialog& wireDialog() { return *m_dialog; }
    PovPictureWindow& povPictureWindow() { return *m_povPicture; }
    // The menu item of a code, for the check marks (and the tests).
    QAction* commandAction(int16_t code, bool nearField = false) const;

protected:
    void updateChecks() override;
    void canvasMouse(QMouseEvent* event) override;
    void canvasMouseMove(QMouseEvent* event) override;
    void canvasMouseRelease(QMouseEvent* event) override;
    void canvasWheel(QWheelEvent* event) override;

private:
    Ui& m_ui;
    WireDialog* m_dialog;
    PovPictureWindow* m_povPicture;
    QtProcessRunner m_runner;
    std::map<int16_t, QAction*> m_actions, m_nearActions;
    QAction* m_validation[7] = {};
    QPoint m_pressAt, m_dragFrom;
    bool m_leftDown = false, m_dragging = false;

    void buildMenus();
    bool isCurrentView() const { return m_model.currentView == ownCode(); }
    void storePointer(const QPoint& at);
    void postIfIdle(int16_t code);
    void exportView();
};

} // namespace wavra
