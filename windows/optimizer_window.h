// The optimizer window (form Op), "Optimizer": the model's variables and
// the chosen ones, the weights and targets of the six results, the forward
// and back directions with their widths, the resolution, the gain kind, the
// surface wave, the first-run behaviour and the ItsHF sweep, the three
// grids, the progress bar and the buttons Start/Halt/Resume, Save results
// and Exit. The session does the work; the window shows it and stays
// responsive while the engines run.
#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "engine/process.h"
#include "optimizer/session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace wavra {

class OptimizerWindow : public QDialog {
    Q_OBJECT
public:
    OptimizerWindow(Model& model, Ui& ui, ProcessRunner& runner, QWidget* parent = nullptr);
    ~OptimizerWindow() override;

    // Opens: the log is started, the entries restored; shown modally until Exit.
    void run();
    void open();

    // The entries as the optimizer takes them.
    OptimizerSetup setup() const;
    // Start, Halt or Resume, by the button's caption.
    void pressStart();
    void pressSave();
    // Exit and closing the window, with their questions.
    void reject() override;
    bool running() const { return m_running; }

    // The controls, for the window tests.
    QListWidget* availableList() const { return m_available; }
    QListWidget* chosenList() const { return m_chosen; }
    QLineEdit* weightBox(size_t k) const { return m_weights[k]; }
    QLineEdit* thetaBox(size_t i) const { return m_theta[i]; } // forward 0, back 1
    QPushButton* startButton() const { return m_start; }
    QTableWidget* resultsGrid() const { return m_results; }
    QTableWidget* sensitivityGrid() const { return m_sensitivity; }
    QTableWidget* valuesGrid() const { return m_values; }
    QComboBox* firstRunBox() const { return m_firstRun; }
    QLabel* statusLabel() const { return m_status; }
    OptimizerSession& session() { return m_session; }
    // Chooses a variable as a double click in "Avail-Var's" does.
    void chooseVariable(const QString& name);

private:
    Model& m_model;
    Ui& m_ui;
    OptimizerSession m_session;
    OptimizerSetup m_setup; // targets and what the fields do not hold
    bool m_running = false, m_exitRequested = false, m_closeAfterRun = false, m_checking = false;

    QListWidget* m_available = nullptr;
    QListWidget* m_chosen = nullptr;
    std::array<QLabel*, kParamCount> m_labels{};
    std::array<QLineEdit*, kParamCount> m_weights{};
    std::array<QLineEdit*, 2> m_theta{}, m_phi{}, m_dTheta{}, m_dPhi{};
    QLineEdit* m_resolution = nullptr;
    std::array<QRadioButton*, 5> m_gainKinds{};
    QCheckBox* m_surface = nullptr;
    QLineEdit* m_distance = nullptr;
    QComboBox* m_firstRun = nullptr;
    QLineEdit *m_mainBeam = nullptr, *m_sweepStep = nullptr, *m_sweepSteps = nullptr;
    QCheckBox* m_percent = nullptr;
    QTableWidget *m_results = nullptr, *m_sensitivity = nullptr, *m_values = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton *m_start = nullptr, *m_exit = nullptr, *m_save = nullptr;
    QLabel* m_status = nullptr;

    QWidget* makeVariables();
    QWidget* makeParameters();
    QWidget* makeDirections();
    QWidget* makeOptions();
    QWidget* makeGrids();
    void targetMenu(size_t k, const QPoint& at);
    void checkField(QLineEdit* box, AngleField field);
    void showEntries();
    SessionHooks hooks();
    void startGrids(const std::vector<std::string>& header);
    void addRow(const TrialRow& row);
    void addSensitivities(const std::vector<double>& g);
    void setRunning(bool running);
    void finishClose();
};

} // namespace wavra
