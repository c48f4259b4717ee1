#include "windows/view_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>

#include "core/action_codes.h"
#include "present/sweep_compare.h"
#include "present/view_key_hints.h"
#include "render/view_picture.h"
#include "windows/geometry_window.h"
#include "windows/key_codes.h"
#include "windows/pattern_window.h"
#include "windows/smith_window.h"
#include "windows/sweep_window.h"

namespace wavra {

class ViewWindow::Canvas : public QWidget {
public:
    explicit Canvas(ViewWindow& window) : m_window(window) {
        setMinimumSize(320, 320);
        setFocusPolicy(Qt::NoFocus);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        m_window.view().paint(painter, rect());
    }
    void mousePressEvent(QMouseEvent* event) override { m_window.canvasMouse(event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        m_window.m_pointerOverPlot = true;
        m_window.canvasMouseMove(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override { m_window.canvasMouseRelease(event); }
    void wheelEvent(QWheelEvent* event) override { m_window.canvasWheel(event); }
    void enterEvent(QEnterEvent*) override { m_window.setPointerOverPlot(true); }
    void leaveEvent(QEvent*) override { m_window.setPointerOverPlot(false); }

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
    refreshStatus();
    updateChecks();
    m_canvas->update();
}

// Away from the picture the line ends with the view's main keys.
void ViewWindow::refreshStatus() {
    std::string text = view().statusText();
    if (!m_pointerOverPlot) {
        const std::string hint = viewKeyHint(view().name());
        text = text.empty() ? hint : hint.empty() ? text : text + "   |   " + hint;
    }
    m_status->setText(QString::fromStdString(text));
}

void ViewWindow::setPointerOverPlot(bool over) {
    m_pointerOverPlot = over;
    refreshStatus();
}

QRect ViewWindow::canvasRect() const { return m_canvas->rect(); }

void ViewWindow::addFileMenu(Ui& ui) {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(file->addAction(QStringLiteral("Export view\u2026")), &QAction::triggered, this,
            [this, &ui] { exportView(ui); });
}

void ViewWindow::addCompareMenu() {
    QMenu* compare = menuBar()->addMenu(QStringLiteral("&Compare"));
    addCommand(compare, QStringLiteral("Keep this sweep      'K'"), kActionKeepSweep);
    addCommand(compare, QStringLiteral("Clear kept sweeps   'Shift+K'"), kActionClearKeptSweeps);
}

void ViewWindow::exportView(Ui& ui) {
    const FileRequest request{"Export view", "Filename", m_model.modelDir, m_model.modelName + "_" + view().name(),
                              "*.png"};
    const auto choice = ui.saveFile(request);
    if (!choice) return;
    const std::string path = choice->path();
    const auto format = pictureFormatOf(path);
    if (!format) {
        ui.message("Export view: the file name must end in .png or .svg: " + path);
        return;
    }
    std::string error;
    const QRect area = canvasRect();
    if (!writeViewPicture(view(), path, *format, area.width(), area.height(), error))
        ui.message("Export view: " + error + ".");
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

QAction* ViewWindow::addCheckCommand(QMenu* menu, const QString& text, int16_t code) {
    QAction* action = addCommand(menu, text, code);
    action->setCheckable(true);
    return action;
}

void ViewWindow::canvasMouse(QMouseEvent*) { postKey(m_ownCode); }

void ViewWindow::canvasMouseMove(QMouseEvent* event) {
    const QPointF at = event->position();
    if (view().pointerAt(at.x(), at.y(), m_canvas->width(), m_canvas->height()) && m_model.actionCode == 0)
        m_model.actionCode = kActionPointerMoved;
}

void ViewWindow::keyPressEvent(QKeyEvent* event) {
    const int16_t code = actionCodeOf(*event);
    if (code == 0) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    postKey(code);
}

// Coming back to the window redraws it: within its own view loop directly,
// from elsewhere by its function key, which enters the view.
void ViewWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || isMinimized()) return;
    if (m_loopRunning) refresh();
    else if (m_model.actionCode == 0) m_model.actionCode = m_ownCode;
}

// Closing a view goes back to the main window.
void ViewWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    m_model.actionCode = kActionMainWindow;
}

std::unique_ptr<ViewWindow> makeViewWindow(int16_t code, Model& model, Ui& ui, QWidget* parent) {
    switch (code) {
    case kActionPattern: return std::make_unique<PatternWindow>(model, ui, parent);
    case kActionSweep: return std::make_unique<SweepWindow>(model, ui, parent);
    case kActionSmith: return std::make_unique<SmithWindow>(model, ui, parent);
    case kActionGeometry: return std::make_unique<GeometryWindow>(model, ui, parent);
    default: return nullptr;
    }
}

} // namespace wavra
