// The segment currents of the engine report in the geometry view: the text
// of a picked segment's current, the ramp colour of a current, and the
// current and phase bars drawn across the segments.
#pragma once

#include <optional>
#include <string>

#include "core/model.h"
#include "present/plot_math.h"

namespace wavra {

// The report holds currents when its largest magnitude is above 0 (the
// reader starts it at -999; a deck with PT -1 prints no current table).
bool hasCurrents(const Model& model);
// The largest |phase| is -999 after a report without a current table and
// -1 after an input deck; a current table makes it 0 or more.
bool hasPhases(const Model& model);

// "Seg: 12, Tag: 2, Curr: .0123 amp @ 90.0 °": row, tag and the current in
// polar or cartesian form (6 characters per number). The reader stores the
// magnitude negative when the real part is negative; the current itself has
// the printed magnitude and phase, so the sign is dropped here.
std::string segmentCurrentText(const Model& model, int row, bool cartesian);

// The colour-ramp entry of a current: the integer part of 16 |I| / largest
// + 0.5, at least 1 and at most 16, so that every segment carrying current
// is coloured.
int currentRampEntry(double magnitude, double largest);

// A bar from a segment's projected midpoint, perpendicular to its projected
// direction, of signed length `length` (drawing units; negative lengths lie
// on the other side). nullopt for a segment of zero projected length.
struct Bar {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
std::optional<Bar> segmentBar(const Model& model, const Projection& projection, int row, double length);

// Bar lengths: |I| size / largest current, phase size / largest |phase|.
double currentBarLength(const Model& model, int row, double size);
double phaseBarLength(const Model& model, int row, double size);

} // namespace wavra
