// Helpers for the renderer tests: the renderers paint with QtGui alone, so
// these tests run under a QGuiApplication and link no Widgets.
#pragma once

#include "support/test_support.h"

namespace wavra::test {

// The one QGuiApplication of the test program (offscreen platform).
void ensureGuiApplication();

} // namespace wavra::test
