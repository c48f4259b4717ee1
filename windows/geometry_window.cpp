#include "windows/geometry_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>

#include "present/geometry_marks.h"
#include "render/view_picture.h"

namespace wavra {

namespace {

// Pixels of mouse movement per 5-degree turn while dragging, and the
// movement below which a press and release is a plain click.
constexpr int kDragStep = 8;
constexpr int kClickSlack = 3;

struct Item {
    const char* text;
    int16_t code;
};

} // namespace

GeometryWindow::GeometryWindow(Model& model, Ui& ui, QWidget* parent)
    : ViewWindow(model, makeGeometryView(model, ui), kActionGeometry, QStringLiteral("Geometry"), parent), m_ui(ui) {
    setObjectName(QStringLiteral("G"));
    m_povPicture = new PovPictureWindow(this);
    WireDialog::Handlers handlers;
    handlers.accept = [this](int16_t row, int end, const WireFields& fields) {
        geometryView().controller().setPendingEdit(row, end, fields);
        postIfIdle(isCurrentView() ? int16_t{kActionGenerate} : ownCode());
    };
    handlers.cancel = [this] { postIfIdle(kActionWireCancel); };
    handlers.endChosen = [this](int end) {
        geometryView().controller().setEditEnd(end);
        postIfIdle(ownCode());
    };
    handlers.post = [this](int16_t code) { postKey(code); };
    m_dialog = new WireDialog(std::move(handlers), this);
    buildMenus();
    resize(640, 680);
}

void GeometryWindow::buildMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<Item> items, std::map<int16_t, QAction*>& into) {
        for (const Item& item : items) into[item.code] = addCommand(menu, QString::fromUtf8(item.text), item.code);
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(file->addAction(QStringLiteral("Export view\u2026")), &QAction::triggered, this, [this] { exportView(); });

    QMenu* show = menuBar()->addMenu(QStringLiteral("&Show"));
    add(show,
        {{"Input file              'I'", 'I'},
         {"Output file           'O'", 'O'},
         {"Open ends           'E'", 'E'},
         {"Junctions (>2)      'J'", 'J'}},
        m_actions);
    QMenu* validate = show->addMenu(QStringLiteral("VALIDATE..."));
    static const char* const kChecks[7] = {"all below checks        '0'",  "segm. L(ength)           '1'",
                                           "segm. R(adius)           '2'", "segm. Len / Rad        '3'",
                                           "junc. L big / L small    '4'", "junc. R big / R small   '5'",
                                           "junc. Len / Rad          '6'"};
    for (int k = 0; k < 7; ++k) m_validation[k] = addCommand(validate, QString::fromUtf8(kChecks[k]), int16_t('0' + k));
    add(validate, {{"Output to log file        '9'", '9'}}, m_actions);
    add(show,
        {{"Near/Far field       'R'", 'R'},
         {"Current                'C'", 'C'},
         {"Phase                  'P'", 'P'},
         {"Wire loading        'W'", 'W'},
         {"Segments             'S'", 'S'},
         {"Single/Multi color 'M'", 'M'}},
        m_actions);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view,
        {{"Zoom in          'Pg up'", 33},
         {"Zoom out        'Pg down'", 34},
         {"Shift Left        'Ctrl+Left'", 237},
         {"Shift right       'Ctrl+Right'", 239},
         {"Shift up          'Ctrl+Up'", 238},
         {"Shift down      'Ctrl+Down'", 240},
         {"Reset             'Home'", 36},
         {"Optimizer log    'V'", 'V'}},
        m_actions);

    QMenu* far = menuBar()->addMenu(QStringLiteral("&Far field"));
    add(far,
        {{"Change gridtype     'Spacebar'", 32},
         {"Change Lin/Log     'L'", 'L'},
         {"Next pattern           '>'", 190},
         {"Previous pattern     '<'", 188},
         {"Decrease lines       'Ctrl+Pg down'", 234},
         {"Increase lines        'Ctrl+Pg up'", 233}},
        m_actions);
    QMenu* near = menuBar()->addMenu(QStringLiteral("&Near field"));
    add(near,
        {{"3D or 2D X/Y/Z plane    'Spacebar'", 32},
         {"Next Z,Y or X coord.      'Shift+Right'", 139},
         {"Prev Z, Y or X coord.     'Shift+Left'", 137},
         {"Next pattern                  '>'", 190},
         {"Previous pattern            '<'", 188}},
        m_nearActions);
    QMenu* current = menuBar()->addMenu(QStringLiteral("&Segm-current"));
    add(current,
        {{"Next segment           'Alt+Right'", 439},
         {"Previous segment     'Alt+Left'", 437},
         {"Cartesian notation     'X'", 'X'}},
        m_actions);
    QMenu* pov = menuBar()->addMenu(QStringLiteral("&Povray"));
    add(pov, {{"Generate geometry struct.    'Shift G'", 171}, {"Generate far-field pattern      'Shift R'", 182}},
        m_actions);

    for (int16_t code : {'I', 'O', 'E', 'J', 'R', 'C', 'P', 'W', 'S', 'M', 'X'}) m_actions[code]->setCheckable(true);
    for (QAction* a : m_validation) a->setCheckable(true);
}

