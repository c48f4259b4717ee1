#include "viewer/command_line.h"

namespace wavra::view {

namespace {

ProgramOptions makeCommandLineSpec() {
    ProgramOptions described;
    described.name = kProgramName;
    described.synopses = {""};
    described.description =
        "Opens the coverage picture viewer: ItsHF area-coverage maps captured from the package's\n"
        "plot program or loaded from picture files, shown, labelled and saved.";
    described.epilog =
        "The settings are kept in exe/view.ini of a portable tree the user may write, else in\n"
        "$XDG_CONFIG_HOME/wavra/view.ini (~/.config/wavra/view.ini).";
    return described;
}

} // namespace

const ProgramOptions& commandLineOptions() {
    static const ProgramOptions described = makeCommandLineSpec();
    return described;
}

std::string commandLineError(const ParsedArguments& parsed) {
    return parsed.operands.empty() ? "" : "unexpected argument '" + parsed.operands.front() + "'";
}

} // namespace wavra::view
