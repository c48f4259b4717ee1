#include "windows/windows_app.h"

#include "control/main_loop.h"
#include "control/startup.h"
#include "windows/main_window.h"
#include "windows/qt_ui.h"
#include "windows/qt_windows.h"

namespace wavra {

int runWindowsProgram(const std::string& programPath, const std::string& workingDir, const std::string& model) {
    QtUi ui;
    Model store;
    std::string placesNote;
    if (!startUp(store, ui, programPath, &placesNote)) return 1;
    QtWindows windows(store, ui);
    ui.setParent(&windows.mainWindow());
    MainLoop loop(store, ui, windows);
    loop.setNotice(placesNote);
    if (!model.empty()) {
        takeModelName(store, model, workingDir);
        loop.setPendingModel();
    }
    loop.run();
    return 0;
}

} // namespace wavra
