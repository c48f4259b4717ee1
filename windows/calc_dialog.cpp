#include "windows/calc_dialog.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/action_codes.h"
#include "engine/deck_adapter.h"
#include "qtbase/qt_text.h"
#include "windows/key_codes.h"

namespace wavra {

namespace {

struct Choice {
    const char* name;
    const char* caption;
    int16_t kind;
};
constexpr std::array<Choice, 6> kChoices = {{
    {"OptDef", "Use original file", kCalcOriginal},
    {"OptFF", "Far Field pattern", kCalcFarField},
    {"OptFR", "Use frequency loop", kCalcFrequencyLoop},
    {"OptNF", "Near Field pattern", kCalcNearField},
    {"Opt13", "ItsHF Area Coverage", kCalcItsHfArea},
    {"Opt14", "ItsHF Point to Point", kCalcItsHfPointToPoint},
}};

std::string text(const QLineEdit* e) { return e->text().toStdString(); }

QLabel* namedLabel(const char* name, QWidget* parent = nullptr) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* namedField(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight);
    field->setMinimumWidth(80);
    return field;
}

} // namespace

CalcDialog::CalcDialog(Model& model, Ui& ui, QWidget* parent) : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("Gen"));
    setWindowTitle(QStringLiteral("Calculate  (F7)"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildChoices());
    auto* right = new QVBoxLayout;
    right->addWidget(buildGrid());
    right->addWidget(buildFarField());
    right->addStretch();
    top->addLayout(right, 1);
    layout->addLayout(top);
    layout->addWidget(buildButtons());
}

QWidget* CalcDialog::buildChoices() {
    auto* box = new QGroupBox(QStringLiteral("Calculation"));
    auto* layout = new QVBoxLayout(box);
    for (size_t i = 0; i < kChoices.size(); ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(kChoices[i].caption));
        button->setObjectName(QString::fromLatin1(kChoices[i].name));
        button->installEventFilter(this);
        const int16_t kind = kChoices[i].kind;
        connect(button, &QRadioButton::toggled, this, [this, kind](bool on) {
            if (!on || m_settingUp) return;
            chooseCalcKind(m_model, m_rows, kind, m_previousKind);
            setup();
        });
        m_choices[i] = button;
        layout->addWidget(button);
    }
    layout->addSpacing(8);
    auto* subBox = new QWidget;
    subBox->setObjectName(QStringLiteral("subOptions"));
    auto* subLayout = new QHBoxLayout(subBox);
    subLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton;
        button->setObjectName(QStringLiteral("Opt%1").arg(i));
        button->installEventFilter(this);
        connect(button, &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on || m_settingUp) return;
            chooseSubOption(m_model, m_rows, i);
            setup();
        });
        m_subOptions[i] = button;
        subLayout->addWidget(button);
    }
    layout->addWidget(subBox);
    layout->addStretch();
    return box;
}

QWidget* CalcDialog::buildGrid() {
    m_grid = new QGroupBox;
    m_grid->setObjectName(QStringLiteral("FraXYZ"));
    auto* layout = new QGridLayout(m_grid);
    const char* rowNames[] = {"LabX", "LabY", "LabZ"};
    const char* columnNames[] = {"LabSta", "LabSto", "LabNrs"};
    for (int c = 0; c < 3; ++c) {
        m_columnLabels[c] = namedLabel(columnNames[c]);
        m_columnLabels[c]->setAlignment(Qt::AlignCenter);
        layout->addWidget(m_columnLabels[c], 0, c + 1);
    }
    for (int r = 0; r < 3; ++r) {
        m_rowLabels[r] = namedLabel(rowNames[r]);
        layout->addWidget(m_rowLabels[r], r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            QLineEdit* field = namedField(QStringLiteral("txtXYZ%1").arg(3 * r + c + 1));
            field->installEventFilter(this);
            m_fields[3 * r + c] = field;
            layout->addWidget(field, r + 1, c + 1);
        }
        m_unitLabels[r] = new QLabel;
        m_unitLabels[r]->setObjectName(QStringLiteral("LabUnit%1").arg(r + 1));
        layout->addWidget(m_unitLabels[r], r + 1, 4);
    }
    m_infoX = namedLabel("LabIX");
    m_infoY = namedLabel("LabIY");
    layout->addWidget(m_infoX, 1, 2, 1, 2);
    layout->addWidget(m_infoY, 2, 2, 1, 2);
    m_note = namedLabel("LabNote");
    m_note->setWordWrap(true);
    layout->addWidget(m_note, 4, 0, 1, 5);
    return m_grid;
}

