#include "windows/optimizer_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/text.h"
#include "deck/reader.h"
#include "optimizer/run_progress.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

const char* const kTitle = "Optimizer";

const std::array<const char*, kParamCount> kLabelTexts{"SWR", "Gain", "F / B", "R ant", "X ant", "Eff."};
const std::array<const char*, kParamCount> kLabelTips{"Standing wave ratio", "Forward gain/ Electic-field.",
                                                      "Front to back ratio", "Input resistance",
                                                      "Input reactance",     "Radiation efficiency"};
const std::array<const char*, 5> kGainKindTexts{"Ver-gain", "Hor-gain", "Tot-gain", "E-Theta", "E-Phi"};

QLineEdit* numberBox(const QString& text = {}) {
    auto* box = new QLineEdit(text);
    box->setMaximumWidth(70);
    return box;
}

QString entry(double v) { return q(trim(str(v))); }

double numberIn(const QLineEdit* box) { return readNumber(box->text().toStdString()); }

QTableWidget* grid(const QStringList& header) {
    auto* table = new QTableWidget(0, static_cast<int>(header.size()));
    table->setHorizontalHeaderLabels(header);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

void appendRow(QTableWidget* table, const std::vector<std::string>& texts) {
    const int row = table->rowCount();
    table->insertRow(row);
    for (size_t c = 0; c < texts.size() && static_cast<int>(c) < table->columnCount(); ++c)
        table->setItem(row, static_cast<int>(c), new QTableWidgetItem(q(texts[c])));
    table->scrollToBottom();
}

} // namespace

OptimizerWindow::OptimizerWindow(Model& model, Ui& ui, ProcessRunner& runner, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(ui), m_session(model, ui, runner) {
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* top = new QHBoxLayout;
    top->addWidget(makeVariables());
    auto* middle = new QVBoxLayout;
    middle->addWidget(makeParameters());
    middle->addWidget(makeDirections());
    middle->addWidget(makeOptions());
    top->addLayout(middle);
    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("Start"));
    m_save = new QPushButton(QStringLiteral("Save results"));
    m_exit = new QPushButton(QStringLiteral("Exit"));
    m_progress = new QProgressBar;
    m_progress->setRange(0, 100);
    m_status = new QLabel;
    buttons->addWidget(m_start);
    buttons->addWidget(m_save);
    buttons->addWidget(m_exit);
    buttons->addWidget(m_progress, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(makeGrids(), 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    connect(m_start, &QPushButton::clicked, this, &OptimizerWindow::pressStart);
    connect(m_save, &QPushButton::clicked, this, &OptimizerWindow::pressSave);
    connect(m_exit, &QPushButton::clicked, this, &OptimizerWindow::reject);
    m_start->setAutoDefault(false);
    m_save->setAutoDefault(false);
    m_exit->setAutoDefault(false);
}

OptimizerWindow::~OptimizerWindow() = default;

QWidget* OptimizerWindow::makeVariables() {
    auto* box = new QGroupBox;
    auto* layout = new QVBoxLayout(box);
    m_available = new QListWidget;
    m_available->setToolTip(QStringLiteral("Select variable(s) to modify"));
    m_chosen = new QListWidget;
    layout->addWidget(new QLabel(QStringLiteral("Avail-Var's")));
    layout->addWidget(m_available);
    layout->addWidget(new QLabel(QStringLiteral("Sel-Var's")));
    layout->addWidget(m_chosen);
    connect(m_available, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { chooseVariable(item->text()); });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!m_running) delete m_chosen->takeItem(m_chosen->row(item));
    });
    return box;
}

void OptimizerWindow::chooseVariable(const QString& name) {
    if (m_running || !m_chosen->findItems(name, Qt::MatchExactly).isEmpty()) return;
    if (static_cast<size_t>(m_chosen->count()) >= kMaxVariables) return;
    m_chosen->addItem(name);
}

QWidget* OptimizerWindow::makeParameters() {
    auto* box = new QGroupBox(QStringLiteral("Param's to optimize / importance"));
    auto* layout = new QGridLayout(box);
    for (size_t k = 0; k < kParamCount; ++k) {
        m_labels[k] = new QLabel(QString::fromLatin1(kLabelTexts[k]));
        m_labels[k]->setToolTip(QString::fromLatin1(kLabelTips[k]));
        m_labels[k]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_labels[k], &QLabel::customContextMenuRequested, this,
                [this, k](const QPoint& at) { targetMenu(k, m_labels[k]->mapToGlobal(at)); });
        m_weights[k] = numberBox(QStringLiteral("0"));
        layout->addWidget(m_labels[k], 0, static_cast<int>(k));
        layout->addWidget(m_weights[k], 1, static_cast<int>(k));
    }
    return box;
}

