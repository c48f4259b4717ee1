#include "builder/builder_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "builder/shape_picture.h"

namespace wavra::build {
namespace {

constexpr int kPictureWidth = 280;
constexpr int kPictureHeight = 240;

QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string text(const QLineEdit* box) { return box->text().toStdString(); }

QLineEdit* smallBox(int width) {
    auto* box = new QLineEdit;
    box->setFixedWidth(width);
    return box;
}

} // namespace

BuilderWindow::BuilderWindow(const std::string& commandLinePath, const Places& places, MessageSink& sink,
                             QWidget* parent)
    : QMainWindow(parent), m_commandLinePath(commandLinePath), m_settings(readOutputSettings(places)), m_sink(sink) {
    setWindowTitle(QStringLiteral("Build"));
    buildMenu();
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    left->addWidget(buildFrames());
    left->addWidget(buildCommonFrame());
    left->addStretch();
    columns->addLayout(left);
    columns->addWidget(buildSide());
    setCentralWidget(central);
    m_stack->setVisible(false);
    m_common->setVisible(false);
    m_create->setEnabled(false);
}

void BuilderWindow::buildMenu() {
    for (ShapeKind kind : kAllShapes) {
        QAction* action = menuBar()->addAction(qs(shapeName(kind)));
        connect(action, &QAction::triggered, this, [this, kind] { chooseShape(kind); });
        m_actions[static_cast<size_t>(kind)] = action;
    }
}

QWidget* BuilderWindow::buildFrames() {
    m_stack = new QStackedWidget;
    for (ShapeKind kind : kAllShapes) {
        m_frames.push_back(buildFrame(kind));
        m_stack->addWidget(m_frames.back().box);
    }
    return m_stack;
}

BuilderWindow::Frame BuilderWindow::buildFrame(ShapeKind kind) {
    const ShapeForm layout = defaultForm(kind);
    Frame frame;
    frame.box = new QGroupBox(qs(frameCaption(kind)));
    auto* grid = new QGridLayout(frame.box);
    grid->addWidget(new QLabel(QStringLiteral("Segments")), 0, 2);
    int row = 1;
    for (const FormEntry& entry : layout.entries) {
        EntryWidgets w{new QLabel(qs(entry.caption)), smallBox(90), nullptr};
        grid->addWidget(w.label, row, 0);
        grid->addWidget(w.text, row, 1);
        if (entry.hasSegments) {
            w.segments = smallBox(50);
            grid->addWidget(w.segments, row, 2);
        }
        frame.entries.push_back(w);
        ++row;
    }
    row = buildOptions(frame, layout, grid, row);
    grid->setRowStretch(row, 1); // keeps the boxes at the top of a tall frame
    return frame;
}

// Check boxes side by side in one row, then the option buttons one per row.
// Returns the next free row.
int BuilderWindow::buildOptions(Frame& frame, const ShapeForm& layout, QGridLayout* grid, int row) {
    if (!layout.checks.empty()) {
        auto* checks = new QHBoxLayout;
        for (const FormCheck& c : layout.checks) {
            frame.checks.push_back(new QCheckBox(qs(c.caption)));
            checks->addWidget(frame.checks.back());
        }
        grid->addLayout(checks, row++, 0, 1, 3);
    }
    auto* group = new QButtonGroup(frame.box);
    for (const std::string& option : layout.options) {
        auto* button = new QRadioButton(qs(option));
        group->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on) refreshCaptions(), refreshPicture();
        });
        frame.options.push_back(button);
        grid->addWidget(button, row++, 0, 1, 3);
    }
    return row;
}

QGroupBox* BuilderWindow::buildCommonFrame() {
    m_common = new QGroupBox;
    auto* grid = new QGridLayout(m_common);
    m_radius = smallBox(70);
    m_startTag = smallBox(70);
    grid->addWidget(new QLabel(QStringLiteral("Wire radius in mm.")), 0, 0);
    grid->addWidget(m_radius, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("!")), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Start with tagnr.")), 1, 0);
    grid->addWidget(m_startTag, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Move X, Y, Z")), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Rotate X, Y, Z")), 3, 0);
    for (size_t k = 0; k < 3; ++k) {
        const int column = 1 + static_cast<int>(k);
        m_move[k] = smallBox(70);
        m_rotate[k] = smallBox(70);
        grid->addWidget(m_move[k], 2, column);
        grid->addWidget(m_rotate[k], 3, column);
    }
    grid->addWidget(new QLabel(QStringLiteral("!")), 2, 4);
    grid->addWidget(new QLabel(QStringLiteral("! =  symbols also allowed ")), 4, 0, 1, 5);
    showCommonEntries(CommonEntries{});
    return m_common;
}

QWidget* BuilderWindow::buildSide() {
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    m_picture = new QLabel;
    m_picture->setFixedSize(kPictureWidth, kPictureHeight);
    column->addWidget(m_picture);
    column->addStretch();
    auto* buttons = new QHBoxLayout;
    m_create = new QPushButton(QStringLiteral("Create"));
    m_exit = new QPushButton(QStringLiteral("Exit"));
    buttons->addWidget(m_create);
    buttons->addWidget(m_exit);
    column->addLayout(buttons);
    connect(m_create, &QPushButton::clicked, this, [this] { create(); });
    connect(m_exit, &QPushButton::clicked, this, [this] { close(); });
    return side;
}

