#include "windows/status_window.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace wavra {

StatusWindow::StatusWindow(QWidget* parent)
    : QDialog(parent), m_lines(new QListWidget), m_bar(new QProgressBar),
      m_cancel(new QPushButton(QStringLiteral("Cancel"))) {
    setObjectName(QStringLiteral("Status"));
    setWindowTitle(QStringLiteral("Status"));
    setModal(false);
    m_lines->setObjectName(QStringLiteral("lines"));
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setTextVisible(true);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &StatusWindow::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    resize(520, 260);
}

void StatusWindow::clear() {
    m_lines->clear();
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    setProgressText({});
    m_cancelPressed = false;
    m_cancel->setEnabled(true);
}

void StatusWindow::addLine(const QString& line) {
    m_lines->addItem(line);
    m_lines->scrollToBottom();
}

void StatusWindow::setProgress(int percent) {
    if (percent < 0) {
        m_bar->setRange(0, 0); // running, duration unknown
        return;
    }
    m_bar->setRange(0, 100);
    m_bar->setValue(std::min(100, percent));
}

void StatusWindow::setProgressText(const QString& text) {
    m_bar->setFormat(text.isEmpty() ? QStringLiteral("%p%") : text + QStringLiteral(" (%p%)"));
}

QStringList StatusWindow::lines() const {
    QStringList list;
    for (int i = 0; i < m_lines->count(); ++i) list << m_lines->item(i)->text();
    return list;
}

// The window stays open until the run has ended; the run sees the press.
void StatusWindow::reject() { cancel(); }

void StatusWindow::cancel() {
    if (m_cancelPressed) return;
    m_cancelPressed = true;
    m_cancel->setEnabled(false);
    addLine(QStringLiteral("Cancel: stopping the NEC-2 engine ..."));
}

} // namespace wavra
