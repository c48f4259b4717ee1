// The calculation options dialog, "Calculate  (F7)" (form Gen): the choice
// of calculation, its sub-option, the start, stop and step grid and the
// far-field extras. Every rule lives in engine/calc_dialog_rules; the
// dialog shows the model's values and hands each entry to those rules.
#pragma once

#include <QDialog>
#include <array>

#include "core/model.h"
#include "core/ui.h"
#include "present/calc_dialog_rules.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace wavra {

class CalcDialog : public QDialog {
    Q_OBJECT
public:
    CalcDialog(Model& model, Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog modally; actionCode is 13 (generate) or 27 (cancel)
    // afterwards. Cancel leaves the calculation choice as it was.
    void run();

    // The Generate and Cancel buttons.
    void generate();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    Model& m_model;
    Ui& m_ui;
    CalcChoice m_opening;
    CalcRowMemory m_rows;
    int16_t m_previousKind = 0;
    bool m_settingUp = false;

    FixedColumn<QRadioButton*, 6> m_choices{};
    FixedColumn<QRadioButton*, 4> m_subOptions{};
    QGroupBox* m_grid = nullptr;
    FixedColumn<QLineEdit*, 9> m_fields{};
    FixedColumn<QLabel*, 3> m_rowLabels{};
    FixedColumn<QLabel*, 3> m_unitLabels{};
    FixedColumn<QLabel*, 3> m_columnLabels{};
    QLabel* m_infoX = nullptr;
    QLabel* m_infoY = nullptr;
    QLabel* m_note = nullptr; // below the grid
    QGroupBox* m_farField = nullptr;
    QLineEdit* m_xnda = nullptr;
    QLineEdit* m_distance = nullptr;
    QLineEdit* m_gainFactor = nullptr;
    QCheckBox* m_surfaceWave = nullptr;

    QWidget* buildChoices();
    QWidget* buildGrid();
    QWidget* buildFarField();
    QWidget* buildButtons();
    void setup();
    void showGrid(const CalcLayout& layout);
    void showFields();
    void placeOnScreen();
    // Takes the entry of a field as it is left; false when it was refused.
    bool commit(QObject* field, bool enterPressed);
    void enterPressedIn(QObject* field);
    void finish();
    bool commitEdited();
};

} // namespace wavra
