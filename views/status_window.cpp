#include "views/status_window.h"

#include <QListWidget>
#include <QProgressBar>
#include <QVBoxLayout>

namespace wavra {

StatusWindow::StatusWindow(QWidget* parent) : QDialog(parent), m_lines(new QListWidget), m_bar(new QProgressBar) {
    setObjectName(QStringLiteral("Status"));
    setWindowTitle(QStringLiteral("Status"));
    setModal(false);
    m_lines->setObjectName(QStringLiteral("lines"));
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setTextVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    layout->addWidget(m_bar);
    resize(520, 260);
}

void StatusWindow::clear() {
    m_lines->clear();
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
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

QStringList StatusWindow::lines() const {
    QStringList list;
    for (int i = 0; i < m_lines->count(); ++i) list << m_lines->item(i)->text();
    return list;
}

} // namespace wavra
