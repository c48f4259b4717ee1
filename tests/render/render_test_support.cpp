#include "render_test_support.h"

#include <QGuiApplication>

namespace wavra::test {

void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    // Also under the comma locale, whose run sets LC_ALL as its one variable.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "render_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed, as in the window tests: Qt is not torn down in the
    // exit handlers after the test framework has finished.
    new QGuiApplication(argc, argv);
}

} // namespace wavra::test
