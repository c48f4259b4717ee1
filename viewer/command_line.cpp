#include "viewer/command_line.h"

namespace wavra::view {

namespace {

ProgramSpec makeCommandLineSpec() {
    ProgramSpec spec;
    spec.name = kProgramName;
    spec.synopses = {""};
    spec.description =
        "Opens the coverage picture viewer: ItsHF area-coverage maps captured from the package's\n"
        "plot program or loaded from picture files, shown, labelled and saved.";
    spec.epilog =
        "The settings are kept in exe/view.ini of a portable tree the user may write, else in\n"
        "$XDG_CONFIG_HOME/wavra/view.ini (~/.config/wavra/view.ini).";
    return spec;
}

} // namespace

const ProgramSpec& commandLineSpec() {
    static const ProgramSpec spec = makeCommandLineSpec();
    return spec;
}

std::string commandLineError(const ParsedArguments& parsed) {
    return parsed.operands.empty() ? "" : "unexpected argument '" + parsed.operands.front() + "'";
}

} // namespace wavra::view
