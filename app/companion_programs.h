// The program wavra is split in three so that a batch run loads no Qt at
// all: `wavra` itself is the Qt-free command line and runs every batch job
// that paints nothing; it hands the windows to "wavra-windows" (Qt Widgets)
// and a batch job with --show to "wavra-show" (Qt's graphics, no Widgets)
// by replacing itself with that program, same arguments. The companions lie
// in exe/ beside the shipped data (in a system install, links there to
// lib/wavra/), where the engines are found too.
#pragma once

#include <optional>
#include <string>

#include "app/batch_options.h"

namespace wavra {

inline constexpr const char* kWindowsProgram = "wavra-windows";
inline constexpr const char* kShowProgram = "wavra-show";

// True when a window system can be reached: DISPLAY or WAYLAND_DISPLAY is
// set, or QT_QPA_PLATFORM names a platform explicitly.
bool displayAvailable();

// The path of this program, symbolic links followed (/proc/self/exe; argv[0]
// made absolute where that cannot be read).
std::string runningProgramPath(const char* argv0);

// The companion `name` of the wavra at programPath: exe/<name> of its
// install when that is an executable file; empty otherwise.
std::string companionProgram(const std::string& programPath, const std::string& name);

// Replaces this process with the companion at `path`, given this program's
// arguments after argv[0]; its argv[0] becomes programPath, the wavra the
// user started, whose install holds the settings (see companionProgramPath).
// Returns only when the companion could not be started, with the reason.
std::string startCompanion(const std::string& path, const std::string& programPath, int argc, char** argv);

// In a companion: the path of the wavra that started it (an absolute
// argv[0]), or the companion's own path when it was started by hand.
std::string companionProgramPath(const char* argv0);

// The options of a program's command line, after --help and --version are
// answered and bad usage is reported (on std::cout and std::cerr); nullopt
// with the exit status in `status` when the program is to end there.
std::optional<BatchOptions> programOptions(int argc, char** argv, int& status);

} // namespace wavra
