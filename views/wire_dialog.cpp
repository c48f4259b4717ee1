#include "views/wire_dialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/action_codes.h"
#include "views/key_codes.h"

namespace wavra {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QLineEdit* e) { return e->text().toStdString(); }

} // namespace

WireDialog::WireDialog(Handlers handlers, QWidget* parent) : QDialog(parent), m_handlers(std::move(handlers)) {
    setObjectName(QStringLiteral("W"));
    setWindowTitle(QStringLiteral("Wire geometry"));
    auto* form = new QFormLayout;
    auto field = [&](const char* name, const char* label) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->installEventFilter(this);
        form->addRow(QString::fromLatin1(label), edit);
        return edit;
    };
    m_x1 = field("X1", "X1");
    m_y1 = field("Y1", "Y1");
    m_z1 = field("Z1", "Z1");
    m_x2 = field("X2", "X2");
    m_y2 = field("Y2", "Y2");
    m_z2 = field("Z2", "Z2");
    m_radius = field("Rad", "Radius");
    m_length = field("Len", "(new) Wire length");
    m_segments = field("Segs", "Segments");
    m_tag = field("Tagn", "Tag");
    m_segments->setReadOnly(true);
    m_tag->setReadOnly(true);
    m_end = new QSpinBox;
    m_end->setObjectName(QStringLiteral("End"));
    m_end->setRange(1, 2);
    m_end->installEventFilter(this);
    form->addRow(QStringLiteral("modify End  X"), m_end);
    m_rotateYZ = field("Xang", "Rotate in YZ");
    m_rotateXZ = field("Yang", "Rotate in XZ ");
    m_rotateXY = field("Zang", "Rotate in XY");
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
    m_x1->setText(q(f.x1));
    m_y1->setText(q(f.y1));
    m_z1->setText(q(f.z1));
    m_x2->setText(q(f.x2));
    m_y2->setText(q(f.y2));
    m_z2->setText(q(f.z2));
    m_radius->setText(q(f.radius));
    m_length->setText(q(f.length));
    m_segments->setText(q(f.segments));
    m_tag->setText(q(f.tag));
    m_rotateYZ->setText(q(f.rotateYZ));
    m_rotateXZ->setText(q(f.rotateXZ));
    m_rotateXY->setText(q(f.rotateXY));
    m_end->setValue(end);
    m_filling = false;
    show();
    raise();
}

WireFields WireDialog::fields() const {
    WireFields f;
    f.x1 = s(m_x1);
    f.y1 = s(m_y1);
    f.z1 = s(m_z1);
    f.x2 = s(m_x2);
    f.y2 = s(m_y2);
    f.z2 = s(m_z2);
    f.radius = s(m_radius);
    f.length = s(m_length);
    f.segments = s(m_segments);
    f.tag = s(m_tag);
    f.rotateYZ = s(m_rotateYZ);
    f.rotateXZ = s(m_rotateXZ);
    f.rotateXY = s(m_rotateXY);
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
