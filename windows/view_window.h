// The window of a result view: a canvas on which the view paints itself, the
// menus of the view, and a status line. Keys, menu items and mouse buttons
// only post action codes into the model store; the view loop (QtWindows)
// hands each code to the view and redraws.
#pragma once

#include <QMainWindow>
#include <memory>

#include "core/model.h"
#include "core/ui.h"
#include "render/result_view.h"

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

    ResultView& view() { return shownView(); }
    const ResultView& view() const { return shownView(); }
    int16_t ownCode() const { return m_ownCode; }

    // Repaints the canvas and the status line and updates the check marks.
    void refresh();

    // Stores a key's code, as every key press does.
    void postKey(int16_t code);

    // Set while the view loop runs this window: coming back to the window
    // then only repaints it (its own code would leave the loop and start
    // the view afresh, as after a dialog of its own).
    void setLoopRunning(bool running) { m_loopRunning = running; }

    // File -> Export view...: the picture as the canvas shows it, as PNG or
    // SVG by the extension chosen.
    void exportView(Ui& ui);

protected:
    // The view the window shows now; a window hosting more than one view
    // (the pattern window shows the near field of an NE/NH request) picks it.
    virtual ResultView& shownView() const { return *m_view; }
    // A menu item that posts `code`, but only while no other code waits.
    QAction* addCommand(QMenu* menu, const QString& text, int16_t code);
    // The same with a check mark, which updateChecks sets.
    QAction* addCheckCommand(QMenu* menu, const QString& text, int16_t code);
    // Subclasses set their menus' check marks from the view's state.
    virtual void updateChecks() {}
    // A mouse press on the canvas, in canvas pixels; the default posts the
    // window's own code, which redraws.
    virtual void canvasMouse(QMouseEvent* event);
    // The pointer moving over the canvas, with or without a button held; by
    // default the view takes the position (pointerAt) and its read-out
    // follows.
    virtual void canvasMouseMove(QMouseEvent* event);
    // Releases and the wheel over the canvas; the default ignores them.
    virtual void canvasMouseRelease(QMouseEvent*) {}
    virtual void canvasWheel(QWheelEvent*) {}
    // The canvas's own rectangle, the area the view paints into.
    QRect canvasRect() const;
    // Only the status line: the view's statusText(), followed by the view's
    // main keys while the mouse pointer is not over the picture.
    void refreshStatus();
    void setPointerOverPlot(bool over);
    // The "&File" menu with "Export view...".
    void addFileMenu(Ui& ui);
    // The "&Compare" menu of the sweep and Smith windows: keep the loop
    // shown (K), clear the kept loops (Shift+K).
    void addCompareMenu();

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
    bool m_loopRunning = false;
    bool m_pointerOverPlot = false;
};

// The window of the view that the main loop shows for `code` (114 geometry,
// 115 pattern or near field, 116 sweep, 122 Smith chart); nullptr when this
// program has none.
std::unique_ptr<ViewWindow> makeViewWindow(int16_t code, Model& model, Ui& ui, QWidget* parent);

} // namespace wavra
