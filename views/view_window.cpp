#include "views/view_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>

#include "core/action_codes.h"
#include "views/geometry_window.h"
#include "views/key_codes.h"

namespace wavra {

class ViewWindow::Canvas : public QWidget {
public:
    explicit Canvas(ViewWindow& window) : m_window(window) {
        setMinimumSize(320, 320);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        m_window.view().paint(painter, rect());
    }
    void mousePressEvent(QMouseEvent* event) override { m_window.canvasMouse(event); }
    void mouseMoveEvent(QMouseEvent* event) override { m_window.canvasMouseMove(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { m_window.canvasMouseRelease(event); }
    void wheelEvent(QWheelEvent* event) override { m_window.canvasWheel(event); }

private:
    ViewWindow& m_window;
};

ViewWindow::ViewWindow(Model& model, std::unique_ptr<ResultView> view, int16_t ownCode, const QString& caption,
                       QWidget* parent)
    : QMainWindow(parent), m_model(model), m_view(std::move(view)), m_ownCode(ownCode) {
    setWindowTitle(caption);
    m_canvas = new Canvas(*this);
    setCentralWidget(m_canvas);
    m_status = new QLabel;
    statusBar()->addWidget(m_status, 1);
    setFocusPolicy(Qt::StrongFocus);
}

ViewWindow::~ViewWindow() = default;

void ViewWindow::refresh() {
    m_status->setText(QString::fromStdString(m_view->statusText()));
    updateChecks();
    m_canvas->update();
}

void ViewWindow::postKey(int16_t code) {
    if (code != 0) m_model.actionCode = code;
}

QAction* ViewWindow::addCommand(QMenu* menu, const QString& text, int16_t code) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, code] {
        if (m_model.actionCode == 0) m_model.actionCode = code;
    });
    return action;
}

void ViewWindow::canvasMouse(QMouseEvent*) { postKey(m_ownCode); }

QRect ViewWindow::canvasRect() const { return m_canvas->rect(); }

void ViewWindow::keyPressEvent(QKeyEvent* event) {
    const int16_t code = actionCodeOf(*event);
    if (code == 0) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    postKey(code);
}

// Coming back to the window redraws it, as its function key does.
void ViewWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isMinimized() && m_model.actionCode == 0)
        m_model.actionCode = m_ownCode;
}

// Closing a view goes back to the main window.
void ViewWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    m_model.actionCode = kActionMainWindow;
}

std::unique_ptr<ViewWindow> makeViewWindow(int16_t code, Model& model, Ui& ui, QWidget* parent) {
    if (code == kActionGeometry) return std::make_unique<GeometryWindow>(model, ui, parent);
    return nullptr;
}

} // namespace wavra
