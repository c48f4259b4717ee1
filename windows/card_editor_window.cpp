#include "windows/card_editor_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/field_values.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

enum FrameIndex : size_t { kCommentFrame, kGeometryFrame, kControlFrame };

// Value boxes whose place a list can take: the first value (variants) and
// the fourth integer (option digits of EX and RP).
constexpr size_t kVariantRow = 0;
constexpr size_t kDigitRow = 3;
constexpr size_t kMaxDigits = 4;

// A line as the list shows it: TABs expanded to the next multiple of 8.
QString shownLine(const std::string& line) {
    QString shown;
    for (const QChar c : q(line)) {
        if (c == QLatin1Char('\t')) shown += QString(8 - shown.size() % 8, QLatin1Char(' '));
        else shown += c;
    }
    return shown;
}

bool userFocus(Qt::FocusReason reason) {
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

QComboBox* namedList(const QString& name) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    list->setMaxVisibleItems(20);
    return list;
}

} // namespace

template <class Result>
void CardEditorWindow::perform(Result (EditSession::*action)()) {
    (m_session.*action)();
    refresh();
}

template <class Result>
std::function<void()> CardEditorWindow::command(Result (EditSession::*member)()) {
    return [this, member] { perform(member); };
}

CardEditorWindow::CardEditorWindow(Model& model, Ui& ui, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(ui), m_session(model, ui, CardTable::load(model.installDir)) {
    setObjectName(QStringLiteral("Ed"));
    m_frames.reserve(3);
    auto* layout = new QVBoxLayout(this);
    buildMenus();
    auto* body = new QHBoxLayout;
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("LstLines"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumWidth(560);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_updating) return;
        m_session.select(row + 1);
        refresh();
    });
    body->addWidget(m_list, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildFrame("FraComment", QStringLiteral("Comment"), 1));
    right->addWidget(buildFrame("FraGeometry", QStringLiteral("Geometry"), kGeometryValues));
    right->addWidget(buildFrame("FraControl", QStringLiteral("Program ctrl"), kControlValues));
    auto* commentRow = new QHBoxLayout;
    m_commentLabel = new QLabel(QStringLiteral("Comment"));
    m_comment = new QLineEdit;
    m_comment->setObjectName(QStringLiteral("TxtComment"));
    connect(m_comment, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_updating) m_session.setComment(text.toStdString());
    });
    commentRow->addWidget(m_commentLabel);
    commentRow->addWidget(m_comment, 1);
    right->addLayout(commentRow);
    right->addStretch();
    right->addWidget(buildButtons());
    body->addLayout(right, 1);
    layout->addLayout(body);
    resize(std::max(1280, sizeHint().width()), 660);
    refresh();
}

CardEditorWindow::~CardEditorWindow() = default;

void CardEditorWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    auto add = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> slot) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, std::move(slot));
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, "mnuNew", "&New", command(&EditSession::newFile));
    add(file, "mnuOpen", "&Open", command(&EditSession::openFile));
    add(file, "mnuSave", "&Save", command(&EditSession::save));
    add(file, "mnuSaveAs", "Save &As", command(&EditSession::saveAs));
    add(file, "mnuExit", "E&xit", [this] { reject(); });
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    m_commentAction = add(edit, "mnuComment", "Comment  (Enter)", command(&EditSession::toggleComment));
    m_commentAction->setCheckable(true);
    add(edit, "mnuCut", "Cu&t line", [this] { toClipboard(&EditSession::cutLine); });
    add(edit, "mnuCopy", "&Copy line", [this] { toClipboard(&EditSession::copyLine); });
    add(edit, "mnuPaste", "&Paste line", [this] { pasteLine(); });
    add(edit, "mnuInsert", "&Insert line     (Ins)", command(&EditSession::insertLine));
    add(edit, "mnuDelete", "&Delete line   (Del)", command(&EditSession::deleteLine));
    edit->addSeparator();
    m_undoAction = add(edit, "mnuUndo", "&Undo", command(&EditSession::undo));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = add(edit, "mnuRedo", "&Redo", command(&EditSession::redo));
    m_redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
}

