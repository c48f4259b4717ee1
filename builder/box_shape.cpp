// The Box: six grid patches turned and shifted into place. Front and back
// may differ in size, so the sides and the top and bottom are trapezoids
// tilted by the taper angles. Each edge is written by exactly one face.
#include <cmath>

#include "builder/grid_patch.h"
#include "builder/shapes.h"

namespace wavra::build {
namespace {

// The tilt of a side whose width changes by `difference` over `depth`.
double taperDegrees(double difference, double depth) {
    if (depth == 0) return difference == 0 ? 0 : std::copysign(90.0, difference);
    return std::atan(difference / (2 * depth)) / degreeFactor();
}

struct Face {
    GridPatch patch;
    std::array<double, 3> rotation;
    Vec3 offset;
};

void writeFace(WireWriter& writer, const Face& face) {
    writer.setFace(face.rotation, face.offset);
    writeGridPatch(writer, face.patch);
    writer.clearFace();
}

// An unchecked face writes no inner lines and leaves out the borders it
// shares with other unchecked faces.
int endFaceSkip(const BoxShape& s, bool checked) {
    if (checked) return 0;
    return SkipInner | (s.up ? 0 : SkipFirstRow) | (s.down ? 0 : SkipLastRow) | (s.left ? 0 : SkipFirstColumn) |
           (s.right ? 0 : SkipLastColumn);
}

int sideFaceSkip(const BoxShape& s, bool checked) {
    const int shared = SkipFirstRow | SkipLastRow; // edges with the front and the back
    if (checked) return shared;
    return shared | SkipInner | (s.up ? 0 : SkipFirstColumn) | (s.down ? 0 : SkipLastColumn);
}

int lidFaceSkip(bool checked) {
    const int borders = SkipFirstRow | SkipLastRow | SkipFirstColumn | SkipLastColumn;
    return checked ? borders : borders | SkipInner;
}

} // namespace

void writeBox(WireWriter& writer, const BoxShape& s) {
    const double phi1 = taperDegrees(s.lengthX1 - s.lengthX2, s.lengthY);
    const double phi2 = taperDegrees(s.lengthZ1 - s.lengthZ2, s.lengthY);
    const double sideLength = s.lengthY / std::cos(phi1 * degreeFactor());
    const double lidLength = s.lengthY / std::cos(phi2 * degreeFactor());
    const double halfX = (s.lengthX1 / 2 + s.lengthX2 / 2) / 2;
    const double halfZ = (s.lengthZ1 / 2 + s.lengthZ2 / 2) / 2;
    const int nx = s.sectionsX, ny = s.sectionsY, nz = s.sectionsZ;
    const int sx = s.segmentsX, sy = s.segmentsY, sz = s.segmentsZ;

    const Face faces[] = {
        {{s.lengthX1, s.lengthX1, s.lengthZ1, nx, nz, sx, sz, endFaceSkip(s, s.front)},
         {90, 0, 0},
         {0, -s.lengthY / 2, 0}},
        {{s.lengthX2, s.lengthX2, s.lengthZ2, nx, nz, sx, sz, endFaceSkip(s, s.back)},
         {90, 0, 0},
         {0, s.lengthY / 2, 0}},
        {{s.lengthZ1, s.lengthZ2, sideLength, nz, ny, sz, sy, sideFaceSkip(s, s.left)}, {0, 90, phi1}, {-halfX, 0, 0}},
        {{s.lengthZ1, s.lengthZ2, sideLength, nz, ny, sz, sy, sideFaceSkip(s, s.right)}, {0, 90, -phi1}, {halfX, 0, 0}},
        {{s.lengthX1, s.lengthX2, lidLength, nx, ny, sx, sy, lidFaceSkip(s.up)}, {phi2, 0, 0}, {0, 0, halfZ}},
        {{s.lengthX1, s.lengthX2, lidLength, nx, ny, sx, sy, lidFaceSkip(s.down)}, {-phi2, 0, 0}, {0, 0, -halfZ}},
    };
    for (const Face& face : faces) {
        if (writer.stopped()) break;
        writeFace(writer, face);
    }
}

} // namespace wavra::build
