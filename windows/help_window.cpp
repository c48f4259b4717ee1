#include "windows/help_window.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "core/action_codes.h"
#include "qtbase/help_browser.h"
#include "windows/key_codes.h"

namespace wavra {

namespace {

// Esc closes the window; the keys of the main loop are handed on.
bool handleKey(QDialog& window, const KeyPoster& post, QKeyEvent* event) {
    const int16_t code = actionCodeOf(*event);
    if (code == kActionEscape) {
        window.hide();
        return true;
    }
    if (code == 0 || !post) return false;
    post(code);
    return true;
}

} // namespace

HelpWindow::HelpWindow(KeyPoster post, QWidget* parent)
    : QDialog(parent), m_post(std::move(post)), m_browser(new HelpBrowser(QStringLiteral("wavra help"))) {
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("wavra help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(820, 640);
}

bool HelpWindow::showPage(const QString& path) { return m_browser->showPage(path, *this); }

QString HelpWindow::pageTitle() const { return m_browser->documentTitle(); }

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(*this, m_post, event)) QDialog::keyPressEvent(event);
}

AboutWindow::AboutWindow(KeyPoster post, QWidget* parent) : QDialog(parent), m_post(std::move(post)) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About wavra"));
    auto* text = new QLabel(QStringLiteral(
        "<h2>wavra</h2>"
        "<p>Antenna modelling with the NEC-2 method of moments.</p>"
        "<p>Model decks with symbolic variables, calculation with the NEC-2 engine "
        "<code>nec2c</code>, and the engine's results as impedance, gain, patterns and sweeps.</p>"
        "<p>F1 help &nbsp;&middot;&nbsp; F7 calculate &nbsp;&middot;&nbsp; F9 NEC-2 card reference</p>"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(*this, m_post, event)) QDialog::keyPressEvent(event);
}

} // namespace wavra