QWidget* CardEditorWindow::buildFrame(const char* name, const QString& caption, size_t boxCount) {
    Frame& frame = m_frames.emplace_back();
    frame.caption = caption;
    frame.group = new QGroupBox(caption);
    frame.group->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame.group);
    grid->addWidget(new QLabel(QStringLiteral("Card")), 0, 0);
    frame.cardStack = new QStackedWidget;
    frame.card = new QLineEdit;
    frame.card->setObjectName(QStringLiteral("Card"));
    frame.card->setReadOnly(true);
    frame.card->installEventFilter(this);
    frame.cardList = namedList(QStringLiteral("CardList"));
    frame.cardList->installEventFilter(this);
    const size_t index = m_frames.size() - 1;
    connect(frame.cardList, &QComboBox::activated, this, [this, index](int entry) {
        Frame& f = m_frames[index];
        m_session.chooseCardType(static_cast<size_t>(entry));
        refresh();
        Frame* shown = shownFrame();
        closeLists(f.cardStack, shown && !shown->boxes.empty() ? static_cast<QWidget*>(shown->boxes[0]) : m_list);
    });
    frame.cardStack->addWidget(frame.card);
    frame.cardStack->addWidget(frame.cardList);
    frame.cardStack->setFixedHeight(frame.card->sizeHint().height());
    grid->addWidget(frame.cardStack, 0, 1);
    for (size_t row = 0; row < boxCount; ++row) addBoxRow(frame, row);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, labelWidth());
    return frame.group;
}

void CardEditorWindow::addBoxRow(Frame& frame, size_t row) {
    const size_t index = m_frames.size() - 1;
    const QString number = QString::number(row + 1);
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("Label") + number);
    auto* box = new QLineEdit;
    box->setObjectName(QStringLiteral("Box") + number);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this,
            [this, index, row](const QString& text) { boxEdited(m_frames[index], row, text); });
    connect(box, &QLineEdit::returnPressed, this, command(&EditSession::storeEdits));
    auto* stack = new QStackedWidget;
    stack->addWidget(box);
    if (row == kVariantRow) {
        frame.variantList = namedList(QStringLiteral("VariantList"));
        frame.variantList->installEventFilter(this);
        connect(frame.variantList, &QComboBox::activated, this, [this, index](int entry) {
            Frame& f = m_frames[index];
            m_session.chooseVariant(static_cast<size_t>(entry));
            refresh();
            closeLists(f.stacks[kVariantRow], f.boxes.size() > 1 ? f.boxes[1] : f.boxes[0]);
        });
        stack->addWidget(frame.variantList);
    } else if (row == kDigitRow) {
        auto* digits = new QWidget;
        auto* line = new QHBoxLayout(digits);
        line->setContentsMargins(0, 0, 0, 0);
        for (size_t d = 0; d < kMaxDigits; ++d) {
            QComboBox* list = namedList(QStringLiteral("Digit") + QString::number(d + 1));
            list->installEventFilter(this);
            connect(list, &QComboBox::activated, this, [this, index, d](int entry) {
                Frame& f = m_frames[index];
                m_session.chooseOptionDigit(d, static_cast<size_t>(entry));
                f.boxes[kDigitRow]->setText(q(m_session.card().boxes[kDigitRow + 1]));
            });
            frame.digitLists.push_back(list);
            line->addWidget(list);
        }
        stack->addWidget(digits);
    }
    stack->setFixedHeight(box->sizeHint().height());
    auto* value = new QLabel;
    value->setObjectName(QStringLiteral("Value") + number);
    value->setMinimumWidth(90);
    auto* grid = static_cast<QGridLayout*>(frame.group->layout());
    const int gridRow = static_cast<int>(row) + 1;
    grid->addWidget(label, gridRow, 0);
    grid->addWidget(stack, gridRow, 1);
    grid->addWidget(value, gridRow, 2);
    frame.labels.push_back(label);
    frame.stacks.push_back(stack);
    frame.boxes.push_back(box);
    frame.values.push_back(value);
}

// Wide enough for the longest label of the card descriptions.
int CardEditorWindow::labelWidth() const {
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(QStringLiteral("Comment"));
    const CardTable& table = m_session.table();
    for (int i = 1; i <= table.lineCount(); ++i)
        for (const std::string& label : table.line(i).labels)
            width = std::max(width, metrics.horizontalAdvance(q(label)));
    return width + 8;
}

QWidget* CardEditorWindow::buildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto add = [this, layout](const char* name, const char* caption, std::function<void()> slot) {
        auto* button = new QPushButton(QString::fromLatin1(caption));
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, std::move(slot));
        layout->addWidget(button);
    };
    add("CmdQuit", "Quit", [this] { reject(); });
    add("CmdExit", "Exit/Save", [this] { exitSave(); });
    add("CmdDelete", "Delete", command(&EditSession::deleteLine));
    add("CmdInsert", "Insert", command(&EditSession::insertLine));
    return row;
}

