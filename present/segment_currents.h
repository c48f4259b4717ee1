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
bool hasCurrents(const Results& results);
// The largest |phase| is -999 after a report without a current table and
// -1 after an input deck; a current table makes it 0 or more.
bool hasPhases(const Results& results);

// "Seg: 12, Tag: 2, Curr: .0123 amp @ 90.0 °": row, tag and the current in
// polar or cartesian form (6 characters per number). The reader stores the
// magnitude negative when the real part is negative; the current itself has
// the printed magnitude and phase, so the sign is dropped here.
std::string segmentCurrentText(const Geometry& geometry, const Results& results, int row, bool cartesian);

// The colour-ramp entry of a current: the integer part of 16 |I| / largest
// + 0.5, at least 1 and at most 16, so that every segment carrying current
// is coloured.
int currentRampEntry(double magnitude, double largest);
// The ramp entry of a phase with M while the phase bars are shown: the
// phases from -largest to +largest degrees spread over entries 0 to 16.
int phaseRampEntry(double phase, double largest);

// The factor that turns the report's segment currents into currents at the
// input power of the settings, as the main window shows the source
// current: the power budget scaled to POWER, peak to rms. nullopt when the
// report printed no power budget.
std::optional<double> powerCurrentScale(const Summary& summary);
// What that factor stands for: "at 100 W", or "rms" with POWER 0 (the
// deck's own source).
std::string powerCurrentLabel(const Settings& settings);
// "at 100 W: .0871 amp @ 90 °": a segment's current at the settings'
// power; empty without a power budget.
std::string segmentPowerCurrentText(const Settings& settings, const Results& results, const Summary& summary, int row,
                                    bool cartesian);

// A bar from a segment's projected midpoint, perpendicular to its projected
// direction, of signed length `length` (drawing units; negative lengths lie
// on the other side). nullopt for a segment of zero projected length.
struct Bar {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
std::optional<Bar> segmentBar(const Geometry& geometry, const Projection& projection, int row, double length);

// Bar lengths: |I| size / largest current, phase size / largest |phase|.
double currentBarLength(const Results& results, int row, double size);
double phaseBarLength(const Results& results, int row, double size);

} // namespace wavra