void BuilderWindow::chooseShape(ShapeKind kind) {
    m_shape = kind;
    m_stack->setCurrentWidget(frame(kind).box);
    showForm(defaultForm(kind));
    refreshPicture();
    if (!m_chosen) {
        m_chosen = true;
        m_stack->setVisible(true);
        m_common->setVisible(true);
        m_create->setEnabled(true);
    }
}

void BuilderWindow::showForm(const ShapeForm& form) {
    const Frame& f = frame(form.kind);
    for (size_t i = 0; i < form.entries.size(); ++i) {
        f.entries[i].text->setText(qs(form.entries[i].text));
        if (f.entries[i].segments) f.entries[i].segments->setText(qs(form.entries[i].segments));
    }
    for (size_t i = 0; i < form.checks.size(); ++i) f.checks[i]->setChecked(form.checks[i].checked);
    if (form.option >= 0 && form.option < static_cast<int>(f.options.size()))
        f.options[static_cast<size_t>(form.option)]->setChecked(true);
    refreshCaptions();
}

ShapeForm BuilderWindow::currentForm() const {
    ShapeForm form = defaultForm(m_shape);
    const Frame& f = frame(m_shape);
    for (size_t i = 0; i < form.entries.size(); ++i) {
        form.entries[i].text = text(f.entries[i].text);
        if (f.entries[i].segments) form.entries[i].segments = text(f.entries[i].segments);
    }
    for (size_t i = 0; i < form.checks.size(); ++i) form.checks[i].checked = f.checks[i]->isChecked();
    for (size_t i = 0; i < f.options.size(); ++i)
        if (f.options[i]->isChecked()) form.option = static_cast<int>(i);
    updateCaptions(form);
    return form;
}

// The labels and the visibility of boxes follow the form (the parabola's
// change with its grid option).
void BuilderWindow::refreshCaptions() {
    const ShapeForm form = currentForm();
    const Frame& f = frame(m_shape);
    for (size_t i = 0; i < form.entries.size(); ++i) {
        f.entries[i].label->setText(qs(form.entries[i].caption));
        f.entries[i].label->setVisible(form.entries[i].shown);
        f.entries[i].text->setVisible(form.entries[i].shown);
    }
}

void BuilderWindow::refreshPicture() {
    m_picture->setPixmap(drawShapePicture(shapeDeck(currentForm()).wires, kPictureWidth, kPictureHeight));
}

CommonEntries BuilderWindow::commonEntries() const {
    CommonEntries c;
    c.radius = text(m_radius);
    c.startTag = text(m_startTag);
    for (size_t k = 0; k < 3; ++k) c.move[k] = text(m_move[k]), c.rotate[k] = text(m_rotate[k]);
    return c;
}

void BuilderWindow::showCommonEntries(const CommonEntries& c) {
    m_radius->setText(qs(c.radius));
    m_startTag->setText(qs(c.startTag));
    for (size_t k = 0; k < 3; ++k) m_move[k]->setText(qs(c.move[k])), m_rotate[k]->setText(qs(c.rotate[k]));
}

std::string BuilderWindow::outputPath() const {
    if (!m_commandLinePath.empty()) return m_commandLinePath;
    return absolutePath(outputPathFor(m_settings, shapeName(m_shape)));
}

bool BuilderWindow::create() {
    if (!m_chosen) return false;
    CommonEntries common = commonEntries();
    const Deck deck = m_builder.create(currentForm(), common, m_sink);
    showCommonEntries(common);
    if (!deck.ok) return false;
    const std::string path = outputPath();
    const WriteOutcome written = writeDeckFile(path, deck.text);
    if (!written.ok) {
        m_sink.fail(written.message);
        return false;
    }
    if (!m_commandLinePath.empty()) {
        close();
        return true;
    }
    m_sink.inform(createdMessage(path, deck.totalSegments));
    return true;
}

QAction* BuilderWindow::menuAction(ShapeKind kind) const { return m_actions[static_cast<size_t>(kind)]; }

int BuilderWindow::entryIndex(ShapeKind kind, const std::string& caption) const {
    const ShapeForm layout = defaultForm(kind);
    for (size_t i = 0; i < layout.entries.size(); ++i)
        for (const std::string& name : layout.entries[i].captions)
            if (name == caption) return static_cast<int>(i);
    return -1;
}

QLineEdit* BuilderWindow::entryBox(ShapeKind kind, const std::string& caption) const {
    const int i = entryIndex(kind, caption);
    return i < 0 ? nullptr : frame(kind).entries[static_cast<size_t>(i)].text;
}

QLineEdit* BuilderWindow::segmentBox(ShapeKind kind, const std::string& caption) const {
    const int i = entryIndex(kind, caption);
    return i < 0 ? nullptr : frame(kind).entries[static_cast<size_t>(i)].segments;
}

QLabel* BuilderWindow::entryLabel(ShapeKind kind, const std::string& caption) const {
    const int i = entryIndex(kind, caption);
    return i < 0 ? nullptr : frame(kind).entries[static_cast<size_t>(i)].label;
}

QCheckBox* BuilderWindow::checkBox(ShapeKind kind, const std::string& caption) const {
    for (QCheckBox* box : frame(kind).checks)
        if (box->text().toStdString() == caption) return box;
    return nullptr;
}

QRadioButton* BuilderWindow::optionButton(const std::string& caption) const {
    for (QRadioButton* button : frame(ShapeKind::Parabola).options)
        if (button->text().toStdString() == caption) return button;
    return nullptr;
}

} // namespace wavra::build
