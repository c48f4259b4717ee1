// The commands of the far-field pattern view: every key and menu code the
// window posts, carried out on the view's state (and, for 'L', on the
// lin-log setting of the model).
#pragma once

#include <cstdint>

#include "core/model.h"
#include "core/ui.h"
#include "present/pattern_state.h"

namespace wavra {

// The codes of the view's keys and menu items.
enum PatternCommand : int16_t {
    kPatternPlane = 32,     // Space
    kPatternStepUp = 33,    // PgUp
    kPatternStepDown = 34,  // PgDn
    kPatternNormalise = 36, // Home
    kPatternAdd = 45,       // Ins
    kPatternRemove = 46,    // Del
    kPatternStructure = 71, // 'G'
    kPatternInfo = 73,      // 'I'
    kPatternIndicator = 74, // 'J'
    kPatternLinLog = 76,    // 'L'
    kPatternMaximum = 77,   // 'M': the cut through the pattern's maximum
    kPatternLowerMax = 133, // Shift+PgUp
    kPatternRaiseMax = 134, // Shift+PgDn
    kPatternRaiseMin = 233, // Ctrl+PgUp
    kPatternLowerMin = 234, // Ctrl+PgDn
    kPatternPrevious = 188, // '<'
    kPatternNext = 190,     // '>'
};

// Carries out one code; codes the view has no use for change nothing.
void applyPatternCommand(PatternState& state, Model& model, Ui& ui, int16_t code);

} // namespace wavra
