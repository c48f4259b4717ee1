#include "windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/action_codes.h"
#include "present/key_names.h"
#include "present/main_menu_rules.h"
#include "present/summary_texts.h"
#include "qtbase/qt_text.h"
#include "windows/key_codes.h"

namespace wavra {

namespace {

struct ToolButton {
    const char* name;
    const char* text;
    const char* tip;
    QStyle::StandardPixmap icon;
};

constexpr ToolButton kToolButtons[] = {
    {"open", "Open", "Open nec-file", QStyle::SP_DialogOpenButton},
    {"save", "Save as", "Save output-file as", QStyle::SP_DialogSaveButton},
    {"input", "Edit", "Edit nec input-file", QStyle::SP_FileDialogDetailedView},
    {"necgen", "Calculate", "Generate output-data", QStyle::SP_MediaPlay},
    {"output", "Report", "View output-data", QStyle::SP_FileDialogContentsView},
    {"nec2info", "Cards", "View nec user-manual", QStyle::SP_FileDialogInfoView},
    {"build", "Build", "Create geometry", QStyle::SP_FileDialogNewFolder},
    {"smi", "Smith", "Show smith-chart", QStyle::SP_DriveNetIcon},
    {"gnd", "Optimize", "Start optimizer", QStyle::SP_BrowserReload},
    {"general", "Help", "Show wavra help", QStyle::SP_MessageBoxQuestion},
    {"main", "Main", "Main window", QStyle::SP_ComputerIcon},
};

std::vector<std::string> captionsOf(const std::vector<SummaryField>& fields) {
    std::vector<std::string> captions;
    for (const auto& f : fields) captions.push_back(f.caption);
    return captions;
}

} // namespace

MainWindow::MainWindow(Model& model, Ui& ui, QWidget* parent) : QMainWindow(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("M"));
    setWindowTitle(QStringLiteral("wavra"));
    buildMenus();
    buildToolBar();
    buildCentralWidget();
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusCaption"));
    statusBar()->addWidget(m_status, 1);
    // Wide enough for the comment and environment lists beside the summary.
    resize(1180, 660);
    qApp->installEventFilter(this);
    refresh();
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

QAction* MainWindow::addCommand(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, name] { command(name); });
    return action;
}

QAction* MainWindow::addSetting(QMenu* menu, const char* name, const QString& caption, bool checkable) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, name] { setting(name); });
    return action;
}

void MainWindow::buildMenus() {
    buildFileMenus();
    buildSettingsMenu();
    QMenu* calc = menuBar()->addMenu(QStringLiteral("&Calculate"));
    addCommand(calc, "necgen", QStringLiteral("&Generate nec-2 output data."));
    addCommand(calc, "gnd", QStringLiteral("&Optimize nec-2 input data"));
    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    addCommand(window, "main", QStringLiteral("Main"));
    addCommand(window, "geo", QStringLiteral("Geometry"));
    addCommand(window, "pat", QStringLiteral("Pattern"));
    addCommand(window, "imp", QStringLiteral("Impedance"));
    addCommand(window, "smi", QStringLiteral("Smith chart"));
    QMenu* show = menuBar()->addMenu(QStringLiteral("&Show"));
    addSetting(show, "cart", QStringLiteral("Cartesian not.   'X'"), true);
    connect(show, &QMenu::aboutToShow, this, &MainWindow::refreshChecks);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, "about", QStringLiteral("About"));
    addCommand(help, "general", QStringLiteral("General"));
}

void MainWindow::buildFileMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, "open", QStringLiteral("&Open new wavra input file"));
    addCommand(file, "save", QStringLiteral("&Save nec-2 output file as"));
    addCommand(file, "exit", QStringLiteral("E&xit                            Esc or "));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addCommand(edit, "input", QStringLiteral("&Input (.nec) file"));
    addCommand(edit, "output", QStringLiteral("&Output (.out) file"));
    addCommand(edit, "nec2info", QStringLiteral("Nec2 &user's manual"));
}