QAction* GeometryWindow::commandAction(int16_t code, bool nearField) const {
    const auto& actions = nearField ? m_nearActions : m_actions;
    if (!nearField && code >= '0' && code <= '6') return m_validation[code - '0'];
    const auto it = actions.find(code);
    return it == actions.end() ? nullptr : it->second;
}

// Check marks follow the view's flags; a pick on input wires opens the wire
// dialog.
void GeometryWindow::updateChecks() {
    GeometryController& c = geometryView().controller();
    const GeometryViewState& s = c.state();
    const bool report = showsReportSegments(m_model);
    const std::pair<int16_t, bool> checks[] = {{'I', !report},
                                               {'O', report},
                                               {'E', s.showEnds},
                                               {'J', s.showJunctions},
                                               {'R', s.showPattern},
                                               {'C', s.showCurrent},
                                               {'P', s.showPhase},
                                               {'W', s.showLoads},
                                               {'S', s.showSegments},
                                               {'M', s.multiColour},
                                               {'X', m_model.cartesianCurrents != 0}};
    for (const auto& [code, on] : checks) m_actions[code]->setChecked(on);
    for (int k = 0; k < 7; ++k) m_validation[k]->setChecked(s.validationMode == k);
    const bool nearField = m_model.requestMode == kNearRequest;
    for (auto& [code, action] : m_nearActions) action->setEnabled(nearField);
    for (int16_t code : std::initializer_list<int16_t>{32, 'L', 190, 188, 234, 233})
        m_actions[code]->setEnabled(!nearField);
    if (const auto row = c.takeWireDialogRequest()) m_dialog->showWire(*row, wireFieldsOf(m_model, *row), s.editEnd);
    // After the refresh: povray runs while the windows keep drawing.
    if (auto render = c.takeRenderRequest())
        QTimer::singleShot(0, this,
                           [this, request = *render] { renderAndShow(m_runner, m_ui, request, *m_povPicture, this); });
    if (report) m_dialog->hide();
}

void GeometryWindow::postIfIdle(int16_t code) {
    if (m_model.actionCode == 0) m_model.actionCode = code;
}

void GeometryWindow::storePointer(const QPoint& at) {
    const QRect r = canvasRect();
    const DrawingFrame f = drawingFrame(geometryView().controller().state(), r.left(), r.top(), r.width(), r.height());
    m_model.pointerX = f.drawingX(at.x());
    m_model.pointerY = f.drawingY(at.y());
}

// While another view is the current one a press only brings this one back.
void GeometryWindow::canvasMouse(QMouseEvent* event) {
    if (!isCurrentView()) {
        postKey(ownCode());
        return;
    }
    if (event->button() == Qt::RightButton) {
        storePointer(event->position().toPoint());
        postKey(kActionRightClick);
    } else if (event->button() == Qt::LeftButton) {
        m_leftDown = true;
        m_dragging = false;
        m_pressAt = m_dragFrom = event->position().toPoint();
    }
}

// Dragging turns the view in 5-degree steps, one per kDragStep pixels, so
// that the side facing the user follows the pointer: to the right lowers
// the azimuth (Right), downwards lowers the elevation (Down).
void GeometryWindow::canvasMouseMove(QMouseEvent* event) {
    if (!m_leftDown) return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_pressAt).manhattanLength() <= kClickSlack) return;
    m_dragging = true;
    const QPoint moved = at - m_dragFrom;
    if (m_model.actionCode != 0) return;
    if (std::abs(moved.x()) >= kDragStep) {
        m_model.actionCode = moved.x() > 0 ? 39 : 37;
        m_dragFrom.rx() += moved.x() > 0 ? kDragStep : -kDragStep;
    } else if (std::abs(moved.y()) >= kDragStep) {
        m_model.actionCode = moved.y() > 0 ? 40 : 38;
        m_dragFrom.ry() += moved.y() > 0 ? kDragStep : -kDragStep;
    }
}

void GeometryWindow::canvasMouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_leftDown) return;
    m_leftDown = false;
    if (m_dragging) return;
    storePointer(event->position().toPoint());
    postKey(kActionLeftClick);
}

void GeometryWindow::canvasWheel(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    if (!isCurrentView()) {
        postKey(ownCode());
    } else if (m_model.actionCode == 0) {
        storePointer(event->position().toPoint()); // the zoom keeps the point under the pointer
        m_model.actionCode = delta > 0 ? kActionWheelIn : kActionWheelOut;
    }
}

void GeometryWindow::exportView() {
    const FileRequest request{"Export view", "Filename", m_model.modelDir, m_model.modelName + "-geometry", "*.png"};
    const auto choice = m_ui.saveFile(request);
    if (!choice) return;
    const std::string path = choice->path();
    const auto format = pictureFormatOf(path);
    if (!format) {
        m_ui.message("Export view: " + path + " is neither a .png nor an .svg file.", "wavra", Icon::Exclamation);
        return;
    }
    const QRect r = canvasRect();
    std::string error;
    if (!writeViewPicture(view(), path, *format, r.width(), r.height(), error))
        m_ui.message("Export view: " + error + ".", "wavra", Icon::Exclamation);
}

} // namespace wavra
