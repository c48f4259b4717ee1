// Text between the Qt-free layers (UTF-8 std::string) and Qt (QString).
#pragma once

#include <QString>
#include <string>

namespace wavra {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace wavra
