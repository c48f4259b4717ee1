// The short line of a view's main keys that its status line ends with
// while the mouse pointer is not over the picture, so that the keys can be
// found without the menus.
#pragma once

#include <string>
#include <string_view>

namespace wavra {

// By the view's name ("geometry", "pattern", "nearfield", "sweep",
// "smith"); empty for a name without one.
std::string viewKeyHint(std::string_view viewName);

} // namespace wavra
