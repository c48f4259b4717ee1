#include "builder/message_boxes.h"

#include <QMessageBox>
#include <QString>

namespace wavra::build {

void MessageBoxes::inform(const std::string& text) {
    QMessageBox::information(m_parent, QStringLiteral("Build"), QString::fromStdString(text));
}

void MessageBoxes::fail(const std::string& text) {
    QMessageBox::critical(m_parent, QStringLiteral("Build"), QString::fromStdString(text));
}

} // namespace wavra::build