QWidget* CalcDialog::buildFarField() {
    m_farField = new QGroupBox(QStringLiteral("Far field"));
    m_farField->setObjectName(QStringLiteral("FraFF"));
    auto* layout = new QGridLayout(m_farField);
    m_xnda = namedField(QStringLiteral("TxtXNDA"));
    m_distance = namedField(QStringLiteral("TxtDist"));
    m_gainFactor = namedField(QStringLiteral("TxtGfac"));
    m_xnda->setMaxLength(8);
    layout->addWidget(new QLabel(QStringLiteral("XNDA")), 0, 0);
    layout->addWidget(m_xnda, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Distance")), 0, 2);
    layout->addWidget(m_distance, 0, 3);
    layout->addWidget(new QLabel(QStringLiteral("km")), 0, 4);
    layout->addWidget(new QLabel(QStringLiteral("Gain fctr")), 1, 0);
    layout->addWidget(m_gainFactor, 1, 1);
    m_surfaceWave = new QCheckBox(QStringLiteral("Add surface wave"));
    m_surfaceWave->setObjectName(QStringLiteral("ChkSWav"));
    layout->addWidget(m_surfaceWave, 1, 2, 1, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{m_xnda, m_distance, m_gainFactor, m_surfaceWave})
        w->installEventFilter(this);
    connect(m_surfaceWave, &QCheckBox::toggled, this, [this](bool on) {
        if (m_settingUp) return;
        chooseSurfaceWave(m_model, m_rows, on);
        setup();
    });
    return m_farField;
}

QWidget* CalcDialog::buildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->addStretch();
    auto* go = new QPushButton(QStringLiteral("Generate"));
    go->setObjectName(QStringLiteral("generate"));
    go->setAutoDefault(false);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"));
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    cancelButton->setAutoDefault(false);
    connect(go, &QPushButton::clicked, this, &CalcDialog::generate);
    connect(cancelButton, &QPushButton::clicked, this, &CalcDialog::cancel);
    layout->addWidget(go);
    layout->addWidget(cancelButton);
    return row;
}

void CalcDialog::run() {
    m_opening = saveCalcChoice(m_model, m_model);
    m_previousKind = m_model.calcKind;
    m_model.actionCode = 0;
    m_rows = openCalcRows(m_model);
    setup();
    adjustSize();
    placeOnScreen();
    exec();
    if (m_model.actionCode != kActionGenerate) m_model.actionCode = kActionEscape;
}

// One third of the free screen space to the left and above.
void CalcDialog::placeOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect free = s->availableGeometry();
    move(free.left() + (free.width() - width()) / 3, free.top() + (free.height() - height()) / 3);
}

void CalcDialog::setup() {
    m_settingUp = true;
    for (size_t i = 0; i < kChoices.size(); ++i) m_choices[i]->setChecked(kChoices[i].kind == m_model.calcKind);
    const CalcLayout layout = calcLayout(m_model);
    for (int i = 0; i < 4; ++i) {
        m_subOptions[i]->setText(q(layout.subCaptions[i]));
        m_subOptions[i]->setVisible(!layout.subCaptions[i].empty());
        m_subOptions[i]->setAutoExclusive(false);
        m_subOptions[i]->setChecked(i == m_model.calcSubMode && !layout.subCaptions[i].empty());
        m_subOptions[i]->setAutoExclusive(true);
    }
    showGrid(layout);
    m_farField->setVisible(layout.farFieldExtras);
    showFields();
    m_settingUp = false;
}