void MainWindow::buildSettingsMenu() {
    m_settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    connect(m_settings, &QMenu::aboutToShow, this, &MainWindow::refreshChecks);
    addSetting(m_settings, "npad", QStringLiteral("Notepad editor"), true);
    addSetting(m_settings, "Z0i", QStringLiteral("Char. impedance"));
    addSetting(m_settings, "pwer", QStringLiteral("Input power"));
    QMenu* polar = m_settings->addMenu(QStringLiteral("Polar-plot settings"));
    addSetting(polar, "logs", QStringLiteral("Logarithmic scale"), true);
    addSetting(polar, "list", QStringLiteral("Def. LIN stepsize"));
    addSetting(polar, "mnlin", QStringLiteral("Def. LIN min-value"));
    addSetting(polar, "lost", QStringLiteral("Def. LOG stepzise"));
    addSetting(polar, "mnlog", QStringLiteral("Def. LOG min-value"));
    QMenu* general = m_settings->addMenu(QStringLiteral("General settings"));
    addSetting(general, "fast", QStringLiteral("Fast / (auto) draw"), true);
    addSetting(general, "wait", QStringLiteral("Wait for DOS box"), true);
    addSetting(general, "mxs", QStringLiteral("Nr of segments"));
    addSetting(general, "tmo", QStringLiteral("Engine time-out [s]"));
    addSetting(general, "par", QStringLiteral("Parallel engine runs"));
    addSetting(general, "reuse", QStringLiteral("Reuse unchanged results"), true);
    addSetting(general, "watch", QStringLiteral("Recalculate when the model file changes"), true);
    addSetting(general, "nec2d", QStringLiteral("NEC2D engine"), true);
    addSetting(general, "lapack", QStringLiteral("Lapack engine"), true);
    addSetting(general, "nec32", QStringLiteral("Special"), true);
    QMenu* memory = m_settings->addMenu(QStringLiteral("Memory settings"));
    addSetting(memory, "mxl", QStringLiteral("Max-nr. far-field pts"));
    addSetting(memory, "mxf", QStringLiteral("Max-nr. frequency steps"));
    addSetting(memory, "mex", QStringLiteral("Max-nr. EX cards"));
    addSetting(memory, "mld", QStringLiteral("Max-nr. LD cards"));
    addSetting(memory, "mtl", QStringLiteral("Max-nr. TL cards"));
    QMenu* optimizer = m_settings->addMenu(QStringLiteral("Optimizer settings"));
    addSetting(optimizer, "astp", QStringLiteral("Absolute steps"), true);
    addSetting(optimizer, "istp", QStringLiteral("Max-initial stepsize"));
    addSetting(optimizer, "fstp", QStringLiteral("Stepsize if optimized"));
    buildItsHfMenu(m_settings);
}

void MainWindow::buildItsHfMenu(QMenu* parent) {
    QMenu* its = parent->addMenu(QStringLiteral("ItsHF settings"));
    its->addAction(QStringLiteral("--- Area Coverage ---"))->setEnabled(false);
    addSetting(its, "area1", QStringLiteral("Create ICEPAC input file"), true);
    addSetting(its, "area2", QStringLiteral("Calculate output plot-file"), true);
    addSetting(its, "area3", QStringLiteral("Show plot-file on screen"), true);
    its->addAction(QStringLiteral("---  Point-to-Point  ---"))->setEnabled(false);
    addSetting(its, "ptp1", QStringLiteral("Create ICEPAC input file"), true);
    addSetting(its, "ptp2", QStringLiteral("Calculate time-data"), true);
    addSetting(its, "ptp3", QStringLiteral("Calculate distance-data"), true);
    addSetting(its, "ptp4", QStringLiteral("Calculate graph-data"), true);
    its->addSeparator();
    addSetting(its, "its1", QStringLiteral("use ICEPAC"), true);
    addSetting(its, "its2", QStringLiteral("use REC533"), true);
    addSetting(its, "its3", QStringLiteral("use VOACAP"), true);
    its->addSeparator();
    addSetting(its, "itsd", QStringLiteral("Set main-directory"));
    addSetting(its, "itss", QStringLiteral("Set sub-directory"));
    connect(its, &QMenu::aboutToShow, this, &MainWindow::refreshChecks);
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const ToolButton& b : kToolButtons) {
        QAction* action = bar->addAction(style()->standardIcon(b.icon), QString::fromLatin1(b.text));
        action->setObjectName(QStringLiteral("tool_") + QString::fromLatin1(b.name));
        // The tip names the key that does the same, so the keys can be learnt.
        const std::string key = keyNameOfAction(menuAction(b.name));
        const std::string tip = std::string(b.tip) + (key.empty() ? std::string() : " (" + key + ")");
        action->setToolTip(q(tip));
        const char* name = b.name;
        connect(action, &QAction::triggered, this, [this, name] { command(name); });
    }
}

