// Text between the viewer's Qt-free rules (UTF-8 std::string) and Qt.
#pragma once

#include <QString>
#include <string>

namespace wavra::view {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace wavra::view
