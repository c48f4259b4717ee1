// The window of a result view: a canvas on which the view paints itself, the
// menus of the view, and a status line. Keys, menu items and mouse buttons
// only post action codes into the model store; the view loop (QtWindows)
// hands each code to the view and redraws.
#pragma once

#include <QMainWindow>
#include <memory>

#include "core/model.h"
#include "views/result_view.h"

class QAction;
class QLabel;
class QMenu;
class QMouseEvent;
class QWheelEvent;

namespace wavra {

class ViewWindow : public QMainWindow {
    Q_OBJECT
public:
    // `ownCode` is the function key of the view (F3 = 114, F4 = 115 ...),
    // posted when the window regains the focus, which redraws it.
    ViewWindow(Model& model, std::unique_ptr<ResultView> view, int16_t ownCode, const QString& caption,
               QWidget* parent = nullptr);
    ~ViewWindow() override;

    ResultView& view() { return *m_view; }
    const ResultView& view() const { return *m_view; }
    int16_t ownCode() const { return m_ownCode; }

    // Repaints the canvas and the status line and updates the check marks.
    void refresh();

    // Stores a key's code, as every key press does.
    void postKey(int16_t code);

protected:
    // A menu item that posts `code`, but only while no other code waits.
    QAction* addCommand(QMenu* menu, const QString& text, int16_t code);
    // Subclasses set their menus' check marks from the view's state.
    virtual void updateChecks() {}
    // A mouse press on the canvas, in canvas pixels; the default posts the
    // window's own code, which redraws.
    virtual void canvasMouse(QMouseEvent* event);
    // Moves, releases and the wheel over the canvas; the default ignores them.
    virtual void canvasMouseMove(QMouseEvent*) {}
    virtual void canvasMouseRelease(QMouseEvent*) {}
    virtual void canvasWheel(QWheelEvent*) {}
    // The canvas the view paints on, in its own pixels.
    QRect canvasRect() const;

    Model& m_model;

    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Canvas;
    std::unique_ptr<ResultView> m_view;
    int16_t m_ownCode;
    Canvas* m_canvas = nullptr;
    QLabel* m_status = nullptr;
};

// The window of the view that the main loop shows for `code` (114 geometry,
// 115 pattern or near field, 116 sweep, 122 Smith chart); nullptr when this
// program has none.
std::unique_ptr<ViewWindow> makeViewWindow(int16_t code, Model& model, Ui& ui, QWidget* parent);

} // namespace wavra