QWidget* MainWindow::fieldGroup(const QString& title, const std::vector<std::string>& captions) {
    auto* box = new QGroupBox(title);
    auto* form = new QGridLayout(box);
    int row = 0;
    for (const std::string& caption : captions) {
        auto* value = new QLineEdit;
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setObjectName(q(caption));
        value->setMinimumWidth(190);
        auto* unit = new QLabel;
        unit->setMinimumWidth(28);
        auto* label = new QLabel(q(caption));
        form->addWidget(label, row, 0);
        form->addWidget(value, row, 1);
        form->addWidget(unit, row, 2);
        m_fields.insert(q(caption), value);
        m_units.insert(q(caption), unit);
        m_captions.insert(q(caption), label);
        ++row;
    }
    form->setColumnStretch(1, 1);
    form->setRowStretch(row, 1);
    return box;
}

QWidget* MainWindow::listBox(const QString& title, QListWidget*& list) {
    auto* box = new QGroupBox(title);
    list = new QListWidget;
    list->setObjectName(title);
    list->setFocusPolicy(Qt::NoFocus);
    (new QVBoxLayout(box))->addWidget(list);
    return box;
}

QWidget* MainWindow::requestBox() {
    auto* box = new QGroupBox(QStringLiteral("Field request"));
    m_grid = new QTableWidget(0, 4);
    m_grid->setObjectName(QStringLiteral("requestGrid"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("start"), QStringLiteral("stop"), QStringLiteral("count"), QStringLiteral("step")});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFixedHeight(m_grid->horizontalHeader()->sizeHint().height() + 3 * 30 + 4);
    (new QVBoxLayout(box))->addWidget(m_grid);
    return box;
}

void MainWindow::buildCentralWidget() {
    auto* central = new QWidget;
    auto* outer = new QVBoxLayout(central);
    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("calculateHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f4e9a;"));
    outer->addWidget(m_hint);
    auto* layout = new QHBoxLayout;
    outer->addLayout(layout, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(fieldGroup(QStringLiteral("Model"), captionsOf(modelFields(m_model.summary))));
    left->addWidget(fieldGroup(QStringLiteral("Source"),
                               captionsOf(sourceFields(m_model.summary, m_model.referenceZ0(), m_model))));
    auto* middle = new QVBoxLayout;
    middle->addWidget(fieldGroup(QStringLiteral("Power budget"), captionsOf(powerFields(m_model.summary))));
    middle->addWidget(requestBox());
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(listBox(QStringLiteral("Comment"), m_comments));
    right->addWidget(listBox(QStringLiteral("Environment"), m_environment));
    layout->addLayout(left, 3);
    layout->addLayout(middle, 3);
    layout->addLayout(right, 3);
    setCentralWidget(central);
}