void OptimizerWindow::targetMenu(size_t k, const QPoint& at) {
    QMenu menu(this);
    QAction* maximize = menu.addAction(QStringLiteral("Maximize"));
    QAction* minimize = menu.addAction(QStringLiteral("Minimize"));
    QAction* target = menu.addAction(QStringLiteral("Set target"));
    QAction* chosen = menu.exec(at);
    if (chosen == maximize) m_setup.targets[k] = kMaximize;
    else if (chosen == minimize) m_setup.targets[k] = kMinimize;
    else if (chosen == target) {
        const auto answer =
            m_ui.inputBox(kTitle, "Enter desired target value for " + paramName(k), trim(str(m_setup.targets[k])));
        if (answer && isNumeric(*answer)) m_setup.targets[k] = readNumber(*answer);
    }
}

QWidget* OptimizerWindow::makeDirections() {
    auto* box = new QGroupBox;
    auto* layout = new QGridLayout(box);
    const QStringList heads{QStringLiteral("Theta"), QStringLiteral("Phi"), QStringLiteral("d-The"),
                            QStringLiteral("d-Phi")};
    for (int c = 0; c < heads.size(); ++c) layout->addWidget(new QLabel(heads[c]), 0, c + 1);
    for (size_t i = 0; i < 2; ++i) {
        const int row = static_cast<int>(i) + 1;
        layout->addWidget(new QLabel(i == 0 ? QStringLiteral("Forward") : QStringLiteral("Back")), row, 0);
        m_theta[i] = numberBox();
        m_phi[i] = numberBox();
        m_dTheta[i] = numberBox(QStringLiteral("0"));
        m_dPhi[i] = numberBox(QStringLiteral("0"));
        const std::array<std::pair<QLineEdit*, AngleField>, 4> fields{{{m_theta[i], AngleField::Theta},
                                                                       {m_phi[i], AngleField::Phi},
                                                                       {m_dTheta[i], AngleField::DeltaTheta},
                                                                       {m_dPhi[i], AngleField::DeltaPhi}}};
        for (size_t c = 0; c < fields.size(); ++c) {
            layout->addWidget(fields[c].first, row, static_cast<int>(c) + 1);
            connect(fields[c].first, &QLineEdit::editingFinished, this,
                    [this, f = fields[c]] { checkField(f.first, f.second); });
        }
    }
    m_resolution = numberBox(QStringLiteral("0"));
    connect(m_resolution, &QLineEdit::editingFinished, this,
            [this] { checkField(m_resolution, AngleField::Resolution); });
    layout->addWidget(new QLabel(QStringLiteral("Resolution")), 3, 0);
    layout->addWidget(m_resolution, 3, 1);
    for (size_t k = 0; k < m_gainKinds.size(); ++k) {
        m_gainKinds[k] = new QRadioButton(QString::fromLatin1(kGainKindTexts[k]));
        layout->addWidget(m_gainKinds[k], 4, static_cast<int>(k));
    }
    m_gainKinds[static_cast<size_t>(GainKind::Total)]->setChecked(true);
    return box;
}

// An entry is checked when the field is left; a wrong one keeps the focus.
void OptimizerWindow::checkField(QLineEdit* box, AngleField field) {
    if (m_checking || box->text().trimmed().isEmpty()) return;
    const std::string problem = fieldProblem(field, numberIn(box), numberIn(m_resolution));
    if (problem.empty()) return;
    m_checking = true;
    m_ui.message(problem, kTitle, Icon::Exclamation);
    box->setFocus();
    box->selectAll();
    m_checking = false;
}

QWidget* OptimizerWindow::makeOptions() {
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    m_surface = new QCheckBox(QStringLiteral("Surf-wave at distance = "));
    m_surface->setToolTip(QStringLiteral("Select to include surface wave"));
    m_distance = numberBox(QStringLiteral("0"));
    m_firstRun = new QComboBox;
    m_firstRun->addItems({QStringLiteral("Optimize"), QStringLiteral("Increase"), QStringLiteral("Decrease"),
                          QStringLiteral("Area-Cov."), QStringLiteral("Pnt-to-Pnt")});
    m_firstRun->setToolTip(QStringLiteral("Set first run behavour"));
    layout->addWidget(m_surface, 0, 0);
    layout->addWidget(m_distance, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("km")), 0, 2);
    layout->addWidget(m_firstRun, 0, 3);
    auto* its = new QGroupBox(QStringLiteral("ItsHF"));
    auto* itsLayout = new QGridLayout(its);
    m_mainBeam = numberBox(QStringLiteral("0"));
    m_sweepStep = numberBox(QStringLiteral("0"));
    m_sweepSteps = numberBox(QStringLiteral("10"));
    m_percent = new QCheckBox(QStringLiteral("%"));
    itsLayout->addWidget(new QLabel(QStringLiteral("Phi ang. main-beam")), 0, 0);
    itsLayout->addWidget(m_mainBeam, 0, 1);
    itsLayout->addWidget(new QLabel(QStringLiteral("Step size pos/neg")), 1, 0);
    itsLayout->addWidget(m_sweepStep, 1, 1);
    itsLayout->addWidget(m_percent, 1, 2);
    itsLayout->addWidget(new QLabel(QStringLiteral("Number of steps")), 2, 0);
    itsLayout->addWidget(m_sweepSteps, 2, 1);
    layout->addWidget(its, 1, 0, 1, 4);
    return box;
}

