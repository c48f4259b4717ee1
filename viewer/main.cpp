// The coverage picture viewer: collects pictures of ItsHF area-coverage
// maps (captured from the package's plot program through the clipboard, or
// loaded from picture files), shows, labels and saves them.
#include <QApplication>
#include <QDir>
#include <iostream>
#include <string>
#include <vector>

#include "viewer/command_line.h"
#include "viewer/dialog_ui.h"
#include "viewer/image_media.h"
#include "viewer/program_runner.h"
#include "viewer/viewer.h"
#include "viewer/viewer_window.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const wavra::ParsedArguments parsed = wavra::parseArguments(wavra::view::commandLineOptions(), args);
    if (auto status = wavra::answerStandardOptions(wavra::view::commandLineOptions(), parsed, std::cout, std::cerr))
        return *status;
    if (const std::string error = wavra::view::commandLineError(parsed); !error.empty())
        return wavra::reportUsageError(wavra::view::kProgramName, error, std::cerr);
    // Only the program name goes to Qt: its own options are not the viewer's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    const wavra::Places places = wavra::placesFor(QCoreApplication::applicationFilePath().toStdString());
    wavra::view::DialogUi ui;
    std::string note, error;
    if (!wavra::preparePlaces(places, note, error)) {
        ui.message(error, wavra::Icon::Critical);
        return 1;
    }
    QDir::setCurrent(QString::fromStdString(places.dataDir));

    wavra::view::ViewSettings settings;
    if (!wavra::view::loadSettings(places, settings, ui)) return 1;

    wavra::view::ImageMedia media;
    wavra::view::QtProgramRunner runner;
    wavra::view::Viewer viewer(settings, ui, media, runner);
    wavra::view::ViewerWindow window(viewer, ui, places);
    ui.setParent(&window);
    runner.setBusyWidget(&window);
    window.show();
    return app.exec();
}
