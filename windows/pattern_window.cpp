#include "windows/pattern_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>

#include "core/action_codes.h"
#include "present/pattern_commands.h"
#include "present/pattern_compare.h"

namespace wavra {

namespace {

// The window is at most 7424 twips (495 pixels) wide, or 55 % of the screen.
constexpr int kWidestWindow = 495;

QAction* checkable(QAction* action) {
    action->setCheckable(true);
    return action;
}

} // namespace

PatternWindow::PatternWindow(Model& model, Ui& ui, QWidget* parent)
    : ViewWindow(model, std::make_unique<PatternView>(model, ui), kActionPattern, QStringLiteral("Far-field pattern"),
                 parent),
      m_nearField(std::make_unique<NearFieldView>(model, ui)) {
    buildMenus(ui);
    int width = kWidestWindow;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        width = std::min(width, static_cast<int>(0.55 * screen->availableGeometry().width()));
    resize(std::max(width, 340), std::max(width, 340) + 120);
}

void PatternWindow::buildMenus(Ui& ui) {
    addFileMenu(ui);
    QMenu* show = menuBar()->addMenu(QStringLiteral("&Show"));
    m_structure = checkable(addCommand(show, QStringLiteral("Structure        'G'"), kPatternStructure));
    addCommand(show, QStringLiteral("Next pattern   '>'"), kPatternNext);
    addCommand(show, QStringLiteral("Prev pattern   '<'"), kPatternPrevious);
    m_indicator = checkable(addCommand(show, QStringLiteral("Indicator         'J'"), kPatternIndicator));
    m_info = checkable(addCommand(show, QStringLiteral("Info                 'I'"), kPatternInfo));
    m_maximum = addCommand(show, QStringLiteral("Cut through maximum 'M'"), kPatternMaximum);

    QMenu* far = m_farMenu = menuBar()->addMenu(QStringLiteral("&Far field"));
    addCommand(far, QStringLiteral("Ver / Hor plane       'Spacebar'"), kPatternPlane);
    addCommand(far, QStringLiteral("Lin / Log scale        'L'"), kPatternLinLog);
    addCommand(far, QStringLiteral("Normaliz. no/all/mx  'Home'"), kPatternNormalise);
    addCommand(far, QStringLiteral("Inc. stepsize           'Pg up'"), kPatternStepUp);
    addCommand(far, QStringLiteral("Dec. stepsize          'Pg down'"), kPatternStepDown);
    QMenu* ranges = far->addMenu(QStringLiteral("High/low ranges"));
    addCommand(ranges, QStringLiteral("Incr. max    'Shift+Pg up'"), kPatternRaiseMax);
    addCommand(ranges, QStringLiteral("Decr. max   'Shift+Pg down'"), kPatternLowerMax);
    addCommand(ranges, QStringLiteral("Incr. min     'Ctrl+Pg up'"), kPatternLowerMin);
    addCommand(ranges, QStringLiteral("Decr min     'Ctrl+Pg down'"), kPatternRaiseMin);

    QMenu* near = m_nearMenu = menuBar()->addMenu(QStringLiteral("&Near field"));
    addCommand(near, QStringLiteral("Next plane XY/XZ/YZ  'Spacebar'"), 32);
    addCommand(near, QStringLiteral("Next plane position   'Right'"), 39);
    addCommand(near, QStringLiteral("Prev plane position   'Left'"), 37);
    addCommand(near, QStringLiteral("Next graph line         'Up'"), 38);
    addCommand(near, QStringLiteral("Prev graph line         'Down'"), 40);
    addCommand(near, QStringLiteral("Graph                      'Pg up'"), 33);
    addCommand(near, QStringLiteral("2D map / graph         'Pg down'"), 34);
    addCommand(near, QStringLiteral("Cut-off field            'Del'"), 46);
    addCommand(near, QStringLiteral("More logarithmic      'Ctrl+Pg up'"), 233);
    addCommand(near, QStringLiteral("More linear              'Ctrl+Pg down'"), 234);

    QMenu* compare = m_compareMenu = menuBar()->addMenu(QStringLiteral("&Compare"));
    m_add = addCommand(compare, QStringLiteral("Add new pattern  'Ins'"), kPatternAdd);
    m_remove = addCommand(compare, QStringLiteral("Remove pattern   'Del'"), kPatternRemove);
}

ResultView& PatternWindow::shownView() const {
    if (showsNearField()) return *m_nearField;
    return ViewWindow::shownView();
}

void PatternWindow::updateChecks() {
    const bool nearField = showsNearField();
    setWindowTitle(nearField ? QStringLiteral("Near field") : QStringLiteral("Far-field pattern"));
    m_nearMenu->setEnabled(nearField);
    m_farMenu->setEnabled(!nearField);
    m_compareMenu->setEnabled(!nearField);
    m_indicator->setEnabled(!nearField);
    m_info->setEnabled(!nearField);
    m_maximum->setEnabled(!nearField);
    if (nearField) {
        m_structure->setChecked(m_nearField->state().showStructure);
        return;
    }
    const PatternState& s = patternView().state();
    m_structure->setChecked(s.view.showStructure);
    m_indicator->setChecked(s.window.showIndicator);
    m_info->setChecked(s.view.showInfo);
    m_add->setEnabled(canAddPattern(s, patternView().model()));
    m_remove->setEnabled(comparing(s));
}

// A click reads out the point under the pointer like a move does; it does
// not enter the view afresh.
void PatternWindow::canvasMouse(QMouseEvent* event) { showPointer(event); }
void PatternWindow::canvasMouseMove(QMouseEvent* event) { showPointer(event); }

void PatternWindow::showPointer(QMouseEvent* event) {
    if (showsNearField()) {
        ViewWindow::canvasMouseMove(event);
        return;
    }
    patternView().pointAt(event->position(), canvasRect());
    refreshStatus();
}

} // namespace wavra