void CalcDialog::showGrid(const CalcLayout& layout) {
    m_grid->setVisible(layout.rows > 0);
    for (int c = 0; c < 3; ++c) {
        m_columnLabels[c]->setText(q(layout.columnCaptions[c]));
        m_columnLabels[c]->setVisible(!layout.startOnly);
    }
    for (int r = 0; r < 3; ++r) {
        m_rowLabels[r]->setText(q(layout.rowCaptions[r]));
        m_rowLabels[r]->setVisible(r < layout.rows);
        m_unitLabels[r]->setText(q(layout.rowUnits[r]));
        m_unitLabels[r]->setVisible(r < layout.rows);
        for (int c = 0; c < 3; ++c) m_fields[3 * r + c]->setVisible(r < layout.rows && (c == 0 || !layout.startOnly));
    }
    m_infoX->setText(q(layout.infoX));
    m_infoY->setText(q(layout.infoY));
    m_infoX->setVisible(!layout.infoX.empty());
    m_infoY->setVisible(!layout.infoY.empty());
    m_note->setText(q(layout.note));
    m_note->setVisible(!layout.note.empty());
}

void CalcDialog::showFields() {
    for (int i = 0; i < 9; ++i) m_fields[i]->setText(q(rangeText(m_model.calcRange[i])));
    m_xnda->setText(q(xndaText(m_model.requestXnda)));
    m_distance->setText(q(distanceText(m_model)));
    m_gainFactor->setText(q(gainFactorText(m_model)));
    m_surfaceWave->setChecked(m_model.surfaceWaveFlag != 0);
}

bool CalcDialog::commit(QObject* field, bool enterPressed) {
    for (int i = 0; i < 9; ++i) {
        if (field != m_fields[i]) continue;
        const auto before = m_model.calcRange;
        enterRangeField(m_model, i + 1, text(m_fields[i]), enterPressed);
        // The field itself, and the steps the rules copied into other rows.
        for (int k = 0; k < 9; ++k)
            if (k == i || m_model.calcRange[k] != before[k]) m_fields[k]->setText(q(rangeText(m_model.calcRange[k])));
        showGrid(calcLayout(m_model)); // a changed loop frequency ends a multiplicative loop's note
        return true;
    }
    if (field == m_xnda) {
        const bool valid = checkXnda(text(m_xnda)).valid;
        m_xnda->setText(q(enterXnda(m_model, m_ui, text(m_xnda))));
        return valid;
    }
    if (field == m_distance) {
        enterDistance(m_model, text(m_distance));
        m_distance->setText(q(distanceText(m_model)));
    } else if (field == m_gainFactor) {
        enterGainFactor(m_model, text(m_gainFactor));
        m_gainFactor->setText(q(gainFactorText(m_model)));
    }
    return true;
}

void CalcDialog::enterPressedIn(QObject* field) {
    if (commit(field, true)) finish();
}

void CalcDialog::generate() {
    // The field being edited is left, as if the user had tabbed out of it.
    if (QWidget* focused = focusWidget(); focused && focused->inherits("QLineEdit") && !commit(focused, false)) return;
    finish();
}

void CalcDialog::finish() {
    if (!commitEdited()) return;
    if (generateCalculation(m_model, m_ui)) accept();
}

// Every field whose text is not what the model holds is taken as if it had
// been left, row by row, so a stop is known before its step is checked.
bool CalcDialog::commitEdited() {
    for (int i = 0; i < 9; ++i)
        if (m_fields[i]->isVisible() && m_fields[i]->text() != q(rangeText(m_model.calcRange[i])))
            commit(m_fields[i], false);
    if (m_distance->text() != q(distanceText(m_model))) commit(m_distance, false);
    if (m_gainFactor->text() != q(gainFactorText(m_model))) commit(m_gainFactor, false);
    return m_xnda->text() == q(xndaText(m_model.requestXnda)) || commit(m_xnda, false);
}

void CalcDialog::cancel() {
    restoreCalcChoice(m_model, m_model, m_opening);
    m_model.actionCode = kActionEscape;
    done(QDialog::Rejected);
}

void CalcDialog::reject() { cancel(); }

bool CalcDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && qobject_cast<QLineEdit*>(watched)) {
        // A message box or another window taking the focus does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (isVisible() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commit(watched, false);
    } else if (event->type() == QEvent::KeyPress) {
        const int16_t code = actionCodeOf(*static_cast<QKeyEvent*>(event));
        if (code == kActionGenerate) {
            enterPressedIn(watched);
            return true;
        }
        if (code == kActionEscape) {
            cancel();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CalcDialog::keyPressEvent(QKeyEvent* event) {
    const int16_t code = actionCodeOf(*event);
    if (code == kActionGenerate) generate();
    else if (code == kActionEscape) cancel();
    else QDialog::keyPressEvent(event);
}

} // namespace wavra
