#include "builder/message_boxes.h"

#include "qtbase/dialogs.h"

namespace wavra::build {

void MessageBoxes::inform(const std::string& text) {
    showMessageBox(m_parent, QStringLiteral("Build"), text, Buttons::Ok, Icon::Information);
}

void MessageBoxes::fail(const std::string& text) {
    showMessageBox(m_parent, QStringLiteral("Build"), text, Buttons::Ok, Icon::Critical);
}

} // namespace wavra::build
