#include "windows/wire_dialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/action_codes.h"
#include "windows/key_codes.h"

namespace wavra {

WireDialog::WireDialog(Handlers handlers, QWidget* parent) : QDialog(parent), m_handlers(std::move(handlers)) {
    setObjectName(QStringLiteral("W"));
    setWindowTitle(QStringLiteral("Wire geometry"));
    auto* form = new QFormLayout;
    auto field = [&](const char* name, const char* label, std::string WireFields::*member) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->installEventFilter(this);
        form->addRow(QString::fromLatin1(label), edit);
        m_fields.emplace_back(edit, member);
        return edit;
    };
    field("X1", "X1", &WireFields::x1);
    field("Y1", "Y1", &WireFields::y1);
    field("Z1", "Z1", &WireFields::z1);
    field("X2", "X2", &WireFields::x2);
    field("Y2", "Y2", &WireFields::y2);
    field("Z2", "Z2", &WireFields::z2);
    field("Rad", "Radius", &WireFields::radius);
    field("Len", "(new) Wire length", &WireFields::length);
    field("Segs", "Segments", &WireFields::segments)->setReadOnly(true);
    field("Tagn", "Tag", &WireFields::tag)->setReadOnly(true);
    m_end = new QSpinBox;
    m_end->setObjectName(QStringLiteral("End"));
    m_end->setRange(1, 2);
    m_end->installEventFilter(this);
    form->addRow(QStringLiteral("modify End  X"), m_end);
    field("Xang", "Rotate in YZ", &WireFields::rotateYZ);
    field("Yang", "Rotate in XZ ", &WireFields::rotateXZ);
    field("Zang", "Rotate in XY", &WireFields::rotateXY);
    connect(m_end, &QSpinBox::valueChanged, this, [this](int end) {
        if (!m_filling && m_handlers.endChosen) m_handlers.endChosen(end);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &WireDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &WireDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setModal(false);
}

void WireDialog::showWire(int16_t row, const WireFields& f, int end) {
    m_row = row;
    m_filling = true;
    for (const auto& [edit, member] : m_fields) edit->setText(QString::fromStdString(f.*member));
    m_end->setValue(end);
    m_filling = false;
    show();
    raise();
}

WireFields WireDialog::fields() const {
    WireFields f;
    for (const auto& [edit, member] : m_fields) f.*member = edit->text().toStdString();
    return f;
}

void WireDialog::accept() {
    hide();
    if (m_handlers.accept) m_handlers.accept(m_row, m_end->value(), fields());
}

void WireDialog::reject() {
    hide();
    if (m_handlers.cancel) m_handlers.cancel();
}

void WireDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

// Typing stays in the fields; the keys that leave a window reach the loops.
bool WireDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int16_t code = actionCodeOf(*static_cast<QKeyEvent*>(event));
        if (code == kActionEscape) {
            reject();
            return true;
        }
        if (code == kActionGenerate) {
            accept();
            return true;
        }
        if ((code >= kActionHelp && code <= kActionOptimizer) || code == kActionOpen || code == kActionSaveOutput) {
            hide();
            if (m_handlers.post) m_handlers.post(code);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace wavra