void CardEditorWindow::load() {
    if (!m_session.loadCurrentFile())
        m_ui.message("Open failure on NEC-2 input file: " + m_model.modelPath(), "wavra", Icon::Exclamation);
    refresh();
}

void CardEditorWindow::run() {
    load();
    exec();
}

// --- showing the session -------------------------------------------------------

CardEditorWindow::Frame* CardEditorWindow::shownFrame() {
    switch (m_session.card().kind) {
    case CardKind::Comment:
    case CardKind::Text: return &m_frames[kCommentFrame];
    case CardKind::Geometry: return &m_frames[kGeometryFrame];
    case CardKind::Control: return &m_frames[kControlFrame];
    default: return nullptr;
    }
}

size_t CardEditorWindow::sessionBox(size_t row) const {
    return m_session.card().kind == CardKind::Comment ? 0 : row + 1;
}

void CardEditorWindow::refresh() {
    m_updating = true;
    refreshList();
    Frame* shown = shownFrame();
    for (Frame& frame : m_frames) {
        frame.group->setVisible(&frame == shown);
        if (&frame == shown) refreshFrame(frame);
    }
    const CardKind kind = m_session.card().kind;
    const bool trailing = shown && kind != CardKind::Comment;
    m_commentLabel->setVisible(trailing);
    m_comment->setVisible(trailing);
    m_comment->setText(q(m_session.card().comment));
    setWindowTitle(q(m_session.caption()));
    m_commentAction->setChecked(m_session.commentChecked());
    m_undoAction->setEnabled(m_session.canUndo());
    m_redoAction->setEnabled(m_session.canRedo());
    m_updating = false;
}

void CardEditorWindow::refreshList() {
    const auto& lines = m_session.lines();
    if (m_list->count() != static_cast<int>(lines.size())) {
        m_list->clear();
        for (const std::string& line : lines) m_list->addItem(shownLine(line));
    } else {
        for (size_t i = 0; i < lines.size(); ++i) {
            const QString text = shownLine(lines[i]);
            QListWidgetItem* item = m_list->item(static_cast<int>(i));
            if (item->text() != text) item->setText(text);
        }
    }
    m_list->setCurrentRow(m_session.selected() - 1);
}

void CardEditorWindow::refreshFrame(Frame& frame) {
    const CardBoxes& card = m_session.card();
    const bool commentLine = card.kind == CardKind::Comment;
    const std::vector<std::string> labels = m_session.labels();
    const std::string description = m_session.description();
    frame.group->setTitle(description.empty() ? frame.caption : q(description));
    frame.card->setText(q(card.boxes[0]));
    for (size_t row = 0; row < frame.boxes.size(); ++row) {
        const bool used = commentLine ? row == 0 : row < labels.size();
        frame.labels[row]->setVisible(used);
        frame.stacks[row]->setVisible(used);
        frame.values[row]->setVisible(used);
        if (!used) continue;
        frame.labels[row]->setText(commentLine ? QStringLiteral("Comment") : q(labels[row]));
        frame.boxes[row]->setText(q(commentLine ? card.comment : card.boxes[row + 1]));
        refreshValue(frame, row);
    }
}

// Beside the label: the value of a symbolic field; a field that does not
// evaluate is shown in red with the parser's message as its tip.
void CardEditorWindow::refreshValue(Frame& frame, size_t row) {
    QLineEdit* box = frame.boxes[row];
    const auto value = m_session.boxValue(sessionBox(row));
    const bool bad = value && !value->ok;
    box->setStyleSheet(bad ? QStringLiteral("QLineEdit { color: red; }") : QString());
    box->setToolTip(bad ? q(value->text) : QString());
    QString shown;
    if (value && value->ok) {
        const std::string unit = labelUnit(frame.labels[row]->text().toStdString());
        shown = QStringLiteral("= ") + q(value->text) + (unit.empty() ? QString() : QStringLiteral(" ") + q(unit));
    }
    frame.values[row]->setText(shown);
}

void CardEditorWindow::boxEdited(Frame& frame, size_t row, const QString& text) {
    if (m_updating) return;
    const size_t box = sessionBox(row);
    if (box == 0) m_session.setComment(text.toStdString());
    else m_session.setBox(box, text.toStdString());
    refreshValue(frame, row);
}

// --- lists in place of boxes ----------------------------------------------------------

