// The builder program: writes NEC-2 wire decks of parametric shapes, from
// its window or from the command line.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "base/places.h"
#include "builder/builder_window.h"
#include "builder/command_line.h"
#include "builder/message_boxes.h"
#include "builder/output_file.h"

namespace {

// The main program's settings and the model folder of this install; the
// user's folders of a shared install are made on the first start.
wavra::Places places() {
    const wavra::Places found = wavra::placesFor(QCoreApplication::applicationFilePath().toStdString());
    std::string note, error;
    if (!wavra::preparePlaces(found, note, error)) std::cerr << "build: " << error << '\n';
    return found;
}

int runDialog(const std::string& outputPath, char* programName) {
    // Only the program name goes to Qt, so an output path is never taken for
    // one of Qt's own options.
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication app(qtArgc, qtArgv);
    wavra::build::MessageBoxes messages;
    const std::string path = outputPath.empty() ? std::string() : wavra::build::absolutePath(outputPath);
    wavra::build::BuilderWindow window(path, places(), messages);
    messages.setParent(&window);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const wavra::ParsedArguments parsed = wavra::parseArguments(wavra::build::commandLineOptions(), args);
    if (auto status = wavra::answerStandardOptions(wavra::build::commandLineOptions(), parsed, std::cout, std::cerr))
        return *status;
    const wavra::build::CommandLine command = wavra::build::commandLineFrom(parsed);
    switch (command.mode) {
    case wavra::build::RunMode::Invalid:
        return wavra::reportUsageError(wavra::build::kProgramName, command.error, std::cerr);
    case wavra::build::RunMode::Batch: return wavra::build::runBatch(command, std::cout, std::cerr);
    case wavra::build::RunMode::Dialog: break;
    }
    return runDialog(command.outputPath, argv[0]);
}
