// The checks of the ground description before an engine run, and the
// Sommerfeld ground files of the engine interface.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Asks about every doubtful combination of GE card, GN card, radials and
// the RP mode, each with OK and Cancel. False as soon as one is cancelled.
bool checkGround(const Model& model, Ui& ui);

// "out/" + whole part of groundEpsilon + whole part of 1000 x groundSigma
// + rounded 100 x frequencyMHz + ".gnd": out/13-5710.gnd for 13, -0.005
// and 7.1 MHz.
std::string sommerfeldGroundFile(const Model& model);

// The one line of the Sommerfeld ground request som2d.tmp: "13,-0.005,7.1,0".
std::string sommerfeldRequestLine(const Model& model);

} // namespace wavra