bool CardEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: perform(&EditSession::toggleComment); return true;
        case Qt::Key_Insert: shift ? pasteLine() : perform(&EditSession::insertLine); return true;
        case Qt::Key_Delete:
            shift ? toClipboard(&EditSession::cutLine) : perform(&EditSession::deleteLine);
            return true;
        default: break;
        }
    }
    if (event->type() == QEvent::FocusIn && !m_updating && userFocus(static_cast<QFocusEvent*>(event)->reason())) {
        for (Frame& frame : m_frames) enterBox(frame, watched);
    }
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (auto* list = qobject_cast<QComboBox*>(watched)) {
            for (QWidget* w = list->parentWidget(); w; w = w->parentWidget())
                if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
                    listLeft(stack);
                    break;
                }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CardEditorWindow::enterBox(Frame& frame, QObject* box) {
    if (box == frame.card) openCardList(frame);
    else if (box == frame.boxes[kVariantRow]) openVariantList(frame);
    else if (frame.boxes.size() > kDigitRow && box == frame.boxes[kDigitRow]) openDigitLists(frame);
}

void CardEditorWindow::openCardList(Frame& frame) {
    if (m_session.card().kind == CardKind::Unrecognised || m_session.edited() == 0) return;
    m_updating = true;
    frame.cardList->clear();
    for (const CardListEntry& entry : m_session.cardList()) frame.cardList->addItem(q(entry.text));
    frame.cardList->setCurrentIndex(m_session.cardListIndex());
    m_updating = false;
    frame.cardStack->setCurrentIndex(1);
    frame.cardList->setFocus(Qt::OtherFocusReason);
    frame.cardList->showPopup();
}

void CardEditorWindow::openVariantList(Frame& frame) {
    const auto variants = m_session.variants();
    if (variants.empty() || !frame.variantList) return;
    m_updating = true;
    frame.variantList->clear();
    for (size_t i = 0; i < variants.size(); ++i) {
        frame.variantList->addItem(q(variants[i].text));
        if (variants[i].line == m_session.card().description) frame.variantList->setCurrentIndex(static_cast<int>(i));
    }
    m_updating = false;
    frame.stacks[kVariantRow]->setCurrentIndex(1);
    frame.variantList->setFocus(Qt::OtherFocusReason);
    frame.variantList->showPopup();
}

void CardEditorWindow::openDigitLists(Frame& frame) {
    const auto lists = m_session.optionDigitLists();
    if (lists.empty() || frame.digitLists.empty()) return;
    m_updating = true;
    for (size_t d = 0; d < frame.digitLists.size(); ++d) {
        QComboBox* combo = frame.digitLists[d];
        combo->setVisible(d < lists.size());
        combo->clear();
        if (d >= lists.size()) continue;
        for (const std::string& entry : lists[d].entries) combo->addItem(q(entry));
        combo->setCurrentIndex(lists[d].current);
    }
    m_updating = false;
    frame.stacks[kDigitRow]->setCurrentIndex(1);
    frame.digitLists[0]->setFocus(Qt::OtherFocusReason);
}

// A list loses the focus: once the focus has settled outside the lists of
// that box, the box is shown again.
void CardEditorWindow::listLeft(QStackedWidget* stack) {
    QTimer::singleShot(0, this, [this, stack] {
        if (stack->currentIndex() != 1) return;
        const QWidget* focus = QApplication::focusWidget();
        if (focus && stack->widget(1)->isAncestorOf(focus)) return;
        if (focus == stack->widget(1)) return;
        m_updating = true;
        stack->setCurrentIndex(0);
        m_updating = false;
    });
}

void CardEditorWindow::closeLists(QStackedWidget* stack, QWidget* next) {
    m_updating = true;
    (next && next->isVisible() ? next : m_list)->setFocus(Qt::OtherFocusReason);
    stack->setCurrentIndex(0);
    m_updating = false;
}

// --- commands ----------------------------------------------------------------------------

// Cut and copy hand the line to the clipboard as text.
void CardEditorWindow::toClipboard(std::string (EditSession::*member)()) {
    if (m_session.lines().empty()) return;
    QGuiApplication::clipboard()->setText(q((m_session.*member)()));
    refresh();
}

void CardEditorWindow::pasteLine() {
    m_session.pasteLines(QGuiApplication::clipboard()->text().toStdString());
    refresh();
}

void CardEditorWindow::exitSave() {
    const bool saved = m_session.save();
    refresh();
    if (saved) reject();
}

void CardEditorWindow::reject() {
    const bool closing = m_session.close();
    refresh();
    if (closing) QDialog::reject();
}

} // namespace wavra
