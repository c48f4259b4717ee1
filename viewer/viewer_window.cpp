#include "viewer/viewer_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "qtbase/help_browser.h"
#include "qtbase/qt_text.h"
#include "viewer/files.h"
#include "viewer/image_media.h"

namespace wavra::view {

namespace {

const QString kOpen = QStringLiteral("&Open new picture                    (Ins)");
const QString kSave = QStringLiteral("&Save picture(s) as");
const QString kPaste = QStringLiteral("Paste from clipboard");
const QString kRemove = QStringLiteral("Remove current picture           (Del)");
const QString kExit = QStringLiteral("&Exit                                         (Esc)");
const QString kNext = QStringLiteral("Next picture                 (Right)");
const QString kPrevious = QStringLiteral("Previous picture           (Left)");
const QString kShow = QStringLiteral("Show picture                ('1' .. '9')");
const QString kHelp = QStringLiteral("&Help");
const std::string kHelpPage = "exe/view_help.html";
// What the empty window shows: how pictures come in.
const std::string kEmptyText =
    "No picture yet.\n\nInsert (File \u2192 Open new picture) opens an area plot "
    "(.ig1, .rg1, .vg1) or a .bmp or .png picture;\nFile \u2192 Paste from clipboard "
    "takes the picture on the clipboard.";

// Wide enough for the menu bar and a readable label.
constexpr int kMinWidth = 360;

} // namespace

ViewerWindow::ViewerWindow(Viewer& viewer, ViewerUi& ui, const Places& places, QWidget* parent)
    : QMainWindow(parent), m_viewer(viewer), m_ui(ui), m_places(places) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_label = new QLineEdit(central);
    m_scroll = new QScrollArea(central);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    m_picture = new QLabel(m_scroll);
    m_scroll->setWidget(m_picture);
    m_empty = new QLabel(q(kEmptyText), central);
    m_empty->setObjectName(QStringLiteral("emptyHint"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_empty->setMargin(12);
    layout->addWidget(m_empty, 1);
    layout->addWidget(m_label);
    layout->addWidget(m_scroll, 1);
    setCentralWidget(central);
    connect(m_label, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_viewer.editLabel(text.toStdString());
        setWindowTitle(q(m_viewer.caption()));
    });
    // Enter ends the edit: the keys move between pictures again.
    connect(m_label, &QLineEdit::returnPressed, m_scroll, [this] { m_scroll->setFocus(); });
    buildMenus();
    resize(kMinWidth, 200);
    refresh();
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::act(const std::function<void()>& action) {
    action();
    refresh();
}

void ViewerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(kOpen, this, [this] { act([this] { m_viewer.openNewPicture(); }); });
    file->addAction(kSave, this, [this] { act([this] { m_viewer.saveCurrent(); }); });
    file->addAction(kPaste, this, [this] { act([this] { m_viewer.pasteFromClipboard(); }); });
    file->addAction(kRemove, this, [this] { act([this] { m_viewer.removeCurrent(); }); });
    file->addSeparator();
    file->addAction(kExit, this, [this] { close(); });
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(kNext, this, [this] { act([this] { m_viewer.showNext(); }); });
    view->addAction(kPrevious, this, [this] { act([this] { m_viewer.showPrevious(); }); });
    view->addAction(kShow, this, [this] { act([this] { m_viewer.askSlotToShow(); }); });
    menuBar()->addAction(kHelp, this, [this] { showHelp(); });

    // The keys are window actions of their own, so the menu captions stay
    // as written. The label box keeps the keys it edits with while it has
    // the focus (arrows, Delete, digits).
    addKey(Qt::Key_Insert, [this] { menuItem(kOpen)->trigger(); });
    addKey(Qt::Key_Delete, [this] { menuItem(kRemove)->trigger(); });
    addKey(Qt::Key_Escape, [this] { close(); });
    addKey(Qt::Key_Right, [this] { menuItem(kNext)->trigger(); });
    addKey(Qt::Key_Left, [this] { menuItem(kPrevious)->trigger(); });
    for (int n = 1; n <= 9; ++n)
        addKey(QKeySequence(Qt::Key_0 + n), [this, n] { act([this, n] { m_viewer.showSlot(n); }); });
    for (int n = 1; n <= 12; ++n)
        addKey(QKeySequence(Qt::Key_F1 + n - 1), [this, n] { act([this, n] { m_viewer.showSlot(n); }); });
}

void ViewerWindow::addKey(const QKeySequence& key, const std::function<void()>& action) {
    auto* shortcut = new QAction(this);
    shortcut->setShortcut(key);
    shortcut->setShortcutContext(Qt::WindowShortcut);
    connect(shortcut, &QAction::triggered, this, action);
    addAction(shortcut);
}

QAction* ViewerWindow::menuItem(const QString& caption) const {
    for (QAction* top : menuBar()->actions()) {
        if (top->text() == caption) return top;
        if (!top->menu()) continue;
        for (QAction* item : top->menu()->actions())
            if (item->text() == caption) return item;
    }
    return nullptr;
}

void ViewerWindow::refresh() {
    setWindowTitle(q(m_viewer.caption()));
    const int current = m_viewer.store().current();
    m_label->setVisible(current != 0);
    m_scroll->setVisible(current != 0);
    m_empty->setVisible(current == 0);
    menuItem(kSave)->setEnabled(current != 0);
    menuItem(kRemove)->setEnabled(current != 0);
    if (current == 0) {
        m_shown.reset();
        m_picture->clear();
        return;
    }
    const Slot& slot = m_viewer.store().slot(current);
    if (m_label->text() != q(slot.label)) {
        const QSignalBlocker quiet(m_label);
        m_label->setText(q(slot.label));
    }
    if (slot.picture == m_shown) return;
    m_shown = slot.picture;
    const QImage image = imageOf(*slot.picture);
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->adjustSize();
    sizeToPicture(image);
    m_scroll->setFocus();
}

void ViewerWindow::sizeToPicture(const QImage& image) {
    if (isMaximized() || isFullScreen()) return;
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room above the picture for the menu bar and the label box.
    const int above =
        menuBar()->sizeHint().height() + m_label->sizeHint().height() + centralWidget()->layout()->spacing();
    const QSize frame = frameGeometry().size() - geometry().size();
    QSize wanted(std::max(image.width(), kMinWidth), image.height() + above);
    resize(wanted.boundedTo(available.size() - frame));
    move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

void ViewerWindow::showHelp() {
    const std::string page = m_places.installDir + kHelpPage;
    if (!fileExists(page)) {
        m_ui.message("Help file '" + kHelpPage + "' not found.", Icon::Exclamation);
        return;
    }
    if (!m_help) {
        m_help = new HelpBrowser(QStringLiteral("Viewer help"), this);
        m_help->setWindowFlag(Qt::Window);
        m_help->resize(640, 560);
    }
    m_help->showPage(q(page), *m_help);
    m_help->show();
    m_help->raise();
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    // While the plot program runs the window is disabled; it ends later.
    if (!isEnabled() || !m_viewer.confirmExit()) {
        refresh();
        event->ignore();
        return;
    }
    saveSettings(m_places, m_viewer.settings(), m_ui);
    if (m_help) m_help->close();
    event->accept();
}

} // namespace wavra::view
