// Where wavra, build and view find their files: the one place that decides.
//
// The portable tree keeps everything below one install directory: the
// programs and the shipped data in exe/, the settings exe/wavra.ini and
// exe/view.ini, the engine decks and reports in out/, the scenes in pov/.
// A shared install cannot take a user's files: when the tree is not
// writable for this user, or when it is a system install (the programs on
// <prefix>/bin, the shipped data in <prefix>/share/wavra/exe), the settings
// go to $XDG_CONFIG_HOME/wavra/ (default ~/.config/wavra/) and out/ and pov/
// to $XDG_DATA_HOME/wavra/ (default ~/.local/share/wavra/). The shipped data
// are always read from the install.
#pragma once

#include <functional>
#include <string>

namespace wavra {

struct Places {
    std::string installDir;  // the shipped data below exe/ (with trailing '/')
    std::string settingsDir; // wavra.ini and view.ini (with trailing '/')
    std::string dataDir;     // out/ and pov/ below it, the default model folder
    bool perUser = false;    // settings and data in the user's own folders
    bool systemInstall = false;
};

// What the decision looks at, so that a test can stand in for the system:
// an environment variable ("" when unset; HOME falls back to the user's
// home directory of the password database) and whether this user may
// create files in a directory. A test running as root, for whom every
// directory is writable, forces the per-user folders with WAVRA_PER_USER=1
// (a user can do the same) or a probe of its own.
struct PlaceProbe {
    std::function<std::string(const std::string&)> variable;
    std::function<bool(const std::string&)> writable;
};
PlaceProbe systemProbe();

// The install directory for a program path (symbolic links followed): the
// parent of the program's directory (<tree>/exe/wavra gives <tree>/), or
// <prefix>/share/wavra/ for a program in <prefix>/bin beside an installed
// <prefix>/share/wavra/exe. With a trailing '/'.
std::string installDirOf(const std::string& programPath);

// The places of the portable tree at installDir (with trailing '/').
Places portablePlaces(const std::string& installDir);

// The places of the program at `programPath`.
Places placesFor(const std::string& programPath, const PlaceProbe& probe = systemProbe());

// Makes the per-user folders (settings, out/, pov/) and copies the shipped
// wavra.ini and view.ini into the settings folder where they are missing.
// `note` then says where the user's files are (on the first start, when a
// file was copied); false with `error` when a folder cannot be made or a
// file not copied. Nothing to do for the portable tree.
bool preparePlaces(const Places& places, std::string& note, std::string& error);

} // namespace wavra