QWidget* OptimizerWindow::makeGrids() {
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    m_results = grid({});
    m_sensitivity = grid({});
    m_values = grid({});
    layout->addWidget(new QLabel(QStringLiteral("Calculated results:")), 0, 0);
    layout->addWidget(m_results, 1, 0, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Variable Sensivity:")), 0, 1);
    layout->addWidget(m_sensitivity, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Variable Values:")), 2, 1);
    layout->addWidget(m_values, 3, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    return box;
}

void OptimizerWindow::open() {
    m_session.open();
    m_available->clear();
    for (const auto& name : availableVariables(m_model)) m_available->addItem(q(name));
    readSetupTexts(m_setup, m_model.optimizerText1, m_model.optimizerText2);
    showEntries();
    m_status->clear();
}

void OptimizerWindow::run() {
    open();
    exec();
}

void OptimizerWindow::showEntries() {
    for (size_t k = 0; k < kParamCount; ++k) m_weights[k]->setText(entry(m_setup.weightPercent[k]));
    m_surface->setChecked(m_setup.surfaceWave);
    m_theta[0]->setText(entry(m_setup.forward.theta));
    m_phi[0]->setText(entry(m_setup.forward.phi));
    m_theta[1]->setText(m_setup.back ? entry(m_setup.back->theta) : QString());
    m_phi[1]->setText(m_setup.back ? entry(m_setup.back->phi) : QString());
    m_distance->setText(entry(m_setup.surfaceDistanceKm));
    m_resolution->setText(entry(m_setup.resolution));
    m_dTheta[0]->setText(entry(m_setup.forwardWidth.theta));
    m_dPhi[0]->setText(entry(m_setup.forwardWidth.phi));
    m_dTheta[1]->setText(entry(m_setup.backWidth.theta));
    m_dPhi[1]->setText(entry(m_setup.backWidth.phi));
}

OptimizerSetup OptimizerWindow::setup() const {
    OptimizerSetup s = m_setup;
    s.variables.clear();
    for (int i = 0; i < m_chosen->count(); ++i) s.variables.push_back(m_chosen->item(i)->text().toStdString());
    for (size_t k = 0; k < kParamCount; ++k) s.weightPercent[k] = numberIn(m_weights[k]);
    s.forward = {numberIn(m_theta[0]), numberIn(m_phi[0])};
    s.back.reset();
    if (!m_theta[1]->text().trimmed().isEmpty() && !m_phi[1]->text().trimmed().isEmpty())
        s.back = Direction{numberIn(m_theta[1]), numberIn(m_phi[1])};
    s.forwardWidth = {numberIn(m_dTheta[0]), numberIn(m_dPhi[0])};
    s.backWidth = {numberIn(m_dTheta[1]), numberIn(m_dPhi[1])};
    s.resolution = numberIn(m_resolution);
    for (size_t k = 0; k < m_gainKinds.size(); ++k)
        if (m_gainKinds[k]->isChecked()) s.gainKind = static_cast<GainKind>(k);
    s.surfaceWave = m_surface->isChecked();
    s.surfaceDistanceKm = numberIn(m_distance);
    s.firstRun = static_cast<FirstRun>(std::max(0, m_firstRun->currentIndex()));
    s.mainBeamPhi = numberIn(m_mainBeam);
    s.sweepStep = numberIn(m_sweepStep);
    s.sweepSteps = static_cast<int>(numberIn(m_sweepSteps));
    s.stepInPercent = m_percent->isChecked();
    return s;
}

SessionHooks OptimizerWindow::hooks() {
    SessionHooks h;
    h.started = [this](const std::vector<std::string>& header) { startGrids(header); };
    h.row = [this](const TrialRow& row) { addRow(row); };
    h.sensitivities = [this](const std::vector<double>& g) { addSensitivities(g); };
    h.status = [this](const std::string& text) { m_status->setText(q(text)); };
    h.firstRunOver = [this] { m_firstRun->setCurrentIndex(0); };
    // The bar counts the runs; while the engines run the window keeps
    // taking events, so that Halt and Exit reach it.
    h.progress = [](int) { QCoreApplication::processEvents(); };
    h.runDone = [this](int done, int planned) {
        const RunProgress bar = runProgress(done, planned);
        m_progress->setFormat(planned > 0 ? QStringLiteral("%v of %m runs") : QStringLiteral("%v runs"));
        m_progress->setRange(0, bar.maximum);
        m_progress->setValue(bar.value);
    };
    h.stop = [this] { return m_exitRequested ? StopReason::Exit : StopReason::None; };
    return h;
}

void OptimizerWindow::startGrids(const std::vector<std::string>& header) {
    const bool absolute = m_model.optimizerAbs != 0;
    QStringList results{QStringLiteral("Run:"),
                        QStringLiteral("SWR"),
                        QStringLiteral("Gain"),
                        QStringLiteral("F/B"),
                        QStringLiteral("R-a"),
                        QStringLiteral("X-a"),
                        QStringLiteral("Eff."),
                        QStringLiteral("Res. %"),
                        absolute ? QStringLiteral("Step % (abs)") : QStringLiteral("Step % (rel)")};
    QStringList names, values{QStringLiteral("Run:")};
    for (size_t i = logHeader({}).size(); i < header.size(); ++i) names << q(header[i]);
    values << names;
    const auto reset = [](QTableWidget* table, const QStringList& labels) {
        if (table->columnCount() == labels.size()) return; // a resumed run goes on below
        table->setRowCount(0);
        table->setColumnCount(static_cast<int>(labels.size()));
        table->setHorizontalHeaderLabels(labels);
    };
    reset(m_results, results);
    reset(m_sensitivity, names);
    reset(m_values, values);
}

void OptimizerWindow::addRow(const TrialRow& row) {
    const std::vector<std::string> texts = rowTexts(row, setup().goals().fieldValues());
    const size_t results = logHeader({}).size();
    appendRow(m_results, std::vector<std::string>(texts.begin(), texts.begin() + static_cast<long>(results)));
    std::vector<std::string> values{texts[0]};
    values.insert(values.end(), texts.begin() + static_cast<long>(results), texts.end());
    appendRow(m_values, values);
}

void OptimizerWindow::addSensitivities(const std::vector<double>& g) {
    std::vector<std::string> texts;
    for (double v : g) texts.push_back(formatPicture(v, "0.0000"));
    appendRow(m_sensitivity, texts);
}

void OptimizerWindow::setRunning(bool running) {
    m_running = running;
    m_save->setEnabled(!running);
    m_available->setEnabled(!running);
}

void OptimizerWindow::pressStart() {
    if (m_running) {
        m_model.actionCode = kActionEscape; // Halt: after the engine runs under way
        return;
    }
    const bool resume = m_start->text() == QStringLiteral("Resume");
    if (!resume) {
        for (QTableWidget* table : {m_results, m_sensitivity, m_values}) table->setColumnCount(0);
    }
    setRunning(true);
    m_start->setText(QStringLiteral("Halt"));
    if (!resume) {
        m_progress->setFormat(QStringLiteral("%v runs"));
        m_progress->setRange(0, runProgress(0, 0).maximum);
        m_progress->setValue(0);
    }
    const SessionEnd end = m_session.start(setup(), resume, hooks());
    setRunning(false); // the bar keeps the count of the runs made
    m_start->setText(end == SessionEnd::Halted ? QStringLiteral("Resume") : QStringLiteral("Start"));
    if (m_closeAfterRun) finishClose();
}

void OptimizerWindow::pressSave() {
    FileRequest request{"Save results", "File name:", m_model.modelDir, m_model.modelName + m_model.modelExt,
                        "*" + m_model.modelExt};
    if (const auto choice = m_ui.saveFile(request)) m_session.saveResults(choice->path());
}

void OptimizerWindow::reject() {
    if (m_running) {
        if (!m_ui.askYesNo(kTitle, "Halt optimization ?")) return;
        m_model.actionCode = kActionEscape;
        if (!m_ui.askYesNo(kTitle, "Exit optimizer ?")) return;
        // The engines under way are ended and the window closes once the
        // run has returned.
        m_exitRequested = m_closeAfterRun = true;
        return;
    }
    if (!m_ui.askYesNo(kTitle, "Exit optimizer ?")) return;
    finishClose();
}

void OptimizerWindow::finishClose() {
    // The main loop keeps the last accepted trial's report the run read.
    m_session.close(setup());
    m_model.optimizerResultRead = m_session.hasResult();
    QDialog::reject();
}

} // namespace wavra