void MainWindow::refresh() {
    for (const auto& group :
         {modelFields(m_model.summary), sourceFields(m_model.summary, m_model.referenceZ0(), m_model),
          powerFields(m_model.summary)}) {
        for (const SummaryField& f : group) {
            QLineEdit* value = m_fields.value(q(f.caption));
            if (!value) continue;
            value->setText(q(f.text));
            value->setStyleSheet(f.warning ? QStringLiteral("color: #c00000;") : QString());
            value->setToolTip(q(f.toolTip));
            m_units.value(q(f.caption))->setText(q(f.unit));
            QLabel* label = m_captions.value(q(f.caption));
            label->setText(q(f.shownCaption()));
            label->setToolTip(q(f.toolTip));
        }
    }
    m_comments->clear();
    for (const auto& line : m_model.summary.comments) m_comments->addItem(q(line));
    m_environment->clear();
    for (const auto& line : m_model.summary.environment) m_environment->addItem(q(line));
    refreshGrid();
    const QString hint = q(wavra::calculateHint(m_model.summary));
    m_hint->setText(hint);
    m_hint->setVisible(!hint.isEmpty());
    const std::string name = trim(m_model.summary.fileName);
    setWindowTitle(name.empty() ? QStringLiteral("wavra") : QStringLiteral("wavra - ") + q(name));
}

void MainWindow::refreshGrid() {
    const std::vector<GridRow> rows = requestGrid(m_model.summary);
    m_grid->setRowCount(static_cast<int>(rows.size()));
    QStringList captions;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const GridRow& row = rows[static_cast<size_t>(r)];
        captions << q(row.caption);
        const std::string cells[] = {row.start, row.stop, row.count, row.step};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(q(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    m_grid->setVerticalHeaderLabels(captions);
}

void MainWindow::setStatusCaption(const QString& text) { m_status->setText(text); }
QString MainWindow::statusCaption() const { return m_status->text(); }

QString MainWindow::fieldText(const QString& caption) const {
    const QLineEdit* value = m_fields.value(caption);
    if (!value) return {};
    const QString unit = m_units.value(caption)->text();
    return unit.isEmpty() || value->text().isEmpty() ? value->text() : value->text() + u' ' + unit;
}

QString MainWindow::shownCaption(const QString& caption) const {
    const QLabel* label = m_captions.value(caption);
    return label ? label->text() : QString();
}

QString MainWindow::calculateHint() const { return m_hint->isHidden() ? QString() : m_hint->text(); }

QString MainWindow::fieldToolTip(const QString& caption) const {
    const QLineEdit* value = m_fields.value(caption);
    return value ? value->toolTip() : QString();
}

void MainWindow::check(const char* name, bool on) {
    if (auto* action = findChild<QAction*>(QString::fromLatin1(name))) action->setChecked(on);
}

void MainWindow::refreshChecks() {
    const MenuChecks c = menuChecks(m_model, m_model);
    check("lapack", c.lapack);
    check("nec2d", c.nec2d);
    check("nec32", c.special);
    check("wait", c.waitForEngine);
    check("logs", c.logScale);
    check("fast", c.fastDraw);
    check("npad", c.notepad);
    check("astp", c.absoluteSteps);
    check("reuse", c.reuseResults);
    check("watch", c.watchModelFile);
    check("cart", c.cartesian);
    for (int i = 1; i <= 3; ++i) check(QStringLiteral("area%1").arg(i).toLatin1().constData(), c.area[i]);
    for (int i = 1; i <= 4; ++i) check(QStringLiteral("ptp%1").arg(i).toLatin1().constData(), c.pointToPoint[i]);
    for (int i = 1; i <= 3; ++i) check(QStringLiteral("its%1").arg(i).toLatin1().constData(), c.itsHfType[i]);
}

void MainWindow::command(const char* name) {
    const std::string_view item(name);
    if (item == "about") m_model.helpMode = 1;
    if (item == "general") m_model.helpMode = 0;
    postAction(m_model, menuAction(item));
}

void MainWindow::setting(const char* name) {
    chooseSetting(m_model, m_ui, name);
    refreshChecks();
    refresh();
}

void MainWindow::postKey(int16_t code) {
    mainWindowKey(m_model, m_model, code);
    refreshChecks();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    const int16_t code = actionCodeOf(*static_cast<QKeyEvent*>(event));
    if (code == 0) return false;
    postKey(code);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is the exit command; the main loop asks first.
    event->ignore();
    m_model.actionCode = kActionEscape;
}

} // namespace wavra
